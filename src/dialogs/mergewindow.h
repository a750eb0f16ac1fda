#pragma once

#include <QList>
#include <QPoint>
#include <QStringList>
#include <QWidget>

class MapMergeState;
class QAbstractListModel;
class QLabel;
class QListView;
class QPushButton;

// The conflicts of a three-way merge, one per line as the compare window lists differences,
// and the three choices for the chosen ones. Modeless and deleted when closed; closing it
// ends the merge (the merged map stays as it is).
class MergeWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MergeWindow(MapMergeState &merge, QWidget *parent = nullptr);
    ~MergeWindow() override;

    QListView *list() const { return mList; }
    QStringList lines() const;
    QString leftText() const;

Q_SIGNALS:
    // Enter or a double click on a line: the floor it speaks of and its cell (null for a
    // floor's texts and floors).
    void placeChosen(int floor, QPoint cell);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<int> chosenRows() const;
    void choose(int side);
    void goToCurrent();
    void refresh();
    void updateButtons();

    MapMergeState &mMerge;
    QListView *mList;
    QAbstractListModel *mModel;
    QLabel *mLeft;
    QPushButton *mOurs;
    QPushButton *mTheirs;
    QPushButton *mBase;
};
