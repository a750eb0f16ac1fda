#pragma once

#include "board/mapcheck.h"
#include "board/warplinking.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "model/chipdescriptions.h"
#include "model/mapdocument.h"
#include "session/blocktool.h"
#include "session/mapfilewatch.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QVector>

#include <optional>

// The editing session around the one map: the current floor and mode, what the tool
// windows have selected, the line tool, and the status texts. Windows render this
// state and forward input here.
class EditorSession : public QObject
{
    Q_OBJECT

public:
    enum EditMode
    {
        NoMode = 0,
        ChipMode = 1,
        BranchMode = 2,
        WarpMode = 3
    };
    enum ToolBoxMode
    {
        ToolBoxShown = 1,
        ToolBoxRolledUp = 2,
        ToolBoxHidden = 3
    };
    // The line tool: off, waiting for its start cell, waiting for its end cell.
    enum LineToolState
    {
        LineOff = 0,
        LineWaitingStart = 1,
        LineWaitingEnd = 2
    };

    EditorSession(MapDocument &document, const ChipDescriptions &descriptions,
                  QObject *parent = nullptr);

    MapDocument &document() { return mDocument; }
    const MapData &map() const { return mDocument.data(); }
    const ChipDescriptions &descriptions() const { return mDescriptions; }

    int currentFloor() const { return mCurrentFloor; }
    EditMode editMode() const { return mEditMode; }
    ToolBoxMode toolBoxMode() const { return mToolBoxMode; }
    const QString &selectedChip() const { return mSelectedChip; }
    const QString &selectedBranch() const { return mSelectedBranch; }
    int selectedWarp() const { return mWarps.selectedWarp(); }
    int warpPickStage() const { return mWarps.stage(); }
    bool warpRelinking() const { return mWarps.relinking(); }
    WarpLinking &warps() { return mWarps; }
    // Strokes, the selection and blocks being pasted or moved.
    BlockTool &blocks() { return mBlocks; }
    const BlockTool &blocks() const { return mBlocks; }
    const WarpLinking &warps() const { return mWarps; }
    // Markers are shown in warp mode on the floor they stand on.
    bool isMarkerVisible(const WarpLinking::Marker &marker) const;
    // After a change made through warps(): tells the views.
    void warpsEdited() { Q_EMIT warpsChanged(); }
    // A click on warp marker `index`; false when it must be refused with a beep.
    bool clickMarker(int index, Qt::MouseButton button);

    // The floor tabs' captions, one per floor.
    const QStringList &floorTabCaptions() const { return mFloorTabCaptions; }
    // Floor commands. addFloor is false at nine floors; moving is false at the ends
    // (the status bar then says so).
    bool addFloor();
    bool moveFloor(int delta);
    QString deleteFloorQuestion() const;
    void deleteCurrentFloor();
    // Inserts a copy of the current floor after it and shows it; false at nine floors.
    // The status bar says how many pairs found no free number.
    bool duplicateFloor();
    // Opens the map whose floor-1 file was chosen. Faulty files leave the map that was
    // open as it was, history and unsaved changes included.
    MapLoadResult openMap(const QString &chosenFile);
    // Writes the map under a base path; the map is named after it, and counts as saved,
    // only when that worked.
    MapSaveResult saveMap(const QString &basePath);
    // Where the next open or save dialog starts: the folder of the file chosen or opened
    // last, at first the working folder at start.
    const QString &fileDialogFolder() const { return mFileDialogFolder; }
    // A file was chosen in an open or save dialog or named on the command line.
    void fileChosen(const QString &file);
    // A loaded map replaces the document: tabs and markers follow its floors and pairs.
    void takeLoadedMap(const MapData &map);
    // A map restored from a recovery copy: opened as loaded, with unsaved changes.
    void takeRecoveredMap(const MapData &map);
    // The open map's files as other programs change them.
    MapFileWatch &fileWatch() { return mFileWatch; }
    // Reads the map again from its files as one step of the history; the floor shown stays
    // where it still exists. A fault keeps the map as it was.
    MapLoadResult reloadMap();

    LineToolState lineToolState() const { return mLineTool; }
    // Cells that carry the line marker until the next board refresh.
    const QVector<QPoint> &lineMarks() const { return mLineMarks; }

    const QString &statusText() const { return mStatusText; }
    const QString &positionText() const { return mPositionText; }

    QString windowCaption() const;
    QString propertyMenuCaption() const;
    // The code shown under the sample: two blanks for the empty chip.
    QString sampleCode() const;

    // Switches the edit mode (1 chips, 2 branch points, 3 warps); the views replace the
    // tool window on editModeChanged. Choosing the current mode does nothing.
    void setEditMode(EditMode mode);
    // The tool-window display option (1 shown, 2 rolled up while not in use, 3 hidden).
    void setToolBoxMode(ToolBoxMode mode);

