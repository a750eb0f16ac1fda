#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QRadioButton;

// What to save as pictures: the floor shown or every floor, at which scale, into which folder.
class ImageExportDialog : public QDialog
{
    Q_OBJECT

public:
    ImageExportDialog(const QString &folder, int floor, QWidget *parent = nullptr);

    bool allFloors() const;
    int scale() const;
    QString folder() const;

private:
    QRadioButton *mCurrentFloor;
    QRadioButton *mAllFloors;
    QComboBox *mScale;
    QLineEdit *mFolder;
};
