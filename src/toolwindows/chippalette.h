#pragma once

#include "session/chippalettemodel.h"
#include "toolwindows/toolwindowframe.h"

class ChipPictures;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The palette of map-edit mode: 48 chips in 8 columns, the value box of the numbered
// chips with its arrows and step buttons, and the chip's description.
class ChipPalette : public ToolWindowFrame
{
    Q_OBJECT

public:
    ChipPalette(EditorSession &session, ToolWindowHost &host, const ChipPictures &pictures);

    ChipPaletteModel &model() { return mModel; }
    const ChipPaletteModel &model() const { return mModel; }
    // Where palette cell i (1..48) lies in the window.
    static QRect cellRect(int cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    // Arrow keys move the chosen chip through the grid while the window itself has them.
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void placeStepButtons();
    void showModel();
    // Tells a screen reader the chosen chip: as the focus while the palette has the keys.
    void tellChosen();

    const ChipPictures &mPictures;
    ChipPaletteModel mModel;
    QLineEdit *mValueBox = nullptr;
    QToolButton *mUp = nullptr;
    QToolButton *mDown = nullptr;
    QPushButton *mStepButtons[8] = {};
    QLabel *mDescription = nullptr;
    // The chip and its name a screen reader was last told of.
    int mToldCell = 0;
    QString mToldName;
};
