#pragma once

#include "session/editorsession.h"

#include <QObject>

class CellComposer;
class ChipPictures;
class QLabel;
class QToolButton;
class QWidget;

// The column right of the board (the tools' buttons aside): the line tool's caption, the
// chosen chip's sample, the mode
// buttons, and in warp mode the caption the next click places and the markers on a
// clicked cell. Its widgets lie in the main window's central widget, which moves them
// as the board grows.
class ToolColumn : public QObject
{
    Q_OBJECT

public:
    ToolColumn(EditorSession &session, const ChipPictures &pictures, const CellComposer &composer,
               QWidget *central);

    void showSample();
    void showWarps();

private:
    void showLineTool();
    void showMode(EditorSession::EditMode mode);

    EditorSession &mSession;
    const CellComposer &mComposer;
    QLabel *mLineDrawLabel = nullptr;
    QLabel *mSample = nullptr;
    QLabel *mSampleCode = nullptr;
    QToolButton *mModeButtons[3] = {};
    QLabel *mLinkingSample = nullptr;
    QLabel *mMarkerList = nullptr;
};
