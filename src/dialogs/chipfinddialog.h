#pragma once

#include <QDialog>

class ChipDescriptions;
class ChipPicker;
class ChipPictures;

// Asks which chip the find commands look for.
class ChipFindDialog : public QDialog
{
    Q_OBJECT

public:
    ChipFindDialog(const ChipPictures &pictures, const ChipDescriptions &descriptions,
                   QWidget *parent = nullptr);

    ChipPicker *picker() const { return mPicker; }

private:
    ChipPicker *mPicker;
};
