#pragma once

#include <QString>
#include <QStringList>

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

    struct Report
    {
        QStringList lines;
        Reachability reachability = Reachability::NotSearched;
        Verdict verdict = Verdict::CannotBeCleared;
    };

    // Pending branch points the search keeps before it gives up.
    static constexpr int BranchStackSize = 254;

    static Report run(const MapData &map);

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
