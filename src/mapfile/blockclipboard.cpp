#include "mapfile/blockclipboard.h"

#include "mapfile/gridcode.h"
#include "model/codetables.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QStringList>

#include <algorithm>

namespace BlockClipboard {

namespace {

constexpr quint32 CellsMagic = 0x515a4b43; // "QZKC"
constexpr quint32 CellsVersion = 1;

bool isChipCode(QStringView code)
{
    const int chip = GridCode::chipIndexOf(code);
    if (chip == 16 || chip == 24 || chip == 30 || chip == 32) {
        const QString digits = CodeTables::parameterDigits() + QStringLiteral("!$");
        return code.at(0) == CodeTables::chipCode(chip).at(0) && digits.contains(code.at(1));
    }
    return CodeTables::chipCode(chip) == code;
}

bool isBranchSetting(const QString &text)
{
    if (text.isEmpty())
        return true;
    if (text.size() != 4)
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'3')
            return false;
    return true;
}

QString refused(const QString &why)
{
    return QStringLiteral("貼り付けできません：") + why;
}

} // namespace

QString cellsType()
{
    return QStringLiteral("application/x-qzk-cells");
}

QByteArray toCells(const CellBlock &block)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << CellsMagic << CellsVersion << qint32(block.width()) << qint32(block.height());
    for (int y = 0; y < block.height(); ++y)
        for (int x = 0; x < block.width(); ++x)
            out << block.cell(x, y) << block.branch(x, y);
    out << qint32(block.pairs().size());
    for (const CellBlock::Pair &pair : block.pairs())
        out << pair.source << pair.destination;
    return bytes;
}

std::optional<CellBlock> fromCells(const QByteArray &bytes, QString *refusal)
{
    QDataStream in(bytes);
    quint32 magic = 0, version = 0;
    qint32 width = 0, height = 0;
    in >> magic >> version >> width >> height;
    if (magic != CellsMagic || version != CellsVersion || width < 1 || height < 1 ||
        width > MapData::Width || height > MapData::Height)
        return std::nullopt;
    CellBlock block(width, height);
    QPoint badCell(-1, -1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            QString cell, branch;
            in >> cell >> branch;
            if (!isBranchSetting(branch))
                return std::nullopt;
            if (badCell.x() < 0 && !GridCode::isCellAsRead(cell))
                badCell = QPoint(x, y);
            block.setCell(x, y, cell);
            block.setBranch(x, y, branch);
        }
    }
    qint32 pairs = 0;
    in >> pairs;
    if (pairs < 0 || pairs > MapData::MaxWarps)
        return std::nullopt;
    const QRect inside(QPoint(0, 0), block.size());
    for (int i = 0; i < pairs; ++i) {
        CellBlock::Pair pair;
        in >> pair.source >> pair.destination;
        if (!inside.contains(pair.source) || !inside.contains(pair.destination))
            return std::nullopt;
        block.addPair(pair);
    }
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    if (badCell.x() >= 0) {
        if (refusal)
            *refusal =
                refused(QStringLiteral("%1行目の左から%2マス目は、マップに置けないマスです。")
                            .arg(badCell.y() + 1)
                            .arg(badCell.x() + 1));
        return std::nullopt;
    }
    return block;
}

QString toText(const CellBlock &block)
{
    QString text;
    for (int y = 0; y < block.height(); ++y) {
        for (int x = 0; x < block.width(); ++x)
            text += QStringView(block.cell(x, y)).right(2);
        text += QStringLiteral("\r\n");
    }
    return text;
}

std::optional<CellBlock> fromText(const QString &text, QString *refusal)
{
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (normal.endsWith(u'\n'))
        normal.chop(1);
    const QStringList lines = normal.split(u'\n');
    const auto refuse = [refusal](const QString &why) {
        if (refusal)
            *refusal = refused(why);
        return std::nullopt;
    };
    qsizetype length = 0;
    for (const QString &line : lines)
        length = std::max(length, line.size());
    if (length == 0)
        return refuse(QStringLiteral("クリップボードにマスがありません。"));
    if (lines.size() > MapData::Height || length > 2 * MapData::Width)
        return refuse(QStringLiteral("横24マス、縦16行を超えています。"));
    CellBlock block(int((length + 1) / 2), int(lines.size()));
    for (int y = 0; y < lines.size(); ++y) {
        const QString line = lines.at(y).leftJustified(2 * block.width(), u' ');
        for (int x = 0; x < block.width(); ++x) {
            const QStringView code = QStringView(line).mid(2 * x, 2);
            if (!isChipCode(code))
                return refuse(QStringLiteral("%1行目の「%2」はチップコードではありません。")
                                  .arg(y + 1)
                                  .arg(code.toString()));
            block.setCell(x, y, GridCode::cellOf(code));
        }
    }
    return block;
}

QMimeData *toMimeData(const CellBlock &block)
{
    auto *data = new QMimeData;
    data->setData(cellsType(), toCells(block));
    data->setText(toText(block));
    return data;
}

std::optional<CellBlock> fromMimeData(const QMimeData *data, QString *refusal)
{
    if (data && data->hasFormat(cellsType())) {
        QString badCell;
        std::optional<CellBlock> block = fromCells(data->data(cellsType()), &badCell);
        if (block || !badCell.isEmpty()) {
            if (refusal)
                *refusal = badCell;
            return block;
        }
    }
    if (!data || !data->hasText()) {
        if (refusal)
            *refusal = refused(QStringLiteral("クリップボードにマスがありません。"));
        return std::nullopt;
    }
    return fromText(data->text(), refusal);
}

} // namespace BlockClipboard
