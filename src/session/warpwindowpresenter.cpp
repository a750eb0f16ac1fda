#include "session/warpwindowpresenter.h"

#include "board/warppairs.h"
#include "model/codetables.h"
#include "model/mapdocument.h"
#include "session/statusline.h"

WarpWindowPresenter::WarpWindowPresenter(MapDocument &document, WarpLinkTool &link,
                                         StatusLine &status)
    : mDocument(document), mLink(link), mStatus(status)
{
}

QStringList WarpWindowPresenter::rows() const
{
    return WarpPairs::rows(mDocument.data());
}

bool WarpWindowPresenter::relinkRow(int row)
{
    return mLink.relink(row + 1);
}

WarpWindowPresenter::Deletion WarpWindowPresenter::requestDeletion(int row)
{
    mLink.interrupt();
    if (row < 0 || row >= MapData::MaxWarps)
        return Deletion::NoSelection;
    if (!mDocument.data().warp(row + 1).isDefined()) {
        mStatus.tellText(QStringLiteral("既に削除済みです。"));
        return Deletion::AlreadyDeleted;
    }
    mPendingDeletion = row + 1;
    return Deletion::Ask;
}

QString WarpWindowPresenter::deletionQuestion(int row)
{
    return QStringLiteral("ワープ「") + CodeTables::sourceLabel(row + 1) +
           QStringLiteral("」を\r\n削除しますか？");
}

void WarpWindowPresenter::answerDeletion(bool yes)
{
    const int pair = mPendingDeletion;
    mPendingDeletion = 0;
    if (yes && pair > 0)
        deletePair(pair);
}

void WarpWindowPresenter::deletePair(int pair)
{
    if (!mDocument.data().warp(pair).isDefined())
        return;
    // Markers and rows follow the document's change event.
    mDocument.deleteWarp(pair);
}

void WarpWindowPresenter::highlightRow(int row)
{
    mLink.markers().highlightPair(row + 1);
    Q_EMIT changed();
}
