#include "session/tools/toolcontext.h"

#include "model/cellstring.h"
#include "model/chipdescriptions.h"
#include "model/mapdocument.h"

ToolContext::ToolContext(MapDocument &document, const ChipDescriptions &descriptions,
                         StatusLine &status)
    : mDocument(document), mDescriptions(descriptions), mStatus(status),
      mChip(CellString::defaultChip())
{
}

const MapData &ToolContext::map() const
{
    return mDocument.data();
}

int ToolContext::floor() const
{
    return mDocument.currentFloor();
}

void ToolContext::setChip(const QString &cell)
{
    if (cell == mChip)
        return;
    mChip = cell;
    Q_EMIT chipChanged();
}

void ToolContext::setBranch(const QString &setting)
{
    mBranch = setting;
    Q_EMIT branchChanged();
}

int ToolContext::branchDigit(int direction) const
{
    if (direction < 1 || direction > 4 || mBranch.size() < direction)
        return 0;
    return mBranch.at(direction - 1).digitValue();
}

void ToolContext::advanceBranchDigit(int direction)
{
    if (direction < 1 || direction > 4)
        return;
    const int digit = (branchDigit(direction) + 1) % 4;
    mBranch.replace(direction - 1, 1, QString::number(digit));
    Q_EMIT branchChanged();
}

QString ToolContext::describe(QPoint cell) const
{
    return describeChip(map().cell(cell.x(), cell.y(), floor()));
}

QString ToolContext::describeChip(const QString &cell) const
{
    return mDescriptions.describe(CellString::chipIndex(cell),
                                  QString::number(CellString::decodeParameter(cell)));
}

QString ToolContext::sampleCode() const
{
    if (mChip == CellString::empty())
        return QStringLiteral("  ");
    return mChip.right(2);
}
