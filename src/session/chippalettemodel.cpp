#include "session/chippalettemodel.h"

#include "model/cellstring.h"
#include "model/codetables.h"
#include "session/editorsession.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool isParameterised(const QString &cell)
{
    // A view, not a copy: the board asks this of every cell it paints.
    const QStringView index = QStringView(cell).left(2);
    return index == u"16" || index == u"24" || index == u"30" || index == u"32";
}

int proposedValue(int chip)
{
    switch (chip) {
    case 16:
    case 24:
        return 7;
    case 30:
        return 2;
    case 32:
        return 1;
    default:
        return -1;
    }
}

} // namespace

ChipPaletteModel::ChipPaletteModel(EditorSession &session, QObject *parent)
    : QObject(parent), mSession(session)
{
    showDescription();
}

void ChipPaletteModel::pick(int cell)
{
    if (cell < 1 || cell > CellCount)
        return;
    const int chip = chipOfCell(cell);
    mSession.choices().setChip(CellString::defaultChip());
    const int proposed = proposedValue(chip);
    mParameterEnabled = proposed >= 0;
    if (mParameterEnabled)
        setValueText(QString::number(proposed));
    const QString parameter =
        mParameterEnabled ? parameterCharacter(leadingNumber(mValueText)) : QString();
    QString selected = CellString::make(chip, CodeTables::chipCode(chip));
    if (selected.indexOf(u'X') == 4 && !parameter.isEmpty())
        selected.replace(4, 1, parameter);
    mSession.choices().setChip(selected);
    showDescription();
}

int ChipPaletteModel::chosenCell() const
{
    const int chip = CellString::chipIndex(mSession.choices().chip());
    return chip >= 1 && chip < CellCount ? chip : CellCount;
}

void ChipPaletteModel::moveBy(int dx, int dy)
{
    const int index = chosenCell() - 1;
    const int column = std::clamp(index % Columns + dx, 0, Columns - 1);
    const int row = std::clamp(index / Columns + dy, 0, CellCount / Columns - 1);
    const int cell = row * Columns + column + 1;
    if (cell != chosenCell())
        pick(cell);
}

void ChipPaletteModel::setValueText(const QString &text)
{
    // Rewriting the box with what it holds is no change and runs nothing.
    if (text == mValueText)
        return;
    mValueText = text;
    normalise();
}

void ChipPaletteModel::normalise()
{
    // Each rule reads the box afresh, because a rewrite runs the whole procedure
    // for the new text before the rule after it.
    double v = leadingNumber(mValueText);
    if (v > 60 && v <= 111)
        setValueText(QStringLiteral("100"));
    v = leadingNumber(mValueText);
    if (v > 35 && v < 61)
        setValueText(QStringLiteral("35"));
    v = leadingNumber(mValueText);
    if (v > 111)
        setValueText(QStringLiteral("999"));
    v = leadingNumber(mValueText);
    if (v <= 0)
        setValueText(QStringLiteral("0"));
    v = leadingNumber(mValueText);
    const QString index = mSession.choices().chip().left(2);
    if ((index == u"16" || index == u"24") && v > 0 && v < 7)
        setValueText(QStringLiteral("7"));
    v = leadingNumber(mValueText);
    const QString parameter = parameterCharacter(v);
    QString selected = mSession.choices().chip();
    if (isParameterised(selected) && !parameter.isEmpty() && selected.size() >= 5) {
        selected.replace(4, 1, parameter);
        mSession.choices().setChip(selected);
    }
    showDescription();
}

void ChipPaletteModel::step(int button)
{
    const double number = leadingNumber(mValueText);
    // The number is taken as a signed 16-bit integer.
    const int n = int(std::nearbyint(std::clamp(number, -32768.0, 32767.0)));
    int next = n;
    switch (button) {
    case 1:
        next = n - 5;
        break;
    case 2:
        next = n + 5;
        break;
    case 3:
        next = n - 10;
        break;
    case 4:
        next = n + 10;
        break;
    case 5:
        next = 0;
        break;
    case 6:
        next = 35;
        break;
    case 7:
        next = 100;
        break;
    case 8:
        next = 999;
        break;
    default:
        return;
    }
    setValueText(QString::number(next));
}

QString ChipPaletteModel::stepCaption(int button)
{
    static const char *const captions[] = {"-5", "+5", "-10", "+10", "0", "35", "100", "999"};
    if (button < 1 || button > 8)
        return {};
    return QString::fromLatin1(captions[button - 1]);
}

void ChipPaletteModel::stepBy(int delta)
{
    const int n = int(std::clamp(leadingNumber(mValueText), 0.0, double(MaxValue)));
    setValueText(QString::number(std::clamp(n + delta, 0, MaxValue)));
}

double ChipPaletteModel::leadingNumber(const QString &text)
{
    // Blanks, an optional sign, digits and an optional fraction, as a leading number
    // is read from the start of a text.
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
    }
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString ChipPaletteModel::parameterCharacter(double value)
{
    if (value == 100)
        return QStringLiteral("!");
    if (value == 999)
        return QStringLiteral("$");
    const double position = std::nearbyint(value + 1);
    const QString digits = CodeTables::parameterDigits();
    if (position < 1 || position > digits.size())
        return {};
    return digits.mid(qsizetype(position) - 1, 1);
}

QString ChipPaletteModel::valueTextOf(const QString &cell)
{
    if (!isParameterised(cell) || cell.size() < 5)
        return {};
    // "$" is the one character whose value here is not the one the game reads.
    if (cell.back() == u'$')
        return QString::number(MaxValue);
    const int value = CellString::decodeParameter(cell);
    return value < 0 ? QString() : QString::number(value);
}

QString ChipPaletteModel::cellDescription(int cell) const
{
    if (cell < 1 || cell > CellCount)
        return {};
    const int chip = chipOfCell(cell);
    const int proposed = proposedValue(chip);
    const QString number =
        cell == chosenCell() || proposed < 0 ? mValueText : QString::number(proposed);
    return mSession.descriptions().describe(chip, number);
}

void ChipPaletteModel::showDescription()
{
    const QString &chip = mSession.choices().chip();
    mDescription = mSession.descriptions().describe(CellString::chipIndex(chip), mValueText);
    Q_EMIT changed();
}
