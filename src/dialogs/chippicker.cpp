#include "dialogs/chippicker.h"

#include "model/cellstring.h"
#include "model/chipdescriptions.h"
#include "model/codetables.h"
#include "painting/chippictures.h"
#include "session/chippalettemodel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPixmap>

namespace {

// The numbers a numbered chip's last character can hold: 0..35, 100 and 999.
QList<int> chipNumbers()
{
    QList<int> numbers;
    for (int n = 0; n <= 35; ++n)
        numbers.append(n);
    numbers << 100 << 999;
    return numbers;
}

bool isNumbered(const QString &cell)
{
    // The palette's cell text for a numbered chip holds "X" where the number goes.
    return cell.indexOf(u'X') == 4;
}

} // namespace

ChipPicker::ChipPicker(const ChipPictures &pictures, const ChipDescriptions &descriptions,
                       QWidget *parent)
    : QWidget(parent), mChips(new QComboBox(this)), mNumbers(new QComboBox(this))
{
    mChips->setObjectName(QStringLiteral("chipBox"));
    mNumbers->setObjectName(QStringLiteral("numberBox"));
    mChips->setIconSize(QSize(ChipPictures::Size, ChipPictures::Size));
    for (int paletteCell = 1; paletteCell <= ChipPaletteModel::CellCount; ++paletteCell) {
        const int chip = ChipPaletteModel::chipOfCell(paletteCell);
        const QString cell = CellString::make(chip, CodeTables::chipCode(chip));
        const QString text = descriptions.description(chip);
        mChips->addItem(QPixmap::fromImage(pictures.chip(CellString::pictureIndex(cell))),
                        text.isEmpty() ? cell : text, cell);
    }
    for (const int n : chipNumbers())
        mNumbers->addItem(QString::number(n), ChipPaletteModel::parameterCharacter(n));
    mNumbers->setCurrentText(QStringLiteral("7"));
    // As wide as the longest description where there is room; on a small screen the box
    // may be narrower and shorten the chosen one.
    mChips->setMinimumWidth(mChips->iconSize().width() +
                            mChips->fontMetrics().horizontalAdvance(QString(10, u'道')));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mChips, 1);
    layout->addWidget(mNumbers);
    // A label's access key lands on the chip list.
    setFocusProxy(mChips);
    connect(mChips, &QComboBox::currentIndexChanged, this, [this] {
        showNumberBox();
        Q_EMIT cellChanged();
    });
    connect(mNumbers, &QComboBox::currentIndexChanged, this, &ChipPicker::cellChanged);
    showNumberBox();
}

QString ChipPicker::cell() const
{
    QString cell = mChips->currentData().toString();
    if (isNumbered(cell))
        cell.replace(4, 1, mNumbers->currentData().toString());
    return cell;
}

void ChipPicker::setCell(const QString &cell)
{
    for (int i = 0; i < mChips->count(); ++i) {
        const QString chip = mChips->itemData(i).toString();
        if (chip == cell) {
            mChips->setCurrentIndex(i);
            return;
        }
        if (isNumbered(chip) && chip.left(4) == cell.left(4) && cell.size() == 5) {
            const int number = mNumbers->findData(cell.mid(4));
            if (number < 0)
                return;
            mChips->setCurrentIndex(i);
            mNumbers->setCurrentIndex(number);
            return;
        }
    }
}

void ChipPicker::showNumberBox()
{
    mNumbers->setEnabled(isNumbered(mChips->currentData().toString()));
}
