#include "mapfile/gridcode.h"

#include "mapfile/shiftjis.h"
#include "model/cellstring.h"
#include "model/codetables.h"

namespace GridCode {

namespace {

// A non-digit counts as 0, as the game's own reader takes it.
int digitValue(QStringView code)
{
    if (code.size() < 2)
        return 0;
    const QChar c = code.at(1);
    return (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : 0;
}

int tableIndexOf(QStringView code)
{
    static const QString table = CodeTables::chipCodes();
    const qsizetype found = table.indexOf(code);
    // 1-based position halved: an odd hit across two entries lands on the earlier one.
    const qsizetype position = found < 0 ? 3 : found + 1;
    return int(position / 2);
}

} // namespace

int chipIndexOf(QStringView code)
{
    const QChar first = code.isEmpty() ? QChar() : code.front();
    if (first == u'g')
        return 32;
    if (first == u'+' || first == u'-') {
        const int value = digitValue(code);
        if (value < 1 || value > 6)
            return first == u'+' ? 16 : 24;
    } else if (first == u't') {
        if (digitValue(code) != 1)
            return 30;
    }
    return tableIndexOf(code);
}

QString cellOf(QStringView code)
{
    return CellString::make(chipIndexOf(code), code.toString());
}

bool isCellAsRead(const QString &cell)
{
    if (cell.size() != 5 || cell.at(2) != u'_')
        return false;
    const QStringView code = QStringView(cell).mid(3);
    // Every other control code stays in its grid line, as the reader reads it.
    for (QChar c : code)
        if (c == u'\r' || c == u'\n')
            return false;
    QByteArray bytes;
    QString back;
    return ShiftJis::encode(code, bytes) && ShiftJis::decode(bytes, back) && back == code &&
           cellOf(code) == cell;
}

} // namespace GridCode
