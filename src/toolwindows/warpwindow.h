#pragma once

#include "toolwindows/toolwindowframe.h"

class Prompter;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

// The tool window of warp mode: the pair rows, and buttons to start a new pair, link the
// selected one again, delete it (after a question asked inside the window) or clear the
// highlighting.
class WarpWindow : public ToolWindowFrame
{
    Q_OBJECT

public:
    WarpWindow(EditorSession &session, ToolWindowHost &host, Prompter &prompter);

    QListWidget *list() const { return mList; }
    bool isAskingDeletion() const;

    void newPair();
    void relinkSelected();
    void deleteSelected();
    void clearSelection();
    void answerDeletion(bool yes);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeControls();
    int selectedRow() const;
    void showRows();
    void setAsking(bool asking);

    Prompter &mPrompter;
    QListWidget *mList = nullptr;
    QToolButton *mButtons[4] = {};
    QLabel *mQuestion = nullptr;
    QPushButton *mYes = nullptr;
    QPushButton *mNo = nullptr;
    int mIdleHeightTwips = 0;
    int mAskingHeightTwips = 0;
};
