#include "filetestkit.h"
#include "mapfile/blockclipboard.h"
#include "mapfile/mapfilewriter.h"
#include "mapfile/shiftjis.h"
#include "model/cellblock.h"
#include "model/cellstring.h"

#include <QMimeData>
#include <QTest>

using namespace Qt::StringLiterals;
using Turn = CellBlock::Turn;

Q_DECLARE_METATYPE(CellBlock::Turn)

namespace {

// Every pair that exists as "n:x,y,f>x,y,f", in pair order.
QString pairsOf(const MapData &map)
{
    QStringList pairs;
    for (int n = 1; n <= MapData::MaxWarps; ++n) {
        const WarpRecord &r = map.warp(n);
        if (r.isDefined())
            pairs << QString::asprintf("%d:%d,%d,%d>%d,%d,%d", n, r.srcX, r.srcY, r.srcFloor,
                                       r.dstX, r.dstY, r.dstFloor);
    }
    return pairs.join(u' ');
}

// On floor 1 pair 1 lies inside (2..4, 2..4), pair 2 half inside, pair 3 goes to floor 2.
MapData pairedMap()
{
    return pictureMap(u"/.S|"_s, {u"2,2,1=0123"_s},
                      {u"2,2,1>3,3,1"_s, u"3,2,1>10,10,1"_s, u"4,4,1>4,4,2"_s});
}

// A block whose every cell and branch setting differs from the others, with a pair.
CellBlock unevenBlock()
{
    CellBlock block(3, 2);
    for (int i = 0; i < 6; ++i) {
        block.setCell(i % 3, i / 3, CellString::make(10 + i, u"+%1"_s.arg(i + 1)));
        block.setBranch(i % 3, i / 3, u"%1%2%3%4"_s.arg(i % 4).arg((i + 1) % 4).arg(0).arg(3));
    }
    block.addPair({{0, 0}, {2, 1}});
    return block;
}

} // namespace

