#include "painting/cellcomposer.h"

#include "model/cellstring.h"
#include "painting/chippictures.h"

#include <algorithm>

namespace {

enum class RasterOp
{
    And,
    Or
};

// The two raster operations on whole pixels; every picture is 32-bit RGB of one size.
void apply(QImage &target, const QImage &source, RasterOp op)
{
    const QImage pixels = source.format() == QImage::Format_RGB32
                              ? source
                              : source.convertToFormat(QImage::Format_RGB32);
    const int height = std::min(target.height(), pixels.height());
    const int width = std::min(target.width(), pixels.width());
    for (int y = 0; y < height; ++y) {
        auto *to = reinterpret_cast<quint32 *>(target.scanLine(y));
        const auto *from = reinterpret_cast<const quint32 *>(pixels.constScanLine(y));
        if (op == RasterOp::And)
            for (int x = 0; x < width; ++x)
                to[x] &= from[x];
        else
            for (int x = 0; x < width; ++x)
                to[x] |= from[x];
    }
}

QImage rgbCopy(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

const QImage &CellComposer::chipPicture(const QString &cell) const
{
    return mPictures.chip(CellString::pictureIndex(cell));
}

QImage CellComposer::branchPicture(const QString &cell, const QString &branch) const
{
    // A board holds few distinct chip and setting pairs, so each is composed once.
    const int picture = CellString::pictureIndex(cell);
    const QString key = QString::number(picture) + u':' + branch;
    const auto cached = mBranchCache.constFind(key);
    if (cached != mBranchCache.constEnd())
        return *cached;

    QImage image = rgbCopy(mPictures.chip(picture));
    apply(image, mPictures.overlay(ChipPictures::BranchMask), RasterOp::And);
    for (int direction = 0; direction < 4 && direction < branch.size(); ++direction) {
        const int digit = branch.at(direction).digitValue();
        if (digit >= 0 && digit <= 3)
            apply(image, mPictures.overlay(4 * direction + digit + 1), RasterOp::Or);
    }
    mBranchCache.insert(key, image);
    return image;
}

QImage CellComposer::lineMarkPicture(const QString &cell) const
{
    QImage image = rgbCopy(chipPicture(cell));
    apply(image, mPictures.overlay(ChipPictures::LineMarkerMask), RasterOp::And);
    apply(image, mPictures.overlay(ChipPictures::LineMarker), RasterOp::Or);
    return image;
}
