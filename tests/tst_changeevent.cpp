#include "editorfixture.h"
#include "sessionscript.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// A tool the editor does not have: each click lays one fixed chip.
class StampTool : public BoardTool
{
public:
    using BoardTool::BoardTool;
    bool isOn() const override { return mOn; }
    void setOn(bool on) override
    {
        mOn = on;
        Q_EMIT stateChanged();
    }
    void press(QPoint cell, Qt::MouseButton) override
    {
        mContext.document().layChip(cell.x(), cell.y(), mContext.floor(), u"16_+7"_s);
    }

private:
    bool mOn = false;
};

} // namespace

class TestChangeEvent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyViewFollowsAnEdit_data();
    void everyViewFollowsAnEdit();
    void nothingToReplayLeavesTheTools_data();
    void nothingToReplayLeavesTheTools();
    void selectionComesBackWithItsStep_data();
    void selectionComesBackWithItsStep();
    void registeredToolIsEverywhere();
};

void TestChangeEvent::everyViewFollowsAnEdit_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QString>("shown"); // the chip cell (x, y) of floor 1 holds afterwards

    const QPoint c(3, 2);
    QTest::newRow("brush") << u"chip:01_[]"_s << u"p:3,2,L r:3,2"_s << c << u"01_[]"_s;
    QTest::newRow("brush stroke") << u"chip:01_[]"_s << u"p:1,2,L d:3,2 r:3,2"_s << c << u"01_[]"_s;
    QTest::newRow("line") << u"chip:01_[] tool:line"_s << u"c:1,2,L c:5,2,L"_s << c << u"01_[]"_s;
    QTest::newRow("fill") << u"chip:01_[] tool:fill"_s << u"c:3,2,L"_s << c << u"01_[]"_s;
    QTest::newRow("rectangle") << u"chip:01_[] tool:rectangle"_s << u"p:2,1,L d:4,3 r:4,3"_s << c
                               << u"01_[]"_s;
    QTest::newRow("paste") << u"chip:16_+7 c:1,1,L tool:selection p:1,1,L d:2,1 r:2,1 copypaste"_s
                           << u"h:3,2 c:3,2,L"_s << c << u"16_+7"_s;
    QTest::newRow("move") << u"chip:16_+7 c:1,1,L tool:selection p:1,1,L d:2,1 r:2,1"_s
                          << u"p:1,1,L d:3,2 r:3,2"_s << c << u"16_+7"_s;
    QTest::newRow("replace") << u"chip:16_+7 c:3,2,L"_s << u"replace:16_+7,01_[]"_s << c
                             << u"01_[]"_s;
    QTest::newRow("undo") << u"chip:16_+7 c:3,2,L chip:01_[] c:3,2,L"_s << u"undo"_s << c
                          << u"16_+7"_s;
    QTest::newRow("redo") << u"chip:16_+7 c:3,2,L undo"_s << u"redo"_s << c << u"16_+7"_s;
    QTest::newRow("undo on another floor")
        << u"addfloor floor:2 chip:16_+7 c:3,2,L floor:1"_s << u"undo"_s << c << u"00_  "_s;
}

void TestChangeEvent::everyViewFollowsAnEdit()
{
    QFETCH(QString, before);
    QFETCH(QString, edit);
    QFETCH(QPoint, cell);
    EditorFixture editor;
    editor.show();
    QVERIFY(play(editor.session, before));
    editor.session.checks().run();
    QVERIFY(editor.session.checks().hasResult());
    QSignalSpy changes(&editor.document, &MapDocument::mapChanged);

    QVERIFY(play(editor.session, edit));

    QVERIFY(!changes.isEmpty());
    QTEST(editor.session.map().cell(cell.x(), cell.y(), 1), "shown");
    // The board shows what a board drawn afresh shows.
    const CellComposer composer(editor.pictures);
    BoardView fresh(editor.session, composer);
    for (int x = 1; x <= MapData::Width; ++x)
        for (int y = 1; y <= MapData::Height; ++y)
            QVERIFY2(editor.window.board()->cellImage(x, y) == fresh.cellImage(x, y),
                     qPrintable(u"(%1,%2)"_s.arg(x).arg(y)));
    // A check result speaks of the map as it was.
    QVERIFY(!editor.session.checks().hasResult());
}

