#pragma once

#include <QString>

#include <optional>

// The rules a floor's name, background path and comment must keep so that the floor file
// gives them back unchanged when the map is opened again.
namespace FloorTexts {

// The message that names the first problem, or nothing when all three can be stored.
// The background path is looked at only when it is going to be stored (backgroundUsed).
std::optional<QString> problem(const QString &name, const QString &background,
                               const QString &comment, bool backgroundUsed);

} // namespace FloorTexts
