#include "mainwindow/editactions.h"

#include "mapfile/blockclipboard.h"
#include "session/editorsession.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <QWidget>

EditActions::EditActions(EditorSession &session, QWidget *window, QMenu *editMenu)
    : QObject(window), mSession(session)
{
    SelectionTool &blocks = mSession.tools().selection();
    editMenu->addSeparator();
    mCut = editMenu->addAction(QStringLiteral("切り取り(&T)"));
    mCut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(mCut, &QAction::triggered, this, &EditActions::cut);
    mCopy = editMenu->addAction(QStringLiteral("コピー(&C)"));
    mCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(mCopy, &QAction::triggered, this, &EditActions::copy);
    mPaste = editMenu->addAction(QStringLiteral("貼り付け(&P)"));
    mPaste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(mPaste, &QAction::triggered, this, &EditActions::paste);
    mDelete = editMenu->addAction(QStringLiteral("削除(&D)"));
    mDelete->setShortcut(QKeySequence(Qt::Key_Delete));
    connect(mDelete, &QAction::triggered, &blocks, &SelectionTool::deleteSelection);
    mSelectAll = editMenu->addAction(QStringLiteral("すべて選択(&A)"));
    mSelectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(mSelectAll, &QAction::triggered, &blocks, &SelectionTool::selectAll);
    editMenu->addSeparator();
    mSelectionTool = editMenu->addAction(QStringLiteral("範囲選択(&S)"));
    mSelectionTool->setObjectName(QStringLiteral("selectionTool"));
    mSelectionTool->setCheckable(true);
    mSelectionTool->setShortcut(QKeySequence(Qt::Key_F8));
    mSelectionTool->setToolTip(QStringLiteral("範囲選択"));
    connect(mSelectionTool, &QAction::triggered, &mSession.tools(), &ToolSwitch::setSelectionOn);
    mFillTool = editMenu->addAction(QStringLiteral("塗りつぶし(&K)"));
    mFillTool->setObjectName(QStringLiteral("fillTool"));
    mFillTool->setCheckable(true);
    mFillTool->setShortcut(QKeySequence(Qt::Key_F9));
    mFillTool->setToolTip(
        QStringLiteral("同じチップがつながった範囲を、選んだチップで塗りつぶします。"));
    connect(mFillTool, &QAction::triggered, &mSession.tools(), &ToolSwitch::setFillOn);
    mRectangleTool = editMenu->addAction(QStringLiteral("四角形(&Q)"));
    mRectangleTool->setObjectName(QStringLiteral("rectangleTool"));
    mRectangleTool->setCheckable(true);
    mRectangleTool->setShortcut(QKeySequence(Qt::Key_F11));
    mRectangleTool->setToolTip(
        QStringLiteral("ドラッグした四角形に、選んだチップを配置します。Shiftで枠だけ。"));
    connect(mRectangleTool, &QAction::triggered, &mSession.tools(), &ToolSwitch::setRectangleOn);
    editMenu->addSeparator();
    const struct
    {
        QString caption;
        QKeySequence keys;
        CellBlock::Turn turn;
    } turns[4] = {
        {QStringLiteral("左右反転(&H)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H),
         CellBlock::Turn::FlipLeftRight},
        {QStringLiteral("上下反転(&V)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
         CellBlock::Turn::FlipUpDown},
        {QStringLiteral("右に90度回転(&O)"), QKeySequence(Qt::CTRL | Qt::Key_R),
         CellBlock::Turn::RotateClockwise},
        {QStringLiteral("左に90度回転(&L)"), QKeySequence(Qt::CTRL | Qt::Key_L),
         CellBlock::Turn::RotateCounterClockwise},
    };
    for (int i = 0; i < 4; ++i) {
        mTurns[i] = editMenu->addAction(turns[i].caption);
        mTurns[i]->setShortcut(turns[i].keys);
        const CellBlock::Turn turn = turns[i].turn;
        connect(mTurns[i], &QAction::triggered, &blocks, [&blocks, turn] { blocks.turn(turn); });
    }
    // Esc drops a floating block, then the selection; it has no menu item of its own.
    mDrop = new QAction(this);
    mDrop->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(mDrop, &QAction::triggered, &blocks, &SelectionTool::drop);
    window->addAction(mDrop);

    connect(&blocks, &SelectionTool::changed, this, &EditActions::showState);
    connect(&mSession.tools().fill(), &FillTool::stateChanged, this, &EditActions::showState);
    connect(&mSession.tools().rectangle(), &RectangleTool::stateChanged, this,
            &EditActions::showState);
    connect(&mSession, &EditorSession::editModeChanged, this, &EditActions::showState);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &EditActions::showState);
    showState();
}

QList<QAction *> EditActions::toolWindowCommands() const
{
    return {mCut, mCopy, mPaste, mSelectAll, mSelectionTool, mFillTool, mRectangleTool};
}

void EditActions::addToolButton(QWidget *parent, QAction *tool, const QRect &geometry,
                                const QIcon &icon)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(tool->objectName() + QStringLiteral("Button"));
    tool->setIcon(icon);
    button->setDefaultAction(tool);
    button->setIconSize(QSize(26, 26));
    button->setGeometry(geometry);
    connect(&mSession, &EditorSession::editModeChanged, button,
            [this, button] { button->setVisible(mSession.tools().selection().isUsable()); });
}

void EditActions::copy()
{
    if (const std::optional<CellBlock> block = mSession.tools().selection().copy())
        QGuiApplication::clipboard()->setMimeData(BlockClipboard::toMimeData(*block));
}

void EditActions::cut()
{
    if (const std::optional<CellBlock> block = mSession.tools().selection().cut())
        QGuiApplication::clipboard()->setMimeData(BlockClipboard::toMimeData(*block));
}

void EditActions::paste()
{
    if (!mSession.tools().selection().isUsable())
        return;
    QString refusal;
    const std::optional<CellBlock> block =
        BlockClipboard::fromMimeData(QGuiApplication::clipboard()->mimeData(), &refusal);
    if (!block) {
        mSession.status().tellText(refusal);
        return;
    }
    mSession.tools().selection().startFloating(*block);
}

void EditActions::showState()
{
    const SelectionTool &blocks = mSession.tools().selection();
    mSelectionTool->setEnabled(blocks.isUsable());
    mSelectionTool->setChecked(blocks.isOn());
    const ToolSwitch &tools = mSession.tools();
    mFillTool->setEnabled(blocks.isUsable());
    mFillTool->setChecked(tools.fill().isOn());
    mRectangleTool->setEnabled(blocks.isUsable());
    mRectangleTool->setChecked(tools.rectangle().isOn());
    mCut->setEnabled(blocks.canCopy());
    mCopy->setEnabled(blocks.canCopy());
    mDelete->setEnabled(blocks.canCopy());
    mSelectAll->setEnabled(blocks.isUsable());
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    mPaste->setEnabled(blocks.isUsable() && data &&
                       (data->hasFormat(BlockClipboard::cellsType()) || data->hasText()));
    for (QAction *turn : mTurns)
        turn->setEnabled(blocks.canTurn());
}
