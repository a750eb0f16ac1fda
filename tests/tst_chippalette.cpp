#include "codepage932bytes.h"
#include "model/cellstring.h"
#include "model/codetables.h"
#include "session/chippalettemodel.h"
#include "session/editorsession.h"
#include "sessionscript.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Palette : SessionFixture
{
    ChipPaletteModel model{session};

    Palette()
    {
        QString file;
        for (int k = 0; k < 49; ++k)
            file += k == 16   ? u"\"?マス進む\"\r\n"_s
                    : k == 30 ? u"\"?と?\"\r\n"_s
                              : u"chip%1\r\n"_s.arg(k);
        descriptions.parse(codePage932Bytes(file));
    }
};

// Applies "pick:N", "type:TEXT" (the whole box text), "key:C" (one more character typed
// at the end), "step:N" (step button), "arrow:+1"/"arrow:-1" and "move:DX,DY" (the
// arrow keys in the grid) in order; any other step is the session script's.
[[nodiscard]] bool run(Palette &palette, const QString &actions)
{
    for (const QString &action : actions.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype colon = action.indexOf(u':');
        const QString verb = action.left(colon);
        const QString arg = action.mid(colon + 1);
        if (verb == u"pick")
            palette.model.pick(arg.toInt());
        else if (verb == u"type")
            palette.model.setValueText(arg == u"<empty>" ? QString() : arg);
        else if (verb == u"key")
            palette.model.setValueText(palette.model.valueText() + arg);
        else if (verb == u"step")
            palette.model.step(arg.toInt());
        else if (verb == u"arrow")
            palette.model.stepBy(arg.toInt());
        else if (verb == u"move")
            palette.model.moveBy(arg.section(u',', 0, 0).toInt(), arg.section(u',', 1).toInt());
        else if (!palette.play(action))
            return false;
    }
    return true;
}

} // namespace

