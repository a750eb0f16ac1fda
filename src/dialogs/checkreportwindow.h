#pragma once

#include "board/mapcheck.h"

#include <QFont>
#include <QSize>
#include <QStringList>
#include <QWidget>

class QListWidget;

// The map check's report: one line per finding in a read-only list that fills the
// window. Modeless, and deleted when closed: the owner keeps a QPointer and makes a
// new window for the next check once the old one is gone.
class CheckReportWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CheckReportWindow(QWidget *parent = nullptr);

    // Replaces the lines shown by `lines` and brings the window up without blocking.
    void showReport(const QStringList &lines);
    // The same for a check's report, whose lines can lead to the cells they name.
    void showReport(const MapCheck::Report &report);
    QStringList lines() const;
    // The map changed since the check: the lines stay, greyed, and lead nowhere.
    void markStale();
    bool isStale() const { return mStale; }
    QListWidget *list() const { return mList; }

    // The first size: the twips layout, grown so that the widest line a report can have
    // shows whole and a usual report needs no scrolling.
    QSize initialSize() const;
    // The face of report lines, shared with the other report windows.
    static QFont reportFont();

Q_SIGNALS:
    // A line naming a cell was double-clicked or Entered; the window stays open.
    void placeChosen(int floor, QPoint cell);
    // A line of a stale report was double-clicked: what the status bar should say.
    void staleLineChosen(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void chooseLine(int row);

    QListWidget *mList;
    QVector<MapCheck::Place> mPlaces;
    bool mStale = false;
};
