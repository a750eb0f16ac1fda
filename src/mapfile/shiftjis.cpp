#include "mapfile/shiftjis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ShiftJis {

namespace {

constexpr const char *CodecName = "windows-31j";

// The codec's table rotates three control codes (byte 0x1A reads as U+001C, 0x1C as
// U+007F, 0x7F as U+001A, and back the same way), where code page 932 keeps them as they
// are. These map between the two.
char16_t fromCodec(char16_t c)
{
    switch (c) {
    case 0x1C:
        return 0x1A;
    case 0x7F:
        return 0x1C;
    case 0x1A:
        return 0x7F;
    }
    return c;
}

// Also turns the JIS forms that Linux input methods type into the code points the codec
// has bytes for.
char16_t toCodec(char16_t c)
{
    switch (c) {
    case 0x1A:
        return 0x1C;
    case 0x1C:
        return 0x7F;
    case 0x7F:
        return 0x1A;
    case 0x301C: // WAVE DASH
        return 0xFF5E;
    case 0x2212: // MINUS SIGN
        return 0xFF0D;
    case 0x2016: // DOUBLE VERTICAL LINE
        return 0x2225;
    case 0x2014: // EM DASH
        return 0x2015;
    case 0x00A2: // CENT SIGN
        return 0xFFE0;
    case 0x00A3: // POUND SIGN
        return 0xFFE1;
    case 0x00AC: // NOT SIGN
        return 0xFFE2;
    case 0x00A5: // YEN SIGN
        return u'\\';
    case 0x203E: // OVERLINE
        return u'~';
    }
    return c;
}

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

bool isRotated(char16_t c)
{
    return c == 0x1A || c == 0x1C || c == 0x7F;
}

} // namespace

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool decode(QByteArrayView bytes, QString &text)
{
    if (isAscii(bytes)) {
        text = QString::fromLatin1(bytes);
        return true;
    }
    // Stateless: a lead byte cut off at the end is an error, not held back for more input.
    QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
    text = decoder.decode(bytes);
    if (!decoder.isValid() || decoder.hasError())
        return false;
    for (QChar &c : text) {
        if (isRotated(c.unicode()))
            c = QChar(fromCodec(c.unicode()));
    }
    return true;
}

bool decodeReplacing(QByteArrayView bytes, QString &text)
{
    if (decode(bytes, text))
        return false;
    // Character by character: a lead byte with a byte that may follow it is one sequence,
    // decoded or not; a lead byte before any other byte (a blank, a digit) stands alone, so
    // that byte is kept.
    text.clear();
    QString piece;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const qsizetype length = isLeadByte(b) && i + 1 < bytes.size() &&
                                         isTrailByte(static_cast<unsigned char>(bytes[i + 1]))
                                     ? 2
                                     : 1;
        if (decode(bytes.sliced(i, length), piece))
            text += piece;
        else
            text += QChar(Replacement);
        i += length;
    }
    return true;
}

bool encode(QStringView text, QByteArray &bytes)
{
    if (isAscii(text)) {
        for (QChar c : text)
            bytes.append(char(c.unicode()));
        return true;
    }
    // The codec drops a lone surrogate without reporting it.
    if (!text.isValidUtf16())
        return false;
    QString input = text.toString();
    for (QChar &c : input)
        c = QChar(toCodec(c.unicode()));
    QStringEncoder encoder(CodecName, QStringConverter::Flag::Stateless);
    const QByteArray encoded = encoder.encode(input);
    if (!encoder.isValid() || encoder.hasError())
        return false;
    bytes.append(encoded);
    return true;
}

qsizetype firstUnencodable(QStringView text)
{
    QByteArray scratch;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x80)
            continue;
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        scratch.clear();
        if (!encode(text.mid(i, length), scratch))
            return i;
        i += length - 1;
    }
    return -1;
}

} // namespace ShiftJis
