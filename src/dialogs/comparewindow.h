#pragma once

#include <QPoint>
#include <QStringList>
#include <QWidget>

class MapComparison;
class QListView;
class QAbstractListModel;

// The differences of a running comparison, one per line, kept up to date as the map is
// edited. Modeless and deleted when closed; closing it ends the comparison.
class CompareWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CompareWindow(const MapComparison &comparison, QWidget *parent = nullptr);
    ~CompareWindow() override;

    QListView *list() const { return mList; }
    QStringList lines() const;
    static QString sameText() { return QStringLiteral("違いはありません。"); }

Q_SIGNALS:
    // A line was double-clicked or Entered: the floor it speaks of and its cell, or a null cell for
    // the floor's texts and floors added or removed.
    void placeChosen(int floor, QPoint cell);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void chooseLine(int row);
    void refresh();

    const MapComparison &mComparison;
    QListView *mList;
    QAbstractListModel *mModel;
};
