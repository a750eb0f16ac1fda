#include "painting/chippictures.h"

#include "painting/drawniconengine.h"
#include "painting/textoutline.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

#include <functional>

namespace {

constexpr qreal Cell = ChipPictures::Size;
constexpr qreal Middle = Cell / 2;
constexpr int IconSize = 32;

QColor rgb(QRgb value)
{
    return QColor::fromRgb(value);
}

// A canvas of the given logical size whose painter works in logical units, so the
// drawings below never depend on the ratio they are rendered at.
QImage render(qreal logical, qreal ratio, QImage::Format format, const QColor &fill,
              const std::function<void(QPainter &)> &draw)
{
    const int px = qMax(1, qRound(logical * ratio));
    QImage image(px, px, format);
    image.fill(fill);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(px / logical, px / logical);
        draw(p);
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

// Text as a path centred on its visible glyphs: font metrics centre the line box, which
// leaves digits and signs visibly off-centre at this size.
void label(QPainter &p, const QString &text, QPointF centre, qreal pixelSize, const QColor &colour,
           const QColor &outline = QColor())
{
    QPainterPath path = TextOutline::outline(TextOutline::labelFont(pixelSize), text);
    path.translate(centre - path.boundingRect().center());
    if (outline.isValid())
        p.strokePath(path, QPen(outline, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, colour);
}

// A straight arrow from tail to tip with a filled head.
void arrow(QPainter &p, QPointF tail, QPointF tip, qreal width, qreal head, const QColor &colour)
{
    const QLineF line(tail, tip);
    const qreal length = line.length();
    if (length <= 0)
        return;
    const QPointF unit = (tip - tail) / length;
    const QPointF normal(-unit.y(), unit.x());
    const QPointF base = tip - unit * head;
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(tail, base + unit * 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF{tip, base + normal * head * 0.8, base - normal * head * 0.8});
}

void background(QPainter &p, const QColor &colour)
{
    p.fillRect(QRectF(0, 0, Cell, Cell), colour);
}

void border(QPainter &p, const QColor &fill, qreal width = 1.0)
{
    p.setPen(QPen(fill.darker(165), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(width / 2, width / 2, Cell - width, Cell - width));
}

void die(QPainter &p, const QRectF &face, int pips, const QColor &pipColour)
{
    p.setPen(QPen(rgb(0x424242), 0.9));
    p.setBrush(Qt::white);
    p.drawRoundedRect(face, face.width() * 0.2, face.width() * 0.2);
    const qreal step = face.width() / 4;
    const QPointF c = face.center();
    QList<QPointF> at;
    if (pips % 2 == 1)
        at << c;
    if (pips >= 2)
        at << c + QPointF(-step, -step) << c + QPointF(step, step);
    if (pips >= 4)
        at << c + QPointF(step, -step) << c + QPointF(-step, step);
    if (pips == 6)
        at << c + QPointF(-step, 0) << c + QPointF(step, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(pipColour);
    const qreal radius = pips == 1 ? face.width() * 0.15 : face.width() * 0.09;
    for (const QPointF &pip : std::as_const(at))
        p.drawEllipse(pip, radius, radius);
}

void coin(QPainter &p, QPointF centre, qreal radius, const QString &text)
{
    p.setPen(QPen(rgb(0x9a6b00), 1.0));
    p.setBrush(rgb(0xffc928));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(rgb(0xe0a000), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius - 1.6, radius - 1.6);
    label(p, text, centre, radius * 1.3, rgb(0x7a4f00));
}

// A round corner badge holding a plus or minus sign.
void signBadge(QPainter &p, QPointF centre, const QColor &colour, bool plus)
{
    p.setPen(QPen(Qt::white, 0.8));
    p.setBrush(colour);
    p.drawEllipse(centre, 3.6, 3.6);
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(centre - QPointF(2, 0), centre + QPointF(2, 0));
    if (plus)
        p.drawLine(centre - QPointF(0, 2), centre + QPointF(0, 2));
}

void numberChip(QPainter &p, const QString &text, const QColor &fill, const QColor &ink)
{
    background(p, fill);
    label(p, text, QPointF(Middle, Middle), 13, ink);
    border(p, fill);
}

void stairs(QPainter &p, const QColor &colour)
{
    QPainterPath path;
    path.moveTo(4, 21);
    path.lineTo(4, 18);
    path.lineTo(9, 18);
    path.lineTo(9, 14);
    path.lineTo(14, 14);
    path.lineTo(14, 10);
    path.lineTo(20, 10);
    path.lineTo(20, 21);
    path.closeSubpath();
    p.fillPath(path, colour);
}

void drawChip(QPainter &p, int k)
{
    switch (k) {
    case 1: { // plain road
        const QColor fill = rgb(0xe8d8b0);
        background(p, fill);
        border(p, fill);
        return;
    }
    case 2: { // double move
        const QColor fill = rgb(0xffb74d);
        background(p, fill);
        label(p, QStringLiteral("x2"), QPointF(Middle, Middle), 12, rgb(0x7a2e00));
        border(p, fill);
        return;
    }
    case 3: { // bomb
        const QColor fill = rgb(0xdcdcdc);
        background(p, fill);
        p.setPen(QPen(rgb(0x795548), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath fuse;
        fuse.moveTo(14.5, 8.5);
        fuse.quadTo(16, 4, 19, 5);
        p.drawPath(fuse);
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(0x263238));
        p.drawEllipse(QPointF(10.5, 14), 7, 7);
        p.drawRect(QRectF(12.2, 6.8, 3.4, 3.4));
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawEllipse(QPointF(8, 11.5), 1.7, 1.2);
        p.setBrush(rgb(0xff9800));
        p.drawEllipse(QPointF(19.5, 4.5), 2.6, 2.6);
        p.setBrush(rgb(0xffeb3b));
        p.drawEllipse(QPointF(19.5, 4.5), 1.3, 1.3);
        border(p, fill);
        return;
    }
    case 4: { // stop here
        const QColor fill = rgb(0xfff9c4);
        background(p, fill);
        QPolygonF octagon;
        for (int i = 0; i < 8; ++i) {
            const qreal a = qDegreesToRadians(22.5 + 45.0 * i);
            octagon << QPointF(Middle + 9.5 * qCos(a), Middle + 9.5 * qSin(a));
        }
        p.setPen(QPen(Qt::white, 1.0));
        p.setBrush(rgb(0xd32f2f));
        p.drawPolygon(octagon);
        p.fillRect(QRectF(6.5, 10.5, 11, 3), Qt::white);
        border(p, fill);
        return;
    }
    case 5: { // pit
        const QColor fill = rgb(0xa1887f);
        background(p, fill);
        p.setPen(QPen(rgb(0x5d4037), 1.5));
        p.setBrush(rgb(0x1a100c));
        p.drawEllipse(QRectF(2.5, 7, 19, 11));
        arrow(p, QPointF(Middle, 8.5), QPointF(Middle, 16.5), 1.6, 3, Qt::white);
        border(p, fill);
        return;
    }
    case 6: { // mini game
        const QColor fill = rgb(0xc5cae9);
        background(p, fill);
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(0x37474f));
        p.drawRoundedRect(QRectF(2.5, 7.5, 19, 10), 4.5, 4.5);
        p.fillRect(QRectF(5, 11.75, 5, 1.5), Qt::white);
        p.fillRect(QRectF(6.75, 10, 1.5, 5), Qt::white);
        p.setBrush(rgb(0xef5350));
        p.drawEllipse(QPointF(15.5, 11.3), 1.5, 1.5);
        p.setBrush(rgb(0x66bb6a));
        p.drawEllipse(QPointF(18.3, 13.8), 1.5, 1.5);
        border(p, fill);
        return;
    }
    case 7: { // swap places
        const QColor fill = rgb(0xb2dfdb);
        background(p, fill);
        arrow(p, QPointF(4, 8.5), QPointF(20.5, 8.5), 2.2, 4.5, rgb(0x00695c));
        arrow(p, QPointF(20, 15.5), QPointF(3.5, 15.5), 2.2, 4.5, rgb(0x00695c));
        border(p, fill);
        return;
    }
    case 8: { // shop
        const QColor fill = rgb(0xfdfdfd);
        background(p, fill);
        p.fillRect(QRectF(4.5, 10, 15, 10.5), rgb(0x8d6e63));
        p.fillRect(QRectF(10, 13.5, 4, 7), rgb(0xffe0b2));
        for (int i = 0; i < 6; ++i) {
            const QColor stripe = i % 2 == 0 ? rgb(0xe53935) : Qt::white;
            const QRectF r(3 + 3 * i, 4, 3, 5);
            p.fillRect(r, stripe);
            p.setPen(Qt::NoPen);
            p.setBrush(stripe);
            p.drawChord(QRectF(r.left(), r.bottom() - 1.5, 3, 3), 180 * 16, 180 * 16);
        }
        p.setPen(QPen(rgb(0xb71c1c), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 4, 18, 5));
        border(p, fill);
        return;
    }
    case 9: { // fortune slip
        const QColor fill = rgb(0xe1bee7);
        background(p, fill);
        p.setPen(QPen(rgb(0x8d6e63), 0.8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7.5, 2.5, 9, 19));
        p.fillRect(QRectF(7.9, 2.9, 8.2, 4.2), rgb(0xc62828));
        p.setPen(QPen(rgb(0x424242), 1.1));
        for (qreal y : {10.0, 13.0, 16.0, 19.0})
            p.drawLine(QPointF(9.8, y), QPointF(14.2, y));
        border(p, fill);
        return;
    }
    case 16:
        numberChip(p, QStringLiteral("+n"), rgb(0x66bb6a), rgb(0x0b3d0e));
        return;
    case 17: { // roll again
        const QColor fill = rgb(0xbbdefb);
        background(p, fill);
        const QColor blue = rgb(0x1565c0);
        const QRectF circle(5, 5, 14, 14);
        p.setPen(QPen(blue, 2.4, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(circle, 100 * 16, 280 * 16);
        // The head continues the arc's end (at 20 degrees) clockwise.
        const qreal a = qDegreesToRadians(20.0);
        const QPointF end(Middle + 7 * qCos(a), Middle - 7 * qSin(a));
        const QPointF along(-qSin(a), -qCos(a));
        const QPointF out(qCos(a), -qSin(a));
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawPolygon(QPolygonF{end - along * 4.2, end + along * 0.3 + out * 3.2,
                                end + along * 0.3 - out * 3.2});
        border(p, fill);
        return;
    }
    case 24:
        numberChip(p, QStringLiteral("-n"), rgb(0xef5350), rgb(0x4a0000));
        return;
    case 25: { // two dice next turn
        const QColor fill = rgb(0x880e4f);
        background(p, fill);
        die(p, QRectF(2.5, 3, 11, 11), 3, Qt::black);
        die(p, QRectF(10.5, 10, 11, 11), 5, Qt::black);
        border(p, fill);
        return;
    }
    case 26: { // just one step
        const QColor fill = rgb(0xffe0b2);
        background(p, fill);
        die(p, QRectF(4.5, 4.5, 15, 15), 1, rgb(0xd50000));
        border(p, fill);
        return;
    }
    case 27: { // rest one turn
        const QColor fill = rgb(0xb0bec5);
        background(p, fill);
        die(p, QRectF(4.5, 4.5, 15, 15), 5, rgb(0x9e9e9e));
        p.setPen(QPen(rgb(0xd32f2f), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(19, 19));
        p.drawLine(QPointF(19, 5), QPointF(5, 19));
        border(p, fill);
        return;
    }
    case 28: { // rest two turns
        const QColor fill = rgb(0x283593);
        background(p, fill);
        QPainterPath moon;
        moon.addEllipse(QPointF(9, 10), 6.5, 6.5);
        QPainterPath bite;
        bite.addEllipse(QPointF(12.5, 7.5), 5.5, 5.5);
        p.fillPath(moon.subtracted(bite), rgb(0xffee58));
        label(p, QStringLiteral("2"), QPointF(17, 16.5), 10, Qt::white);
        border(p, fill);
        return;
    }
    case 29:
    case 30: { // toll
        const QColor fill = k == 29 ? rgb(0xd7ccc8) : rgb(0xa1887f).lighter(115);
        background(p, fill);
        coin(p, QPointF(10.5, 13), 7.5, k == 29 ? QStringLiteral("1") : QStringLiteral("n"));
        signBadge(p, QPointF(18.5, 5.5), rgb(0xd32f2f), false);
        border(p, fill);
        return;
    }
    case 31: { // jail
        const QColor fill = rgb(0x9e9e9e);
        background(p, fill);
        p.fillRect(QRectF(4, 4, 16, 16), rgb(0x212121));
        p.setPen(QPen(rgb(0xeeeeee), 1.5));
        for (qreal x : {7.0, 10.5, 14.0, 17.5})
            p.drawLine(QPointF(x, 4), QPointF(x, 20));
        p.setPen(QPen(rgb(0xbdbdbd), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(4, 4, 16, 16));
        border(p, fill);
        return;
    }
    case 32: { // coins gained
        const QColor fill = rgb(0xfff176);
        background(p, fill);
        coin(p, QPointF(10.5, 13), 7.5, QStringLiteral("n"));
        signBadge(p, QPointF(18.5, 5.5), rgb(0x2e7d32), true);
        border(p, fill);
        return;
    }
    case 33: { // start
        const QColor fill = rgb(0x1e88e5);
        background(p, fill);
        label(p, QStringLiteral("S"), QPointF(Middle, Middle), 17, Qt::white, rgb(0x0d47a1));
        border(p, fill, 1.5);
        return;
    }
    case 34: { // goal
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 4; ++col)
                p.fillRect(QRectF(col * 6, row * 6, 6, 6),
                           (row + col) % 2 == 0 ? rgb(0x212121) : Qt::white);
        }
        p.setPen(QPen(rgb(0xb71c1c), 1.2));
        p.setBrush(rgb(0xffd54f));
        p.drawEllipse(QPointF(Middle, Middle), 8, 8);
        label(p, QStringLiteral("G"), QPointF(Middle, Middle), 13, rgb(0xb71c1c));
        border(p, rgb(0x9e9e9e), 1.5);
        return;
    }
    case 35:
    case 36: { // floor links: 35 back down, 36 next up
        const bool up = k == 36;
        const QColor fill = up ? rgb(0x26c6da) : rgb(0x80deea);
        background(p, fill);
        stairs(p, up ? rgb(0x00695c) : rgb(0x00838f).lighter(120));
        const QPointF top(8, 3.5), bottom(8, 14.5);
        arrow(p, up ? bottom : top, up ? top : bottom, 2.6, 5, up ? Qt::white : rgb(0x004d40));
        border(p, fill);
        return;
    }
    case 37:
    case 38:
    case 39: { // warps within a floor
        const QColor fill = rgb(0x7e57c2);
        background(p, fill);
        p.setPen(QPen(rgb(0xd1c4e9), 1.8));
        p.setBrush(rgb(0x4527a0));
        p.drawEllipse(QPointF(Middle, Middle), 9, 9);
        label(p, QString::number(k - 36), QPointF(Middle, Middle), 13, Qt::white);
        border(p, fill);
        return;
    }
    case 40: { // whirlpool
        const QColor fill = rgb(0x00838f);
        background(p, fill);
        QPainterPath spiral;
        for (int i = 0; i <= 96; ++i) {
            const qreal a = qDegreesToRadians(i * 9.0);
            const qreal r = 0.6 + i * 0.095;
            const QPointF pt(Middle + r * qCos(a), Middle + r * qSin(a));
            if (i == 0)
                spiral.moveTo(pt);
            else
                spiral.lineTo(pt);
        }
        p.setPen(QPen(Qt::white, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(spiral);
        border(p, fill);
        return;
    }
    case 41: { // heal
        const QColor fill = rgb(0xfce4ec);
        background(p, fill);
        QPainterPath heart;
        heart.moveTo(12, 20);
        heart.cubicTo(1, 12.5, 3.5, 3, 12, 8);
        heart.cubicTo(20.5, 3, 23, 12.5, 12, 20);
        p.fillPath(heart, rgb(0xe53935));
        p.fillRect(QRectF(9, 10.5, 6, 1.8), Qt::white);
        p.fillRect(QRectF(11.1, 8.4, 1.8, 6), Qt::white);
        border(p, fill);
        return;
    }
    case 42: { // U-turn
        const QColor fill = rgb(0xffe082);
        background(p, fill);
        const QColor brown = rgb(0x5d4037);
        QPainterPath u;
        u.moveTo(7, 20.5);
        u.lineTo(7, 11);
        u.arcTo(QRectF(7, 5, 10, 10), 180, -180);
        u.lineTo(17, 14);
        p.setPen(QPen(brown, 2.6, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(u);
        p.setPen(Qt::NoPen);
        p.setBrush(brown);
        p.drawPolygon(QPolygonF{QPointF(17, 20.5), QPointF(12.8, 14), QPointF(21.2, 14)});
        border(p, fill);
        return;
    }
    case 43: { // ride
        const QColor fill = rgb(0xb3e5fc);
        background(p, fill);
        p.setPen(QPen(rgb(0x0277bd), 1.0, Qt::SolidLine, Qt::RoundCap));
        for (qreal y : {9.0, 12.0})
            p.drawLine(QPointF(1.5, y), QPointF(4.5, y));
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(0xe53935));
        p.drawRoundedRect(QRectF(5.5, 6.5, 10, 6), 2, 2);
        p.drawRoundedRect(QRectF(3.5, 10.5, 18, 6), 2, 2);
        p.setBrush(rgb(0xe1f5fe));
        p.drawRect(QRectF(7, 8, 3, 3));
        p.drawRect(QRectF(11, 8, 3, 3));
        p.setPen(QPen(Qt::white, 0.8));
        p.setBrush(rgb(0x212121));
        p.drawEllipse(QPointF(8, 17), 2.4, 2.4);
        p.drawEllipse(QPointF(17, 17), 2.4, 2.4);
        border(p, fill);
        return;
    }
    case 44: { // item
        const QColor fill = rgb(0xf3e5f5);
        background(p, fill);
        p.fillRect(QRectF(5, 11, 14, 9.5), rgb(0xe53935));
        p.fillRect(QRectF(4, 8.5, 16, 3), rgb(0xc62828));
        p.fillRect(QRectF(10.75, 8.5, 2.5, 12), rgb(0xffd600));
        p.setPen(QPen(rgb(0xffd600), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(7, 4.5, 5, 4));
        p.drawEllipse(QRectF(12, 4.5, 5, 4));
        border(p, fill);
        return;
    }
    case 45: { // treasure chest
        const QColor fill = rgb(0x4e342e);
        background(p, fill);
        const QColor wood = rgb(0xb7742f);
        const QColor gold = rgb(0xffca28);
        QPainterPath lid;
        lid.moveTo(3, 11);
        lid.lineTo(3, 9);
        lid.cubicTo(3, 3.5, 21, 3.5, 21, 9);
        lid.lineTo(21, 11);
        lid.closeSubpath();
        p.fillPath(lid, wood.darker(115));
        p.fillRect(QRectF(3, 11, 18, 9), wood);
        p.fillRect(QRectF(3, 10.4, 18, 1.3), gold);
        p.fillRect(QRectF(5, 5.5, 2, 14.5), gold);
        p.fillRect(QRectF(17, 5.5, 2, 14.5), gold);
        p.fillRect(QRectF(10.5, 9.5, 3, 4), gold);
        p.fillRect(QRectF(11.6, 11.2, 0.8, 1.6), rgb(0x3e2723));
        border(p, fill.lighter(160));
        return;
    }
    case 46: { // happening
        const QColor fill = rgb(0xff7043);
        background(p, fill);
        p.setPen(QPen(rgb(0x212121), 1.2, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
        p.setBrush(rgb(0xffeb3b));
        p.drawPolygon(QPolygonF{QPointF(12, 2.5), QPointF(21.5, 20), QPointF(2.5, 20)});
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(0x212121));
        p.drawRoundedRect(QRectF(10.9, 8, 2.2, 7), 1, 1);
        p.drawEllipse(QPointF(12, 17.2), 1.3, 1.3);
        border(p, fill);
        return;
    }
    case 47: { // surprise
        const QColor fill = rgb(0x5c6bc0);
        background(p, fill);
        p.setPen(QPen(rgb(0xe65100), 1.2));
        p.setBrush(rgb(0xffca28));
        p.drawRoundedRect(QRectF(4, 4, 16, 16), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(rgb(0xe65100));
        for (const QPointF &rivet :
             {QPointF(6, 6), QPointF(18, 6), QPointF(6, 18), QPointF(18, 18)})
            p.drawEllipse(rivet, 0.8, 0.8);
        label(p, QStringLiteral("?"), QPointF(Middle, Middle), 13, rgb(0x6d4c41));
        border(p, fill);
        return;
    }
    default:
        break;
    }
    if (k >= 10 && k <= 15) {
        numberChip(p, QStringLiteral("+%1").arg(k - 9), rgb(0xc8e6c9), rgb(0x1b5e20));
        return;
    }
    if (k >= 18 && k <= 23) {
        numberChip(p, QStringLiteral("-%1").arg(k - 17), rgb(0xffcdd2), rgb(0xb71c1c));
        return;
    }
    // The empty cell: nothing but the grid.
    background(p, rgb(0xf7f7f7));
    border(p, rgb(0xf7f7f7).darker(115));
}

// Branch arms point from the centre to one edge. They are drawn pointing up and rotated;
// the mask's channel is one unit wider all round so antialiased arm edges stay inside it
// and every arm gets a dark rim on any chip.
constexpr qreal ArmHalfWidth = 3;
constexpr qreal ArmInner = 5; // distance of the arm's inner end from the centre

void turnToDirection(QPainter &p, int direction)
{
    static constexpr qreal Angles[] = {0, 270, 90, 180}; // up, left, right, down
    p.translate(Middle, Middle);
    p.rotate(Angles[direction - 1]);
}

void drawArm(QPainter &p, int direction, int state)
{
    static const QColor Colours[] = {Qt::white, rgb(0xe53935), rgb(0x1e63d6), Qt::black};
    turnToDirection(p, direction);
    p.fillRect(QRectF(-ArmHalfWidth, -Middle, 2 * ArmHalfWidth, Middle - ArmInner), Colours[state]);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    switch (state) {
    case 1: // no passage: a no-entry bar
        p.drawRect(QRectF(-2, -9.2, 4, 1.6));
        break;
    case 2: // one way, outward
        p.drawPolygon(QPolygonF{QPointF(0, -11.2), QPointF(-2.3, -8.2), QPointF(2.3, -8.2)});
        p.drawRect(QRectF(-0.7, -8.4, 1.4, 2.8));
        break;
    case 3: // both ways
        p.drawPolygon(QPolygonF{QPointF(0, -11.3), QPointF(-2.3, -8.9), QPointF(2.3, -8.9)});
        p.drawPolygon(QPolygonF{QPointF(0, -5.7), QPointF(-2.3, -8.1), QPointF(2.3, -8.1)});
        p.drawRect(QRectF(-0.7, -9, 1.4, 1));
        break;
    default: // no road: the plain white arm
        break;
    }
}

void drawBranchMask(QPainter &p)
{
    for (int direction = 1; direction <= 4; ++direction) {
        p.save();
        turnToDirection(p, direction);
        p.fillRect(
            QRectF(-ArmHalfWidth - 1, -Middle - 1, 2 * ArmHalfWidth + 2, Middle - ArmInner + 2),
            Qt::black);
        p.restore();
    }
}

constexpr qreal MarkerRadius = 5.5;
constexpr qreal MarkerRing = 2.4;

void drawLineMarker(QPainter &p)
{
    p.setPen(QPen(rgb(0xff9800), MarkerRing));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(Middle, Middle), MarkerRadius, MarkerRadius);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0xffeb3b));
    p.drawEllipse(QPointF(Middle, Middle), 1.8, 1.8);
}

void drawLineMarkerMask(QPainter &p)
{
    // One pixel's diagonal beyond the ring, so its antialiased edge is covered at 1x.
    const qreal r = MarkerRadius + MarkerRing / 2 + 1.5;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(Middle, Middle), r, r);
}

// Tool column buttons: transparent, for 1x and 2x so either screen gets a crisp one, each
// drawn when first shown.
QIcon buttonIcon(qreal ratio, const std::function<void(QPainter &)> &draw)
{
    QList<qreal> ratios{1.0, 2.0};
    if (!ratios.contains(ratio) && ratio > 0)
        ratios << ratio;
    return QIcon(new DrawnIconEngine(IconSize, ratios, [draw](qreal r) {
        return render(IconSize, r, QImage::Format_ARGB32_Premultiplied, Qt::transparent, draw);
    }));
}

void smallCell(QPainter &p, const QRectF &r, const QColor &fill)
{
    p.setPen(QPen(fill.darker(170), 1.0));
    p.setBrush(fill);
    p.drawRect(r);
}

void drawLineToolIcon(QPainter &p)
{
    for (int i = 0; i < 4; ++i)
        smallCell(p, QRectF(2.5 + 6.5 * i, 23.5, 6, 6), rgb(0xe8d8b0));
    p.setPen(QPen(rgb(0xff9800), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(28.5, 26.5), 2, 2);
    // The pencil lies at 45 degrees with its tip just above the end of the row.
    p.save();
    p.translate(24, 19);
    p.rotate(-135);
    const QColor outline = rgb(0x5d4037);
    p.setPen(QPen(outline, 0.9, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    p.setBrush(rgb(0xffc107));
    p.drawRect(QRectF(6, -3, 14, 6));
    p.setBrush(rgb(0xf48fb1));
    p.drawRect(QRectF(20, -3, 3.5, 6));
    p.setBrush(rgb(0xffe0b2));
    p.drawPolygon(QPolygonF{QPointF(6, -3), QPointF(6, 3), QPointF(0, 0)});
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0x37474f));
    p.drawPolygon(QPolygonF{QPointF(2, -1), QPointF(2, 1), QPointF(0, 0)});
    p.restore();
}

void drawSelectionToolIcon(QPainter &p)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            smallCell(p, QRectF(3.5 + 6.5 * i, 3.5 + 6.5 * j, 6, 6), rgb(0xe8d8b0));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 2.0));
    p.drawRect(QRectF(9, 9, 15, 15));
    p.setPen(QPen(Qt::white, 2.0, Qt::DashLine, Qt::FlatCap));
    p.drawRect(QRectF(9, 9, 15, 15));
}

void drawFillToolIcon(QPainter &p)
{
    // A tipped bucket pouring onto a filled square of cells.
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j)
            smallCell(p, QRectF(3.5 + 6.5 * i, 16.5 + 6.5 * j, 6, 6), rgb(0x64b5f6));
    p.save();
    p.translate(14, 9);
    p.rotate(-35);
    p.setPen(QPen(rgb(0x37474f), 1.5));
    p.setBrush(rgb(0xcfd8dc));
    p.drawPolygon(QPolygonF{QPointF(-6, -6), QPointF(6, -6), QPointF(4.5, 6), QPointF(-4.5, 6)});
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(0x1e88e5));
    p.drawEllipse(QPointF(24, 12), 2.5, 3.2);
}

void drawRectangleToolIcon(QPainter &p)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            const bool border = i == 0 || i == 3 || j == 0 || j == 3;
            smallCell(p, QRectF(3.5 + 6.5 * i, 3.5 + 6.5 * j, 6, 6),
                      border ? rgb(0xa1887f) : rgb(0xe8d8b0));
        }
}

void drawChipModeIcon(QPainter &p)
{
    smallCell(p, QRectF(3.5, 3.5, 12, 12), rgb(0xc8e6c9));
    smallCell(p, QRectF(16.5, 3.5, 12, 12), rgb(0xffcdd2));
    smallCell(p, QRectF(3.5, 16.5, 12, 12), rgb(0x1e88e5));
    smallCell(p, QRectF(16.5, 16.5, 12, 12), rgb(0xe8d8b0));
    p.fillRect(QRectF(6, 8.5, 7, 2), rgb(0x1b5e20));
    p.fillRect(QRectF(8.5, 6, 2, 7), rgb(0x1b5e20));
    p.fillRect(QRectF(19, 8.5, 7, 2), rgb(0xb71c1c));
    label(p, QStringLiteral("S"), QPointF(9.5, 22.5), 10, Qt::white);
}

void drawBranchModeIcon(QPainter &p)
{
    const QColor ink = rgb(0x1e63d6);
    const QPointF c(16, 16);
    for (const QPointF &to : {QPointF(16, 2), QPointF(2, 16), QPointF(30, 16), QPointF(16, 30)})
        arrow(p, c, to, 3, 6, ink);
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(rgb(0x333333));
    p.drawEllipse(c, 3.5, 3.5);
}

void drawWarpModeIcon(QPainter &p)
{
    p.setPen(QPen(rgb(0xd1c4e9), 1.5));
    p.setBrush(rgb(0x7e57c2));
    p.drawEllipse(QPointF(7, 24), 5.5, 5.5);
    p.drawEllipse(QPointF(25, 24), 5.5, 5.5);
    const QColor ink = rgb(0x4527a0);
    QPainterPath jump;
    jump.moveTo(7, 20);
    jump.cubicTo(8, 2, 24, 2, 24.5, 15);
    p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(jump);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF{QPointF(24.6, 20.5), QPointF(20.6, 13.5), QPointF(28.4, 13.8)});
}

} // namespace

ChipPictures::ChipPictures(qreal devicePixelRatio) : mRatio(devicePixelRatio) {}

const QImage &ChipPictures::chip(int index) const
{
    if (index < 1 || index > ChipPictureCount)
        index = EmptyPicture;
    QImage &picture = mChips[index];
    if (picture.isNull())
        picture = render(Size, mRatio, QImage::Format_RGB32, Qt::white,
                         [index](QPainter &p) { drawChip(p, index); });
    return picture;
}

const QImage &ChipPictures::overlay(int index) const
{
    if (index < 1 || index > OverlayCount)
        index = 0;
    QImage &picture = mOverlays[index];
    if (!picture.isNull())
        return picture;
    const auto draw = [&](const QColor &fill, const std::function<void(QPainter &)> &drawing) {
        picture = render(Size, mRatio, QImage::Format_RGB32, fill, drawing);
    };
    if (index == 0) {
        draw(Qt::black, [](QPainter &) {});
    } else if (index <= 16) {
        const int direction = (index - 1) / 4 + 1;
        const int state = (index - 1) % 4;
        draw(Qt::black, [direction, state](QPainter &p) { drawArm(p, direction, state); });
    } else if (index == BranchMask) {
        draw(Qt::white, drawBranchMask);
    } else if (index == LineMarker) {
        draw(Qt::black, drawLineMarker);
    } else {
        draw(Qt::white, drawLineMarkerMask);
    }
    return picture;
}

QIcon ChipPictures::toolIcon(const QString &name) const
{
    const struct
    {
        const char16_t *name;
        void (*draw)(QPainter &);
    } tools[] = {{u"line", drawLineToolIcon},
                 {u"selection", drawSelectionToolIcon},
                 {u"fill", drawFillToolIcon},
                 {u"rectangle", drawRectangleToolIcon}};
    for (const auto &tool : tools)
        if (name == QStringView(tool.name))
            return buttonIcon(mRatio, tool.draw);
    return {};
}

QIcon ChipPictures::modeIcon(EditModes::EditMode mode) const
{
    switch (mode) {
    case EditModes::ChipMode:
        return buttonIcon(mRatio, drawChipModeIcon);
    case EditModes::BranchMode:
        return buttonIcon(mRatio, drawBranchModeIcon);
    case EditModes::WarpMode:
        return buttonIcon(mRatio, drawWarpModeIcon);
    default:
        return {};
    }
}
