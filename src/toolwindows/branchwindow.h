#pragma once

#include "toolwindows/toolwindowframe.h"

#include <QColor>

class QLabel;
class QToolButton;

// The tool window of branch-point mode: composes the four-direction setting that a
// left click gives to a board cell.
class BranchWindow : public ToolWindowFrame
{
    Q_OBJECT

public:
    BranchWindow(EditorSession &session, ToolWindowHost &host);

    static QString passageText(int digit);
    // 上, 左, 右, 下 for directions 1 to 4.
    static QString directionName(int direction);
    static QColor passageColor(int digit);

    QColor armColor(int direction) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // An arrow key steps that direction's state, as its button does; Backspace clears all four.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void placeCaptions();
    void showSetting();

    QToolButton *mArrows[4] = {};
    QLabel *mCaptions[4] = {};
    QLabel *mClear = nullptr;
    QColor mArmColors[4];
};
