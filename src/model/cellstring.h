#pragma once

#include <QString>

// A cell's text: two-digit chip index, "_", two-character chip code ("16_+A").
// Cells stay texts because loaded files may hold codes the palette never writes.
namespace CellString {

QString empty();       // "00_  "
QString start();       // "33_S_"
QString goal();        // "34_G_"
QString defaultChip(); // "01_[]", the chip a new editor lays

// Chip index from the first two characters; -1 when they are not a number.
int chipIndex(const QString &cell);
// The chip picture index: 48 (the empty picture) for "00_  ", otherwise the chip index.
int pictureIndex(const QString &cell);
// The characters after "_" (the code with its parameter).
QString code(const QString &cell);
// Value of the parameter character at the end of the cell: "!" 100, "$" 99, a digit of
// the parameter table its value, anything else -1.
int decodeParameter(const QString &cell);
// The cell text for chip k with the given two code characters.
QString make(int chipIndex, const QString &code);

} // namespace CellString
