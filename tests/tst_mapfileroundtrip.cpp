#include "board/mapdiff.h"
#include "mapfile/floortexts.h"
#include "mapfile/mapfilename.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "model/cellstring.h"
#include "model/codetables.h"
#include "model/mapdata.h"

#include "mapfiletestmaps.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Random maps of the kind the editor makes, with texts that survive the format: names and
// backgrounds without "," and not starting with "*", end texts not starting with an empty line.
class MapGenerator
{
public:
    explicit MapGenerator(quint32 seed) : mRandom(seed) {}

    MapData generate()
    {
        MapData map = MapData::resetMap();
        const int floors = between(1, MapData::MaxFloors);
        map.setFloorCount(floors);
        for (int floor = 1; floor <= floors; ++floor) {
            const int density = between(0, 100);
            for (int x = 1; x <= MapData::Width; ++x) {
                for (int y = 1; y <= MapData::Height; ++y) {
                    if (between(1, 100) <= density)
                        map.setCell(x, y, floor, chip());
                    if (between(1, 100) <= 5)
                        map.setBranch(x, y, floor, branchSetting());
                }
            }
            map.setFloorName(floor, between(0, 1) ? text(1, 8, false) : QString());
            map.setFloorBackground(floor,
                                   between(0, 1) ? u"img\\"_s + text(1, 8, false) : QString());
            map.setFloorEndText(floor, endText());
        }
        int defined = 0;
        const int chance = between(0, 100);
        for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
            if (between(1, 100) > chance)
                continue;
            const bool complete = between(1, 10) > 1;
            map.setWarp(pair, {byte(1, 24), byte(1, 16), byte(1, floors), byte(1, 24), byte(1, 16),
                               complete ? byte(1, floors) : std::uint8_t(0)});
            defined += complete;
        }
        return map;
    }

private:
    int between(int low, int high) { return int(mRandom.bounded(low, high + 1)); }
    std::uint8_t byte(int low, int high) { return std::uint8_t(between(low, high)); }

    QString chip()
    {
        static const QStringList unknownCodes{u"ZZ"_s, u"あい"_s, u"Qq"_s};
        if (between(1, 50) == 1)
            return CellString::make(1, unknownCodes.at(between(0, 2)));
        // The palette never lays chip 48, whose blank code reads back as the empty chip.
        const int k = between(0, CodeTables::ChipCount - 2);
        QString code = CodeTables::chipCode(k);
        if (k == 16 || k == 24 || k == 30 || k == 32) {
            static const QString parameters = CodeTables::parameterDigits() + u"!$"_s;
            code[1] = parameters.at(between(0, int(parameters.size()) - 1));
        }
        return CellString::make(k, code);
    }

    QString branchSetting()
    {
        QString setting;
        for (int i = 0; i < 4; ++i)
            setting += QString::number(between(0, 3));
        return setting;
    }

    QString text(int minLength, int maxLength, bool commas)
    {
        static const QString pool = u"あいうえお階段城の間大広ＡＢ１２ー・「」！？～＼ｱｲ"
                                    u"abcXYZ019 _-.()\\*\x1a\x1c\x7f"_s;
        QString result;
        const int length = between(minLength, maxLength);
        while (result.size() < length) {
            const QChar c =
                (commas && between(1, 8) == 1) ? u',' : pool.at(between(0, int(pool.size()) - 1));
            if (result.isEmpty() && !commas && c == u'*')
                continue;
            result += c;
        }
        return result;
    }

    QString endText()
    {
        QStringList lines;
        const int count = between(0, 3);
        for (int i = 0; i < count; ++i)
            lines.append(text(i == 0 ? 1 : 0, 12, true));
        return lines.join(u"\r\n"_s);
    }

    QRandomGenerator mRandom;
};

