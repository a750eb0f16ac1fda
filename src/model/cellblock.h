#pragma once

#include "model/mapdata.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

// A rectangle of cells lifted off a floor: chips, branch settings and the warp pairs
// with both ends inside. Positions inside a block are 0-based; rectangles on a floor
// are in 1-based board cells.
class CellBlock
{
public:
    enum class Turn
    {
        None,
        FlipLeftRight,
        FlipUpDown,
        RotateClockwise,
        RotateCounterClockwise
    };
    struct Pair
    {
        QPoint source;
        QPoint destination;
        friend bool operator==(const Pair &a, const Pair &b)
        {
            return a.source == b.source && a.destination == b.destination;
        }
    };

    CellBlock() = default;
    // Empty cells without branch settings.
    CellBlock(int width, int height);

    static QRect board() { return QRect(1, 1, MapData::Width, MapData::Height); }

    int width() const { return mWidth; }
    int height() const { return mHeight; }
    QSize size() const { return QSize(mWidth, mHeight); }
    bool isEmpty() const { return mWidth == 0 || mHeight == 0; }
    const QString &cell(int x, int y) const { return mCells[x + y * mWidth]; }
    void setCell(int x, int y, const QString &text) { mCells[x + y * mWidth] = text; }
    const QString &branch(int x, int y) const { return mBranches[x + y * mWidth]; }
    void setBranch(int x, int y, const QString &text) { mBranches[x + y * mWidth] = text; }
    const QVector<Pair> &pairs() const { return mPairs; }
    void addPair(const Pair &pair) { mPairs.append(pair); }

    static CellBlock extract(const MapData &map, int floor, const QRect &cells);
    // Empties a rectangle: cells, branch settings and every pair with an end in it.
    static bool clear(MapData &map, int floor, const QRect &cells);
    // Lays the block with its top-left cell at `topLeft`; what falls off the board is cut
    // off. A pair with an end under the laid cells is deleted, as the warp window deletes
    // one, and counted in `coveredPairs`. The block's pairs become new pairs under the
    // lowest free numbers. Returns how many pairs found no free number.
    int lay(MapData &map, int floor, QPoint topLeft, int *coveredPairs = nullptr) const;
    // Lifts a rectangle, turns it and lays it at `topLeft`. Pairs with an end inside keep
    // their numbers and their ends go with the cells; an end pushed off the board ends
    // its pair, and so does an end of another pair that the laid cells cover (counted in
    // `coveredPairs`).
    static bool relocate(MapData &map, int floor, const QRect &cells, Turn turn, QPoint topLeft,
                         int *coveredPairs = nullptr);

    CellBlock turned(Turn turn) const;
    static QSize turnedSize(QSize size, Turn turn);
    // Where a cell of a block of `size` lands in the turned block.
    static QPoint turnedPoint(QPoint point, QSize size, Turn turn);
    // Branch digits (up, left, right, down) point the way the cells went.
    static QString turnedBranch(const QString &setting, Turn turn);

    friend bool operator==(const CellBlock &a, const CellBlock &b)
    {
        return a.mWidth == b.mWidth && a.mHeight == b.mHeight && a.mCells == b.mCells &&
               a.mBranches == b.mBranches && a.mPairs == b.mPairs;
    }

private:
    int layCells(MapData &map, int floor, QPoint topLeft) const;

    int mWidth = 0;
    int mHeight = 0;
    QVector<QString> mCells;
    QVector<QString> mBranches;
    QVector<Pair> mPairs;
};
