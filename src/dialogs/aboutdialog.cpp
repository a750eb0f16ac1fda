#include "dialogs/aboutdialog.h"

#include "model/appinfo.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <iterator>

namespace {

QLabel *addLabel(QWidget *parent, const char *objectName, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(objectName));
    return label;
}

QFont titleFont(const QFont &base)
{
    QFont font = base;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif"),
                      QStringLiteral("serif")});
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(base.pointSizeF() * 2);
    font.setBold(true);
    return font;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("iconImage"));
    image->setPixmap(icon(devicePixelRatioF()));
    image->setFixedSize(32, 32);

    QLabel *title = addLabel(this, "titleLabel", QStringLiteral("Q:zK Editor"));
    title->setFont(titleFont(font()));
    QLabel *version =
        addLabel(this, "versionLabel", QStringLiteral("Version ") + AppInfo::version());
    QLabel *credit =
        addLabel(this, "creditLabel", QStringLiteral("Programmed by Q:zKエディタ開発チーム"));
    QLabel *date = addLabel(this, "dateLabel", AppInfo::date() + QStringLiteral(" Compiled"));

    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("separatorLine"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    okButton->setMinimumWidth(89);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(credit);
    texts->addWidget(date);

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(image, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(4);
    layout->addWidget(line);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QPixmap AboutDialog::icon(qreal devicePixelRatio)
{
    const int size = 32;
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // The board.
    painter.setPen(QPen(QColor(40, 80, 40), 1));
    painter.setBrush(QColor(110, 180, 90));
    painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), 4, 4);
    // A winding road of cells from the start (red) to the goal (blue).
    const QPoint road[] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {1, 3}, {2, 3}, {3, 3}};
    const int cell = 7;
    const QPointF origin(2.5, 2.5);
    painter.setPen(QPen(QColor(90, 60, 30), 1));
    for (const QPoint &p : road) {
        QColor fill(235, 215, 160);
        if (p == road[0])
            fill = QColor(220, 60, 50);
        else if (p == road[std::size(road) - 1])
            fill = QColor(60, 90, 220);
        painter.setBrush(fill);
        painter.drawRect(QRectF(origin + QPointF(p.x() * cell, p.y() * cell), QSizeF(6, 6)));
    }
    return pixmap;
}