    // Empties the map: one empty floor, no warps, no name, every selection back to its
    // start value, map-edit mode with a new palette, and a fresh history.
    void resetMap();

    // Differs from what was last opened or saved; a relinked pair's moved source counts
    // although its destination is still to come.
    bool hasUnsavedChanges() const;
    // The question asked before unsaved changes would be lost.
    QString unsavedChangesQuestion() const;

    // Takes back the last step of the map's history, or does it again. Either shows the
    // floor where the step happened. While a pair waits for its destination, undo takes
    // back only its half-placed end, and redo drops that end first.
    void undo();
    void redo();

    // The branch window: direction k (1 up, 2 left, 3 right, 4 down) steps 0-1-2-3-0.
    void advanceBranchDigit(int direction);
    void clearSelectedBranch();
    // The branch digit of direction k in the selected setting.
    int selectedBranchDigit(int direction) const;

    // Redraws the current floor: drops the line marks and tells the views.
    void refreshBoard();
    // The user picked floor tab `index` (0-based).
    void selectFloorTab(int index);
    void mouseOverBackground();
    // The line tool button was toggled.
    void toggleLineTool();
    void markLineStart(QPoint cell);
    // Previews (commit false) or lays (commit true) the line from the line start to `target`.
    void drawChipLine(QPoint target, bool commit);

    // A mouse button went down on board cell (x, y) of the current floor.
    void clickCell(QPoint cell, Qt::MouseButton button);
    // The mouse moved over board cell (x, y).
    void hoverCell(QPoint cell);
    // The status text for a cell: its chip's description with the number in place of "?".
    QString cellDescription(const QString &cell) const;

    // The chip a left click lays; the main window's sample follows it.
    void setSelectedChip(const QString &cell);
    // Where the last tool window stood, in twips, kept within 16 bits.
    QPoint toolBoxPosition() const { return mToolBoxPosition; }
    void setToolBoxPosition(QPoint twips);

    void setStatusText(const QString &text);
    void setPositionText(const QString &text);

    // Runs the map check. What its search saw stays on the board until the map changes.
    MapCheck::Report checkMap();
    // The last check's findings for the board; none once the map changed or while the
    // overlay is switched off.
    const MapCheck::Report *checkOverlay() const;
    bool hasCheckResult() const { return mCheckResult.has_value(); }
    bool isCheckOverlayOn() const { return mCheckOverlayOn; }
    void setCheckOverlayOn(bool on);
    // Shows floor `floor` and puts cell (x, y) into the status bar as hovering it would.
    void locateCell(int floor, QPoint cell);

Q_SIGNALS:
    void boardRefreshed();
    void statusChanged();
    void lineToolChanged();
    void selectedChipChanged();
    void editModeChanged(EditMode oldMode, EditMode newMode);
    void toolBoxModeChanged();
    void selectedBranchChanged();
    void warpsChanged();
    void floorsChanged();
    void checkOverlayChanged();
    // A report line's cell was chosen: the board should point it out.
    void cellLocated(QPoint cell);

private:
    void setLineTool(LineToolState state);
    void dropLineStartForFloorChange();
    void setCurrentFloor(int floor);
    void syncFloorTabCaptions();
    // Tabs, markers and board follow a map that replaced the one shown.
    void showReplacedMap();
    // Everything but the map goes back to its start value.
    void resetSessionState();
    // An empty map that keeps the cells of freed warp records.
    MapData emptiedMap() const;
    // Ends linking and line starts before the history moves under them.
    void settleForHistory();
    void onStepReplayed(int floor);
    void dropCheckResult();
    // The floor or the cells under the pointer changed: the status bar describes what is
    // there now, and a warning about an unlinked warp cell names where it is now.
    void refreshStatusTexts();

    MapDocument &mDocument;
    const ChipDescriptions &mDescriptions;

    int mCurrentFloor = 1;
    EditMode mEditMode = ChipMode;
    ToolBoxMode mToolBoxMode = ToolBoxShown;
    QPoint mToolBoxPosition;
    QString mSelectedChip;
    QString mSelectedBranch = QStringLiteral("0000");
    WarpLinking mWarps{mDocument};
    QStringList mFloorTabCaptions{QStringLiteral("１階")};

    BlockTool mBlocks{*this};

    LineToolState mLineTool = LineOff;
    QPoint mLineStart;
    QVector<QPoint> mLineMarks;
    // The board cell under the pointer, (0, 0) when it is elsewhere; and the status text
    // its hovering put there.
    QPoint mHoveredCell;
    QString mHoverStatus;
    QPoint mLinePreviewCell;

    QString mStatusText;
    QString mPositionText;
    QString mFileDialogFolder;

    MapFileWatch mFileWatch{mDocument};

    std::optional<MapCheck::Report> mCheckResult;
    MapData mCheckedMap;
    bool mCheckOverlayOn = true;
};
