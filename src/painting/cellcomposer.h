#pragma once

#include <QHash>
#include <QImage>
#include <QString>

class ChipPictures;

// Builds the picture of one board cell from its chip and the overlays laid over it:
// each overlay is cut into the picture with its mask (AND) and then painted (OR).
class CellComposer
{
public:
    explicit CellComposer(const ChipPictures &pictures) : mPictures(pictures) {}

    const ChipPictures &pictures() const { return mPictures; }

    // The plain chip picture of a cell text.
    const QImage &chipPicture(const QString &cell) const;
    // The chip with the branch mask and the four direction arms of a four-digit setting.
    QImage branchPicture(const QString &cell, const QString &branch) const;
    // The chip with the line tool's marker.
    QImage lineMarkPicture(const QString &cell) const;

private:
    const ChipPictures &mPictures;
    mutable QHash<QString, QImage> mBranchCache;
};
