#pragma once

#include "dialogs/comparewindow.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class EditorSession;
class MapFileWorkflow;
class Prompter;
class QMenu;
class QWidget;

// マップ → 比較: the map compared with another map or with its saved files, the
// differences in their window and on the board until that window closes.
class CompareActions : public QObject
{
    Q_OBJECT

public:
    // Dialogs are opened through `runDialog`, which keeps the tool window out of their way.
    using DialogRunner = std::function<void(const std::function<void()> &)>;
    CompareActions(EditorSession &session, const MapFileWorkflow &files, Prompter &prompter,
                   QWidget *window, DialogRunner runDialog);

    // Returns the 比較 menu, for the merge to join.
    QMenu *addToMapMenu(QMenu *menu);
    // Asks for a map and compares with it.
    void compareWithOtherMap();
    void compareWithMapFile(const QString &floorOneFile);
    void compareWithSaved();
    CompareWindow *compareWindow() const { return mCompareWindow; }

private:
    void showWindow();

    EditorSession &mSession;
    const MapFileWorkflow &mFiles;
    Prompter &mPrompter;
    QWidget *mWindow;
    DialogRunner mRunDialog;
    QPointer<CompareWindow> mCompareWindow;
};
