#pragma once

#include "board/mapcheck.h"
#include "model/mapdata.h"

#include <QObject>

#include <optional>

class MapDocument;

// The last map check's findings, shown on the board until the map changes.
class CheckOverlay : public QObject
{
    Q_OBJECT

public:
    explicit CheckOverlay(const MapDocument &document, QObject *parent = nullptr);

    // Runs the map check; what its search saw stays on the board until the map changes.
    MapCheck::Report run();
    // The findings for the board; none once the map changed or while switched off.
    const MapCheck::Report *shown() const;
    bool hasResult() const { return mResult.has_value(); }
    bool isOn() const { return mOn; }
    void setOn(bool on);

Q_SIGNALS:
    void changed();

private:
    void dropIfChanged();

    const MapDocument &mDocument;
    std::optional<MapCheck::Report> mResult;
    MapData mChecked;
    bool mOn = true;
};
