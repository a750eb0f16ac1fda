#include "board/chipline.h"

#include "model/mapdata.h"

#include <cmath>
#include <utility>

namespace {

enum class Axis
{
    X,
    Y
};

int &along(QPoint &p, Axis axis)
{
    return axis == Axis::X ? p.rx() : p.ry();
}

} // namespace

QVector<QPoint> chipLine(QPoint a, QPoint b)
{
    // Choose where the walk starts, which axis the runs follow and their direction.
    QPoint first = a;
    QPoint last = b;
    Axis runAxis = Axis::Y;
    int runStep = 1;
    if (b.x() < a.x() && b.y() < a.y())
        std::swap(a, b);
    if (b.x() < a.x() && b.y() >= a.y()) {
        runStep = -1;
        if (a.x() - b.x() >= b.y() - a.y()) {
            first = a, last = b, runAxis = Axis::X;
        } else {
            first = b, last = a, runAxis = Axis::Y;
        }
    } else if (b.x() >= a.x() && b.y() < a.y()) {
        runStep = -1;
        if (b.x() - a.x() >= a.y() - b.y()) {
            first = a, last = b, runAxis = Axis::Y;
        } else {
            first = b, last = a, runAxis = Axis::X;
        }
    } else {
        first = a, last = b;
        runAxis = (b.x() - a.x() > b.y() - a.y()) ? Axis::X : Axis::Y;
    }
    const Axis crossAxis = runAxis == Axis::X ? Axis::Y : Axis::X;

    const int runDistance =
        std::abs(runAxis == Axis::X ? last.x() - first.x() : last.y() - first.y());
    const int crossDistance = crossAxis == Axis::X ? last.x() - first.x() : last.y() - first.y();
    int runLength = runDistance / (crossDistance + 1);
    if (crossDistance == 0)
        runLength = runAxis == Axis::X ? MapData::Width : MapData::Height;
    const int remainder = runDistance % (crossDistance + 1);
    // Single precision on purpose: the spacing of the extra run cells depends on it.
    float spacing = 255.0f;
    if (remainder != 0) {
        spacing = runStep > 0 ? float(crossDistance + 1) / float(remainder)
                              : float(crossDistance) / float(remainder);
        if (spacing < 1.0f)
            spacing = 255.0f;
    }
    if (last.y() - first.y() == last.x() - first.x()) {
        runLength = 1;
        spacing = 255.0f;
    }
    const float increment = spacing;
    int runCounter = 1;
    int left = runLength;

    QVector<QPoint> cells;
    QPoint p = first;
    // The walk ends at the far cell; the bound only guards against a walk that never does.
    for (int guard = 0; guard < MapData::Width * MapData::Height; ++guard) {
        cells.append(p);
        if (p == last)
            break;
        if (left > 0) {
            along(p, runAxis) += runStep;
            --left;
        } else if (int(spacing) == runCounter) {
            along(p, runAxis) += runStep;
            spacing += increment;
        } else {
            left = runLength;
            along(p, crossAxis) += 1;
            ++runCounter;
        }
        if (!MapData::isOnBoard(p.x(), p.y()))
            break;
    }
    return cells;
}

bool isAtBoardEdge(int x, int y, int direction)
{
    switch (direction) {
    case 1:
        return y == 1;
    case 2:
        return x == 1;
    case 3:
        return x == MapData::Width;
    case 4:
        return y == MapData::Height;
    default:
        return false;
    }
}
