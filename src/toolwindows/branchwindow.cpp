#include "toolwindows/branchwindow.h"

#include "model/appinfo.h"
#include "painting/textfit.h"
#include "session/editorsession.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include <algorithm>

namespace {

QPoint twipsPoint(int x, int y)
{
    return {ToolWindowFrame::twipsToPixels(x), ToolWindowFrame::twipsToPixels(y)};
}

// Per direction (up, left, right, down): the arrow button, the far end of the cross arm
// and the caption.
struct DirectionLayout
{
    Qt::ArrowType arrow;
    QRect button;
    QPoint armEnd;
    QRect caption;
};

const DirectionLayout &directionLayout(int index)
{
    static const DirectionLayout directions[4] = {
        {Qt::UpArrow, ToolWindowFrame::twipsRect(960, 240, 615, 615), twipsPoint(1320, 960),
         ToolWindowFrame::twipsRect(1680, 240, 690, 180)},
        {Qt::LeftArrow, ToolWindowFrame::twipsRect(240, 1080, 615, 615), twipsPoint(960, 1320),
         ToolWindowFrame::twipsRect(240, 1800, 690, 180)},
        {Qt::RightArrow, ToolWindowFrame::twipsRect(1800, 1080, 615, 615), twipsPoint(1680, 1320),
         ToolWindowFrame::twipsRect(1800, 1800, 690, 180)},
        {Qt::DownArrow, ToolWindowFrame::twipsRect(960, 1920, 615, 615), twipsPoint(1320, 1680),
         ToolWindowFrame::twipsRect(1680, 2280, 690, 180)},
    };
    return directions[index];
}

} // namespace

BranchWindow::BranchWindow(EditorSession &session, ToolWindowHost &host)
    : ToolWindowFrame(session, host, 2775, 3090)
{
    setWindowTitle(QStringLiteral("分岐点の設定"));
    for (int i = 0; i < 4; ++i) {
        const DirectionLayout &place = directionLayout(i);
        auto *arrow = new QToolButton(this);
        arrow->setObjectName(QStringLiteral("arrow%1").arg(i + 1));
        arrow->setArrowType(place.arrow);
        arrow->setIconSize(QSize(24, 24));
        arrow->setGeometry(place.button);
        connect(arrow, &QToolButton::clicked, this,
                [this, i] { mSession.choices().advanceBranchDigit(i + 1); });
        mArrows[i] = arrow;

        auto *caption = new QLabel(this);
        caption->setObjectName(QStringLiteral("caption%1").arg(i + 1));
        caption->installEventFilter(this);
        mCaptions[i] = caption;
    }

    mClear = new QLabel(QStringLiteral("Clear"), this);
    mClear->setObjectName(QStringLiteral("clear"));
    QPalette blue = mClear->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    mClear->setPalette(blue);
    mClear->setCursor(Qt::PointingHandCursor);
    mClear->installEventFilter(this);

    mClear->setAccessibleName(QStringLiteral("すべて道なしにする"));
    mClear->setAccessibleDescription(QStringLiteral("クリア：四方の設定をすべて道なしに戻します"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleDescription(QStringLiteral(
        "矢印キーでその向きの設定を切り替えます。BackSpaceですべて道なしにします。"));
    placeCaptions();
    connect(&mSession.choices(), &ToolContext::branchChanged, this, &BranchWindow::showSetting);
    showSetting();
    watchKeysOfChildren();
}

// The captions change with every click, so they get the room of the widest state text. Where
// that is more than the twips allow, the captions reach further right and the lower half of
// the compass moves down, clear of the captions under the side buttons.
void BranchWindow::placeCaptions()
{
    QSize caption = ToolWindowFrame::twipsRect(0, 0, 690, 180).size();
    for (int digit = 0; digit < 4; ++digit) {
        mCaptions[0]->setText(passageText(digit));
        caption = caption.expandedTo(TextFit::neededSize(mCaptions[0]));
    }
    const int margin = ToolWindowFrame::twipsToPixels(90);
    for (int i = 0; i < 2; ++i)
        mCaptions[i]->setGeometry(QRect(directionLayout(i).caption.topLeft(), caption));
    // The right button and its caption stay clear of the caption under the left button.
    const int shift = std::max(0, mCaptions[1]->geometry().right() + 1 + margin -
                                      directionLayout(2).caption.left());
    mArrows[2]->setGeometry(directionLayout(2).button.translated(shift, 0));
    mCaptions[2]->setGeometry(
        QRect(directionLayout(2).caption.topLeft() + QPoint(shift, 0), caption));

    const int sideCaptionsBottom = mCaptions[1]->geometry().bottom();
    QRect down = directionLayout(3).button;
    down.moveTop(std::max(down.top(), sideCaptionsBottom + 2));
    mArrows[3]->setGeometry(down);
    const QRect downCaption = directionLayout(3).caption;
    mCaptions[3]->setGeometry(QRect(QPoint(downCaption.left(), down.top() + downCaption.top() -
                                                                   directionLayout(3).button.top()),
                                    caption));

    int right = 0;
    for (const QLabel *label : mCaptions)
        right = std::max(right, label->geometry().right());
    const int width = std::max(ToolWindowFrame::twipsToPixels(2775), right + 1 + margin);
    QRect clear = ToolWindowFrame::twipsRect(2280, 2520, 405, 180);
    clear.setSize(clear.size().expandedTo(TextFit::neededSize(mClear)));
    clear.moveTop(std::max(clear.top(), mCaptions[3]->geometry().bottom() + 2));
    clear.moveRight(width - 1 - margin);
    mClear->setGeometry(clear);
    growToFit({width, clear.bottom() + 1 + margin});
}

QString BranchWindow::passageText(int digit)
{
    static const char16_t *const texts[4] = {u"０：道なし", u"１：通行禁止", u"２：一方通行",
                                             u"３：２ｗａｙ"};
    return digit >= 0 && digit < 4 ? QString::fromUtf16(texts[digit]) : QString();
}

QColor BranchWindow::passageColor(int digit)
{
    static const QColor colors[4] = {QColor(255, 255, 255), QColor(255, 0, 0), QColor(0, 0, 255),
                                     QColor(0, 0, 0)};
    return digit >= 0 && digit < 4 ? colors[digit] : QColor();
}

QColor BranchWindow::armColor(int direction) const
{
    return direction >= 1 && direction <= 4 ? mArmColors[direction - 1] : QColor();
}

void BranchWindow::showSetting()
{
    for (int i = 0; i < 4; ++i) {
        const int digit = mSession.choices().branchDigit(i + 1);
        mArmColors[i] = passageColor(digit);
        mCaptions[i]->setText(passageText(digit));
        mArrows[i]->setAccessibleName(directionName(i + 1) + QStringLiteral("：") +
                                      passageText(digit).mid(2));
    }
    update();
}

QString BranchWindow::directionName(int direction)
{
    static const char16_t *const names[4] = {u"上", u"左", u"右", u"下"};
    return direction >= 1 && direction <= 4 ? QString::fromUtf16(names[direction - 1]) : QString();
}

void BranchWindow::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const int direction = key == Qt::Key_Up      ? 1
                          : key == Qt::Key_Left  ? 2
                          : key == Qt::Key_Right ? 3
                          : key == Qt::Key_Down  ? 4
                                                 : 0;
    if (event->modifiers() & ~Qt::KeypadModifier) {
        ToolWindowFrame::keyPressEvent(event);
    } else if (direction) {
        mSession.choices().advanceBranchDigit(direction);
        // That direction's arrow takes the keys, so a screen reader says its new state, and
        // says it again, changed, at the next press.
        mArrows[direction - 1]->setFocus(Qt::OtherFocusReason);
    } else if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
        mSession.choices().setBranch(QStringLiteral("0000"));
    } else {
        ToolWindowFrame::keyPressEvent(event);
    }
}

void BranchWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPoint centre = twipsPoint(1320, 1320);
    for (int i = 0; i < 4; ++i) {
        painter.setPen(QPen(mArmColors[i], 3, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(centre, directionLayout(i).armEnd);
    }
    if (hasFocus()) {
        // The arrow keys work on the whole window: it is outlined as the board's cell cursor.
        painter.setPen(QPen(QColor(0, 0, 128), 3));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

void BranchWindow::focusInEvent(QFocusEvent *event)
{
    ToolWindowFrame::focusInEvent(event);
    update();
}

void BranchWindow::focusOutEvent(QFocusEvent *event)
{
    ToolWindowFrame::focusOutEvent(event);
    update();
}

bool BranchWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Arrow keys on an arrow button set directions as they do on the window, rather than
    // moving the focus from button to button.
    if (event->type() == QEvent::KeyPress &&
        std::find(std::begin(mArrows), std::end(mArrows), watched) != std::end(mArrows)) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int code = key->key();
        if ((code == Qt::Key_Up || code == Qt::Key_Left || code == Qt::Key_Right ||
             code == Qt::Key_Down) &&
            !(key->modifiers() & ~Qt::KeypadModifier)) {
            keyPressEvent(key);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (watched == mClear && mouse->button() == Qt::LeftButton) {
            mSession.choices().setBranch(QStringLiteral("0000"));
            return true;
        }
        // A right click on the right-hand caption tells the program's version.
        if (watched == mCaptions[2] && mouse->button() == Qt::RightButton) {
            mSession.status().tellText(AppInfo::versionNumbers());
            return true;
        }
    }
    return ToolWindowFrame::eventFilter(watched, event);
}
