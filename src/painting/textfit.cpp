#include "painting/textfit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace TextFit {

QRect buttonTextArea(const QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox *>(button))
        element = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton *>(button))
        element = QStyle::SE_RadioButtonContents;
    return button->style()->subElementRect(element, &option, button);
}

QSize neededSize(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        // The label's own hint: its text with frame, margin and indent.
        return label->sizeHint();
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        if (button->text().isEmpty())
            return button->size();
        const QSize text =
            button->fontMetrics().size(Qt::TextShowMnemonic, button->text()) + QSize(2, 0);
        const QRect area = buttonTextArea(button);
        // What the style takes around the caption stays the same when the button grows.
        const QSize chrome = button->size() - area.size();
        return text + chrome;
    }
    return control->size();
}

QRect place(QWidget *control, const QRect &rect)
{
    control->setGeometry(rect);
    const QSize needed = neededSize(control);
    const QRect grown(rect.topLeft(), rect.size().expandedTo(needed));
    control->setGeometry(grown);
    return grown;
}

int titleWidth(const QWidget *window, const QString &title)
{
    QFont bold = window->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    // Window managers put an icon and up to three buttons, each about as wide as the caption
    // bar is high, beside the title.
    const int buttonWidth = metrics.height() + 6;
    return metrics.horizontalAdvance(title) + 4 * buttonWidth + 16;
}

} // namespace TextFit
