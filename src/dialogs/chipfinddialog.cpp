#include "dialogs/chipfinddialog.h"

#include "dialogs/chippicker.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

ChipFindDialog::ChipFindDialog(const ChipPictures &pictures, const ChipDescriptions &descriptions,
                               QWidget *parent)
    : QDialog(parent), mPicker(new ChipPicker(pictures, descriptions, this))
{
    setObjectName(QStringLiteral("chipFindDialog"));
    setWindowTitle(QStringLiteral("チップの検索"));
    // The label's access key lands on the chip list; the number box follows it with Tab.
    auto *label = new QLabel(QStringLiteral("探すチップ(&C):"), this);
    label->setBuddy(mPicker->focusProxy());
    auto *form = new QFormLayout;
    form->addRow(label, mPicker);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}
