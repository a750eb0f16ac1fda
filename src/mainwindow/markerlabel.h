#pragma once

#include <QLabel>
#include <QPainterPath>

// A warp marker on the board. It stays a widget of its own so it stacks above the cells
// and takes the clicks meant for it; it draws itself as the board pictures draw markers.
class MarkerLabel : public QLabel
{
    Q_OBJECT

public:
    // index: the marker it stands for, 2n-1 or 2n for pair n.
    explicit MarkerLabel(int index, QWidget *parent = nullptr);

    int index() const { return mIndex; }
    bool isOpaque() const { return mOpaque; }
    void setOpaque(bool opaque);
    // Drawn `scale` times the marker's size, as the board under it is.
    void setScale(qreal scale);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const int mIndex;
    bool mOpaque = true;
    qreal mScale = 1.0;
    // The outline of the caption last drawn, and that caption (none at first).
    QPainterPath mOutline;
    QString mOutlined;
};
