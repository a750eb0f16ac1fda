#pragma once

#include <QString>
#include <QStringView>

// The two characters of a cell in a grid line, and the chip they stand for when read.
namespace GridCode {

// Chip index of a code as read: "g", "+", "-", "t" by their own rules, otherwise the first
// occurrence of the code anywhere in the 98-character code table, 1 when it is absent.
int chipIndexOf(QStringView code);
// The cell text a code loads as: the chip index, "_", the code characters as read.
QString cellOf(QStringView code);
// Whether a cell's text is one a floor file can hold and gives back as it is: a code of two
// characters that code page 932 stores and that end no line (control codes are kept, as
// the reader reads them), after the chip index it is read as.
bool isCellAsRead(const QString &cell);

} // namespace GridCode
