#include "model/cellstring.h"

#include "model/codetables.h"

namespace CellString {

QString empty()
{
    return QStringLiteral("00_  ");
}

QString start()
{
    return QStringLiteral("33_S_");
}

QString goal()
{
    return QStringLiteral("34_G_");
}

QString defaultChip()
{
    return QStringLiteral("01_[]");
}

int chipIndex(const QString &cell)
{
    bool ok = false;
    const int value = cell.left(2).toInt(&ok);
    return ok ? value : -1;
}

int pictureIndex(const QString &cell)
{
    if (cell == empty())
        return 48;
    return chipIndex(cell);
}

QString code(const QString &cell)
{
    return cell.mid(3);
}

int decodeParameter(const QString &cell)
{
    if (cell.isEmpty())
        return -1;
    const QChar last = cell.back();
    if (last == u'!')
        return 100;
    if (last == u'$')
        return 99;
    return int(CodeTables::parameterDigits().indexOf(last));
}

QString make(int chipIndex, const QString &code)
{
    return QStringLiteral("%1_").arg(chipIndex, 2, 10, QLatin1Char('0')) + code;
}

} // namespace CellString
