#pragma once

#include <QByteArray>

// What a console program printed, with one line end for every system: on Windows the C
// runtime writes a text stream's line ends as CR LF, as Windows' own programs do.
inline QByteArray consoleText(QByteArray bytes)
{
#ifdef Q_OS_WIN
    bytes.replace("\r\n", "\n");
#endif
    return bytes;
}
