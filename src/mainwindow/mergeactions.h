#pragma once

#include "dialogs/mergewindow.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class EditorSession;
class MapData;
class MapFileWorkflow;
class Prompter;
class QMenu;
class QWidget;

// マップ → 比較 → 三方向マージ: the map being edited merged with another map changed from
// the same base, the conflicts in their window and outlined on the board until the window
// closes. Also the editor as git's mergetool (qzk-editor --merge).
class MergeActions : public QObject
{
    Q_OBJECT

public:
    using DialogRunner = std::function<void(const std::function<void()> &)>;
    MergeActions(EditorSession &session, const MapFileWorkflow &files, Prompter &prompter,
                 QWidget *window, DialogRunner runDialog);

    void addToCompareMenu(QMenu *menu);
    // Asks for the base map, then for theirs.
    void mergeWithOtherMap();
    // Merges with maps given by their floor-1 files; false (after saying why) when one
    // cannot be read.
    bool mergeWithMapFiles(const QString &baseFile, const QString &theirsFile);
    // git's mergetool: base, local and remote are versions of the floor file `merged`, whose
    // map's other floors are read from the working tree. Local opens under that map's name,
    // so saving writes the merged map there.
    bool mergeForTool(const QString &baseFile, const QString &localFile, const QString &remoteFile,
                      const QString &mergedFile);
    MergeWindow *mergeWindow() const { return mMergeWindow; }

private:
    bool read(const QString &floorOneFile, MapData &map);
    void showWindow();

    EditorSession &mSession;
    const MapFileWorkflow &mFiles;
    Prompter &mPrompter;
    QWidget *mWindow;
    DialogRunner mRunDialog;
    QPointer<MergeWindow> mMergeWindow;
};
