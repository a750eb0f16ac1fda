#include "dialogs/chipreplacedialog.h"

#include "dialogs/chippicker.h"
#include "model/mapdata.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ChipReplaceDialog::ChipReplaceDialog(const MapData &map, int floor, const QRect &selection,
                                     const ChipPictures &pictures,
                                     const ChipDescriptions &descriptions, QWidget *parent)
    : QDialog(parent), mMap(map), mFloor(floor), mSelection(selection),
      mFrom(new ChipPicker(pictures, descriptions, this)),
      mTo(new ChipPicker(pictures, descriptions, this)), mScopes(new QButtonGroup(this)),
      mCount(new QLabel(this)), mPairs(new QLabel(this))
{
    setWindowTitle(QStringLiteral("チップの置換"));
    mFrom->setObjectName(QStringLiteral("fromPicker"));
    mTo->setObjectName(QStringLiteral("toPicker"));
    mCount->setObjectName(QStringLiteral("countLabel"));
    mPairs->setObjectName(QStringLiteral("pairsLabel"));
    mPairs->setWordWrap(true);

    auto *scopes = new QHBoxLayout;
    const QString captions[] = {QStringLiteral("この階(&F)"), QStringLiteral("すべての階(&A)"),
                                QStringLiteral("選択範囲(&S)")};
    for (int i = 0; i < 3; ++i) {
        auto *button = new QRadioButton(captions[i], this);
        mScopes->addButton(button, i);
        scopes->addWidget(button);
    }
    mScopes->button(int(ChipReplace::Scope::Selection))->setEnabled(!selection.isEmpty());
    mScopes->button(int(ChipReplace::Scope::Floor))->setChecked(true);
    // Made after the choices above, so that Tab reaches them first, as they are laid out.
    mButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *form = new QFormLayout;
    // A label's access key focuses its buddy only when the buddy takes focus itself: the
    // picker's chip list, not the picker.
    for (ChipPicker *picker : {mFrom, mTo}) {
        auto *label = new QLabel(picker == mFrom ? QStringLiteral("置換前のチップ(&B):")
                                                 : QStringLiteral("置換後のチップ(&T):"),
                                 this);
        label->setBuddy(picker->focusProxy());
        form->addRow(label, picker);
    }
    form->addRow(QStringLiteral("範囲:"), scopes);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(mCount);
    layout->addWidget(mPairs);
    layout->addWidget(mButtons);

    connect(mFrom, &ChipPicker::cellChanged, this, &ChipReplaceDialog::showCount);
    connect(mTo, &ChipPicker::cellChanged, this, &ChipReplaceDialog::showCount);
    connect(mScopes, &QButtonGroup::idClicked, this, &ChipReplaceDialog::showCount);
    connect(mButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(mButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showCount();
}

ChipReplace ChipReplaceDialog::replacement() const
{
    return ChipReplace(mFrom->cell(), mTo->cell(), ChipReplace::Scope(mScopes->checkedId()), mFloor,
                       mSelection);
}

void ChipReplaceDialog::setScope(ChipReplace::Scope scope)
{
    if (QAbstractButton *button = mScopes->button(int(scope)); button && button->isEnabled())
        button->setChecked(true);
    showCount();
}

void ChipReplaceDialog::showCount()
{
    const ChipReplace replace = replacement();
    const int count = replace.count(mMap);
    mCount->setText(QStringLiteral("置き換わるマス: %1 個").arg(count));
    const qsizetype pairs = replace.deletedPairs(mMap).size();
    mPairs->setText(pairs == 0 ? QString()
                               : QStringLiteral("ワープの組が %1 組削除されます。").arg(pairs));
    mPairs->setVisible(pairs != 0);
    mButtons->button(QDialogButtonBox::Ok)->setEnabled(count > 0);
}
