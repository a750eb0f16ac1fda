#include "editorfixture.h"
#include "filetestkit.h"

#include "dialogs/comparewindow.h"
#include "mainwindow/compareactions.h"

#include <QDir>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

// マップ → 比較 in the window: the lines follow edits, a double click leads to the cell,
// and closing the window takes the outlines off the board.
class TestCompareWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linesLeadToCellsUntilClosed()
    {
        EditorFixture editor;
        editor.descriptions.load(QStringLiteral(QZK_SOURCE_DATA "/Tavolin.dat"));
        editor.show();
        QVERIFY(editor.files.loadMap(meadowBase() + u".map"_s).ok());
        CompareActions *actions = editor.window.compareActions();
        actions->compareWithMapFile(meadowBase() + u".map"_s);
        QPointer<CompareWindow> window = actions->compareWindow();
        QVERIFY(window);
        QCOMPARE(window->lines(), QStringList{CompareWindow::sameText()});

        editor.document.layChip(3, 11, 1, u"01_[]"_s);
        editor.document.layChip(5, 5, 2, u"01_[]"_s);
        QCOMPARE(window->lines(), (QStringList{u"1階(3,11)：回復：ライフが1つ回復する → 普通の道"_s,
                                               u"2階(5,5)：何もないマス（空白） → 普通の道"_s}));
        QVERIFY(window->windowTitle().contains(u"（違い 2件）"_s));
        QCOMPARE(editor.session.comparison().markedOn(2), QVector<QPoint>{QPoint(5, 5)});

        QListView *list = window->list();
        const QRect line = list->visualRect(list->model()->index(1, 0));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // The press of the double click's first click chooses the line it lands on.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
        QCOMPARE(editor.session.currentFloor(), 2);
        QCOMPARE(editor.window.board()->flashingCell(), QPoint(5, 5));

        window->close();
        QTRY_VERIFY(!window);
        QVERIFY(!editor.session.comparison().isActive());
        QVERIFY(editor.session.comparison().markedOn(2).isEmpty());
    }

    void unsavedMapHasNoSavedFiles()
    {
        EditorFixture editor;
        editor.window.compareActions()->compareWithSaved();
        QCOMPARE(editor.prompter.messages,
                 QStringList{u"Q:zKエディタ|このマップはまだ保存されていません。"_s});
        QVERIFY(!editor.window.compareActions()->compareWindow());
    }

    // A new map has neither saved files nor anything to do with the other map.
    void newMapEndsComparison()
    {
        EditorFixture editor;
        editor.show();
        QVERIFY(editor.files.loadMap(meadowBase() + u".map"_s).ok());
        editor.window.compareActions()->compareWithSaved();
        QPointer<CompareWindow> window = editor.window.compareActions()->compareWindow();
        QVERIFY(window);
        editor.prompter.answer = true;
        editor.files.newMap();
        QTRY_VERIFY(!window);
        QVERIFY(!editor.session.comparison().isActive());
    }

    void titleTellsTheMapsApart_data()
    {
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("title");
        QTest::newRow("names differ") << u"a/road.map"_s << u"b/lane.map"_s
                                      << u"マップの比較：lane.map → 編集中のマップ（違い 0件）"_s;
        QTest::newRow("one name in two folders")
            << u"a/road.map"_s << u"b/road.map"_s
            << u"マップの比較：b/road.map → 編集中のマップ a/road.map（違い 0件）"_s;
        QTest::newRow("folders of one name too")
            << u"x/maps/road.map"_s << u"y/maps/road.map"_s
            << u"マップの比較：y/maps/road.map → 編集中のマップ x/maps/road.map（違い 0件）"_s;
    }

    void titleTellsTheMapsApart()
    {
        QFETCH(QString, edited);
        QFETCH(QString, other);
        QTemporaryDir dir;
        for (const QString &map : {edited, other}) {
            QVERIFY(QDir(dir.path()).mkpath(QFileInfo(map).path()));
            QVERIFY(QFile::copy(meadowBase() + u".map"_s, dir.filePath(map)));
            QVERIFY(QFile::copy(meadowBase() + u"_2.map"_s,
                                dir.filePath(map).replace(u".map"_s, u"_2.map"_s)));
        }
        EditorFixture editor;
        QVERIFY(editor.files.loadMap(dir.filePath(edited)).ok());
        CompareActions *actions = editor.window.compareActions();
        actions->compareWithMapFile(dir.filePath(other));
        QPointer<CompareWindow> window = actions->compareWindow();
        QVERIFY(window);
        QFETCH(QString, title);
        QCOMPARE(window->windowTitle(), QDir::toNativeSeparators(title));
    }
};

QTEST_MAIN(TestCompareWindow)
#include "tst_comparewindow.moc"
