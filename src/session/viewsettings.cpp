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
    : QObject(parent), mSettings(settings), mStep(0),
      mShowValues(settings.value(valuesKey(), true).toBool())
{
    // A value edited by hand into no number starts at 100 %, not at the smallest step.
    bool isNumber = false;
    const int percent = settings.value(zoomKey()).toInt(&isNumber);
    mStep = stepOf(isNumber ? percent : 100);
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
