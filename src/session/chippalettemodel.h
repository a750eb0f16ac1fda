#pragma once

#include <QObject>
#include <QString>

class EditorSession;

// What the chip palette shows and does: picking a chip, the value box of the four
// numbered chips with its normalisation and step buttons, and the description line.
// One model lives as long as its palette window, so a new palette starts afresh.
class ChipPaletteModel : public QObject
{
    Q_OBJECT

public:
    static constexpr int CellCount = 48; // palette cells 1..48; the last is the eraser
    static constexpr int MaxValue = 999;
    static constexpr int Columns = 8;

    explicit ChipPaletteModel(EditorSession &session, QObject *parent = nullptr);

    const QString &valueText() const { return mValueText; }
    bool parameterEnabled() const { return mParameterEnabled; }
    const QString &description() const { return mDescription; }
    // What a screen reader says of palette cell i (1..48): the chip's description with the
    // number the chip would be laid with, the value box's for the chosen chip.
    QString cellDescription(int cell) const;

    // The chip picture palette cell i (1..48) shows.
    static int chipOfCell(int cell) { return cell == CellCount ? 0 : cell; }

    void pick(int cell);
    // The palette cell of the chip chosen now, the eraser for chips the palette lacks.
    int chosenCell() const;
    // Arrow keys: picks the cell dx columns and dy rows away in the 8 x 6 grid, stopping
    // at its edges.
    void moveBy(int dx, int dy);
    // The value box's text changed (typing, arrows, buttons): normalise it.
    void setValueText(const QString &text);
    // Step button 1..8: "-5" "+5" "-10" "+10" "0" "35" "100" "999".
    void step(int button);
    static QString stepCaption(int button);
    // The up-down arrows: +1 or -1 within 0..999.
    void stepBy(int delta);

    // The leading number of a text, 0 when it does not begin with one ("12abc" -> 12).
    static double leadingNumber(const QString &text);
    // The parameter character for a number: "0".."9", "A".."Z", "!" for 100, "$" for 999.
    static QString parameterCharacter(double value);
    // The value a numbered chip's cell holds, written as the value box shows it ("100" for
    // "!", "999" for "$"); empty for other chips and for characters that are no value.
    static QString valueTextOf(const QString &cell);

Q_SIGNALS:
    void changed();

private:
    void normalise();
    void showDescription();

    EditorSession &mSession;
    QString mValueText = QStringLiteral("7");
    bool mParameterEnabled = false;
    QString mDescription;
};
