#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "session/tools/warplinktool.h"

class MapDocument;
class StatusLine;

// What the warp window shows and asks: the rows of pairs, a new pair, relinking, and
// deleting a pair once the user has said yes. Linking itself is the warp-link tool's.
class WarpWindowPresenter : public QObject
{
    Q_OBJECT

public:
    enum class Deletion
    {
        NoSelection,
        AlreadyDeleted,
        Ask
    };

    WarpWindowPresenter(MapDocument &document, WarpLinkTool &link, StatusLine &status);

    QStringList rows() const;
    WarpLinkTool::NewPair startNewPair() { return mLink.startNewPair(); }
    // Rows are 0-based; -1 means no row is selected.
    bool relinkRow(int row);
    // Ask: the pair waits for the answer to the deletion question.
    Deletion requestDeletion(int row);
    bool isAskingDeletion() const { return mPendingDeletion != 0; }
    void answerDeletion(bool yes);
    static QString deletionQuestion(int row);
    // The row's pair stands out; the others are dimmed.
    void highlightRow(int row);
    // The window went with warp mode, and its question with it.
    void dropQuestion() { mPendingDeletion = 0; }

Q_SIGNALS:
    // The markers' highlighting changed; rows follow the document's change event.
    void changed();

private:
    void deletePair(int pair);

    MapDocument &mDocument;
    WarpLinkTool &mLink;
    StatusLine &mStatus;
    int mPendingDeletion = 0;
};
