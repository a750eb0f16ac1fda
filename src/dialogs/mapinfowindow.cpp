#include "dialogs/mapinfowindow.h"

#include "model/cellstring.h"
#include "model/chipdescriptions.h"
#include "painting/chippictures.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

MapInfoWindow::MapInfoWindow(const ChipPictures &pictures, const ChipDescriptions &descriptions,
                             QWidget *parent)
    : QWidget(parent, Qt::Window), mPictures(pictures), mDescriptions(descriptions),
      mRoute(new QLabel(this)), mPairs(new QLabel(this)), mFloors(new QComboBox(this)),
      mSummary(new QLabel(this)), mChips(new QTreeWidget(this)),
      mRouteButton(new QPushButton(QStringLiteral("道順を盤面に表示(&R)"), this)),
      mUnreachableButton(new QPushButton(QStringLiteral("行けないマスを盤面に表示(&U)"), this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("マップの情報"));
    mRoute->setObjectName(QStringLiteral("routeLabel"));
    mFloors->setObjectName(QStringLiteral("floorBox"));
    mChips->setObjectName(QStringLiteral("chipList"));
    mRouteButton->setObjectName(QStringLiteral("routeButton"));
    mUnreachableButton->setObjectName(QStringLiteral("unreachableButton"));
    for (QLabel *label : {mRoute, mPairs, mSummary})
        label->setWordWrap(true);
    mRouteButton->setCheckable(true);
    mUnreachableButton->setCheckable(true);
    mChips->setColumnCount(3);
    mChips->setHeaderLabels(
        {QStringLiteral("チップ"), QStringLiteral("数"), QStringLiteral("マスの文字")});
    mChips->setRootIsDecorated(false);
    mChips->setIconSize(QSize(ChipPictures::Size, ChipPictures::Size));
    mChips->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    mChips->header()->setStretchLastSection(false);

    // One above the other, so the window fits beside the tool window on a small screen.
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(mRouteButton);
    buttons->addWidget(mUnreachableButton);
    auto *floorLabel = new QLabel(QStringLiteral("フロア(&F):"), this);
    floorLabel->setBuddy(mFloors);
    auto *floorRow = new QHBoxLayout;
    floorRow->addWidget(floorLabel);
    floorRow->addWidget(mFloors, 1);
    auto *chipLabel = new QLabel(QStringLiteral("使われているチップ(&C):"), this);
    chipLabel->setBuddy(mChips);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mRoute);
    layout->addWidget(mPairs);
    layout->addLayout(buttons);
    layout->addLayout(floorRow);
    layout->addWidget(mSummary);
    layout->addWidget(chipLabel);
    layout->addWidget(mChips, 1);
    // Tab follows the window from top to bottom, not the order the controls were made in.
    setTabOrder(mRouteButton, mUnreachableButton);
    setTabOrder(mUnreachableButton, mFloors);
    setTabOrder(mFloors, mChips);

    connect(mFloors, &QComboBox::currentIndexChanged, this, &MapInfoWindow::showCounts);
    connect(mRouteButton, &QPushButton::toggled, this, &MapInfoWindow::routeShown);
    connect(mUnreachableButton, &QPushButton::toggled, this, &MapInfoWindow::unreachableShown);
    resize(420, 480);
}

void MapInfoWindow::showStats(const MapStats &stats)
{
    mStats = stats;
    mRoute->setText(stats.routeText());
    mPairs->setText(stats.pairsText());
    // Keep the floor shown while the map changes; the list follows the floor count.
    const int shown = std::max(0, mFloors->currentIndex());
    {
        const QSignalBlocker blocker(mFloors);
        mFloors->clear();
        mFloors->addItem(MapStats::wholeTitle());
        for (int floor = 1; floor <= stats.floorCount(); ++floor)
            mFloors->addItem(MapStats::floorTitle(floor));
        mFloors->setCurrentIndex(std::min(shown, mFloors->count() - 1));
    }
    showCounts();
}

void MapInfoWindow::showCounts()
{
    const int index = mFloors->currentIndex();
    if (index < 0 || index > mStats.floorCount())
        return;
    const MapStats::Counts &counts = index == 0 ? mStats.whole() : mStats.floor(index);
    mSummary->setText(MapStats::floorSummaryText(counts));
    mChips->clear();
    for (const MapStats::ChipCount &chip : counts.chips) {
        auto *item = new QTreeWidgetItem(mChips);
        item->setIcon(0, QPixmap::fromImage(mPictures.chip(CellString::pictureIndex(chip.cell))));
        const QString name =
            mDescriptions.describe(CellString::chipIndex(chip.cell),
                                   QString::number(CellString::decodeParameter(chip.cell)));
        item->setText(0, name.isEmpty() ? chip.cell : name);
        item->setText(1, QString::number(chip.count));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(2, chip.cell);
    }
}
