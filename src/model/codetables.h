#pragma once

#include <QString>

// The fixed tables of the editor. They never change while the program runs.
namespace CodeTables {

inline constexpr int ChipCount = 49; // chip indices 0..48
inline constexpr int MaxWarpPairs = 79;

// Character n (1-based) labels the source marker of warp pair n.
QString sourceLabels();
// Character n (1-based) labels the destination marker of warp pair n.
QString destinationLabels();
// 98 characters: two per chip index 0..48.
QString chipCodes();
// Digits of a chip parameter: "0".."9", "A".."Z" for 0..35.
QString parameterDigits();

// The two-character code of chip k (0..48); empty outside that range.
QString chipCode(int k);
QString sourceLabel(int pair);
QString destinationLabel(int pair);

} // namespace CodeTables
