#include "model/codepage932.h"

#include "model/codepage932table.h"

#include <algorithm>

namespace CodePage932 {

namespace {

constexpr unsigned char FirstKana = 0xA1;
constexpr unsigned char LastKana = 0xDF;
constexpr char16_t FirstKanaCharacter = 0xFF61;

int leadIndex(unsigned char b)
{
    return b <= 0x9F ? b - 0x81 : b - 0xE0 + (0x9F - 0x81 + 1);
}

} // namespace

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

qsizetype decode(QByteArrayView bytes, QString &text, char16_t replacement)
{
    // Written through a pointer: appending character by character costs four times as much.
    text.resize(bytes.size());
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    qsizetype replaced = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            *out++ = b;
        } else if (b >= FirstKana && b <= LastKana) {
            *out++ = char16_t(FirstKanaCharacter + (b - FirstKana));
        } else if (isLeadByte(b) && i + 1 < bytes.size() &&
                   isTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            const auto trail = static_cast<unsigned char>(bytes[++i]);
            const char16_t c = PairTable[leadIndex(b)][trail - 0x40];
            *out++ = c ? c : replacement;
            replaced += c ? 0 : 1;
        } else {
            *out++ = replacement;
            ++replaced;
        }
    }
    text.truncate(out - begin);
    return replaced;
}

unsigned short code(char16_t c)
{
    if (c < 0x80)
        return c;
    const Code *end = CodeTable + CodeCount;
    const Code *found = std::lower_bound(
        CodeTable, end, c, [](const Code &entry, char16_t key) { return entry.character < key; });
    return found != end && found->character == c ? found->bytes : 0;
}

bool encode(QStringView text, QByteArray &bytes)
{
    const qsizetype start = bytes.size();
    bytes.resize(start + 2 * text.size());
    char *out = bytes.data() + start;
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        const unsigned short value = code(c);
        if (value == 0 && c != 0) {
            bytes.truncate(start);
            return false;
        }
        if (value > 0xFF)
            *out++ = char(value >> 8);
        *out++ = char(value & 0xFF);
    }
    bytes.truncate(out - bytes.data());
    return true;
}

} // namespace CodePage932
