#include "mainwindow/floorcommands.h"
#include "windowtestkit.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

Q_DECLARE_METATYPE(LineTool::State)
Q_DECLARE_METATYPE(WarpLinkTool::Stage)

using namespace Qt::StringLiterals;

namespace {

struct Editor : EditorFixture
{
    Editor() { show(); }

    QToolButton *button(int n) const
    {
        return warpWindow()->findChild<QToolButton *>(u"warpButton%1"_s.arg(n));
    }
    using EditorFixture::clickButton;
    void clickButton(int n) { QTest::mouseClick(button(n), Qt::LeftButton); }
    void answer(const QString &button)
    {
        QTest::mouseClick(warpWindow()->findChild<QPushButton *>(button), Qt::LeftButton);
    }
    QListWidget *pairList() const { return warpWindow()->findChild<QListWidget *>(u"pairList"_s); }
    QStringList rows() const
    {
        QStringList texts;
        for (int i = 0; i < pairList()->count(); ++i)
            texts.append(pairList()->item(i)->text());
        return texts;
    }
    void selectRow(int row)
    {
        QListWidget *list = pairList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    QLabel *label(const QString &name) const { return window.findChild<QLabel *>(name); }
    FloorCommands &floors() { return *window.floorCommands(); }
};

// A highlighted marker hides the cell under it with its cyan background.
bool isHighlighted(QLabel *marker)
{
    return marker->grab().toImage().pixelColor(1, 1) == QColor(Qt::cyan);
}

} // namespace

class TestWarpWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linkAndDeleteWithClicks()
    {
        Editor editor;
        editor.document.layChip(20, 10, 1, u"33_S_"_s); // probes the main window's input
        editor.clickButton(u"modeButton3"_s);
        WarpWindow *window = editor.warpWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), u"ワープの設定"_s);
        QCOMPARE(window->height(), ToolWindowFrame::twipsToPixels(2355 - 300));
        QLabel *sample = editor.label(u"linkingSample"_s);
        QLabel *status = editor.label(u"statusPanel"_s);
        // The end the next click places, as the sample shows it, and the prompt for it.
        const auto prompt = [&] {
            return (sample->isVisible() ? sample->text() : u"-"_s) + u' ' + status->text();
        };
        QVERIFY(!sample->isVisible());
        editor.clickButton(1);
        QCOMPARE(prompt(), u"A ワープ元をクリックして下さい。"_s);
        editor.clickCell(3, 5);
        QCOMPARE(prompt(), u"a ワープ先をクリックして下さい。"_s);
        QVERIFY(editor.marker(1) && editor.marker(1)->isVisible());
        QCOMPARE(editor.marker(1)->text(), u"A"_s);
        QCOMPARE(editor.marker(1)->pos(), BoardPainter::cellRect(3, 5).topLeft());
        editor.clickCell(10, 2);
        QVERIFY(editor.marker(2) && editor.marker(2)->isVisible());
        QCOMPARE(editor.marker(2)->text(), u"a"_s);
        QCOMPARE(editor.marker(2)->pos(), BoardPainter::cellRect(10, 2).topLeft());
        QCOMPARE(editor.rows(), QStringList{u"A：3,5,1-10,2,1"_s});
        QCOMPARE(prompt(), u"B ワープ元をクリックして下さい。"_s);
        editor.clickCell(4, 4);
        editor.clickCell(5, 5);
        QCOMPARE(editor.rows(), (QStringList{u"A：3,5,1-10,2,1"_s, u"B：4,4,1-5,5,1"_s}));
        // Selecting a row highlights exactly its pair's markers.
        editor.selectRow(1);
        for (int index = 1; index <= 4; ++index)
            QCOMPARE(isHighlighted(editor.marker(index)), index >= 3);
        editor.clickButton(3);
        QVERIFY(window->isAskingDeletion());
        auto *question = window->findChild<QLabel *>(u"question"_s);
        QCOMPARE(question->text(), u"ワープ「B」を\r\n削除しますか？"_s);
        QCOMPARE(window->height(), ToolWindowFrame::twipsToPixels(3150 - 300));
        QVERIFY(question->isVisible());
        for (int n = 1; n <= 4; ++n)
            QVERIFY(!editor.button(n)->isEnabled());
        QVERIFY(!editor.pairList()->isEnabled());
        QCOMPARE(QApplication::activeModalWidget(), window);
        QCOMPARE(editor.prompter.beeps, 1);
        // The waiting pair C was given up.
        QCOMPARE(editor.session.tools().warps().stage(), 0);
        QCOMPARE(prompt(), u"- "_s);
        // The main window takes neither mouse nor keys meanwhile (a right click would pick up
        // the chip, F5 would switch to map editing).
        editor.clickCell(20, 10, Qt::RightButton);
        QTest::keyClick(editor.window.windowHandle(), Qt::Key_F5);
        QCoreApplication::processEvents();
        QVERIFY(editor.session.choices().chip() != u"33_S_"_s);
        QCOMPARE(editor.session.editMode(), int(EditorSession::WarpMode));
        editor.answer(u"yesButton"_s);
        QVERIFY(!window->isAskingDeletion());
        QCOMPARE(window->height(), ToolWindowFrame::twipsToPixels(2355 - 300));
        for (int n = 1; n <= 4; ++n)
            QVERIFY(editor.button(n)->isEnabled());
        QVERIFY(editor.pairList()->isEnabled());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(editor.rows(), QStringList{u"A：3,5,1-10,2,1"_s});
        QVERIFY(editor.marker(1) && !editor.marker(3) && !editor.marker(4));
        QCOMPARE(editor.session.map().warpCount(), 1);
        QCOMPARE(editor.session.map().freePairNumbers().first(), u"02"_s);
        QCOMPARE(editor.prompter.beeps, 1);
        QVERIFY(editor.prompter.messages.isEmpty());
        // Usable again.
        editor.clickCell(20, 10, Qt::RightButton);
        QCOMPARE(editor.session.choices().chip(), u"33_S_"_s);
        QTest::keyClick(editor.window.windowHandle(), Qt::Key_F5);
        QTRY_COMPARE(editor.session.editMode(), int(EditorSession::ChipMode));
    }

    void deletionAnsweredNo_data()
    {
        QTest::addColumn<QKeySequence>("pressed"); // while the question is asked
        QTest::newRow("at once") << QKeySequence();
        QTest::newRow("F3 would roll the window up") << QKeySequence(Qt::Key_F3);
        QTest::newRow("F4 would hide it with its question") << QKeySequence(Qt::Key_F4);
        QTest::newRow("F5") << QKeySequence(Qt::Key_F5);
        QTest::newRow("F6") << QKeySequence(Qt::Key_F6);
    }
    void deletionAnsweredNo()
    {
        QFETCH(QKeySequence, pressed);
        Editor editor;
        std::unique_ptr<QWidget> made; // pair A from (3,5) to (10,2), its deletion asked
        QVERIFY(editorWindow(editor, u"削除しますか？"_s, made));
        QPointer<WarpWindow> window = editor.warpWindow();
        if (!pressed.isEmpty()) {
            QTest::keyClick(window, pressed[0].key());
            // Forwarded keys run 10 ms later.
            QTest::qWait(50);
        }
        QVERIFY(window && window->isAskingDeletion());
        QVERIFY(window->isVisible());
        QCOMPARE(editor.session.editMode(), int(EditorSession::WarpMode));
        QCOMPARE(editor.session.toolBox().mode(), int(ToolBoxState::Shown));
        editor.answer(u"noButton"_s);
        QVERIFY(!window->isAskingDeletion());
        QCOMPARE(window->height(), ToolWindowFrame::twipsToPixels(2355 - 300));
        QVERIFY(editor.pairList()->isEnabled());
        QCOMPARE(editor.rows(), QStringList{u"A：3,5,1-10,2,1"_s});
        QVERIFY(editor.marker(1) && editor.marker(2));
        QCOMPARE(editor.session.map().warpCount(), 1);
    }

    void buttonsWithoutUsableRow()
    {
        Editor editor;
        QVERIFY(editor.play(u"mode:3 newpair c:1,1,L c:1,9,L c:2,1,L c:2,9,L c:3,1,L c:3,9,L"_s));
        // Change and delete without a selected row only beep.
        editor.clickButton(2);
        QCOMPARE(editor.prompter.beeps, 1);
        editor.clickButton(3);
        QCOMPARE(editor.prompter.beeps, 2);
        QVERIFY(!editor.warpWindow()->isAskingDeletion());
        editor.selectRow(1);
        editor.clickButton(3);
        editor.answer(u"yesButton"_s);
        QCOMPARE(editor.rows().at(1), u"B：削除"_s);
        // Deleting a deleted pair again is refused.
        editor.selectRow(1);
        const int beeps = editor.prompter.beeps;
        editor.clickButton(3);
        QVERIFY(!editor.warpWindow()->isAskingDeletion());
        QCOMPARE(editor.prompter.beeps, beeps + 1);
        QCOMPARE(editor.session.status().text(), u"既に削除済みです。"_s);
        // Selecting it highlights nothing; changing it links pair B anew.
        for (int index : {1, 2, 5, 6})
            QVERIFY(!isHighlighted(editor.marker(index)));
        editor.clickButton(2);
        QVERIFY(!editor.session.tools().warps().relinking());
        QCOMPARE(editor.label(u"linkingSample"_s)->text(), u"B"_s);
        editor.clickCell(7, 7);
        editor.clickCell(8, 8);
        QCOMPARE(editor.rows().at(1), u"B：7,7,1-8,8,1"_s);
        QVERIFY(editor.marker(3) && editor.marker(4));
        QCOMPARE(editor.session.map().warpCount(), 3);
        // "×" takes the highlight away.
        editor.selectRow(0);
        QVERIFY(isHighlighted(editor.marker(1)));
        editor.clickButton(4);
        QVERIFY(editor.pairList()->selectedItems().isEmpty());
        for (int index = 1; index <= 6; ++index)
            QVERIFY(!isHighlighted(editor.marker(index)));
    }

    void markerLabelClicks()
    {
        Editor editor;
        // Pair A on one cell, pair B from (10,2) to (12,2).
        QVERIFY(editor.play(u"mode:3 newpair c:3,5,L c:3,5,L c:10,2,L c:12,2,L"_s));
        QCOMPARE(editor.session.tools().warps().selectedWarp(), 3);
        const QObjectList stack = editor.window.board()->children();
        QVERIFY(stack.indexOf(editor.marker(1)) > stack.indexOf(editor.marker(2)));
        // A new pair's source cannot go under a source marker ...
        QTest::mouseClick(editor.marker(1), Qt::LeftButton);
        QCOMPARE(editor.prompter.beeps, 1);
        QCOMPARE(editor.session.tools().warps().stage(), 1);
        // ... but under a destination marker it can.
        QTest::mouseClick(editor.marker(4), Qt::LeftButton);
        QCOMPARE(editor.prompter.beeps, 1);
        QCOMPARE(editor.session.tools().warps().stage(), 2);
        QCOMPARE(editor.session.map().warp(3).srcX, std::uint8_t(12));
        // The right button on the half-placed marker steps back and removes it.
        QTest::mouseClick(editor.marker(5), Qt::RightButton);
        QCOMPARE(editor.session.tools().warps().stage(), 1);
        QVERIFY(!editor.marker(5));
        QTest::mouseClick(editor.window.board(), Qt::RightButton, {}, cellCentre(20, 10));
        QCOMPARE(editor.session.tools().warps().stage(), 0);
        // Outside linking a marker lists the captions on its cell.
        QLabel *list = editor.label(u"markerList"_s);
        QVERIFY(list->isVisible());
        QTest::mouseClick(editor.marker(1), Qt::LeftButton);
        QCOMPARE(list->text(), u"\nA\na"_s);
        QCOMPARE(editor.session.tools().warps().stage(), 0);
        QTest::mouseMove(editor.marker(3));
        QCOMPARE(editor.session.status().position(), u"1階(10,2)"_s);
        editor.clickCell(20, 10);
        QCOMPARE(list->text(), QString());
    }

    void markersFollowFloorAndMode()
    {
        Editor editor;
        QVERIFY(editor.play(u"addfloor mode:3 newpair c:3,5,L floor:2 c:6,7,L"_s));
        QCOMPARE(editor.rows(), QStringList{u"A：3,5,1-6,7,2"_s});
        QVERIFY(!editor.marker(1)->isVisible());
        QVERIFY(editor.marker(2)->isVisible());
        editor.window.floorTabs()->setCurrentIndex(0);
        QVERIFY(editor.marker(1)->isVisible());
        QVERIFY(!editor.marker(2)->isVisible());
        // Pair B's source waits on floor 1; switching modes drops it and hides every marker.
        editor.clickCell(8, 8);
        QVERIFY(editor.marker(3));
        editor.clickButton(u"modeButton2"_s);
        QCOMPARE(editor.session.tools().warps().stage(), 0);
        QVERIFY(!editor.marker(3));
        QVERIFY(!editor.marker(1)->isVisible());
        QVERIFY(!editor.label(u"linkingSample"_s)->isVisible());
        QVERIFY(!editor.label(u"markerList"_s)->isVisible());
        editor.clickButton(u"modeButton3"_s);
        QVERIFY(editor.marker(1)->isVisible());
        QCOMPARE(editor.rows(), QStringList{u"A：3,5,1-6,7,2"_s});
    }

    void newPairRefusedWhenFull()
    {
        Editor editor;
        QString pairs = u"mode:3 newpair "_s;
        for (int n = 0; n < 79; ++n)
            pairs += u"c:%1,%2,L c:%1,%3,L "_s.arg(n % 24 + 1).arg(n / 24 + 1).arg(n / 24 + 9);
        QVERIFY(editor.play(pairs));
        QCOMPARE(editor.pairList()->count(), 79);
        QVERIFY(!editor.label(u"linkingSample"_s)->isVisible());
        editor.clickButton(1);
        QCOMPARE(editor.prompter.messages,
                 QStringList{u"Q:zKエディター|これ以上は追加できません。"_s});
        QCOMPARE(editor.session.tools().warps().stage(), 0);
    }

    void floorCommands()
    {
        Editor editor;
        QTabBar *tabs = editor.window.floorTabs();
        // The only floor cannot move.
        editor.floors().moveFloor(+1);
        editor.floors().moveFloor(-1);
        QCOMPARE(editor.prompter.beeps, 2);
        QCOMPARE(editor.session.status().text(), u"動かせません。"_s);
        for (int n = 2; n <= 9; ++n)
            editor.floors().addFloor();
        const QStringList nine = {u"１階"_s, u"2階"_s, u"3階"_s, u"4階"_s, u"5階"_s,
                                  u"6階"_s,  u"7階"_s, u"8階"_s, u"9階"_s};
        QCOMPARE(editor.tabCaptions(), nine);
        QVERIFY(editor.prompter.messages.isEmpty());
        editor.floors().addFloor();
        QCOMPARE(editor.prompter.messages,
                 QStringList{u"Q:zKエディタ|このエディタでは、９階層までしか作れません^_^;)"_s});
        QCOMPARE(editor.tabCaptions(), nine);
        QCOMPARE(tabs->currentIndex(), 0);
        tabs->setCurrentIndex(8);
        editor.floors().moveFloor(+1);
        QCOMPARE(editor.prompter.beeps, 3);
        editor.floors().moveFloor(-1);
        QCOMPARE(editor.prompter.beeps, 3);
        QCOMPARE(tabs->currentIndex(), 7);
        // Declined: nothing changes.
        tabs->setCurrentIndex(1);
        editor.prompter.answer = false;
        editor.floors().deleteFloor();
        QCOMPARE(
            editor.prompter.questions,
            QStringList{u"Q:zKエディタ|このフロア「2階」を削除します。\r\nよろしいですか？"_s});
        QCOMPARE(editor.tabCaptions(), nine);
        editor.prompter.answer = true;
        editor.floors().deleteFloor();
        QCOMPARE(editor.tabCaptions(), nine.first(8));
        QCOMPARE(tabs->currentIndex(), 1);
        // Down to one floor, then its deletion is asked too and resets the map.
        tabs->setCurrentIndex(0);
        while (tabs->count() > 1)
            editor.floors().deleteFloor();
        editor.document.setFileName(u"/tmp/castle"_s);
        editor.prompter.questions.clear();
        editor.floors().deleteFloor();
        QCOMPARE(
            editor.prompter.questions,
            QStringList{u"Q:zKエディタ|このフロア「１階」を削除します。\r\nよろしいですか？"_s});
        QCOMPARE(editor.session.document().fileName(), QString());
        QCOMPARE(tabs->count(), 1);
    }

    void movedFloorShowsInRowsAtOnce()
    {
        Editor editor;
        QVERIFY(editor.play(u"addfloor addfloor mode:3 newpair c:3,5,L floor:2 c:6,7,L"_s));
        editor.floors().moveFloor(+1);
        QCOMPARE(editor.window.floorTabs()->currentIndex(), 2);
        QCOMPARE(editor.rows(), QStringList{u"A：3,5,1-6,7,3"_s});
        QVERIFY(editor.marker(2)->isVisible());
    }

    void doubleClickIsOneClick_data()
    {
        QTest::addColumn<QString>("waiting");
        QTest::addColumn<LineTool::State>("line");
        QTest::addColumn<WarpLinkTool::Stage>("pair");
        QTest::addColumn<int>("beeps");
        // The first press marks the line start; the second would have laid a one-cell line.
        QTest::newRow("line start")
            << u"tool:line"_s << LineTool::WaitingEnd << WarpLinkTool::NotLinking << 0;
        // The first press places the source; the second would have made it the destination.
        QTest::newRow("warp source")
            << u"mode:3 newpair"_s << LineTool::Off << WarpLinkTool::WaitingDestination << 0;
        // Marker A is refused once, not twice.
        QTest::newRow("on a marker") << u"mode:3 newpair c:3,5,L c:10,2,L"_s << LineTool::Off
                                     << WarpLinkTool::WaitingSource << 1;
    }
    void doubleClickIsOneClick()
    {
        QFETCH(QString, waiting);
        Editor editor;
        QVERIFY(editor.play(waiting));
        // Through the window system, as a user's double click arrives.
        QTest::mouseDClick(editor.window.windowHandle(), Qt::LeftButton, {}, editor.onWindow(3, 5));
        QTEST(editor.session.tools().line().state(), "line");
        QTEST(WarpLinkTool::Stage(editor.session.tools().warps().stage()), "pair");
        QTEST(editor.prompter.beeps, "beeps");
        QCOMPARE(editor.session.map().cell(3, 5, 1), u"00_  "_s);
        for (int n = 1; n <= MapData::MaxWarps; ++n)
            QVERIFY(editor.session.map().warp(n).dstX != 3 ||
                    editor.session.map().warp(n).dstY != 5);
    }

    // Enter on a row of the list does what the change button does for that row's pair.
    void enterOnRowRelinksThatPair()
    {
        Editor editor;
        editor.clickButton(u"modeButton3"_s);
        QVERIFY(editor.play(u"newpair c:3,5,L c:10,2,L c:4,4,L c:6,6,L endlink"_s));
        QCOMPARE(editor.rows(), (QStringList{u"A：3,5,1-10,2,1"_s, u"B：4,4,1-6,6,1"_s}));
        editor.selectRow(0);
        QTest::keyClick(editor.pairList(), Qt::Key_Return);
        QCOMPARE(editor.label(u"linkingSample"_s)->text(), u"A"_s);
        QCOMPARE(editor.session.status().text(), u"ワープ元をクリックして下さい。"_s);
        editor.clickCell(8, 8);
        editor.clickCell(9, 9);
        QCOMPARE(editor.rows(), (QStringList{u"A：8,8,1-9,9,1"_s, u"B：4,4,1-6,6,1"_s}));
    }
};

QTEST_MAIN(TestWarpWindow)
#include "tst_warpwindow.moc"