class TestChipPalette : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void normalisation_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("chip");

        const auto row = [](const char *name, const char *actions, const char *box, bool enabled,
                            const char *chip) {
            QTest::newRow(name) << QString::fromUtf8(actions) << QString::fromUtf8(box) << enabled
                                << QString::fromUtf8(chip);
        };
        row("pick 16 proposes 7", "pick:16", "7", true, "16_+7");
        row("pick 24 proposes 7", "pick:24", "7", true, "24_-7");
        row("pick 30 proposes 2", "pick:30", "2", true, "30_t2");
        row("pick 32 proposes 1", "pick:32", "1", true, "32_g1");
        row("10 is A", "pick:16 type:10", "10", true, "16_+A");
        row("50 becomes 35", "pick:16 type:50", "35", true, "16_+Z");
        row("70 becomes 100", "pick:16 type:70", "100", true, "16_+!");
        row("111 becomes 100", "pick:16 type:111", "100", true, "16_+!");
        row("500 becomes 999", "pick:16 type:500", "999", true, "16_+$");
        row("abc becomes 0", "pick:16 type:abc", "0", true, "16_+0");
        row("-3 becomes 0", "pick:16 type:-3", "0", true, "16_+0");
        row("empty box becomes 0", "pick:30 type:<empty>", "0", true, "30_t0");
        row("3 becomes 7 for chip 16", "pick:16 type:3", "7", true, "16_+7");
        row("3 becomes 7 for chip 24", "pick:24 type:3", "7", true, "24_-7");
        row("3 stays for chip 30", "pick:30 type:3", "3", true, "30_t3");
        row("trailing letters keep the number", "pick:32 type:12abc", "12abc", true, "32_gC");
        row("typed 5 turns into 7 at once", "pick:16 type:<empty> key:5", "7", true, "16_+7");
        row("typing digit by digit", "pick:30 type:0 key:2 key:5", "025", true, "30_tP");
        row("fourth digit jumps to 999", "pick:30 type:0 key:2 key:5 key:0", "999", true, "30_t$");
        row("+5 from 32", "pick:32 type:32 step:2", "35", true, "32_gZ");
        row("-5 from 100", "pick:16 type:100 step:1", "100", true, "16_+!");
        row("-10 from 100", "pick:16 type:100 step:3", "100", true, "16_+!");
        row("+10 from 100", "pick:16 type:100 step:4", "100", true, "16_+!");
        row("-10 from 999", "pick:16 type:999 step:3", "999", true, "16_+$");
        row("-5 from 0", "pick:30 type:0 step:1", "0", true, "30_t0");
        row("-5 from 4", "pick:30 type:4 step:1", "0", true, "30_t0");
        row("button 0 from 999", "pick:16 type:999 step:5", "0", true, "16_+0");
        row("button 35", "pick:24 step:6", "35", true, "24_-Z");
        row("button 100", "pick:30 step:7", "100", true, "30_t!");
        row("button 999", "pick:30 step:8", "999", true, "30_t$");
        row("arrow up from 100 stays", "pick:16 type:100 arrow:+1", "100", true, "16_+!");
        row("arrow down from 999 stays", "pick:16 type:999 arrow:-1", "999", true, "16_+$");
        row("arrow down from 0 stays", "pick:30 type:0 arrow:-1", "0", true, "30_t0");
        row("arrow up from 35 goes to 35", "pick:30 type:35 arrow:+1", "35", true, "30_tZ");
        row("arrow down from 7 to 6 then 7", "pick:16 arrow:-1", "7", true, "16_+7");
        row("each pick proposes its value", "pick:32 pick:16", "7", true, "16_+7");
        row("plain chip keeps the box text", "pick:16 type:20 pick:1", "20", false, "01_[]");
        row("plain chip has no number", "pick:30 type:9 pick:38", "9", false, "38_W2");
        row("eraser", "pick:48", "7", false, "00_  ");
        row("cell 33 is the start", "pick:33", "7", false, "33_S_");
        row("keys: right and down through the grid", "pick:7 move:1,0 move:0,1", "7", true,
            "16_+7");
        row("keys: right stops at the row's end", "pick:8 move:1,0", "7", false, "08_PA");
        row("keys: left from a row's start stays", "pick:9 move:-1,0 move:0,-1", "7", false,
            "01_[]");
        row("keys: down to the eraser", "pick:40 move:0,1 move:0,1", "7", false, "00_  ");
        row("keys: up from the eraser", "pick:48 move:0,-1 move:0,-1", "1", true, "32_g1");
        // The chip picked up from the board, here an empty cell, keeps the box as it was.
        row("board pick leaves the box enabled", "pick:16 c:4,4,R", "7", true, "00_  ");
        row("board pick, then typed", "pick:16 c:4,4,R type:50", "35", true, "00_  ");
    }

    void normalisation()
    {
        QFETCH(QString, actions);
        QFETCH(QString, chip);
        Palette palette;
        QVERIFY(run(palette, actions));
        QTEST(palette.model.valueText(), "box");
        QTEST(palette.model.parameterEnabled(), "enabled");
        QCOMPARE(palette.session.choices().chip(), chip);
        QCOMPARE(palette.session.choices().sampleCode(), chip.right(2));
    }

    void stepCaptions()
    {
        QStringList captions;
        for (int button = 1; button <= 8; ++button)
            captions << ChipPaletteModel::stepCaption(button);
        QCOMPARE(captions.join(u' '), u"-5 +5 -10 +10 0 35 100 999"_s);
    }

    void parameterCharacters_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("character");
        QTest::newRow("0") << 0.0 << u"0"_s;
        QTest::newRow("9") << 9.0 << u"9"_s;
        QTest::newRow("10") << 10.0 << u"A"_s;
        QTest::newRow("35") << 35.0 << u"Z"_s;
        QTest::newRow("100") << 100.0 << u"!"_s;
        QTest::newRow("999") << 999.0 << u"$"_s;
        QTest::newRow("36 has none") << 36.0 << QString();
        QTest::newRow("-1 has none") << -1.0 << QString();
        QTest::newRow("2.4 rounds to 2") << 2.4 << u"2"_s;
    }

    void parameterCharacters()
    {
        QFETCH(double, value);
        QTEST(ChipPaletteModel::parameterCharacter(value), "character");
    }

    void valueOfNumberedCell_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("value");
        // Each numbered chip in turn carries each parameter character.
        const int numbered[] = {16, 24, 30, 32};
        const QString digits = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"_s;
        QList<QPair<QChar, QString>> characters = {{u'!', u"100"_s}, {u'$', u"999"_s}};
        for (int i = 0; i < digits.size(); ++i)
            characters.append({digits[i], QString::number(i)});
        for (qsizetype i = 0; i < characters.size(); ++i) {
            const int chip = numbered[i % 4];
            const QString cell =
                CellString::make(chip, CodeTables::chipCode(chip).left(1) + characters[i].first);
            QTest::addRow("%s", qPrintable(cell)) << cell << characters[i].second;
        }
        QTest::newRow("plain road") << CellString::defaultChip() << QString();
        QTest::newRow("empty cell") << CellString::empty() << QString();
        QTest::newRow("no value character") << u"16_+?"_s << QString();
    }

    void valueOfNumberedCell()
    {
        QFETCH(QString, cell);
        QTEST(ChipPaletteModel::valueTextOf(cell), "value");
    }

    void descriptionFillsFirstMark()
    {
        Palette palette;
        QVERIFY(run(palette, u"pick:16 type:12"_s));
        QCOMPARE(palette.model.description(), u"12マス進む"_s);
        QVERIFY(run(palette, u"pick:30 type:abc"_s));
        QCOMPARE(palette.model.description(), u"0と?"_s);
        QVERIFY(run(palette, u"pick:48"_s));
        QCOMPARE(palette.model.description(), u"chip0"_s);
    }

    // What a screen reader says of each palette chip: its number is the one it would be laid
    // with, the value box's for the chosen chip only.
    void cellNames_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QString>("name");

        QTest::newRow("plain chip") << QString() << 2 << u"chip2"_s;
        QTest::newRow("numbered chip, its proposed number") << QString() << 16 << u"7マス進む"_s;
        QTest::newRow("chosen, the box's number") << u"pick:16 type:12"_s << 16 << u"12マス進む"_s;
        QTest::newRow("another numbered chip keeps its own")
            << u"pick:16 type:12"_s << 30 << u"2と?"_s;
        QTest::newRow("no longer chosen") << u"pick:16 type:12 pick:2"_s << 16 << u"7マス進む"_s;
        QTest::newRow("eraser") << QString() << 48 << u"chip0"_s;
    }

    void cellNames()
    {
        QFETCH(QString, actions);
        QFETCH(int, cell);
        Palette palette;
        QVERIFY(run(palette, actions));
        QTEST(palette.model.cellDescription(cell), "name");
    }

    void newPaletteStartsDisabled()
    {
        Palette palette;
        QVERIFY(run(palette, u"pick:16 type:10"_s));
        QCOMPARE(palette.session.choices().chip(), u"16_+A"_s);
        ChipPaletteModel later(palette.session);
        QCOMPARE(later.valueText(), u"7"_s);
        QVERIFY(!later.parameterEnabled());
        QCOMPARE(later.description(), u"7マス進む"_s);
        QCOMPARE(palette.session.choices().chip(), u"16_+A"_s);
    }
};

QTEST_APPLESS_MAIN(TestChipPalette)
#include "tst_chippalette.moc"
