#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Marks a map as open in this editor, so that a second editor on the same map can say so.
// The marker lives in the user's data folder, keyed by the map's canonical path: the map's
// own folder may belong to the game or be read-only.
class MapLock
{
public:
    // lockFolder: where the markers go; empty for the user's data folder.
    explicit MapLock(const QString &lockFolder = QString());

    // Holds the marker of the map whose floor-1 file is given, giving up the one held
    // before. False when another running editor holds it. A marker left by an editor that
    // is no longer running is taken over.
    bool hold(const QString &floorOneFile);
    void release();
    bool isHeld() const { return mLock != nullptr; }
    // Why the last hold could not write its marker, in one line; empty when it could.
    const QString &problem() const { return mProblem; }
    const QString &folder() const { return mFolder; }

private:
    QString markerPath(const QString &floorOneFile) const;

    QString mFolder;
    QString mHeldPath;
    QString mProblem;
    std::unique_ptr<QLockFile> mLock;
};
