#pragma once

#include <Qt>
#include <QtGlobal>

// Windows file names ignore case: there two spellings of one map are one file.
inline constexpr Qt::CaseSensitivity FileNameCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif
