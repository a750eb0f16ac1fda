#pragma once

#include "model/cellblock.h"
#include "model/chipreplace.h"
#include "model/floors.h"
#include "model/mapchange.h"
#include "model/mapdata.h"

#include <QObject>
#include <QPoint>
#include <QUndoStack>
#include <QVector>

#include <optional>

// The one map being edited. Every change goes through a method here, and every method
// records what it changed as one step on the undo stack, so the history and the
// unsaved mark (the stack's clean state) cover every edit without a second path.
class MapDocument : public QObject
{
    Q_OBJECT

public:
    explicit MapDocument(QObject *parent = nullptr);

    const MapData &data() const { return mData; }

    void layChip(int x, int y, int floor, const QString &cell);
    // One step for all the cells (a line, a fill, a rectangle); none when nothing changes.
    void layChips(const QVector<QPoint> &cells, int floor, const QString &cell,
                  const QString &stepText = QStringLiteral("線の描画"));
    void setBranch(int x, int y, int floor, const QString &setting);
    // An empty setting clears the cells' branch points; one step, none when nothing changes.
    void setBranches(const QVector<QPoint> &cells, int floor, const QString &setting,
                     const QString &stepText);
    // One step; returns how many cells changed.
    int replaceChips(const ChipReplace &replacement);
    // Takes a whole map, as the loader and the reset produce it, with a fresh history.
    void replace(const MapData &data, const QString &fileName = QString());
    // Takes a whole map as one step of the history (emptying the map by deleting its
    // only floor, reading it again from its files), shown on floorAfter, as redo shows it. A map
    // read again is told as a whole map, as an opened one is, when it differs.
    void replaceAsStep(const MapData &data, const QString &stepText, int floorAfter = 1,
                       bool readAgain = false);
    // Path and base name of the floor files, without "_n" and ".map"; empty when unnamed.
    const QString &fileName() const { return mFileName; }
    // The map was saved under `name`: no step takes a save back.
    void setFileName(const QString &name);
    // Inside an open step: the map no longer has files (its only floor went). Undoing the
    // step gives the name back, unless the map was saved since.
    void forgetFileName();
    // The three texts of a floor: its name, background picture and end comment.
    void setFloorTexts(int floor, const QString &name, const QString &background,
                       const QString &endText);

    // Warp pairs (numbers 1..79).
    void setWarpSource(int pair, QPoint cell, int floor);
    // Gives the pair its destination, which makes it exist.
    void setWarpDestination(int pair, QPoint cell, int floor);
    void deleteWarp(int pair);

    // Blocks of cells (see CellBlock), each one step; laying returns how many of the
    // block's pairs found no free number. Laying and relocating give how many pairs they
    // deleted because laid cells covered an end.
    void clearCells(const QRect &cells, int floor, const QString &stepText);
    int layBlock(const CellBlock &block, int floor, QPoint topLeft, int *coveredPairs = nullptr);
    int relocateCells(const QRect &cells, int floor, CellBlock::Turn turn, QPoint topLeft,
                      const QString &stepText);

    // Floors, with the rules of Floors; addFloor is false at nine floors. Moving, deleting
    // and copying show the floor they leave the user on (the floor moved, the one that
    // took the deleted one's place, the copy) as they tell the change.
    bool addFloor();
    void moveFloor(int floor, int delta);
    QList<int> deleteFloor(int floor);
    Floors::Duplication duplicateFloor(int floor);

    // Edits between these two calls form one step named `text` (nested calls join the
    // outer step). A step that changes nothing visible is not recorded.
    void beginStep(const QString &text);
    void endStep();
    bool isStepOpen() const { return mStepDepth > 0; }
    // A step left open between user actions (a warp pair's two clicks), opened and closed
    // by whoever links the pair: edits of the pair join it, any other edit first closes it,
    // so they never share one step.
    void holdStep(const QString &text);
    void releaseStep();
    bool isStepHeld() const { return mStepHeld; }
    // Takes the map back to where the held step began, leaving no step behind.
    void dropHeldStep();
    // The held step would record a change if it were closed now.
    bool heldStepChangesMap() const;
    // The floor shown while editing: steps remember it, undo goes back to it, and every
    // view and tool reads it here.
    int currentFloor() const { return mCurrentFloor; }
    void setCurrentFloor(int floor) { mCurrentFloor = floor; }
    // The selected cells of the floor shown, empty when none. Each step remembers them
    // before and after, and undo and redo hand them back.
    const QRect &selection() const { return mSelection; }
    void setSelection(const QRect &cells) { mSelection = cells; }

    QUndoStack &undoStack() { return mUndoStack; }
    // Nothing happens while a step is open.
    void undo();
    void redo();
    // Differs from what was last opened or saved.
    bool isModified() const { return !mUndoStack.isClean(); }
    void markSaved() { mUndoStack.setClean(); }
    // A map that was never saved as it is now (a recovered copy).
    void markModified() { mUndoStack.resetClean(); }

Q_SIGNALS:
    // Every edit, undo, redo, load and reset says here what it changed; views follow
    // the document through this one event.
    void mapChanged(const MapChange &change);
    void modifiedChanged(bool modified);

private:
    friend class MapStepCommand;
    // `change` edits the map and says whether it changed it; the views are told what
    // differs from before. A floor command shows floorAfter as it tells the change.
    template <typename Change>
    void edit(const QString &text, int floorAfter, Change &&change, bool showFloorAfter = false);
    void tell(MapChange change);
    // One step over the board cells among `cells`; `set` says whether it changed one.
    template <typename Set>
    void editCells(const QVector<QPoint> &cells, int floor, const QString &stepText,
                   MapChange::Part part, Set &&set);
    void replay(const class MapDelta &delta, bool forward, int floor, const QRect &selection,
                const std::optional<QString> &fileName);

    MapData mData;
    QString mFileName;
    QUndoStack mUndoStack;
    int mStepDepth = 0;
    bool mStepHeld = false;
    std::optional<MapData> mStepStart;
    QString mStepText;
    QString mStepForgottenName;
    int mStepFloorBefore = 1;
    int mStepFloorAfter = 1;
    QRect mStepSelectionBefore;
    int mCurrentFloor = 1;
    QRect mSelection;
    // Cells an edit under way reports itself; otherwise the change is found by comparing.
    std::optional<MapChange> mCellsTold;
    int mSaves = 0;
};
