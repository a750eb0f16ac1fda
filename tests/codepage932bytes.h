#pragma once

#include "model/codepage932.h"

#include <QByteArray>
#include <QString>

// Test input in code page 932 from the editor's own table: Qt built without ICU (as on
// Windows) knows no code page 932 codec.
inline QByteArray codePage932Bytes(const QString &text)
{
    QByteArray bytes;
    return CodePage932::encode(text, bytes) ? bytes : QByteArray();
}
