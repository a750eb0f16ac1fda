#include "dialogs/mergewindow.h"

#include "dialogs/checkreportwindow.h"
#include "session/mapmergestate.h"

#include <QAbstractListModel>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

class ConflictLines : public QAbstractListModel
{
public:
    ConflictLines(const MapMergeState &merge, QObject *parent)
        : QAbstractListModel(parent), mMerge(merge)
    {
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : mMerge.conflictCount();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (index.row() < 0 || index.row() >= rowCount())
            return {};
        if (role == Qt::DisplayRole)
            return (mMerge.isLeft(index.row()) ? QStringLiteral("　") : QStringLiteral("✓")) +
                   mMerge.result().line(index.row());
        if (role == Qt::ForegroundRole && !mMerge.isLeft(index.row()))
            return QColor(Qt::darkGray);
        return {};
    }

    void reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    const MapMergeState &mMerge;
};

} // namespace

MergeWindow::MergeWindow(MapMergeState &merge, QWidget *parent)
    : QWidget(parent, Qt::Window), mMerge(merge), mList(new QListView(this)),
      mModel(new ConflictLines(merge, this)), mLeft(new QLabel(this)),
      mOurs(new QPushButton(QStringLiteral("こちらを使う(&O)"), this)),
      mTheirs(new QPushButton(QStringLiteral("あちらを使う(&T)"), this)),
      mBase(new QPushButton(QStringLiteral("元に戻す(&B)"), this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    mList->setObjectName(QStringLiteral("mergeList"));
    mList->setFont(CheckReportWindow::reportFont());
    mList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mList->setUniformItemSizes(true);
    mList->setModel(mModel);
    mList->installEventFilter(this);
    // The count on a line of its own, so the window can be narrow on a small screen.
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {mOurs, mTheirs, mBase}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mList);
    layout->addWidget(mLeft);
    layout->addLayout(buttons);
    connect(mOurs, &QPushButton::clicked, this, [this] { choose(0); });
    connect(mTheirs, &QPushButton::clicked, this, [this] { choose(1); });
    connect(mBase, &QPushButton::clicked, this, [this] { choose(2); });
    connect(mList, &QListView::doubleClicked, this, &MergeWindow::goToCurrent);
    connect(mList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MergeWindow::updateButtons);
    connect(&mMerge, &MapMergeState::changed, this, &MergeWindow::refresh);
    resize(fontMetrics().averageCharWidth() * 90, 360);
    refresh();
    if (mModel->rowCount() > 0)
        mList->setCurrentIndex(mModel->index(0));
}

MergeWindow::~MergeWindow()
{
    disconnect(&mMerge, nullptr, this, nullptr);
}

QStringList MergeWindow::lines() const
{
    QStringList lines;
    for (int row = 0; row < mModel->rowCount(); ++row)
        lines.append(mModel->index(row).data().toString());
    return lines;
}

QString MergeWindow::leftText() const
{
    const int left = mMerge.leftCount();
    return left ? QStringLiteral("残りの衝突：%1件").arg(left)
                : QStringLiteral("衝突はすべて解決しました。保存してください。");
}

bool MergeWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            goToCurrent();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QList<int> MergeWindow::chosenRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : mList->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.isEmpty() && mList->currentIndex().isValid())
        rows.append(mList->currentIndex().row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MergeWindow::choose(int side)
{
    const QList<int> rows = chosenRows();
    mMerge.choose(rows, MapMergeState::Side(side));
    // On to the next conflict left, so a run of choices needs no mouse.
    const int from = rows.isEmpty() ? 0 : rows.last() + 1;
    for (int row = from; row < mModel->rowCount(); ++row) {
        if (mMerge.isLeft(row)) {
            mList->setCurrentIndex(mModel->index(row));
            break;
        }
    }
}

void MergeWindow::goToCurrent()
{
    const int row = mList->currentIndex().row();
    if (row < 0 || row >= mMerge.conflictCount())
        return;
    const auto &place = mMerge.result().conflicts[row].place;
    if (place.isValid())
        Q_EMIT placeChosen(place.floor, place.cell);
}

void MergeWindow::refresh()
{
    setWindowTitle(QStringLiteral("三方向マージ：%1（衝突 %2件、残り %3件）")
                       .arg(QFileInfo(mMerge.theirsName()).fileName())
                       .arg(mMerge.conflictCount())
                       .arg(mMerge.leftCount()));
    mLeft->setText(leftText());
    const QModelIndex current = mList->currentIndex();
    const QList<int> selected = chosenRows();
    const int scrolled = mList->verticalScrollBar()->value();
    static_cast<ConflictLines *>(mModel)->reset();
    for (const int row : selected)
        mList->selectionModel()->select(mModel->index(row), QItemSelectionModel::Select);
    if (current.isValid() && current.row() < mModel->rowCount())
        mList->selectionModel()->setCurrentIndex(mModel->index(current.row()),
                                                 QItemSelectionModel::NoUpdate);
    mList->verticalScrollBar()->setValue(scrolled);
    updateButtons();
}

void MergeWindow::updateButtons()
{
    const QList<int> rows = chosenRows();
    const auto any = [&](MapMergeState::Side side) {
        return std::any_of(rows.begin(), rows.end(),
                           [&](int row) { return mMerge.canChoose(row, side); });
    };
    mOurs->setEnabled(any(MapMergeState::Side::Ours));
    mTheirs->setEnabled(any(MapMergeState::Side::Theirs));
    mBase->setEnabled(any(MapMergeState::Side::Base));
}
