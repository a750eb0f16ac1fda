#include "model/codepage932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t Mark = u'\u30FB';

} // namespace

class TestCodePage932 : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("replaced");

        QTest::newRow("control codes kept")
            << QByteArray("\x1A\x1C\x7F\x00", 4) << u"\x1A\x1C\x7F"_s + QChar(u'\0') << 0;
        QTest::newRow("0x5C 0x7E are backslash and tilde")
            << QByteArray("\x5C\x7E") << u"\\~"_s << 0;
        QTest::newRow("half-width kana ends") << QByteArray("\xA1\xDF") << u"\uFF61\uFF9F"_s << 0;
        QTest::newRow("first lead, first trail") << QByteArray("\x81\x40") << u"\u3000"_s << 0;
        QTest::newRow("trail 0x80") << QByteArray("\x81\x80") << u"\u00F7"_s << 0;
        QTest::newRow("last trail") << QByteArray("\x81\xFC") << u"\u25EF"_s << 0;
        QTest::newRow("full-width backslash") << QByteArray("\x81\x5F") << u"\uFF3C"_s << 0;
        QTest::newRow("trail 0x5C inside a pair") << QByteArray("\x95\x5C") << u"\u8868"_s << 0;
        QTest::newRow("last lead of the first range") << QByteArray("\x9F\xFC") << u"\u6ECC"_s << 0;
        QTest::newRow("first lead of the second range")
            << QByteArray("\xE0\x40") << u"\u6F3E"_s << 0;
        QTest::newRow("row 13") << QByteArray("\x87\x40\x87\x90") << u"\u2460\u2252"_s << 0;
        QTest::newRow("rows 89-92") << QByteArray("\xED\x40\xEE\xF9") << u"\u7E8A\uFFE2"_s << 0;
        QTest::newRow("IBM extensions") << QByteArray("\xFA\x40\xFC\x4B") << u"\u2170\u9ED1"_s << 0;
        QTest::newRow("user-defined area")
            << QByteArray("\xF0\x40\xF9\xFC") << u"\uE000\uE757"_s << 0;
        QTest::newRow("unassigned pair is one sequence")
            << QByteArray("\x85\x40z") << u"\u30FBz"_s << 1;
        QTest::newRow("0x7F is no trail byte") << QByteArray("\x81\x7F") << u"\u30FB\u007F"_s << 1;
        QTest::newRow("lead before a blank keeps it") << QByteArray("\x81 1") << u"\u30FB 1"_s << 1;
        QTest::newRow("lead cut off at the end") << QByteArray("a\x81") << u"a\u30FB"_s << 1;
        QTest::newRow("0x80 0xA0 0xFD-0xFF are no characters")
            << QByteArray("\x80\xA0\xFD\xFE\xFF") << QString(5, QChar(Mark)) << 5;
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);

        QString decoded = u"stale"_s;
        QTEST(int(CodePage932::decode(bytes, decoded, Mark)), "replaced");
        QTEST(decoded, "text");
    }

    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes"); // empty: refused

        QTest::newRow("control codes kept")
            << u"\u001A\u001C\u007F"_s << QByteArray("\x1A\x1C\x7F");
        QTest::newRow("NUL") << QString(QChar(u'\0')) << QByteArray(1, '\0');
        QTest::newRow("yen sign and overline as 0x5C 0x7E")
            << u"\u00A5\u203E"_s << QByteArray("\x5C\x7E");
        QTest::newRow("half-width kana") << u"\uFF61\uFF9F"_s << QByteArray("\xA1\xDF");
        QTest::newRow("JIS forms as their code page 932 look-alikes")
            << u"\u301C\u2212\u2016\u2014\u00A2\u00A3\u00AC"_s
            << QByteArray("\x81\x60\x81\x7C\x81\x61\x81\x5C\x81\x91\x81\x92\x81\xCA");
        // Characters with more than one code take the one Windows writes.
        QTest::newRow("row 2 before row 13") << u"\u2252\u2235"_s << QByteArray("\x81\xE0\x81\xE6");
        QTest::newRow("row 13 numerals before IBM") << u"\u2160"_s << QByteArray("\x87\x54");
        QTest::newRow("IBM before rows 89-92")
            << u"\u2170\u7E8A\u9ED1"_s << QByteArray("\xFA\x40\xFA\x5C\xFC\x4B");
        QTest::newRow("not sign in row 2") << u"\uFFE2"_s << QByteArray("\x81\xCA");
        QTest::newRow("user-defined area") << u"\uE000\uE757"_s << QByteArray("\xF0\x40\xF9\xFC");
        QTest::newRow("accented letter") << u"a\u00E9"_s << QByteArray();
        QTest::newRow("U+0080") << u"\u0080"_s << QByteArray();
        QTest::newRow("Windows' private codes for 0xA0 0xFD") << u"\uF8F0\uF8F1"_s << QByteArray();
        QTest::newRow("private code ICU writes as 0x8782") << u"\uF86F"_s << QByteArray();
        QTest::newRow("surrogate pair") << u"\U0001F600"_s << QByteArray();
        QTest::newRow("lone surrogate") << QString(QChar(u'\xD800')) << QByteArray();
    }
    void encode()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);

        QByteArray encoded("before");
        QCOMPARE(CodePage932::encode(text, encoded), !bytes.isEmpty());
        QCOMPARE(encoded, "before" + bytes);
    }

    void everyCharacterReadsBackAsWritten()
    {
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const char pair[2] = {char(lead), char(trail)};
                QString text;
                if (CodePage932::decode(QByteArrayView(pair, 2), text, Mark) != 0 ||
                    text.size() != 1)
                    continue;
                QByteArray written;
                QVERIFY2(CodePage932::encode(text, written), qPrintable(text));
                QString back;
                QCOMPARE(CodePage932::decode(written, back, Mark), 0);
                QCOMPARE(back, text);
            }
        }
    }

    // Files written before the table came from ICU's "windows-31j", adjusted; where ICU and
    // Windows differ the table follows Windows. Nothing to compare with where Qt has no ICU.
    void agreesWithIcuWhereWindowsDoes()
    {
        if (!QStringDecoder("windows-31j").isValid())
            QSKIP("This Qt has no windows-31j codec");
        const QString lookAlikes = u"\u301C\u2212\u2016\u2014\u00A2\u00A3\u00AC\u00A5\u203E"_s;
        const QString icuOnly = u"\uF86F"_s;
        const QString icuRotated = u"\u001A\u001C\u007F"_s;
        for (char32_t c = 1; c <= 0xFFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const char16_t c16 = char16_t(c);
            const QStringView text(&c16, 1);
            if (lookAlikes.contains(QChar(c16)) || icuOnly.contains(QChar(c16)) ||
                icuRotated.contains(QChar(c16)))
                continue;
            QStringEncoder icu("windows-31j", QStringConverter::Flag::Stateless);
            QByteArray expected = icu.encode(text);
            if (icu.hasError())
                expected.clear();
            QByteArray ours;
            CodePage932::encode(text, ours);
            QVERIFY2(ours == expected, qPrintable(u"U+%1"_s.arg(uint(c), 4, 16, QChar(u'0'))));
        }
        for (int lead = 0x80; lead <= 0xFF; ++lead) {
            for (int trail = -1; trail <= 0xFF; ++trail) {
                const char bytes[2] = {char(lead), char(trail)};
                const QByteArrayView view(bytes, trail < 0 ? 1 : 2);
                QStringDecoder icu("windows-31j", QStringConverter::Flag::Stateless);
                const QString expected = icu.decode(view);
                QString ours;
                const bool valid = CodePage932::decode(view, ours, Mark) == 0;
                QCOMPARE(valid, !icu.hasError());
                if (valid && !icuRotated.contains(ours.back()))
                    QCOMPARE(ours, expected);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCodePage932)
#include "tst_codepage932.moc"