// What loading gives back for a saved map: the parameterised codes that equal a fixed chip
// take that chip's type, the pairs are numbered in reading order (floor by floor, "*WARP"
// before "*TRANSPORT").
MapData expectedAfterLoad(const MapData &saved)
{
    MapData expected = saved;
    for (int floor = 1; floor <= saved.floorCount(); ++floor) {
        for (int x = 1; x <= MapData::Width; ++x) {
            for (int y = 1; y <= MapData::Height; ++y) {
                const QString cell = saved.cell(x, y, floor);
                const QString code = CellString::code(cell);
                const int k = CellString::chipIndex(cell);
                const int digit = code.at(1).digitValue();
                if ((k == 16 || k == 24) && digit >= 1 && digit <= 6)
                    expected.setCell(x, y, floor, CellString::make(k - 7 + digit, code));
                else if (k == 30 && digit == 1)
                    expected.setCell(x, y, floor, CellString::make(29, code));
            }
        }
    }
    QList<std::pair<int, WarpRecord>> pairs;
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        if (saved.warp(pair).isDefined())
            pairs.append({pair, saved.warp(pair)});
    }
    const auto readingOrder = [](const std::pair<int, WarpRecord> &p) {
        const WarpRecord &w = p.second;
        return std::make_tuple(w.srcFloor, w.srcFloor != w.dstFloor, p.first);
    };
    std::sort(pairs.begin(), pairs.end(),
              [&](const auto &a, const auto &b) { return readingOrder(a) < readingOrder(b); });
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair)
        expected.setWarp(pair, pair <= pairs.size() ? pairs[pair - 1].second : WarpRecord());
    return expected;
}

} // namespace

class TestMapFileRoundTrip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generatedMaps_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 150; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void generatedMaps()
    {
        QFETCH(quint32, seed);
        const MapData saved = MapGenerator(seed).generate();

        QTemporaryDir dir;
        const QString first = dir.filePath(u"first"_s);
        QVERIFY(MapFileWriter::save(saved, first).ok());
        const MapLoadResult loaded = MapFileReader::load(first);
        QVERIFY(loaded.ok());
        QVERIFY(!loaded.warpOverflow);
        const MapData expected = expectedAfterLoad(saved);
        QVERIFY2(loaded.map == expected,
                 qPrintable(MapDiff::compare(expected, loaded.map, {}).lines().join(u'\n')));

        const QString second = dir.filePath(u"second"_s);
        QVERIFY(MapFileWriter::save(loaded.map, second).ok());
        for (int floor = 1; floor <= saved.floorCount(); ++floor) {
            const QByteArray bytes = readFile(MapFileName::floorFilePath(first, floor));
            QVERIFY(bytes.endsWith("\r\n"));
            QCOMPARE(readFile(MapFileName::floorFilePath(second, floor)), bytes);
        }
        QVERIFY(!QFile::exists(MapFileName::floorFilePath(second, saved.floorCount() + 1)));
    }

    void symbolsAsLinuxTypesThem_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("bytes"); // empty: refused
        QTest::addColumn<QString>("readBack");
        QTest::newRow("wave dash") << u"\u301C"_s << QByteArray("\x81\x60") << u"\uFF5E"_s;
        QTest::newRow("minus sign") << u"\u2212"_s << QByteArray("\x81\x7C") << u"\uFF0D"_s;
        QTest::newRow("double vertical line")
            << u"\u2016"_s << QByteArray("\x81\x61") << u"\u2225"_s;
        QTest::newRow("em dash") << u"\u2014"_s << QByteArray("\x81\x5C") << u"\u2015"_s;
        QTest::newRow("cent sign") << u"\u00A2"_s << QByteArray("\x81\x91") << u"\uFFE0"_s;
        QTest::newRow("pound sign") << u"\u00A3"_s << QByteArray("\x81\x92") << u"\uFFE1"_s;
        QTest::newRow("not sign") << u"\u00AC"_s << QByteArray("\x81\xCA") << u"\uFFE2"_s;
        // Code page 932 has no en dash at all.
        QTest::newRow("en dash, no bytes") << u"\u2013"_s << QByteArray() << QString();
    }
    void symbolsAsLinuxTypesThem()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, readBack);
        MapData map = MapData::resetMap();
        const QString name = u"A"_s + typed + u"B"_s;
        map.setFloorName(1, name);

        // The properties dialog lets through exactly what the writer can write.
        const bool storable = !FloorTexts::problem(name, QString(), QString(), false);
        const EncodedFloor encoded = MapFileWriter::encodeFloor(map, 1);
        QCOMPARE(storable, !bytes.isEmpty());
        QCOMPARE(!encoded.fault, !bytes.isEmpty());
        if (bytes.isEmpty())
            return;
        QVERIFY2(encoded.bytes.contains("*NAME\r\nA" + bytes + "B\r\n"),
                 encoded.bytes.toHex(' ').constData());
        const MapLoadResult loaded = MapFileReader::loadFromMemory({encoded.bytes});
        QVERIFY(loaded.ok());
        QCOMPARE(loaded.map.floorName(1), u"A"_s + readBack + u"B"_s);
    }
};

QTEST_GUILESS_MAIN(TestMapFileRoundTrip)
#include "tst_mapfileroundtrip.moc"
