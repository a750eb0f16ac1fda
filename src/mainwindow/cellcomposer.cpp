#include "mainwindow/cellcomposer.h"

#include "app/cellstring.h"
#include "mainwindow/chippictures.h"

#include <QPainter>

namespace {

void rasterOp(QImage &target, const QImage &source, QPainter::CompositionMode mode)
{
    QPainter painter(&target);
    painter.setCompositionMode(mode);
    painter.drawImage(0, 0, source);
}

} // namespace

const QImage &CellComposer::chipPicture(const QString &cell) const
{
    return mPictures.chip(CellString::pictureIndex(cell));
}

QImage CellComposer::branchPicture(const QString &cell, const QString &branch) const
{
    QImage image = chipPicture(cell).copy();
    rasterOp(image, mPictures.overlay(ChipPictures::BranchMask),
             QPainter::RasterOp_SourceAndDestination);
    for (int direction = 0; direction < 4 && direction < branch.size(); ++direction) {
        const int digit = branch.at(direction).digitValue();
        if (digit < 0 || digit > 3)
            continue;
        rasterOp(image, mPictures.overlay(4 * direction + digit + 1),
                 QPainter::RasterOp_SourceOrDestination);
    }
    return image;
}

QImage CellComposer::lineMarkPicture(const QString &cell) const
{
    QImage image = chipPicture(cell).copy();
    rasterOp(image, mPictures.overlay(ChipPictures::LineMarkerMask),
             QPainter::RasterOp_SourceAndDestination);
    rasterOp(image, mPictures.overlay(ChipPictures::LineMarker),
             QPainter::RasterOp_SourceOrDestination);
    return image;
}
