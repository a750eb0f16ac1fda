#pragma once

#include <QDialog>

// The version box: the program's name, version, credit and build date.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // The 32 x 32 picture at the top left: a small board with a road from start to goal.
    static QPixmap icon(qreal devicePixelRatio);
};
