#pragma once

#include "session/recoverystore.h"

#include <QObject>
#include <QTimer>

#include <optional>

class MapDocument;
class MapFileWatch;

// Keeps the recovery copy in step with the document: written a moment after changes while
// there are unsaved ones (never more than once a second), removed once there are none.
// A copy that cannot be written is tried again after the same delay until it can be.
class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    static constexpr int DelayMs = 2000;

    RecoveryKeeper(MapDocument &document, RecoveryStore &store, QObject *parent = nullptr);

    // The copy records what the map's files held as the watch knows them.
    void followFiles(const MapFileWatch &watch) { mWatch = &watch; }
    // Writes at once what is waiting for the timer.
    void flush();
    // A restored map came from `copy`: it goes once this editor's own copy is written and
    // reads back as written, or once the map has no unsaved changes left.
    void replaceCopy(const RecoveryStore::Copy &copy);
    bool isFailing() const { return mFailing; }
    // The folder was said to be unwritable already: the failures that follow count as that
    // run's, told, until a copy is written again.
    void failureTold() { mFailing = true; }
    // What writeFailed reports: the message names the folder and the reason.
    QString failureMessage() const;
    QString failureStatusText() const;

Q_SIGNALS:
    // Once per run of failed writes, at its first.
    void writeFailed();

private:
    void onChanged();
    void onModifiedChanged(bool modified);
    void dropReplacedCopy();

    MapDocument &mDocument;
    RecoveryStore &mStore;
    const MapFileWatch *mWatch = nullptr;
    QTimer mTimer;
    bool mFailing = false;
    std::optional<RecoveryStore::Copy> mReplaced;
};
