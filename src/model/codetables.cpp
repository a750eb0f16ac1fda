#include "model/codetables.h"

namespace CodeTables {

QString sourceLabels()
{
    return QStringLiteral(
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふほまみむめもやゆよらるれろわをん"
        "一二三四五六七八九");
}

QString destinationLabels()
{
    return QStringLiteral(
        "abcdefghijklmnopqrstuvwxyz"
        "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフホマミムメモヤユヨラルレロワヲン"
        "１２３４５６７８９");
}

QString chipCodes()
{
    return QStringLiteral(
        "  []DBxmnopimmkoPAOM+1+2+3+4+5+6+XRE-1-2-3-4-5-6-Xs2d1d0r2t1tXJIgXS_G_W5W4W1W2W3@"
        "@H_U_veitIT!!??  ");
}

QString parameterDigits()
{
    return QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
}

QString chipCode(int k)
{
    if (k < 0 || k >= ChipCount)
        return {};
    return chipCodes().mid(2 * k, 2);
}

QString sourceLabel(int pair)
{
    if (pair < 1 || pair > MaxWarpPairs)
        return {};
    return sourceLabels().mid(pair - 1, 1);
}

QString destinationLabel(int pair)
{
    if (pair < 1 || pair > MaxWarpPairs)
        return {};
    return destinationLabels().mid(pair - 1, 1);
}

} // namespace CodeTables
