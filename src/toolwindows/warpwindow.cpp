#include "toolwindows/warpwindow.h"

#include "model/warprecord.h"
#include "painting/textfit.h"
#include "session/editorsession.h"
#include "session/prompter.h"
#include "toolwindows/toolwindowhost.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int FullHeight = 2355;
constexpr int AskingHeight = 3150;
constexpr int Pairs = 79;

// Small button pictures: a paint brush, a magnifier over a page, scissors.
QIcon drawnIcon(int kind)
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        QPixmap pixmap(QSize(20, 20) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        switch (kind) {
        case 0: // brush
            p.setPen(QPen(QColor(120, 72, 32), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(16, 3), QPointF(9, 11));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(150, 150, 160));
            p.drawRect(QRectF(6.5, 10, 4, 3).translated(0, 0));
            p.setBrush(QColor(40, 90, 220));
            p.drawEllipse(QRectF(3, 12, 6, 6));
            break;
        case 1: // magnifier over a page
            p.setPen(QPen(QColor(90, 90, 90), 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3.5, 2.5, 10, 14));
            p.setPen(QPen(QColor(170, 170, 170), 1));
            for (int y = 6; y <= 13; y += 3)
                p.drawLine(QPointF(5.5, y + 0.5), QPointF(11.5, y + 0.5));
            p.setPen(QPen(QColor(30, 30, 30), 1.6));
            p.setBrush(QColor(180, 220, 255, 160));
            p.drawEllipse(QRectF(8, 8, 7, 7));
            p.setPen(QPen(QColor(30, 30, 30), 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(14.2, 14.2), QPointF(18, 18));
            break;
        default: // scissors
            p.setPen(QPen(QColor(60, 60, 70), 1.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(5, 2), QPointF(13, 13));
            p.drawLine(QPointF(15, 2), QPointF(7, 13));
            p.setPen(QPen(QColor(200, 40, 40), 1.8));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(2.5, 12.5, 5, 5));
            p.drawEllipse(QRectF(12.5, 12.5, 5, 5));
            break;
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

WarpWindow::WarpWindow(EditorSession &session, ToolWindowHost &host, Prompter &prompter)
    : ToolWindowFrame(session, host, 2175, FullHeight), mPrompter(prompter)
{
    setWindowTitle(QStringLiteral("ワープの設定"));

    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("pairList"));
    mList->setAccessibleName(QStringLiteral("ワープの一覧"));
    mList->setAccessibleDescription(QStringLiteral("Enterで選んだワープを変更します。"));
    connect(mList, &QListWidget::itemSelectionChanged, this,
            [this] { mSession.warpWindow().highlightRow(selectedRow()); });

    const QString tips[4] = {QStringLiteral("新しくワープを作る"), QStringLiteral("ワープの変更"),
                             QStringLiteral("ワープの削除"), QStringLiteral("強調表示を解除")};
    const int lefts[4] = {0, 600, 1200, 1800};
    for (int i = 0; i < 4; ++i) {
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("warpButton%1").arg(i + 1));
        button->setGeometry(ToolWindowFrame::twipsRect(lefts[i], 1680, i == 3 ? 375 : 615, 375));
        button->setToolTip(tips[i]);
        button->setAccessibleName(tips[i]);
        if (i == 3)
            button->setText(QStringLiteral("×"));
        else
            button->setIcon(drawnIcon(i));
        mButtons[i] = button;
    }
    connect(mButtons[0], &QToolButton::clicked, this, &WarpWindow::newPair);
    connect(mButtons[1], &QToolButton::clicked, this, &WarpWindow::relinkSelected);
    connect(mButtons[2], &QToolButton::clicked, this, &WarpWindow::deleteSelected);
    connect(mButtons[3], &QToolButton::clicked, this, &WarpWindow::clearSelection);

    mQuestion = new QLabel(QStringLiteral("削除しますか？"), this);
    mQuestion->setObjectName(QStringLiteral("question"));
    mQuestion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mYes = new QPushButton(QStringLiteral("&Yes"), this);
    mYes->setObjectName(QStringLiteral("yesButton"));
    mNo = new QPushButton(QStringLiteral("&No"), this);
    mNo->setObjectName(QStringLiteral("noButton"));
    // The captions are the program's own; a reader says what they mean in Japanese.
    mYes->setAccessibleDescription(QStringLiteral("はい：選んだワープを削除します"));
    mNo->setAccessibleDescription(QStringLiteral("いいえ：削除しません"));
    connect(mYes, &QPushButton::clicked, this, [this] { answerDeletion(true); });
    connect(mNo, &QPushButton::clicked, this, [this] { answerDeletion(false); });

    placeControls();
    for (QWidget *part : std::initializer_list<QWidget *>{mQuestion, mYes, mNo})
        part->hide();
    // The rows show the pairs of the map, whoever changed them.
    connect(&mSession.document(), &MapDocument::mapChanged, this, [this](const MapChange &change) {
        if (change.has(MapChange::Pairs))
            showRows();
    });
    showRows();
    watchKeysOfChildren();
}

bool WarpWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Enter on a row changes that pair, as the change button does.
    if (watched == mList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            relinkSelected();
            return true;
        }
    }
    return ToolWindowFrame::eventFilter(watched, event);
}

