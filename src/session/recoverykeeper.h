#pragma once

#include <QObject>
#include <QTimer>

class MapDocument;
class RecoveryStore;

// Keeps the recovery copy in step with the document: written a moment after changes while
// there are unsaved ones (never more than once a second), removed once there are none.
class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    static constexpr int DelayMs = 2000;

    RecoveryKeeper(MapDocument &document, RecoveryStore &store, QObject *parent = nullptr);

    // Writes at once what is waiting for the timer.
    void flush();

private:
    void onChanged();
    void onModifiedChanged(bool modified);

    MapDocument &mDocument;
    RecoveryStore &mStore;
    QTimer mTimer;
};
