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

// Opens the document found for the running program with the system's browser. A missing
// document is passed over without a message; false then.
bool open();

} // namespace HelpDocument
