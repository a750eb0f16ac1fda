#include "toolwindows/chippalette.h"

#include "painting/chippictures.h"
#include "painting/textfit.h"
#include "prompts/spokennews.h"
#include "session/editorsession.h"
#include "toolwindows/chippaletteaccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int CellTwips = 360;
constexpr int Columns = 8;

} // namespace

ChipPalette::ChipPalette(EditorSession &session, ToolWindowHost &host, const ChipPictures &pictures)
    : ToolWindowFrame(session, host, 4080, 2925), mPictures(pictures), mModel(session)
{
    // Before anything asks for the palette's interface. Qt keeps one of each factory.
    QAccessible::installFactory(&ChipPaletteAccessible::factory);
    setWindowTitle(QStringLiteral("マップチップ"));

    mValueBox = new QLineEdit(this);
    mValueBox->setObjectName(QStringLiteral("valueBox"));
    mValueBox->setGeometry(ToolWindowFrame::twipsRect(3120, 480, 615, 375));
    mValueBox->setAlignment(Qt::AlignRight);
    mValueBox->setAccessibleName(QStringLiteral("数値"));
    mValueBox->setAccessibleDescription(QStringLiteral("数字のついたマップチップの数"));
    connect(mValueBox, &QLineEdit::textEdited, &mModel, &ChipPaletteModel::setValueText);

    const QRect arrows = ToolWindowFrame::twipsRect(3720, 480, 240, 375);
    mUp = new QToolButton(this);
    mUp->setObjectName(QStringLiteral("valueUp"));
    mUp->setArrowType(Qt::UpArrow);
    mUp->setAccessibleName(QStringLiteral("数値を1増やす"));
    mUp->setGeometry(arrows.x(), arrows.y(), arrows.width(), arrows.height() / 2);
    connect(mUp, &QToolButton::clicked, this, [this] { mModel.stepBy(+1); });
    mDown = new QToolButton(this);
    mDown->setObjectName(QStringLiteral("valueDown"));
    mDown->setArrowType(Qt::DownArrow);
    mDown->setAccessibleName(QStringLiteral("数値を1減らす"));
    mDown->setGeometry(arrows.x(), arrows.y() + arrows.height() / 2, arrows.width(),
                       arrows.height() - arrows.height() / 2);
    connect(mDown, &QToolButton::clicked, this, [this] { mModel.stepBy(-1); });

    for (int i = 0; i < 8; ++i) {
        auto *button = new QPushButton(ChipPaletteModel::stepCaption(i + 1), this);
        button->setObjectName(QStringLiteral("step%1").arg(i + 1));
        // Reached with Tab; a click leaves the keys where they were.
        button->setFocusPolicy(Qt::TabFocus);
        button->setAccessibleName(QStringLiteral("数値を%1にする").arg(button->text()));
        connect(button, &QPushButton::clicked, this, [this, i] { mModel.step(i + 1); });
        mStepButtons[i] = button;
    }

    mDescription = new QLabel(this);
    mDescription->setObjectName(QStringLiteral("description"));
    placeStepButtons();

    // The grid is the window itself: Tab goes from it to the value box and on.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleDescription(
        QStringLiteral("矢印キーでマップチップを選びます。Tabで数値の欄へ移ります。"));
    setTabOrder(this, mValueBox);
    setTabOrder(mValueBox, mUp);
    setTabOrder(mUp, mDown);
    QWidget *previous = mDown;
    for (QPushButton *button : mStepButtons) {
        setTabOrder(previous, button);
        previous = button;
    }
    connect(&session.choices(), &ToolContext::chipChanged, this, qOverload<>(&QWidget::update));

    connect(&mModel, &ChipPaletteModel::changed, this, &ChipPalette::showModel);
    showModel();
    watchKeysOfChildren();
}

// Two columns of step buttons, one size for all; where their captions need more than the
// twips give, the buttons grow and the rows and the description below move down.
void ChipPalette::placeStepButtons()
{
    QSize size = ToolWindowFrame::twipsRect(0, 0, 495, 255).size();
    for (QPushButton *button : mStepButtons)
        size = size.expandedTo(TextFit::neededSize(button));
    const int stepTops[4] = {960, 1200, 1560, 1800};
    const int left = ToolWindowFrame::twipsToPixels(3000);
    const int right = std::max(ToolWindowFrame::twipsToPixels(3480), left + size.width());
    int top = 0;
    for (int row = 0; row < 4; ++row) {
        const int gap =
            ToolWindowFrame::twipsToPixels(stepTops[row] - (row ? stepTops[row - 1] + 255 : 0));
        top = std::max(ToolWindowFrame::twipsToPixels(stepTops[row]), top + gap);
        mStepButtons[2 * row]->setGeometry(QRect(QPoint(left, top), size));
        mStepButtons[2 * row + 1]->setGeometry(QRect(QPoint(right, top), size));
        top += size.height();
    }
    QRect description = ToolWindowFrame::twipsRect(0, 2280, 4095, 255);
    description.moveTop(std::max(description.top(), top + ToolWindowFrame::twipsToPixels(225)));
    description.setHeight(
        std::max(description.height(), TextFit::neededSize(mDescription).height()));
    mDescription->setGeometry(description);
    growToFit({right + size.width(), description.bottom() + 1});
}

