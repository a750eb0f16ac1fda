#include "mapfile/shiftjis.h"

#include "model/codepage932.h"

namespace ShiftJis {

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
    return CodePage932::decode(bytes, text, Replacement) == 0;
}

bool decodeReplacing(QByteArrayView bytes, QString &text)
{
    return CodePage932::decode(bytes, text, Replacement) > 0;
}

bool encode(QStringView text, QByteArray &bytes)
{
    return CodePage932::encode(text, bytes);
}

qsizetype firstUnencodable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() != 0 && CodePage932::code(text[i].unicode()) == 0)
            return i;
    }
    return -1;
}

} // namespace ShiftJis
