#include "session/statusline.h"

#include "board/mapcheck.h"

QString StatusLine::text() const
{
    switch (mKind) {
    case Kind::None:
        return {};
    case Kind::Message:
    case Kind::CellDescription:
    case Kind::FilesVanished:
        return mDetail;
    case Kind::AskLineStart:
        return QStringLiteral("始点をクリックして下さい。");
    case Kind::AskLineEnd:
        return QStringLiteral("終点をクリックして下さい。");
    case Kind::AskWarpSource:
        return QStringLiteral("ワープ元をクリックして下さい。");
    case Kind::AskWarpDestination:
        return QStringLiteral("ワープ先をクリックして下さい。");
    case Kind::UnlinkedWarp:
        return MapCheck::unlinkedWarpText(mCode);
    }
    return {};
}

bool StatusLine::isPrompt() const
{
    return mKind == Kind::AskLineStart || mKind == Kind::AskLineEnd ||
           mKind == Kind::AskWarpSource || mKind == Kind::AskWarpDestination;
}

void StatusLine::set(Kind kind, int code, const QString &detail)
{
    // An empty message is no message.
    if (kind == Kind::Message && detail.isEmpty())
        kind = Kind::None;
    if (kind == mKind && code == mCode && detail == mDetail)
        return;
    const QString before = text();
    mKind = kind;
    mCode = code;
    mDetail = detail;
    if (text() != before)
        Q_EMIT changed();
}

void StatusLine::setPosition(const QString &position)
{
    if (position == mPosition)
        return;
    mPosition = position;
    Q_EMIT changed();
}
