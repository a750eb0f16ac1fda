#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Code page 932 from one table built with the program (cmake/gencodepage932.py), so the
// same bytes give the same text on every system, with or without ICU. It follows Windows:
// bytes below 0x80 are ASCII, control codes included; 0x80, 0xA0 and 0xFD-0xFF are no
// characters. A few characters with no code are written as a look-alike and read back as
// it: the JIS forms Linux input methods type (U+301C, U+2212, U+2016, U+2014, U+00A2,
// U+00A3, U+00AC), and U+00A5 and U+203E as 0x5C and 0x7E.
namespace CodePage932 {

bool isLeadByte(unsigned char b);
bool isTrailByte(unsigned char b);

// Decodes all of bytes into text. Each byte sequence that is no character becomes one
// replacement: a lead byte with a byte that may follow it is one sequence, decoded or not;
// a lead byte before any other byte stands alone, so that byte is kept. Returns the number
// of replacements.
qsizetype decode(QByteArrayView bytes, QString &text, char16_t replacement);
// Appends the encoded text; false, with nothing appended, when a character has no code.
bool encode(QStringView text, QByteArray &bytes);
// The code of one character (a lead byte above its trail byte when two), or 0 for none.
unsigned short code(char16_t c);

} // namespace CodePage932