// The twips layout is the smallest; the window grows for its title, for the widest row a
// pair can have and for the question. The list takes the width, the clear button keeps to
// the right edge and the answer buttons to the right of the question.
void WarpWindow::placeControls()
{
    int rowWidth = 0;
    const WarpRecord widest{24, 16, 9, 24, 16, 9};
    const QFontMetrics rowMetrics = mList->fontMetrics();
    for (int pair = 1; pair <= Pairs; ++pair)
        rowWidth =
            std::max(rowWidth, rowMetrics.horizontalAdvance(WarpPairs::pairRow(pair, widest)));
    const int listChrome =
        2 * mList->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, mList) +
        2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, mList) + 8;
    const int margin = ToolWindowFrame::twipsToPixels(120);
    const int width = std::max({ToolWindowFrame::twipsToPixels(2175), rowWidth + listChrome,
                                TextFit::titleWidth(this, windowTitle())});

    const QRect list = ToolWindowFrame::twipsRect(0, 0, 2175, 1635);
    mList->setGeometry(list.x(), list.y(), width, list.height());
    QRect clear = mButtons[3]->geometry();
    clear.setSize(clear.size().expandedTo(TextFit::neededSize(mButtons[3])));
    clear.moveRight(width - 1);
    mButtons[3]->setGeometry(clear);
    for (int i = 0; i < 3; ++i) {
        QRect button = mButtons[i]->geometry();
        button.setHeight(clear.height());
        mButtons[i]->setGeometry(button);
    }

    // The question is as long whichever pair it names.
    mQuestion->setText(mSession.warpWindow().deletionQuestion(0));
    const QRect question =
        TextFit::place(mQuestion, ToolWindowFrame::twipsRect(120, 2160, 1935, 615));
    QRect yes = ToolWindowFrame::twipsRect(1560, 2160, 615, 255);
    QRect no = ToolWindowFrame::twipsRect(1560, 2520, 615, 255);
    const QSize answer =
        yes.size().expandedTo(TextFit::neededSize(mYes)).expandedTo(TextFit::neededSize(mNo));
    yes.setSize(answer);
    no.setSize(answer);
    no.moveTop(std::max(no.top(), yes.bottom() + 1 + ToolWindowFrame::twipsToPixels(105)));
    const int answerLeft =
        std::max({yes.left(), question.right() + 1 + margin / 2, width - answer.width()});
    yes.moveLeft(answerLeft);
    no.moveLeft(answerLeft);
    mYes->setGeometry(yes);
    mNo->setGeometry(no);

    const int askingBottom = std::max(question.bottom(), no.bottom()) + 1 + margin / 2;
    mAskingHeightTwips = std::max(AskingHeight, ToolWindowFrame::windowHeightTwips(askingBottom));
    const int buttonsBottom = mButtons[0]->geometry().bottom() + 1;
    mIdleHeightTwips = std::max(FullHeight, ToolWindowFrame::windowHeightTwips(buttonsBottom));
    growToFit({std::max(width, no.right() + 1), buttonsBottom});
}

bool WarpWindow::isAskingDeletion() const
{
    return mSession.warpWindow().isAskingDeletion();
}

int WarpWindow::selectedRow() const
{
    const QList<QListWidgetItem *> selected = mList->selectedItems();
    return selected.isEmpty() ? -1 : mList->row(selected.first());
}

void WarpWindow::showRows()
{
    const QStringList rows = mSession.warpWindow().rows();
    const int selected = selectedRow();
    const QSignalBlocker blocker(mList);
    while (mList->count() > rows.size())
        delete mList->takeItem(mList->count() - 1);
    for (int i = 0; i < rows.size(); ++i) {
        if (i < mList->count())
            mList->item(i)->setText(rows[i]);
        else
            mList->addItem(rows[i]);
    }
    if (selected >= rows.size())
        mList->clearSelection();
}

void WarpWindow::newPair()
{
    if (mSession.warpWindow().startNewPair() == WarpLinkTool::NewPair::Full)
        mPrompter.tell(this, Prompter::Icon::Warning, QStringLiteral("Q:zKエディター"),
                       QStringLiteral("これ以上は追加できません。"));
}

void WarpWindow::relinkSelected()
{
    if (!mSession.warpWindow().relinkRow(selectedRow()))
        mPrompter.beep();
}

void WarpWindow::deleteSelected()
{
    const int row = selectedRow();
    const WarpWindowPresenter::Deletion deletion = mSession.warpWindow().requestDeletion(row);
    mPrompter.beep();
    if (deletion != WarpWindowPresenter::Deletion::Ask)
        return;
    mQuestion->setText(mSession.warpWindow().deletionQuestion(row));
    setAsking(true);
}

void WarpWindow::clearSelection()
{
    mList->clearSelection();
    mSession.warpWindow().highlightRow(-1);
}

void WarpWindow::answerDeletion(bool yes)
{
    setAsking(false);
    mSession.warpWindow().answerDeletion(yes);
}

void WarpWindow::setAsking(bool asking)
{
    const bool answered = mYes->hasFocus() || mNo->hasFocus();
    setFullHeightTwips(asking ? mAskingHeightTwips : mIdleHeightTwips);
    for (QToolButton *button : mButtons)
        button->setEnabled(!asking);
    mList->setEnabled(!asking);
    // The question lies below the idle window: hidden there, Tab passes it by.
    for (QWidget *part : std::initializer_list<QWidget *>{mQuestion, mYes, mNo})
        part->setVisible(asking);
    // The keys go to the answer, and back to the delete button that asked.
    if (asking)
        mYes->setFocus(Qt::OtherFocusReason);
    else if (answered)
        mButtons[2]->setFocus(Qt::OtherFocusReason);
    // The editor waits for the answer: the main window takes no input meanwhile.
    setModalQuestion(asking);
}
