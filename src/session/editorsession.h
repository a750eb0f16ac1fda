#pragma once

#include "model/chipdescriptions.h"
#include "model/editmode.h"
#include "model/mapdocument.h"
#include "session/cellcursor.h"
#include "session/checkoverlay.h"
#include "session/mapcomparison.h"
#include "session/mapmergestate.h"
#include "session/statusline.h"
#include "session/toolboxstate.h"
#include "session/tools/toolcontext.h"
#include "session/tools/toolswitch.h"
#include "session/warpwindowpresenter.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QVector>

#include <optional>

// The editing session around the one map: the current floor and mode, the board tools,
// what the tool windows have chosen, and the status bar. Windows render this state and
// forward input here.
class EditorSession : public QObject, public EditModes
{
    Q_OBJECT

public:
    EditorSession(MapDocument &document, const ChipDescriptions &descriptions,
                  QObject *parent = nullptr);

    MapDocument &document() { return mDocument; }
    const MapData &map() const { return mDocument.data(); }
    const ChipDescriptions &descriptions() const { return mDescriptions; }

    int currentFloor() const { return mDocument.currentFloor(); }
    EditMode editMode() const { return mContext.mode(); }
    // The board tools: the board's input goes to tools().press() and its kin.
    ToolSwitch &tools() { return mTools; }
    const ToolSwitch &tools() const { return mTools; }
    // The keyboard's cell on the board.
    CellCursor &cursor() { return mCursor; }
    const CellCursor &cursor() const { return mCursor; }
    // The chosen chip and branch setting.
    ToolContext &choices() { return mContext; }
    const ToolContext &choices() const { return mContext; }
    StatusLine &status() { return mStatus; }
    const StatusLine &status() const { return mStatus; }
    CheckOverlay &checks() { return mChecks; }
    const CheckOverlay &checks() const { return mChecks; }
    MapComparison &comparison() { return mComparison; }
    const MapComparison &comparison() const { return mComparison; }
    MapMergeState &merge() { return mMerge; }
    const MapMergeState &merge() const { return mMerge; }
    ToolBoxState &toolBox() { return mToolBox; }
    const ToolBoxState &toolBox() const { return mToolBox; }
    WarpWindowPresenter &warpWindow() { return mWarpWindow; }
    const WarpWindowPresenter &warpWindow() const { return mWarpWindow; }

    // The floor tabs' captions, one per floor.
    const QStringList &floorTabCaptions() const { return mFloorTabCaptions; }
    // Tab `floor` (1-based) of any map, new or read: the first tab's digit is full-width.
    static QString floorTabCaption(int floor);
    // Floor commands. addFloor is false at nine floors; moving is false at the ends
    // (the status bar then says so).
    bool addFloor();
    bool moveFloor(int delta);
    QString deleteFloorQuestion() const;
    void deleteCurrentFloor();
    // Inserts a copy of the current floor after it and shows it; false at nine floors.
    // The status bar says how many pairs found no free number.
    bool duplicateFloor();
    // A loaded map replaces the document: tabs and markers follow its floors and pairs.
    void takeLoadedMap(const MapData &map, const QString &fileName = QString());
    // A map opened or recovered: everything but the map goes back to its start value, as
    // resetMap leaves it, and the map replaces the document with a fresh history.
    void takeOpenedMap(const MapData &map, const QString &fileName);
    // The map read again from its files, as one step of the history that leaves it saved;
    // the floor shown stays where it still exists.
    void takeReloadedMap(const MapData &map);
    // A whole map as one step of the history (a merge, a conflict resolved): the views
    // follow it as they follow an undone step, on `floor`.
    void takeMapAsStep(const MapData &map, const QString &stepText, int floor);

    QString windowCaption() const;
    QString propertyMenuCaption() const;

    // Switches the edit mode (1 chips, 2 branch points, 3 warps); the views replace the
    // tool window on editModeChanged. Choosing the current mode does nothing.
    void setEditMode(EditMode mode);

    // Empties the map: one empty floor, no warps, no name, every selection back to its
    // start value, map-edit mode with a new palette, and a fresh history.
    void resetMap();

    // Differs from what was last opened or saved; a relinked pair's moved source counts
    // although its destination is still to come.
    bool hasUnsavedChanges() const;

    // Takes back the last step of the map's history, or does it again. Either shows the
    // floor where the step happened. While a pair waits for its destination, undo takes
    // back only its half-placed end, and redo drops that end first.
    void undo();
    void redo();

    // Redraws the current floor: drops the line marks and tells the views.
    void refreshBoard();
    // The user picked floor tab `index` (0-based).
    void selectFloorTab(int index);

    // Shows floor `floor`, puts cell (x, y) into the status bar as hovering it would and
    // the keyboard's cursor on it.
    void locateCell(int floor, QPoint cell);
    // A place a compare or merge window chose: a cell, or with a null cell the floor alone.
    void showPlace(int floor, QPoint cell);

Q_SIGNALS:
    void boardRefreshed();
    void editModeChanged(EditorSession::EditMode oldMode, EditorSession::EditMode newMode);
    void warpsChanged();
    void floorsChanged();
    // A report line's cell was chosen: the board should point it out.
    void cellLocated(QPoint cell);

private:
    void dropLineStartForFloorChange();
    void setCurrentFloor(int floor);
    void syncFloorTabCaptions();
    // Everything but the map goes back to its start value; the map replaced next is
    // followed through its change event.
    void resetSessionState();
    // The mode's tools and tool window switch; the board is drawn by whoever calls.
    void switchEditMode(EditMode mode);
    // An empty map that keeps the cells of freed warp records.
    MapData emptiedMap() const;
    // Ends linking and line starts before the history moves under them.
    void settleForHistory();
    void onMapChanged(const MapChange &change);

    MapDocument &mDocument;
    const ChipDescriptions &mDescriptions;

    QStringList mFloorTabCaptions{floorTabCaption(1)};

    StatusLine mStatus;
    ToolContext mContext{mDocument, mDescriptions, mStatus};
    ToolSwitch mTools{mContext};
    CellCursor mCursor{mTools, mContext};
    CheckOverlay mChecks{mDocument};
    MapComparison mComparison{mDocument, mDescriptions};
    MapMergeState mMerge{*this};
    ToolBoxState mToolBox;
    WarpWindowPresenter mWarpWindow{mDocument, mTools.warps(), mStatus};
};
