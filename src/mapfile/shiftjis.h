#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Code page 932 as the game reads it, through Qt's "windows-31j" codec. Bytes below 0x80
// are the same characters as in ASCII, control codes included.
//
// Linux input methods type a few symbols as their JIS forms (U+301C WAVE DASH, U+2212,
// U+2016, U+2014, U+00A2, U+00A3, U+00AC), which the codec does not know. Code page 932 has
// them under its own code points, so they are written with those bytes; reading gives back
// code page 932's characters (U+FF5E, U+FF0D, U+2225, U+2015, U+FFE0, U+FFE1, U+FFE2).
// U+00A5 and U+203E are written as 0x5C and 0x7E, as Windows does; they read back as \ and ~.
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
