#pragma once

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
    QStringList lines() const;
    QListWidget *list() const { return mList; }

    // The first size: the twips layout, grown so that the widest line a report can have
    // shows whole and a usual report needs no scrolling.
    QSize initialSize() const;

private:
    QListWidget *mList;
};
