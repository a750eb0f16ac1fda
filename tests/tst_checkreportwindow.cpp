#include "dialogs/checkreportwindow.h"
#include "editorfixture.h"
#include "mapfiletestmaps.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList FirstReport =
    u"【Error】ふりだしがありません。|あがりの数は正常です。|"
    u"ワープの設定は正常です。|---------------------------------------------|"
    u"このマップをクリアすることは不可能です。"_s.split(u'|');

const QStringList SecondReport =
    u"ふりだしの数は正常です。|あがりの数は正常です。|ワープ[A]は機能していません。|"
    u"あがりまでの道は、きちんとつながっています。|---------------------------------------------|"
    u"このマップに、特に重大な問題は見つかりませんでした。"_s.split(u'|');

} // namespace

class TestCheckReportWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsReportBesideItsParent()
    {
        QWidget main;
        main.show();
        auto *window = new CheckReportWindow(&main);
        window->showReport(FirstReport);

        QVERIFY(window->isVisible());
        QVERIFY(window->isWindow());
        QCOMPARE(window->windowModality(), Qt::NonModal);
        QCOMPARE(window->windowTitle(), u"マップチェックの結果報告"_s);
        QCOMPARE(window->lines(), FirstReport);
        QCOMPARE(window->list()->count(), FirstReport.size());
        QVERIFY(main.isEnabled());
    }

    void secondReportReplacesFirst()
    {
        QWidget main;
        auto *window = new CheckReportWindow(&main);
        window->showReport(FirstReport);
        window->list()->setCurrentRow(2);
        window->showReport(SecondReport);

        QCOMPARE(window->lines(), SecondReport);
        window->showReport(FirstReport);
        QCOMPARE(window->lines(), FirstReport);
    }

    // The list fills the window, whatever its size: no band of empty window below it.
    void listFollowsWindowSize_data()
    {
        QTest::addColumn<QSize>("windowSize"); // none: as first shown
        QTest::addColumn<QSize>("grownBy");    // then, by the window's edge

        const QSize kept(0, 0);
        QTest::newRow("first shown") << QSize() << kept;
        QTest::newRow("enlarged") << QSize(640, 480) << kept;
        QTest::newRow("shrunk") << QSize(120, 90) << kept;
        QTest::newRow("tiny") << QSize(8, 8) << kept;
        QTest::newRow("grown by the same amounts") << QSize() << QSize(150, 80);
    }

    void listFollowsWindowSize()
    {
        QFETCH(QSize, windowSize);
        QFETCH(QSize, grownBy);

        QWidget main;
        auto *window = new CheckReportWindow(&main);
        window->showReport(FirstReport);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (windowSize.isValid())
            window->resize(windowSize);
        else
            QVERIFY(window->width() >= 367 && window->height() >= 217); // 5505 x 3255 twips
        const QSize before = window->list()->size();
        window->resize(window->size() + grownBy);
        QCOMPARE(window->list()->size(), before + grownBy);

        QCOMPARE(window->list()->geometry(), window->rect());
    }

    // The owner learns through its QPointer that the next check needs a new window.
    void closedWindowIsGone()
    {
        QWidget main;
        QPointer<CheckReportWindow> window = new CheckReportWindow(&main);
        window->showReport(FirstReport);
        QVERIFY(window->close());
        QTRY_VERIFY(window.isNull());

        window = new CheckReportWindow(&main);
        window->showReport(SecondReport);
        QCOMPARE(window->lines(), SecondReport);
    }

    void doubleClickLeadsToCell_data()
    {
        QTest::addColumn<QString>("linePart");
        QTest::addColumn<int>("floor");
        QTest::addColumn<QString>("position"); // empty: the line names no cell
        QTest::addColumn<QPoint>("flashing");
        QTest::addColumn<QString>("change"); // of the map after the check: "", edit, new, open
        QTest::newRow("warp cell on floor 2")
            << u"2階(5,6)"_s << 2 << u"2階(5,6)"_s << QPoint(5, 6) << QString();
        QTest::newRow("pair exit leads to the destination")
            << u"の出口"_s << 1 << u"1階(9,9)"_s << QPoint(9, 9) << QString();
        QTest::newRow("line without a place")
            << u"あがりがありません"_s << 1 << QString() << QPoint() << QString();
        // A report of the map as it was leads nowhere; one of another map closes.
        for (const char *change : {"edit", "new", "open"})
            QTest::addRow("%s after %s", *change == 'e' ? "stale" : "closed", change)
                << u"2階(5,6)"_s << 1 << QString() << QPoint() << QString::fromLatin1(change);
    }

    void doubleClickLeadsToCell()
    {
        QFETCH(QString, linePart);
        EditorFixture editor;
        editor.show();
        MapData map = demoMap();
        map.setWarp(2, {5, 6, 2, 9, 9, 1}); // its exit is an empty cell
        editor.session.takeLoadedMap(map);
        editor.window.checkMap();
        QPointer<CheckReportWindow> report = editor.window.checkReport();
        QVERIFY(report);
        QFETCH(QString, change);
        if (change == QLatin1String("edit"))
            QVERIFY(editor.play(u"c:20,16,L"_s));
        else if (change == QLatin1String("new"))
            editor.session.resetMap();
        else if (change == QLatin1String("open"))
            editor.session.takeLoadedMap(castleMap());
        if (change == QLatin1String("new") || change == QLatin1String("open")) {
            QTRY_VERIFY(report.isNull());
            return;
        }
        editor.session.status().setPosition(QString());

        QListWidget *list = report->list();
        const QList<QListWidgetItem *> items = list->findItems(linePart, Qt::MatchContains);
        QVERIFY(!items.isEmpty());
        const QPoint centre = list->visualItemRect(items.first()).center();
        // A double click is a press, a release and a second press read as a double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);

        QTEST(editor.session.currentFloor(), "floor");
        QTEST(editor.window.findChild<QLabel *>(u"positionPanel"_s)->text(), "position");
        QTEST(editor.window.board()->flashingCell(), "flashing");
        QVERIFY(report->isVisible());
        QCOMPARE(editor.window.findChild<QLabel *>(u"statusPanel"_s)
                     ->text()
                     .startsWith(u"マップが変更されています。"_s),
                 !change.isEmpty());
    }
};

QTEST_MAIN(TestCheckReportWindow)
#include "tst_checkreportwindow.moc"
