#include "session/viewsettings.h"

#include <QSettings>

namespace {

QString zoomKey()
{
    return QStringLiteral("view/zoom");
}

QString valuesKey()
{
    return QStringLiteral("view/chipValues");
}

int stepOf(int percent)
{
    int step = 0;
    while (step + 1 < ViewSettings::StepCount && ViewSettings::ZoomSteps[step + 1] <= percent)
        ++step;
    return step;
}

} // namespace

ViewSettings::ViewSettings(QSettings &settings, QObject *parent)
    : QObject(parent), mSettings(settings), mStep(stepOf(settings.value(zoomKey(), 100).toInt())),
      mShowValues(settings.value(valuesKey(), true).toBool())
{
}

void ViewSettings::zoomIn()
{
    setStep(mStep + 1);
}

void ViewSettings::zoomOut()
{
    setStep(mStep - 1);
}

void ViewSettings::resetZoom()
{
    setZoomPercent(100);
}

void ViewSettings::setZoomPercent(int percent)
{
    setStep(stepOf(percent));
}

void ViewSettings::setShowsValues(bool on)
{
    if (on == mShowValues)
        return;
    mShowValues = on;
    mSettings.setValue(valuesKey(), on);
    Q_EMIT showValuesChanged();
}

void ViewSettings::setStep(int step)
{
    if (step < 0 || step >= StepCount || step == mStep)
        return;
    mStep = step;
    mSettings.setValue(zoomKey(), zoomPercent());
    Q_EMIT zoomChanged();
}
