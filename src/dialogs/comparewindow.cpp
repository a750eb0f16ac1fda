#include "dialogs/comparewindow.h"

#include "dialogs/checkreportwindow.h"
#include "session/mapcomparison.h"

#include <QFileInfo>
#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>

CompareWindow::CompareWindow(const MapComparison &comparison, QWidget *parent)
    : QWidget(parent, Qt::Window), mComparison(comparison), mList(new QListWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    mList->setObjectName(QStringLiteral("compareList"));
    mList->setFont(CheckReportWindow::reportFont());
    mList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mList->setSelectionMode(QAbstractItemView::SingleSelection);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mList);
    connect(mList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const int row = mList->row(item);
        if (row >= 0 && row < mPlaces.size() && mPlaces[row].isValid())
            Q_EMIT placeChosen(mPlaces[row].floor, mPlaces[row].cell);
    });
    connect(&mComparison, &MapComparison::changed, this, &CompareWindow::refresh);
    // Wide enough for a cell line with two long chip descriptions.
    resize(fontMetrics().averageCharWidth() * 90, 320);
    refresh();
}

QStringList CompareWindow::lines() const
{
    QStringList lines;
    lines.reserve(mList->count());
    for (int i = 0; i < mList->count(); ++i)
        lines.append(mList->item(i)->text());
    return lines;
}

void CompareWindow::refresh()
{
    const MapDiff::Result &result = mComparison.result();
    // The arrow of every line points from the other map to the map being edited.
    const QString other = mComparison.comparesWithSaved()
                              ? QStringLiteral("保存されたファイル")
                              : QFileInfo(mComparison.otherName()).fileName();
    setWindowTitle(QStringLiteral("マップの比較：%1 → 編集中のマップ（違い %2件）")
                       .arg(other)
                       .arg(result.differences.size()));
    QStringList lines = result.lines();
    if (lines.isEmpty())
        lines.append(sameText());
    // An edit far from the line being read keeps the list where it was.
    if (lines == this->lines())
        return;
    const int row = mList->currentRow();
    const int scrolled = mList->verticalScrollBar()->value();
    mList->setUpdatesEnabled(false);
    mList->clear();
    mList->addItems(lines);
    mPlaces.clear();
    mPlaces.reserve(result.differences.size());
    for (const MapDiff::Difference &d : result.differences)
        mPlaces.append(d.place);
    if (row >= 0 && row < mList->count())
        mList->setCurrentRow(row);
    mList->verticalScrollBar()->setValue(scrolled);
    mList->setUpdatesEnabled(true);
}
