#pragma once

#include "model/editmode.h"

#include <QObject>
#include <QPoint>
#include <QString>

class ChipDescriptions;
class MapData;
class MapDocument;
class StatusLine;

// All a board tool may see of the editor: the map, the floor shown, the mode, what the
// tool windows have chosen, and the status bar. The session keeps it current.
class ToolContext : public QObject, public EditModes
{
    Q_OBJECT

public:
    ToolContext(MapDocument &document, const ChipDescriptions &descriptions, StatusLine &status);

    MapDocument &document() const { return mDocument; }
    const MapData &map() const;
    StatusLine &status() const { return mStatus; }

    // The floor shown, which the document holds.
    int floor() const;
    // The edit mode lives here alone; the session switches it.
    EditMode mode() const { return mMode; }
    void setMode(EditMode mode) { mMode = mode; }

    // The chip a left click lays, and the branch setting a left click sets.
    const QString &chip() const { return mChip; }
    void setChip(const QString &cell);
    const QString &branch() const { return mBranch; }
    void setBranch(const QString &setting);
    // The branch window: direction k (1 up, 2 left, 3 right, 4 down) steps 0-1-2-3-0.
    void advanceBranchDigit(int direction);
    // The branch digit of direction k in the chosen setting.
    int branchDigit(int direction) const;

    // The status text for cell (x, y) of the floor shown: its chip's description with
    // the number in place of "?".
    QString describe(QPoint cell) const;
    QString describeChip(const QString &cell) const;
    // The code shown under the sample: two blanks for the empty chip.
    QString sampleCode() const;

Q_SIGNALS:
    void chipChanged();
    void branchChanged();

private:
    MapDocument &mDocument;
    const ChipDescriptions &mDescriptions;
    StatusLine &mStatus;
    EditMode mMode = ChipMode;
    QString mChip;
    QString mBranch = QStringLiteral("0000");
};
