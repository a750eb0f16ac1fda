#pragma once

#include <QImage>
#include <QObject>

class BoardView;
class EditorSession;
class MapFileWorkflow;
class Prompter;
class QAction;
class QLabel;
class QMenu;
class QWidget;
class ViewSettings;

// The board's zoom and value display, and the board as pictures to share: the commands,
// their menu items and the status bar's zoom.
class ViewActions : public QObject
{
    Q_OBJECT

public:
    ViewActions(EditorSession &session, const MapFileWorkflow &files, ViewSettings &view,
                Prompter &prompter, BoardView &board, QWidget *window);

    void addToViewMenu(QMenu *menu);
    void addToMapMenu(QMenu *menu);
    void addToEditMenu(QMenu *menu);
    // The zoom in percent while it is not 100 %.
    QLabel *zoomLabel() const { return mZoomLabel; }

    // The pictures of the shown floor or of every floor, named as qzk-map render names
    // them; false after telling the user what could not be written.
    bool savePictures(const QString &folder, int scale, bool allFloors);
    // The shown floor at the board's zoom, as it goes to the clipboard.
    QImage boardPicture() const;

private:
    void askAndSavePictures();
    void showZoom();

    EditorSession &mSession;
    const MapFileWorkflow &mFiles;
    ViewSettings &mView;
    Prompter &mPrompter;
    BoardView &mBoard;
    QWidget *mWindow;
    QLabel *mZoomLabel;
    QAction *mZoomIn = nullptr;
    QAction *mZoomOut = nullptr;
};
