#pragma once

#include <QString>

// The version and date the about box shows.
namespace AppInfo {

inline QString version()
{
    return QStringLiteral("1.03");
}

inline QString date()
{
    return QStringLiteral("2004/08/29");
}

// Major, minor and revision numbers of the program, shown on request in the status bar.
inline QString versionNumbers()
{
    return QStringLiteral("1.3.0");
}

} // namespace AppInfo
