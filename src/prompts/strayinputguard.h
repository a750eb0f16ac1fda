#pragma once

#include <QElapsedTimer>
#include <QObject>

class QWidget;

// Keeps a box that comes up unasked from being answered by input meant for the window under
// it: keys and clicks count only after a pause with the box shown, and a key held down since
// before it came never. Such a box takes the focus while the user may be typing or clicking
// on the board, and its default button takes the next Return or Space.
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

    QWidget &mBox;
    QElapsedTimer mShown;
};
