#pragma once

#include "model/chipreplace.h"

#include <QDialog>
#include <QRect>

class ChipDescriptions;
class ChipPicker;
class ChipPictures;
class MapData;
class QButtonGroup;
class QDialogButtonBox;
class QLabel;

// Asks which chip to replace by which, and where: this floor, every floor or the selection.
// Counts the cells that would change as the user picks, and warns before OK when warp pairs
// would be deleted. The dialog only reads the map; the caller replaces.
class ChipReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    ChipReplaceDialog(const MapData &map, int floor, const QRect &selection,
                      const ChipPictures &pictures, const ChipDescriptions &descriptions,
                      QWidget *parent = nullptr);

    ChipReplace replacement() const;
    ChipPicker *fromPicker() const { return mFrom; }
    ChipPicker *toPicker() const { return mTo; }
    void setScope(ChipReplace::Scope scope);
    QLabel *countLabel() const { return mCount; }
    QLabel *pairsLabel() const { return mPairs; }

private:
    void showCount();

    const MapData &mMap;
    int mFloor;
    QRect mSelection;
    ChipPicker *mFrom;
    ChipPicker *mTo;
    QButtonGroup *mScopes;
    QLabel *mCount;
    QLabel *mPairs;
    QDialogButtonBox *mButtons = nullptr;
};
