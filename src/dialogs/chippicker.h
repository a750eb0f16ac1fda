#pragma once

#include <QString>
#include <QWidget>

class ChipDescriptions;
class ChipPictures;
class QComboBox;

// A chip chosen from a list in the palette's order, each with its picture and description,
// and a number list for the numbered chips. Gives the whole cell text ("16_+7").
class ChipPicker : public QWidget
{
    Q_OBJECT

public:
    ChipPicker(const ChipPictures &pictures, const ChipDescriptions &descriptions,
               QWidget *parent = nullptr);

    QString cell() const;
    // Shows a cell's chip and number; a cell the palette cannot lay leaves the choice alone.
    void setCell(const QString &cell);
    QComboBox *chipBox() const { return mChips; }
    QComboBox *numberBox() const { return mNumbers; }

Q_SIGNALS:
    void cellChanged();

private:
    void showNumberBox();

    QComboBox *mChips;
    QComboBox *mNumbers;
};