void TestChangeEvent::nothingToReplayLeavesTheTools_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("replay");
    QTest::addColumn<QString>("after"); // a click that must paint
    QTest::newRow("undo with an empty history") << u"chip:01_[]"_s << u"undo"_s << u"c:4,4,L"_s;
    QTest::newRow("redo with nothing undone")
        << u"chip:01_[] c:1,1,L"_s << u"redo"_s << u"c:4,4,L"_s;
    // The move's step handed its selection back; the user then switched the tool off.
    QTest::newRow("undo past the first step") << u"chip:16_+7 c:1,1,L tool:selection p:1,1,L d:2,1 "
                                                 u"r:2,1 p:1,1,L d:1,3 r:1,3 undo undo chip:01_[] "
                                                 u"tool:selection"_s
                                              << u"undo"_s << u"c:4,4,L"_s;
}

void TestChangeEvent::nothingToReplayLeavesTheTools()
{
    QFETCH(QString, before);
    SessionFixture fixture;
    QVERIFY(fixture.play(before));
    const QRect selection = fixture.session.tools().selection().selection();
    const bool selecting = fixture.session.tools().selection().isOn();
    QSignalSpy changes(&fixture.document, &MapDocument::mapChanged);

    QFETCH(QString, replay);
    QVERIFY(fixture.play(replay));

    QVERIFY(changes.isEmpty());
    QCOMPARE(fixture.session.tools().selection().selection(), selection);
    QCOMPARE(fixture.session.tools().selection().isOn(), selecting);
    QFETCH(QString, after);
    QVERIFY(fixture.play(after));
    QCOMPARE(fixture.session.map().cell(4, 4, 1), u"01_[]"_s);
}

void TestChangeEvent::selectionComesBackWithItsStep_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QRect>("undone");
    QTest::addColumn<QRect>("redone");
    const QString selected = u"chip:16_+7 c:1,1,L c:2,1,L tool:selection p:1,1,L d:2,1 r:2,1 "_s;
    QTest::newRow("move") << selected + u"p:1,1,L d:3,3 r:3,3"_s << QRect(1, 1, 2, 1)
                          << QRect(3, 3, 2, 1);
    QTest::newRow("turn") << selected + u"turn:R"_s << QRect(1, 1, 2, 1) << QRect(1, 1, 1, 2);
    QTest::newRow("delete") << selected + u"del"_s << QRect(1, 1, 2, 1) << QRect(1, 1, 2, 1);
    QTest::newRow("brush stroke without a selection")
        << u"chip:16_+7 c:1,1,L"_s << QRect() << QRect();
}

void TestChangeEvent::selectionComesBackWithItsStep()
{
    SessionFixture fixture;
    QFETCH(QString, steps);
    QVERIFY(fixture.play(steps));
    const SelectionTool &selection = fixture.session.tools().selection();

    QVERIFY(fixture.play(u"undo"_s));
    QTEST(selection.selection(), "undone");
    QCOMPARE(selection.isOn(), !selection.selection().isEmpty());
    QVERIFY(fixture.play(u"redo"_s));
    QTEST(selection.selection(), "redone");
}

void TestChangeEvent::registeredToolIsEverywhere()
{
    std::unique_ptr<StampTool> stamp;
    EditorFixture editor([&stamp](EditorSession &session) {
        stamp = std::make_unique<StampTool>(session.choices());
        session.tools().registerTool(*stamp, {u"stamp"_s,
                                              u"スタンプ(&Z)"_s,
                                              QString(),
                                              u"一つのチップを押します"_s,
                                              QKeySequence(Qt::Key_F10),
                                              {EditModes::ChipMode}});
    });
    editor.show();

    auto *action = editor.window.findChild<QAction *>(u"stampTool"_s);
    QVERIFY(action);
    QVERIFY(editor.window.menuBar()->actions().at(1)->menu()->actions().contains(action));
    auto *button = editor.window.findChild<QToolButton *>(u"stampToolButton"_s);
    QVERIFY(button);
    QVERIFY(button->isVisible());
    QVERIFY(play(editor.session, u"tool:line tool:stamp c:5,5,L"_s));
    QCOMPARE(editor.session.map().cell(5, 5, 1), u"16_+7"_s);
    QVERIFY(button->isChecked());
    QVERIFY(!editor.session.tools().line().isOn());
    QVERIFY(play(editor.session, u"mode:3"_s));
    QVERIFY(!button->isVisible());
    QVERIFY(!action->isEnabled());
}

QTEST_MAIN(TestChangeEvent)
#include "tst_changeevent.moc"
