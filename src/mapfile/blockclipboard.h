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
// None when the bytes are not our form; when they are but a cell is one no floor file can
// hold as it is, none too, with the reason in `refusal`: such a block is refused whole.
std::optional<CellBlock> fromCells(const QByteArray &bytes, QString *refusal = nullptr);

// Two characters a cell, one line a row, every line ending with CR LF as in the file.
QString toText(const CellBlock &block);
// Lines of two-character chip codes only; otherwise none, with the reason in `refusal`.
// Lines shorter than the longest are padded with blanks, as the file reader pads grid
// lines, so text whose trailing blanks an editor trimmed still pastes.
std::optional<CellBlock> fromText(const QString &text, QString *refusal);

// Both forms, for QClipboard::setMimeData (the caller owns the result).
QMimeData *toMimeData(const CellBlock &block);
// Our own type when it is there, else the text; none with the reason when neither fits or
// our own type holds a bad cell.
std::optional<CellBlock> fromMimeData(const QMimeData *data, QString *refusal);

} // namespace BlockClipboard
