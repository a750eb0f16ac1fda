#pragma once

#include <QObject>
#include <QTimer>

class EditorSession;
class Prompter;
class QWidget;

// Shows what the session's file watch hands over: the question after an outside change,
// the message about a second editor, and the question before overwriting. Nothing is
// asked over a modal dialog; it waits until that closes.
class MapFilePrompts : public QObject
{
    Q_OBJECT

public:
    MapFilePrompts(EditorSession &session, Prompter &prompter, QWidget *window);

    // Before 上書き保存: false when the files changed outside and the user keeps them.
    bool mayOverwrite();

private:
    void showWhenFree();

    EditorSession &mSession;
    Prompter &mPrompter;
    QWidget *mWindow;
    QTimer mRetry;
    bool mTellOpenElsewhere = false;
    bool mShowing = false;
};
