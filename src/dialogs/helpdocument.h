#pragma once

#include <QString>

// The help document, a web page that ships beside the program and opens in the browser.
namespace HelpDocument {

inline QString fileName()
{
    return QStringLiteral("Help.htm");
}

// The program's folder first, then ../share/qzk-editor/ beside it for an installed copy.
// Empty when neither holds the document.
QString locate(const QString &programFolder);

// Opens the document found for a program folder with the system's browser. `path` gets
// the document's full path, or where it was looked for first when it is missing. False
// when it is missing or no program took it.
bool open(const QString &programFolder, QString &path);

} // namespace HelpDocument
