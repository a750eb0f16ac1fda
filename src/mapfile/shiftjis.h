#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Code page 932 as the game reads it (see model/codepage932.h for the characters it has).
namespace ShiftJis {

// What a byte sequence that does not decode becomes: a character code page 932 can store.
inline constexpr char16_t Replacement = u'\u30FB'; // ・

// False when the bytes are not code page 932 (a stray or cut-off byte).
bool decode(QByteArrayView bytes, QString &text);
// Never fails: each byte sequence that does not decode becomes one Replacement, as text
// input in the system code page does on Windows. Returns whether any was replaced.
bool decodeReplacing(QByteArrayView bytes, QString &text);
// Appends the encoded text; false, with nothing appended, when a character has no code.
bool encode(QStringView text, QByteArray &bytes);
// The index of the first character (a whole surrogate pair) encode() refuses, or -1.
qsizetype firstUnencodable(QStringView text);

bool isAscii(QByteArrayView bytes);
bool isAscii(QStringView text);

} // namespace ShiftJis
