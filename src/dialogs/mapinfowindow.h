#pragma once

#include "board/mapstats.h"

#include <QWidget>

class ChipDescriptions;
class ChipPictures;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

// The map's numbers: the route to the nearest goal, the warp pairs, and for the whole map or
// one floor the chips used with their pictures and names, the branch points and the cells
// out of reach. Modeless, like the check report; deleted when closed. The owner hands it
// fresh numbers whenever the map changes.
class MapInfoWindow : public QWidget
{
    Q_OBJECT

public:
    MapInfoWindow(const ChipPictures &pictures, const ChipDescriptions &descriptions,
                  QWidget *parent = nullptr);

    void showStats(const MapStats &stats);
    QLabel *routeLabel() const { return mRoute; }
    QTreeWidget *chipList() const { return mChips; }
    QComboBox *floorBox() const { return mFloors; }
    QPushButton *routeButton() const { return mRouteButton; }
    QPushButton *unreachableButton() const { return mUnreachableButton; }

Q_SIGNALS:
    void routeShown(bool on);
    void unreachableShown(bool on);

private:
    void showCounts();

    const ChipPictures &mPictures;
    const ChipDescriptions &mDescriptions;
    MapStats mStats;
    QLabel *mRoute;
    QLabel *mPairs;
    QComboBox *mFloors;
    QLabel *mSummary;
    QTreeWidget *mChips;
    QPushButton *mRouteButton;
    QPushButton *mUnreachableButton;
};
