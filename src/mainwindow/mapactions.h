#pragma once

#include "dialogs/mapinfowindow.h"
#include "model/chipfind.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class BoardView;
class ChipPictures;
class EditorSession;
class MapInfoWindow;
class QAction;
class QMenu;
class QWidget;
class RouteOverlay;

// Replacing and finding chips, and the map information window with its pictures on the
// board: the commands and their menu items.
class MapActions : public QObject
{
    Q_OBJECT

public:
    MapActions(EditorSession &session, const ChipPictures &pictures, BoardView &board,
               QWidget *window);

    void addToEditMenu(QMenu *menu);
    void addToToolMenu(QMenu *menu);
    // The keys a tool window hands on to these commands (after addToEditMenu).
    QList<QAction *> toolWindowCommands() const;

    // Asks for the two chips and the scope, then replaces as one step.
    void replaceChips();
    // Asks for the chip to find, then finds it from the shown floor's first cell.
    void findChip();
    // The next (or previous) cell with the chip last asked for, or else the palette's chip.
    void findNext(bool forward);
    void showMapInfo();
    MapInfoWindow *mapInfo() const { return mInfo; }
    RouteOverlay *overlay() const { return mOverlay; }

private:
    void showStats();

    EditorSession &mSession;
    const ChipPictures &mPictures;
    QWidget *mWindow;
    RouteOverlay *mOverlay;
    QPointer<MapInfoWindow> mInfo;
    QString mFindChip;
    ChipFind::Place mFound;
    QAction *mReplace = nullptr;
    QAction *mFind = nullptr;
    QAction *mNext = nullptr;
    QAction *mPrevious = nullptr;
};
