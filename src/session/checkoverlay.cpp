#include "session/checkoverlay.h"

#include "model/mapdocument.h"

CheckOverlay::CheckOverlay(const MapDocument &document, QObject *parent)
    : QObject(parent), mDocument(document)
{
    connect(&mDocument, &MapDocument::mapChanged, this, &CheckOverlay::dropIfChanged);
}

MapCheck::Report CheckOverlay::run()
{
    MapCheck::Report report = MapCheck::run(mDocument.data());
    mResult = report;
    mChecked = mDocument.data();
    mOn = true;
    Q_EMIT changed();
    return report;
}

const MapCheck::Report *CheckOverlay::shown() const
{
    return mResult && mOn ? &*mResult : nullptr;
}

void CheckOverlay::setOn(bool on)
{
    if (on == mOn)
        return;
    mOn = on;
    Q_EMIT changed();
}

void CheckOverlay::dropIfChanged()
{
    if (!mResult)
        return;
    if (mDocument.data() == mChecked)
        return;
    mResult.reset();
    mChecked = MapData();
    Q_EMIT changed();
}
