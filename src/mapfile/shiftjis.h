#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Code page 932 as the game reads it, through Qt's "windows-31j" codec. Bytes below 0x80
// are the same characters as in ASCII, control codes included.
namespace ShiftJis {

// False when the bytes are not code page 932 (a stray or cut-off byte).
bool decode(QByteArrayView bytes, QString &text);
// Appends the encoded text; false, with nothing appended, when a character has no code.
bool encode(QStringView text, QByteArray &bytes);

bool isAscii(QByteArrayView bytes);
bool isAscii(QStringView text);

} // namespace ShiftJis
