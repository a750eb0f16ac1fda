#include "mapfile/floorfiletext.h"

#include "mapfile/shiftjis.h"

namespace FloorFileText {

QString readable(QByteArrayView bytes)
{
    QString text;
    // Undecodable bytes show as the reader reads them, so a diff shows what the editor sees.
    ShiftJis::decodeReplacing(bytes, text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace FloorFileText