class TestCellBlock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void branchDigitsFollowTheTurn_data()
    {
        QTest::addColumn<Turn>("turn");
        QTest::addColumn<QString>("setting"); // up, left, right, down
        QTest::addColumn<QString>("turned");
        QTest::addColumn<QPoint>("cellTo"); // where (0, 0) of a 3 x 2 block goes
        QTest::newRow("left/right flip")
            << Turn::FlipLeftRight << u"0123"_s << u"0213"_s << QPoint(2, 0);
        QTest::newRow("up/down flip") << Turn::FlipUpDown << u"0123"_s << u"3120"_s << QPoint(0, 1);
        QTest::newRow("quarter turn")
            << Turn::RotateClockwise << u"0123"_s << u"1302"_s << QPoint(1, 0);
        QTest::newRow("quarter turn left")
            << Turn::RotateCounterClockwise << u"0123"_s << u"2031"_s << QPoint(0, 2);
        QTest::newRow("one-way up turns right")
            << Turn::RotateClockwise << u"2000"_s << u"0020"_s << QPoint(1, 0);
        QTest::newRow("no branch point")
            << Turn::RotateClockwise << QString() << QString() << QPoint(1, 0);
    }
    void branchDigitsFollowTheTurn()
    {
        QFETCH(Turn, turn);
        QFETCH(QString, setting);
        QFETCH(QPoint, cellTo);
        CellBlock block(3, 2);
        block.setBranch(0, 0, setting);
        QTEST(block.turned(turn).branch(cellTo.x(), cellTo.y()), "turned");
    }

    void turnsComeBackToTheStart_data()
    {
        QTest::addColumn<Turn>("turn");
        QTest::addColumn<int>("times");
        QTest::newRow("four quarter turns") << Turn::RotateClockwise << 4;
        QTest::newRow("four quarter turns left") << Turn::RotateCounterClockwise << 4;
        QTest::newRow("two left/right flips") << Turn::FlipLeftRight << 2;
        QTest::newRow("two up/down flips") << Turn::FlipUpDown << 2;
    }
    void turnsComeBackToTheStart()
    {
        QFETCH(Turn, turn);
        QFETCH(int, times);
        const CellBlock start = unevenBlock();
        CellBlock block = start;
        for (int i = 1; i <= times; ++i) {
            block = block.turned(turn);
            QCOMPARE(block == start, i == times);
        }
    }

    void pairsOfBlockEdits_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("pairs");
        QTest::addColumn<QString>("startCells"); // "x,y,floor" of every start chip then
        QTest::addColumn<int>("unmade");
        QTest::addColumn<int>("covered"); // pairs deleted because laid cells covered an end
        const auto row = [](const char *name, const char *edit, const QString &pairs,
                            const char *startCells, int unmade = 0, int covered = 0) {
            QTest::newRow(name) << QString::fromUtf8(edit) << pairs << QString::fromUtf8(startCells)
                                << unmade << covered;
        };
        const QString untouched = u"1:2,2,1>3,3,1 2:3,2,1>10,10,1 3:4,4,1>4,4,2"_s;
        row("copy and paste on floor 2: only the inside pair, under the next number",
            "paste 2 11,1", untouched + u" 4:11,1,2>12,2,2"_s, "2,2,1 11,1,2");
        row("paste cut off at the edge: no pair for a lost end", "paste 1 24,1", untouched,
            "24,1,1 2,2,1");
        row("paste with one free number: cells laid, one pair unmade", "crowded 2 12,5",
            untouched + u" 4:12,5,2>13,6,2"_s, "2,2,1 12,5,2", 1);
        row("paste over one end of a pair: that pair goes, its number is reused", "paste 1 9,9",
            u"1:2,2,1>3,3,1 2:9,9,1>10,10,1 3:4,4,1>4,4,2"_s, "2,2,1 9,9,1", 0, 1);
        row("paste over the far end on another floor", "paste 2 3,3",
            u"1:2,2,1>3,3,1 2:3,2,1>10,10,1 3:3,3,2>4,4,2"_s, "2,2,1 3,3,2", 0, 1);
        row("cut: every pair with an end inside goes", "cut", QString(), "");
        row("move: ends inside go with the cells", "move 7,12",
            u"1:7,12,1>8,13,1 2:8,12,1>10,10,1 3:9,14,1>4,4,2"_s, "7,12,1");
        row("move by one cell: ends under the old place move, none is covered", "move 3,3",
            u"1:3,3,1>4,4,1 2:4,3,1>10,10,1 3:5,5,1>4,4,2"_s, "3,3,1");
        row("move over the other end of a moving pair: that pair goes", "move 9,9",
            u"1:9,9,1>10,10,1 3:11,11,1>4,4,2"_s, "9,9,1", 0, 1);
        row("move past the edge: a pair whose end fell off goes", "move 23,14",
            u"1:23,14,1>24,15,1 2:24,14,1>10,10,1"_s, "23,14,1");
        row("quarter turn in place", "rotate", u"1:4,2,1>3,3,1 2:4,3,1>10,10,1 3:2,4,1>4,4,2"_s,
            "4,2,1");
    }
    void pairsOfBlockEdits()
    {
        QFETCH(QString, edit);
        const QStringList words = edit.split(u' ');
        const auto cellOf = [](const QString &xy) {
            return QPoint(xy.section(u',', 0, 0).toInt(), xy.section(u',', 1, 1).toInt());
        };
        MapData map = pairedMap();
        const QRect square(2, 2, 3, 3);
        // "crowded": every number but 4 taken, then a block with two inside pairs pasted.
        const WarpRecord filler{1, 16, 2, 2, 16, 2};
        const bool crowded = words[0] == u"crowded";
        for (int n = 5; crowded && n <= MapData::MaxWarps; ++n)
            map.setWarp(n, filler);
        int unmade = 0;
        int covered = 0;
        if (words[0] == u"paste" || crowded)
            unmade = CellBlock::extract(map, 1, crowded ? QRect(2, 2, 9, 9) : square)
                         .lay(map, words[1].toInt(), cellOf(words[2]), &covered);
        else if (words[0] == u"cut")
            CellBlock::clear(map, 1, square);
        else if (words[0] == u"move")
            CellBlock::relocate(map, 1, square, Turn::None, cellOf(words[1]), &covered);
        else if (words[0] == u"rotate")
            CellBlock::relocate(map, 1, square, Turn::RotateClockwise, square.topLeft(), &covered);
        else
            QFAIL(qPrintable(u"unknown edit: "_s + edit));
        QTEST(unmade, "unmade");
        QTEST(covered, "covered");
        for (int n = 5; crowded && n <= MapData::MaxWarps; ++n) {
            QCOMPARE(map.warp(n), filler);
            map.setWarp(n, WarpRecord());
        }
        QTEST(pairsOf(map), "pairs");

        QStringList startCells;
        for (int f = 1; f <= 2; ++f)
            for (int y = 1; y <= MapData::Height; ++y)
                for (int x = 1; x <= MapData::Width; ++x)
                    if (map.cell(x, y, f) == CellString::start())
                        startCells << u"%1,%2,%3"_s.arg(x).arg(y).arg(f);
        QTEST(startCells.join(u' '), "startCells");
    }

    void textForm_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cells"); // the block's cells row by row, "/" between rows
        QTest::addColumn<QString>("refusal");
        // A refusal says why after 貼り付けできません：.
        const auto row = [](const char *name, const QString &text, const char *cells,
                            const char *why = nullptr) {
            QTest::newRow(name) << text << QString::fromUtf8(cells)
                                << (why ? u"貼り付けできません："_s + QString::fromUtf8(why)
                                        : QString());
        };
        const char *size = "横24マス、縦16行を超えています。";
        row("grid lines with CR LF", u"[]S_\r\n+AG_\r\n"_s, "01_[] 33_S_/16_+A 34_G_");
        row("LF, no line break at the end", u"  @@\nxmno"_s, "00_   40_@@/03_xm 04_no");
        row("odd line, padded", u"[]S\r\n"_s, "", "1行目の「S 」はチップコードではありません。");
        // As a text editor leaves grid lines whose trailing blanks it trimmed.
        row("short lines padded with blanks", u"[]S_\r\n[]\r\n\r\n"_s,
            "01_[] 33_S_/01_[] 00_  /00_   00_  ");
        row("no chip code", u"[]\r\nZQ\r\n"_s, "", "2行目の「ZQ」はチップコードではありません。");
        row("too wide", QString(50, u' '), "", size);
        row("too high", u"[]\n"_s.repeated(17), "", size);
        row("empty", QString(), "", "クリップボードにマスがありません。");
    }
    void textForm()
    {
        QFETCH(QString, text);
        QString refusal;
        const std::optional<CellBlock> block = BlockClipboard::fromText(text, &refusal);
        QTEST(refusal, "refusal");
        QStringList rows;
        for (int y = 0; block && y < block->height(); ++y) {
            QStringList row;
            for (int x = 0; x < block->width(); ++x)
                row << block->cell(x, y);
            rows << row.join(u' ');
        }
        QTEST(rows.join(u'/'), "cells");
        // What goes in comes out as a floor file's grid lines.
        if (block)
            QCOMPARE(BlockClipboard::fromText(BlockClipboard::toText(*block), nullptr), block);
    }

    void cellsFormKeepsEverything_data()
    {
        QTest::addColumn<int>("cutBytes");
        QTest::newRow("whole") << 0;
        QTest::newRow("cut short") << 9;
    }
    void cellsFormKeepsEverything()
    {
        QFETCH(int, cutBytes);
        MapData map = pairedMap();
        for (int x = 1; x <= MapData::Width; ++x)
            map.setCell(x, 16, 1, CellString::make(16, u"+%1"_s.arg(QChar(u'A' + x))));
        const CellBlock floor = CellBlock::extract(map, 1, CellBlock::board());
        QByteArray bytes = BlockClipboard::toCells(floor);
        bytes.chop(cutBytes);
        const std::optional<CellBlock> back = BlockClipboard::fromCells(bytes);
        QCOMPARE(back.has_value(), cutBytes == 0);
        if (!back)
            return;
        QCOMPARE(*back, floor);
        QCOMPARE(back->pairs().size(), 2);
        // A whole floor's text is the floor file's first 16 lines.
        const QByteArray file = MapFileWriter::encodeFloor(map, 1).bytes;
        QString gridLines;
        QVERIFY(ShiftJis::decode(file.left(16 * (2 * MapData::Width + 2)), gridLines));
        QCOMPARE(BlockClipboard::toText(*back), gridLines);
    }

    void cellsFormRefusesBadCells_data()
    {
        QTest::addColumn<QString>("cell"); // put in the middle of a 3 x 2 block
        QTest::addColumn<bool>("pasted");
        QTest::newRow("a chip as read") << u"33_S_"_s << true;
        QTest::newRow("blank") << u"00_  "_s << true;
        QTest::newRow("line break as its code") << u"00_\r\n"_s << false;
        QTest::newRow("line break, read as chip 1") << u"01_\r\n"_s << false;
        QTest::newRow("no such chip") << u"99_[]"_s << false;
        QTest::newRow("chip index the code is not read as") << u"02_[]"_s << false;
        QTest::newRow("not in code page 932") << u"01_[\u00e9"_s << false;
        QTest::newRow("read back as another character") << u"01_[\u301c"_s << false;
        // What the reader takes from a grid line pastes back as it is.
        QTest::newRow("control code, as read") << u"01_\t["_s << true;
        QTest::newRow("delete code, as read") << u"01_[\u007f"_s << true;
        QTest::newRow("short") << u"01_["_s << false;
    }

    // A block of our own form whose cell a floor file cannot hold as it is is refused whole,
    // even with good text beside it, instead of pasting what would save as broken lines.
    void cellsFormRefusesBadCells()
    {
        QFETCH(QString, cell);
        QFETCH(bool, pasted);
        CellBlock block(3, 2);
        for (int i = 0; i < 6; ++i)
            block.setCell(i % 3, i / 3, CellString::defaultChip());
        block.setCell(1, 1, cell);
        QMimeData data;
        data.setData(BlockClipboard::cellsType(), BlockClipboard::toCells(block));
        data.setText(u"[][][]\r\n[][][]\r\n"_s);
        QString refusal;
        const std::optional<CellBlock> back = BlockClipboard::fromMimeData(&data, &refusal);
        QCOMPARE(back.has_value(), pasted);
        QCOMPARE(refusal,
                 pasted
                     ? QString()
                     : u"貼り付けできません：2行目の左から2マス目は、マップに置けないマスです。"_s);
        if (back)
            QCOMPARE(*back, block);
    }
};

QTEST_APPLESS_MAIN(TestCellBlock)
#include "tst_cellblock.moc"
