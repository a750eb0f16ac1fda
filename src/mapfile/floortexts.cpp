#include "mapfile/floortexts.h"

#include "mapfile/shiftjis.h"

namespace {

QString showCharacter(char32_t c)
{
    if (QChar::isPrint(c) && !QChar::isSurrogate(c))
        return QString::fromUcs4(&c, 1);
    return QStringLiteral("U+%1").arg(quint32(c), 4, 16, QLatin1Char('0')).toUpper();
}

char32_t codePointAt(const QString &text, qsizetype i)
{
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
    return text.at(i).unicode();
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
    // The writer's own encoder decides, so the dialog refuses exactly what a save would.
    const qsizetype at = ShiftJis::firstUnencodable(value);
    if (at < 0)
        return std::nullopt;
    return field + QStringLiteral("に、マップファイルに書けない文字「") +
           showCharacter(codePointAt(value, at)) +
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
