#include "mainwindow/editactions.h"

#include "mainwindow/toolactions.h"
#include "mapfile/blockclipboard.h"
#include "session/editorsession.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QWidget>

EditActions::EditActions(EditorSession &session, QWidget *window, QMenu *editMenu,
                         ToolActions &tools)
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
    tools.addToMenu(editMenu);
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

    connect(&blocks, &SelectionTool::stateChanged, this, &EditActions::showState);
    connect(&mSession, &EditorSession::editModeChanged, this, &EditActions::showState);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &EditActions::showState);
    showState();
}

QList<QAction *> EditActions::toolWindowCommands() const
{
    return {mCut, mCopy, mPaste, mSelectAll};
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
