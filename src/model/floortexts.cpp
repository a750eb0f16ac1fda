#include "model/floortexts.h"

#include <QStringEncoder>

namespace {

QString showCharacter(char32_t c)
{
    if (QChar::isPrint(c) && !QChar::isSurrogate(c))
        return QString::fromUcs4(&c, 1);
    return QStringLiteral("U+%1").arg(quint32(c), 4, 16, QLatin1Char('0')).toUpper();
}

// The first character that code page 932 has no bytes for. The encoder drops a lone
// surrogate without reporting it, so those are caught before it sees them.
std::optional<char32_t> unencodable(const QString &text)
{
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80)
            continue;
        qsizetype length = 1;
        char32_t point = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            point = QChar::surrogateToUcs4(c, text.at(i + 1));
            length = 2;
        } else if (c.isSurrogate()) {
            return point;
        }
        encoder.resetState();
        const QByteArray bytes = encoder.encode(QStringView(text).mid(i, length));
        if (encoder.hasError() || !encoder.isValid())
            return point;
        i += length - 1;
    }
    return std::nullopt;
}

// A name or path is one line of the floor file, read back field by field: a "," ends it
// early, a leading "*" makes it a keyword line, a line break splits it.
std::optional<QString> lineValueProblem(const QString &field, const QString &value)
{
    if (value.contains(u','))
        return field + QStringLiteral("に「,」は使えません。\r\n"
                                      "マップを開き直したとき、「,」から後ろが失われます。");
    if (value.startsWith(u'*'))
        return field +
               QStringLiteral("の先頭に「*」は使えません。\r\n"
                              "マップを開き直したとき、") +
               field + QStringLiteral("が失われます。");
    if (value.contains(u'\r') || value.contains(u'\n'))
        return field + QStringLiteral("に改行は使えません。");
    return std::nullopt;
}

std::optional<QString> encodingProblem(const QString &field, const QString &value)
{
    const std::optional<char32_t> c = unencodable(value);
    if (!c)
        return std::nullopt;
    return field + QStringLiteral("に、マップファイルに書けない文字「") + showCharacter(*c) +
           QStringLiteral("」があります。\r\nシフトJISにない文字は使えません。");
}

} // namespace

std::optional<QString> FloorTexts::problem(const QString &name, const QString &background,
                                           const QString &comment, bool backgroundUsed)
{
    const QString nameField = QStringLiteral("マップ名");
    const QString backgroundField = QStringLiteral("背景画のパス");
    if (auto found = lineValueProblem(nameField, name))
        return found;
    if (auto found = encodingProblem(nameField, name))
        return found;
    if (backgroundUsed) {
        if (auto found = lineValueProblem(backgroundField, background))
            return found;
        if (auto found = encodingProblem(backgroundField, background))
            return found;
    }
    return encodingProblem(QStringLiteral("コメント"), comment);
}