QRect ChipPalette::cellRect(int cell)
{
    const int i = cell - 1;
    return ToolWindowFrame::twipsRect(CellTwips * (i % Columns), CellTwips * (i / Columns),
                                      CellTwips, CellTwips);
}

void ChipPalette::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int cell = 1; cell <= ChipPaletteModel::CellCount; ++cell)
        painter.drawImage(cellRect(cell).topLeft(), mPictures.chip(cell));
    if (hasFocus()) {
        // The chosen chip, outlined as the board's cell cursor is.
        const QRect chosen = cellRect(mModel.chosenCell());
        painter.setPen(QPen(QColor(0, 0, 128), 3));
        painter.drawRect(chosen.adjusted(1, 1, -2, -2));
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(chosen.adjusted(3, 3, -4, -4));
    }
}

void ChipPalette::keyPressEvent(QKeyEvent *event)
{
    const QPoint step = event->key() == Qt::Key_Left    ? QPoint(-1, 0)
                        : event->key() == Qt::Key_Right ? QPoint(1, 0)
                        : event->key() == Qt::Key_Up    ? QPoint(0, -1)
                        : event->key() == Qt::Key_Down  ? QPoint(0, 1)
                                                        : QPoint();
    if (step.isNull() || event->modifiers() & ~Qt::KeypadModifier) {
        ToolWindowFrame::keyPressEvent(event);
        return;
    }
    mModel.moveBy(step.x(), step.y());
    event->accept();
}

void ChipPalette::focusInEvent(QFocusEvent *event)
{
    ToolWindowFrame::focusInEvent(event);
    update();
    // After Qt has told that the palette has the focus, so the chip is what is spoken last.
    mToldCell = 0;
    QMetaObject::invokeMethod(this, &ChipPalette::tellChosen, Qt::QueuedConnection);
}

void ChipPalette::focusOutEvent(QFocusEvent *event)
{
    ToolWindowFrame::focusOutEvent(event);
    update();
}

void ChipPalette::mousePressEvent(QMouseEvent *event)
{
    for (int cell = 1; cell <= ChipPaletteModel::CellCount; ++cell) {
        if (cellRect(cell).contains(event->position().toPoint())) {
            mModel.pick(cell);
            return;
        }
    }
    ToolWindowFrame::mousePressEvent(event);
}

void ChipPalette::showModel()
{
    if (mValueBox->text() != mModel.valueText())
        mValueBox->setText(mModel.valueText());
    const bool enabled = mModel.parameterEnabled();
    mValueBox->setEnabled(enabled);
    mUp->setEnabled(enabled);
    mDown->setEnabled(enabled);
    for (QPushButton *button : mStepButtons)
        button->setEnabled(enabled);
    mDescription->setText(mModel.description());
    tellChosen();
}

void ChipPalette::tellChosen()
{
    if (!QAccessible::isActive())
        return;
    auto *palette =
        dynamic_cast<ChipPaletteAccessible *>(QAccessible::queryAccessibleInterface(this));
    if (!palette)
        return;
    const int cell = mModel.chosenCell();
    const QString name = mModel.cellDescription(cell);
    const int told = mToldCell;
    if (cell == told && name == mToldName)
        return;
    mToldCell = cell;
    mToldName = name;
    if (cell == told) {
        // The number changed.
        QAccessibleEvent event(palette->item(cell), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
        return;
    }
    // The chip chosen before says its own number again.
    if (QAccessibleInterface *before = palette->item(told)) {
        QAccessibleEvent event(before, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (hasFocus()) {
        QAccessibleEvent event(palette->item(cell), QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
        return;
    }
    // Chosen from elsewhere, such as a chip picked up from the board.
    QAccessibleEvent event(palette->item(cell), QAccessible::Selection);
    QAccessible::updateAccessibility(&event);
    if (told)
        SpokenNews::tell(this, name);
}
