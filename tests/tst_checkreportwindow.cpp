#include "dialogs/checkreportwindow.h"
#include "editorfixture.h"
#include "mapfiletestmaps.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTest>

namespace {

const QStringList FirstReport{
    QStringLiteral("【Error】ふりだしがありません。"),
    QStringLiteral("あがりの数は正常です。"),
    QStringLiteral("ワープの設定は正常です。"),
    QStringLiteral("---------------------------------------------"),
    QStringLiteral("このマップをクリアすることは不可能です。"),
};

const QStringList SecondReport{
    QStringLiteral("ふりだしの数は正常です。"),
    QStringLiteral("あがりの数は正常です。"),
    QStringLiteral("ワープ[A]は機能していません。"),
    QStringLiteral("あがりまでの道は、きちんとつながっています。"),
    QStringLiteral("---------------------------------------------"),
    QStringLiteral("このマップに、特に重大な問題は見つかりませんでした。"),
};

} // namespace

class TestCheckReportWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsReportBesideItsParent();
    void secondReportReplacesFirst();
    void listFollowsWindowSize_data();
    void listFollowsWindowSize();
    void enlargingGrowsListBySameAmounts();
    void closedWindowIsGone();
    void doubleClickLeadsToCell_data();
    void doubleClickLeadsToCell();
};

void TestCheckReportWindow::showsReportBesideItsParent()
{
    QWidget main;
    main.show();
    auto *window = new CheckReportWindow(&main);
    window->showReport(FirstReport);

    QVERIFY(window->isVisible());
    QVERIFY(window->isWindow());
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QCOMPARE(window->windowTitle(), QStringLiteral("マップチェックの結果報告"));
    QCOMPARE(window->lines(), FirstReport);
    QCOMPARE(window->list()->count(), FirstReport.size());
    QVERIFY(main.isEnabled());
}

void TestCheckReportWindow::secondReportReplacesFirst()
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
void TestCheckReportWindow::listFollowsWindowSize_data()
{
    QTest::addColumn<QSize>("windowSize");

    QTest::newRow("first shown") << QSize();
    QTest::newRow("enlarged") << QSize(640, 480);
    QTest::newRow("shrunk") << QSize(120, 90);
    QTest::newRow("tiny") << QSize(8, 8);
}

void TestCheckReportWindow::listFollowsWindowSize()
{
    QFETCH(QSize, windowSize);

    QWidget main;
    auto *window = new CheckReportWindow(&main);
    window->showReport(FirstReport);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    if (windowSize.isValid())
        window->resize(windowSize);
    else
        QVERIFY(window->width() >= 367 && window->height() >= 217); // 5505 x 3255 twips

    QCOMPARE(window->list()->geometry(), window->rect());
}

void TestCheckReportWindow::enlargingGrowsListBySameAmounts()
{
    QWidget main;
    auto *window = new CheckReportWindow(&main);
    window->showReport(FirstReport);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QSize before = window->list()->size();
    window->resize(window->size() + QSize(150, 80));
    QCOMPARE(window->list()->size(), before + QSize(150, 80));
}

// The owner learns through its QPointer that the next check needs a new window.
void TestCheckReportWindow::closedWindowIsGone()
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

void TestCheckReportWindow::doubleClickLeadsToCell_data()
{
    QTest::addColumn<QString>("linePart");
    QTest::addColumn<int>("floor");
    QTest::addColumn<QString>("position"); // empty: the line names no cell
    QTest::addColumn<QPoint>("flashing");
    QTest::addColumn<QString>("change"); // of the map after the check: "", edit, new, open
    QTest::newRow("warp cell on floor 2")
        << QStringLiteral("2階(5,6)") << 2 << QStringLiteral("2階(5,6)") << QPoint(5, 6)
        << QString();
    QTest::newRow("pair exit leads to the destination")
        << QStringLiteral("の出口") << 1 << QStringLiteral("1階(9,9)") << QPoint(9, 9) << QString();
    QTest::newRow("line without a place")
        << QStringLiteral("あがりがありません") << 1 << QString() << QPoint() << QString();
    // A report of the map as it was leads nowhere; one of another map closes.
    for (const char *change : {"edit", "new", "open"})
        QTest::addRow("%s after %s", *change == 'e' ? "stale" : "closed", change)
            << QStringLiteral("2階(5,6)") << 1 << QString() << QPoint()
            << QString::fromLatin1(change);
}

void TestCheckReportWindow::doubleClickLeadsToCell()
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
        QVERIFY(editor.play(QStringLiteral("c:20,16,L")));
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
    QTEST(editor.window.findChild<QLabel *>(QStringLiteral("positionPanel"))->text(), "position");
    QTEST(editor.window.board()->flashingCell(), "flashing");
    QVERIFY(report->isVisible());
    QCOMPARE(editor.window.findChild<QLabel *>(QStringLiteral("statusPanel"))
                 ->text()
                 .startsWith(QStringLiteral("マップが変更されています。")),
             !change.isEmpty());
}

QTEST_MAIN(TestCheckReportWindow)
#include "tst_checkreportwindow.moc"
