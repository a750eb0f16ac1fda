#pragma once

#include <QObject>

class MapFileWorkflow;
class QMenu;

// The map menu's file commands (new, open, the recent maps, save, save as, quit), each
// handed to the file workflow.
class FileActions : public QObject
{
    Q_OBJECT

public:
    FileActions(MapFileWorkflow &files, QObject *parent = nullptr);

    // New, open, the recent maps, a separator, save and save as.
    void addOpenAndSave(QMenu *mapMenu);
    void addQuit(QMenu *mapMenu);
    QMenu *recentMenu() const { return mRecentMenu; }

private:
    void fillRecentMenu();

    MapFileWorkflow &mFiles;
    QMenu *mRecentMenu = nullptr;
};
