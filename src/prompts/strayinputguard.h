#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

// Keeps a box that comes up unasked from being answered by input meant for the window under
// it. For its first half second on the screen the box's buttons are disabled, so the user sees that
// it does not listen yet, and its keys and clicks are dropped; a key held down since before it came
// never counts. Input in that time does not lengthen it: someone clicking on steadily is answered
// once it is over. Such a box takes the focus while the user may be typing or clicking on the
// board, and its default button takes the next Return or Space.
class StrayInputGuard : public QObject
{
public:
    static constexpr int SettleMs = 500;

    explicit StrayInputGuard(QWidget &box);
    ~StrayInputGuard() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isInBox(QObject *object) const;
    void setButtonsEnabled(bool enabled);

    QWidget &mBox;
    QTimer mSettle;
    // From showing until the window manager has put it on the screen, and then for the
    // half second: a window manager may take longer than that to map it.
    bool mHeld = false;
};
