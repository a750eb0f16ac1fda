#include "session/tools/boardtool.h"

#include "session/statusline.h"
#include "session/tools/toolcontext.h"

void BoardTool::hover(QPoint cell)
{
    mContext.status().describe(mContext.describe(cell));
}

void BoardTool::leave()
{
    if (mContext.status().kind() != StatusLine::Kind::UnlinkedWarp)
        mContext.status().clear();
}
