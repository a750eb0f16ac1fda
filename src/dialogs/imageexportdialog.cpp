#include "dialogs/imageexportdialog.h"

#include "painting/floorpictures.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ImageExportDialog::ImageExportDialog(const QString &folder, int floor, QWidget *parent)
    : QDialog(parent), mCurrentFloor(new QRadioButton(
                           QStringLiteral("表示中のフロア（%1階）(&C)").arg(floor), this)),
      mAllFloors(new QRadioButton(QStringLiteral("すべてのフロア(&A)"), this)),
      mScale(new QComboBox(this)), mFolder(new QLineEdit(folder, this))
{
    setWindowTitle(QStringLiteral("画像として保存"));
    mCurrentFloor->setChecked(true);
    // Room for a whole folder path in most cases.
    mFolder->setMinimumWidth(mFolder->fontMetrics().averageCharWidth() * 48);
    for (int scale = 1; scale <= FloorPictures::MaxScale; ++scale)
        mScale->addItem(QStringLiteral("%1倍").arg(scale), scale);

    auto *browse = new QPushButton(QStringLiteral("参照(&B)..."), this);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(
            this, QStringLiteral("保存先のフォルダ"), mFolder->text());
        if (!chosen.isEmpty())
            mFolder->setText(chosen);
    });
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(mFolder, 1);
    folderRow->addWidget(browse);

    auto *floors = new QVBoxLayout;
    floors->addWidget(mCurrentFloor);
    floors->addWidget(mAllFloors);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("フロア:"), floors);
    form->addRow(QStringLiteral("倍率(&S):"), mScale);
    // A row of two widgets gets no buddy from the form: the label names the folder box.
    auto *folderLabel = new QLabel(QStringLiteral("保存先(&D):"), this);
    folderLabel->setBuddy(mFolder);
    form->addRow(folderLabel, folderRow);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

bool ImageExportDialog::allFloors() const
{
    return mAllFloors->isChecked();
}

int ImageExportDialog::scale() const
{
    return mScale->currentData().toInt();
}

QString ImageExportDialog::folder() const
{
    return mFolder->text();
}
