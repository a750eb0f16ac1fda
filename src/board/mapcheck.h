#pragma once

#include "board/boardmoves.h"

#include <QBitArray>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>

class MapData;

// The map check: counts the starts and goals, looks for broken warps and searches for a
// path from the start to a goal. It only reads the map; the report is a list of lines in
// the order the report window shows them.
class MapCheck
{
public:
    enum class Reachability
    {
        NotSearched, // no start on floor 1 or no goal
        GoalReached, // "あがりまでの道は、きちんとつながっています。"
        NoPath, // "【Error】ふりだしからあがりまで、道がつながっていません。"
        SearchAbandoned, // more pending branch points than the stack holds
    };
    enum class Verdict
    {
        CannotBeCleared, // "このマップをクリアすることは不可能です。"
        MayBreakDuringPlay, // "このマップは、プレイ中にバグる可能性があります。"
        NoSeriousProblem, // "このマップに、特に重大な問題は見つかりませんでした。"
    };

    enum class Severity
    {
        Note,
        // A line marked 【Error】: the map may break during play.
        Error,
    };

    // A cell of the map; floor 0 when there is none.
    struct Place
    {
        int x = 0;
        int y = 0;
        int floor = 0;

        bool isValid() const { return floor != 0; }
    };

    struct Report
    {
        QStringList lines;
        // One per line: the cell the line names (a pair's source for "ワープ[A]", its
        // destination for "ワープ[a]"), or an invalid place.
        QVector<Place> places;
        // One per line.
        QVector<Severity> severities;
        Reachability reachability = Reachability::NotSearched;
        Verdict verdict = Verdict::CannotBeCleared;
        // What the search saw: every cell it stood on, and the way from the start to the
        // goal it reached (empty when it reached none). Cells are numbered floor by floor,
        // column by column, row by row; read them through the functions below.
        QBitArray visited;
        QVector<std::int16_t> route;

        bool wasVisited(int x, int y, int floor) const;
        // The visited cells of a floor, row by row from the top, each row from the left.
        QVector<QPoint> visitedOn(int floor) const;
        QVector<QPoint> routeOn(int floor) const;
        // The cells the lines name on a floor, each once.
        QVector<QPoint> namedOn(int floor) const;
    };

    // Pending branch points the search keeps before it gives up.
    static constexpr int BranchStackSize = 254;

    static Report run(const MapData &map);
    // The cell the search leaves from: the last start chip of floor 1 in reading order, else
    // the last cell there whose code is a start; invalid when floor 1 has neither.
    static Place searchStart(const MapData &map);
    // The pairs the report names as broken, by pair number; no move follows them.
    static BoardMoves::FaultyPairs faultyPairs(const MapData &map);

    // The first warp cell that no pair leaves from, scanning floor by floor, column by
    // column, row by row; its position code x * 1000 + y * 10 + floor, or 0 when every
    // warp cell is the source of a pair. The warp mode uses it for its warning.
    static int findUnlinkedWarpCell(const MapData &map);
    // "n階の(x,y)に、設定されていないワープマスがあります。" for a position code.
    static QString unlinkedWarpText(int positionCode);

    static QString separatorLine();
    // The report lines that carry numbers, each with the widest numbers it can have: wider
    // than any line of fixed text, so the widest of them is the widest line of any report.
    static QStringList widestLineCandidates();
};
