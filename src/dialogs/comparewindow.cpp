#include "dialogs/comparewindow.h"

#include "dialogs/checkreportwindow.h"
#include "mapfile/mapfilename.h"
#include "session/mapcomparison.h"

#include <QAbstractListModel>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// Lines are made as the view asks for them: a whole map changed is thousands of lines, of
// which a window shows a screenful.
class DifferenceLines : public QAbstractListModel
{
public:
    DifferenceLines(const MapComparison &comparison, QObject *parent)
        : QAbstractListModel(parent), mComparison(comparison)
    {
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : std::max<int>(1, differenceCount());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= rowCount())
            return {};
        return differenceCount() ? mComparison.result().line(index.row())
                                 : CompareWindow::sameText();
    }

    void reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    int differenceCount() const { return int(mComparison.result().differences.size()); }

    const MapComparison &mComparison;
};

} // namespace

CompareWindow::CompareWindow(const MapComparison &comparison, QWidget *parent)
    : QWidget(parent, Qt::Window), mComparison(comparison), mList(new QListView(this)),
      mModel(new DifferenceLines(comparison, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    mList->setObjectName(QStringLiteral("compareList"));
    mList->setFont(CheckReportWindow::reportFont());
    mList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mList->setSelectionMode(QAbstractItemView::SingleSelection);
    mList->setUniformItemSizes(true);
    mList->setModel(mModel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mList);
    connect(mList, &QListView::doubleClicked, this,
            [this](const QModelIndex &index) { chooseLine(index.row()); });
    // Enter on a line does what a double click does.
    mList->installEventFilter(this);
    connect(&mComparison, &MapComparison::changed, this, &CompareWindow::refresh);
    // Wide enough for a cell line with two long chip descriptions.
    resize(fontMetrics().averageCharWidth() * 90, 320);
    refresh();
}

CompareWindow::~CompareWindow()
{
    // Closing ends the comparison as the window goes (through destroyed()); the news of that
    // must not come back to the half-destroyed window.
    disconnect(&mComparison, nullptr, this, nullptr);
}

bool CompareWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mList->currentIndex().isValid()) {
            chooseLine(mList->currentIndex().row());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CompareWindow::chooseLine(int row)
{
    const auto &differences = mComparison.result().differences;
    if (row < 0 || row >= differences.size())
        return;
    const MapDiff::Place &place = differences[row].place;
    if (place.isValid())
        Q_EMIT placeChosen(place.floor, place.cell);
}

QStringList CompareWindow::lines() const
{
    QStringList lines;
    for (int row = 0; row < mModel->rowCount(); ++row)
        lines.append(mModel->index(row).data().toString());
    return lines;
}

void CompareWindow::refresh()
{
    // The comparison was ended (a new map has nothing to compare): the window goes with it.
    if (!mComparison.isActive()) {
        close();
        return;
    }
    // The arrow of every line points from the other map to the map being edited. Two maps
    // of one name are told apart by their folders.
    QString other = QStringLiteral("保存されたファイル");
    QString edited = QStringLiteral("編集中のマップ");
    if (!mComparison.comparesWithSaved()) {
        other = QFileInfo(mComparison.otherName()).fileName();
        const QString editedName = mComparison.editedName();
        if (!editedName.isEmpty() && QFileInfo(editedName).fileName() == other) {
            const auto [otherEnd, editedEnd] =
                MapFileName::distinctEnds(mComparison.otherName(), editedName);
            other = otherEnd;
            edited += u' ' + editedEnd;
        }
    }
    setWindowTitle(QStringLiteral("マップの比較：%1 → %2（違い %3件）")
                       .arg(other, edited)
                       .arg(mComparison.result().differences.size()));
    // An edit keeps the list where it was being read.
    const int row = mList->currentIndex().row();
    const int scrolled = mList->verticalScrollBar()->value();
    static_cast<DifferenceLines *>(mModel)->reset();
    if (row >= 0 && row < mModel->rowCount())
        mList->setCurrentIndex(mModel->index(row));
    mList->verticalScrollBar()->setValue(scrolled);
}
