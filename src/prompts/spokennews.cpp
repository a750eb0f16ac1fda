#include "prompts/spokennews.h"

#include <QAccessible>
#include <QString>
#include <QtGlobal>
// The class has a header of its own from 6.8 on; older headers lack it.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QAccessibleAnnouncementEvent>
#endif

bool SpokenNews::available()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    return true;
#else
    return false;
#endif
}

bool SpokenNews::tell(QObject *source, const QString &text)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (!QAccessible::isActive() || !source || text.isEmpty())
        return false;
    QAccessibleAnnouncementEvent event(source, text);
    QAccessible::updateAccessibility(&event);
    return true;
#else
    Q_UNUSED(source)
    Q_UNUSED(text)
    return false;
#endif
}
