#pragma once

#include <QString>

class DocumentOpener;
class Prompter;
class QWidget;

// The help document, a web page that ships beside the program and opens in the browser.
namespace HelpDocument {

inline QString fileName()
{
    return QStringLiteral("Help.htm");
}

// The program's folder first, then ../share/qzk-editor/ beside it for an installed copy.
// Empty when neither holds the document.
QString locate(const QString &programFolder);

// Opens the document found for a program folder through `opener`. Tells over `window`
// when it is missing or no program shows it, which may be known only a moment later.
void show(QWidget *window, const QString &programFolder, DocumentOpener &opener,
          Prompter &prompter);

} // namespace HelpDocument
