#pragma once

#include "mapfile/mapfault.h"
#include "session/recoverystore.h"

#include <QList>
#include <QString>

#include <optional>

class MapFileWorkflow;
class RecoveryKeeper;

// What start-up does with the copies editors that did not end normally left behind: which
// to offer, the question for each, and what each answer does. Only Delete deletes; a
// restored copy goes once this editor's own copy of the map is safely written.
class RecoveryOffer
{
public:
    enum class Answer
    {
        Restore,
        Delete,
        Later // the copy stays and is offered at the next start
    };

    // Takes the left copies (newest first) out of the store's reach of other editors.
    RecoveryOffer(RecoveryStore &store, RecoveryKeeper &keeper, MapFileWorkflow &files);

    const QList<RecoveryStore::Copy> &copies() const { return mCopies; }
    // Empty unless the recovery folder cannot be written; the copies are offered all the same.
    // Once it is told, copies that fail for it are not told again.
    QString folderMessage() const;
    void folderMessageTold();
    static QString title();
    static QString question(const RecoveryStore::Copy &copy);

    // Restore opens the copy as a map with unsaved changes and writes this editor's own copy
    // at once; a copy that cannot be read gives its fault and stays where it is.
    std::optional<MapFault> answer(const RecoveryStore::Copy &copy, Answer answer);

private:
    RecoveryStore &mStore;
    RecoveryKeeper &mKeeper;
    MapFileWorkflow &mFiles;
    QList<RecoveryStore::Copy> mCopies;
};
