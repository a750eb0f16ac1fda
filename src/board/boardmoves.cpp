#include "board/boardmoves.h"

#include "board/chipline.h"

namespace {

// For every cell of a floor, bit d set when its neighbour in direction d is on the board.
const std::array<std::uint8_t, BoardMoves::FloorCells> &neighboursOnBoard()
{
    static const std::array<std::uint8_t, BoardMoves::FloorCells> masks = [] {
        std::array<std::uint8_t, BoardMoves::FloorCells> m{};
        for (int x = 1; x <= BoardMoves::Width; ++x) {
            for (int y = 1; y <= BoardMoves::Height; ++y) {
                for (int d = 1; d <= 4; ++d) {
                    if (!isAtBoardEdge(x, y, d))
                        m[BoardMoves::cellIndex(x, y, 1)] |= std::uint8_t(1u << d);
                }
            }
        }
        return m;
    }();
    return masks;
}

// Plain character tests rather than string comparisons: every check reads all 3456 cells.
std::uint8_t cellFlags(const QString &cell)
{
    char16_t c[5] = {};
    const qsizetype size = cell.size();
    const QChar *text = cell.constData();
    if (size >= 5) {
        for (int i = 0; i < 5; ++i)
            c[i] = text[i].unicode();
    } else {
        for (int i = 0; i < size; ++i)
            c[i] = text[i].unicode();
    }
    const bool blankIndex = c[0] == u'0' && c[1] == u'0';
    // Characters 4 and 5 are the chip code; the chips themselves are whole five-character texts.
    std::uint8_t flags = blankIndex ? BoardMoves::BlankIndex : 0;
    if (!(size == 5 && blankIndex && c[2] == u'_' && c[3] == u' ' && c[4] == u' '))
        flags |= BoardMoves::Passable;
    if (c[3] == u'W') {
        flags |= BoardMoves::WarpCode;
    } else if (c[3] == u'S' && c[4] == u'_') {
        flags |= BoardMoves::StartCode;
        if (size == 5 && c[0] == u'3' && c[1] == u'3' && c[2] == u'_')
            flags |= BoardMoves::StartChip;
    } else if (c[3] == u'G' && c[4] == u'_') {
        flags |= BoardMoves::GoalCode;
        if (size == 5 && c[0] == u'3' && c[1] == u'4' && c[2] == u'_')
            flags |= BoardMoves::GoalChip;
    }
    return flags;
}

// Bit d is set when direction d may be left. Only a "0" closes a direction; no setting,
// or one too short to reach the direction, leaves it open.
std::uint8_t exitsOf(const QString &branch)
{
    const QChar *text = branch.constData();
    if (branch.size() >= 4) {
        return std::uint8_t((text[0] != u'0') << 1 | (text[1] != u'0') << 2 |
                            (text[2] != u'0') << 3 | (text[3] != u'0') << 4);
    }
    std::uint8_t open = 0x1e;
    for (int d = 1; d <= branch.size(); ++d) {
        if (text[d - 1] == u'0')
            open &= std::uint8_t(~(1u << d));
    }
    return open;
}

} // namespace

BoardMoves::BoardMoves(const MapData &map) : mMap(map)
{
    for (int floor = 1; floor <= Floors; ++floor) {
        for (int x = 1; x <= Width; ++x) {
            for (int y = 1; y <= Height; ++y)
                mFlags[cellIndex(x, y, floor)] = cellFlags(map.cell(x, y, floor));
        }
    }

    // Chain the existing pairs by source cell, lowest pair number first.
    mFirstPair.fill(0);
    mNextPair.fill(0);
    for (int pair = Pairs; pair >= 1; --pair) {
        const WarpRecord &r = map.warp(pair);
        if (!r.isDefined() || !isOnBoard(r.srcX, r.srcY, r.srcFloor))
            continue;
        const int i = cellIndex(r.srcX, r.srcY, r.srcFloor);
        mNextPair[pair] = mFirstPair[i];
        mFirstPair[i] = std::uint8_t(pair);
    }
}

int BoardMoves::steps(int cell) const
{
    // Branch settings are read only for the cells a search stands on.
    const int exits = exitsOf(mMap.branch(xOf(cell), yOf(cell), floorOf(cell))) &
                      neighboursOnBoard()[cell % FloorCells];
    int open = 0;
    for (int d = 1; d <= 4; ++d) {
        if ((exits & (1 << d)) && has(neighbour(cell, d), Passable))
            open |= 1 << d;
    }
    return open;
}

int BoardMoves::jumpTarget(int pair, const FaultyPairs &faulty) const
{
    const WarpRecord &r = mMap.warp(pair);
    if (faulty[pair] || !isOnBoard(r.dstX, r.dstY, r.dstFloor))
        return -1;
    return cellIndex(r.dstX, r.dstY, r.dstFloor);
}
