#pragma once

#include "model/cellblock.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QMimeData;

// The two forms a block takes on the clipboard: our own type with everything in it, and
// plain text as a floor file writes its grid lines.
namespace BlockClipboard {

QString cellsType(); // "application/x-qzk-cells"

QByteArray toCells(const CellBlock &block);
std::optional<CellBlock> fromCells(const QByteArray &bytes);

// Two characters a cell, one line a row, every line ending with CR LF as in the file.
QString toText(const CellBlock &block);
// Lines of two-character chip codes only; otherwise none, with the reason in `refusal`.
std::optional<CellBlock> fromText(const QString &text, QString *refusal);

// Both forms, for QClipboard::setMimeData (the caller owns the result).
QMimeData *toMimeData(const CellBlock &block);
// Our own type when it is there, else the text; none with the reason when neither fits.
std::optional<CellBlock> fromMimeData(const QMimeData *data, QString *refusal);

} // namespace BlockClipboard
