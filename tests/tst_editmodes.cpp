#include "dialogs/checkreportwindow.h"
#include "editorfixture.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

struct Editor : EditorFixture
{
    Editor() { show(); }
    static int pixels(int twips) { return ToolWindowFrame::twipsToPixels(twips); }
};

// What a mode switch drops: marks of a tool's unfinished work, the marker list, the prompt.
QString work(EditorSession &session)
{
    QStringList marks;
    for (const QPoint &mark : session.tools().picture().marks)
        marks << u"%1,%2"_s.arg(mark.x()).arg(mark.y());
    marks.sort();
    return marks.join(u' ') + u'|' + session.tools().warps().markers().listText() + u'|' +
           session.status().text();
}

} // namespace

class TestEditModes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsWithPalette()
    {
        Editor editor;
        ChipPalette *palette = editor.palette();
        QVERIFY(palette && palette->isVisible());
        QCOMPARE(palette->windowTitle(), u"マップチップ"_s);
        QCOMPARE(palette->height(), Editor::pixels(2925 - 300));
        QVERIFY(palette->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void sameModeChangesNothing_data()
    {
        QTest::addColumn<QString>("into");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("unfinished"); // work a switch would drop
        QTest::addColumn<QString>("work");       // the board's marks | marker list | status
        QTest::newRow("chips, back from branches")
            << u"mode:2 mode:1"_s << int(EditorSession::ChipMode) << u"tool:line c:2,2,L"_s
            << u"2,2||終点をクリックして下さい。"_s;
        QTest::newRow("branches") << u"mode:2"_s << int(EditorSession::BranchMode)
                                  << u"tool:rectangle p:1,1,L d:2,2"_s << u"1,1 1,2 2,1 2,2||"_s;
        QTest::newRow("warps") << u"mode:3"_s << int(EditorSession::WarpMode)
                               << u"newpair c:3,3,L c:4,4,L c:1,1,R marker:1"_s << u"|\r\nA|"_s;
    }
    void sameModeChangesNothing()
    {
        QFETCH(QString, into);
        QFETCH(QString, unfinished);
        Editor editor;
        QPointer<ToolWindowFrame> first = editor.window.toolWindow();
        QSignalSpy refreshed(&editor.session, &EditorSession::boardRefreshed);
        // A real switch redraws and replaces the tool window, so the spy and pointer can tell.
        QVERIFY(editor.play(into));
        QTEST(int(editor.session.editMode()), "mode");
        QVERIFY(refreshed.count() > 0);
        QVERIFY(!first);
        QPointer<ToolWindowFrame> shown = editor.window.toolWindow();
        QVERIFY(editor.play(unfinished));
        QTEST(work(editor.session), "work");
        refreshed.clear();
        QVERIFY(editor.play(into.section(u' ', -1)));
        QCOMPARE(refreshed.count(), 0);
        QVERIFY(shown);
        QCOMPARE(editor.window.toolWindow(), shown.data());
        QTEST(work(editor.session), "work");
    }

    void keysInToolWindowSwitchModes_data()
    {
        QTest::addColumn<bool>("fromValueBox");
        QTest::newRow("window has the focus") << false;
        QTest::newRow("value box has the focus") << true;
    }
    void keysInToolWindowSwitchModes()
    {
        QFETCH(bool, fromValueBox);
        Editor editor;
        QWidget *target = editor.palette();
        if (fromValueBox) {
            editor.palette()->model().pick(16); // enables the value box
            target = child<QLineEdit>(editor.palette(), u"valueBox"_s);
        }
        // The main window's other commands are not the tool window's.
        QSignalSpy helpAsked(editor.action(u"ヘルプの表示(&C)"_s), &QAction::triggered);
        QTest::keyClick(target, Qt::Key_F1);
        QTest::keyClick(target, Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_S, Qt::ControlModifier);
        QTest::qWait(20);
        QCOMPARE(helpAsked.count(), 0);
        QCOMPARE(editor.prompter.questions, QStringList());
        QCOMPARE(editor.prompter.fileDialogs, QStringList());
        QTest::keyClick(target, Qt::Key_F6);
        // The command runs after the key event, never inside it.
        QCOMPARE(editor.session.editMode(), int(EditorSession::ChipMode));
        QTRY_COMPARE(editor.session.editMode(), int(EditorSession::BranchMode));
        QVERIFY(editor.branchWindow());
        QTest::keyClick(editor.window.toolWindow(), Qt::Key_F7);
        QTRY_COMPARE(editor.session.editMode(), int(EditorSession::WarpMode));
        // In the main window the keys are the menu shortcuts.
        QVERIFY(editor.pressKey(Qt::Key_F5));
        QTRY_COMPARE(editor.session.editMode(), int(EditorSession::ChipMode));
        QVERIFY(editor.palette());
        QTest::keyClick(editor.window.toolWindow(), Qt::Key_F4);
        QTRY_COMPARE(editor.session.toolBox().mode(), int(ToolBoxState::Hidden));
        QVERIFY(!editor.window.toolWindow()->isVisible());
        const QList<QAction *> menus = editor.window.menuBar()->actions();
        const QAction *branchItem = menus.at(3)->menu()->actions().at(1);
        QCOMPARE(branchItem->text(), u"分岐点設定モード(&B)"_s);
        QVERIFY(!branchItem->isChecked());
        QVERIFY(child<QToolButton>(&editor.window, u"modeButton1"_s)->isChecked());
    }

    void positionCarriesToNextWindow()
    {
        Editor editor;
        editor.window.toolWindow()->move(130, 90);
        const QPoint where = editor.window.toolWindow()->pos();
        QVERIFY(editor.play(u"mode:2"_s));
        QCOMPARE(editor.session.toolBox().position(), where * 15);
        QCOMPARE(editor.window.toolWindow()->pos(), where);
        // Full height: the twips height, or more where the captions need it.
        QVERIFY(!editor.window.toolWindow()->isRolledUp());
        QCOMPARE_GE(editor.window.toolWindow()->height(), Editor::pixels(3090 - 300));
    }

    void hiddenOptionShowsNoWindow()
    {
        Editor editor;
        editor.session.toolBox().setMode(ToolBoxState::Hidden);
        QVERIFY(!editor.window.toolWindow()->isVisible());
        QVERIFY(editor.play(u"mode:2"_s));
        QVERIFY(editor.branchWindow());
        QVERIFY(!editor.window.toolWindow()->isVisible());
        editor.session.toolBox().setMode(ToolBoxState::Shown);
        QVERIFY(editor.window.toolWindow()->isVisible());
        QVERIFY(!editor.window.toolWindow()->isRolledUp());
        QCOMPARE_GE(editor.window.toolWindow()->height(), Editor::pixels(3090 - 300));
    }

    void rolledUpOptionRollsAndUnrolls()
    {
        Editor editor;
        ToolWindowFrame *palette = editor.window.toolWindow();
        editor.session.toolBox().setMode(ToolBoxState::RolledUp);
        QCOMPARE(palette->height(), Editor::pixels(405 - 300));
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(palette, &activate);
        QCOMPARE(palette->height(), Editor::pixels(2925 - 300));
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(palette, &deactivate);
        QVERIFY(palette->isRolledUp());
        QTest::mouseRelease(palette, Qt::LeftButton, {}, QPoint(250, 3));
        QVERIFY(!palette->isRolledUp());
        // With the window always shown, deactivation leaves it alone.
        editor.session.toolBox().setMode(ToolBoxState::Shown);
        QApplication::sendEvent(palette, &deactivate);
        QCOMPARE(palette->height(), Editor::pixels(2925 - 300));
    }

    void lineToolSurvivesRoundTrip()
    {
        Editor editor;
        auto *lineButton = child<QToolButton>(&editor.window, u"lineToolButton"_s);
        editor.clickButton(u"lineToolButton"_s);
        editor.clickCell(2, 2);
        QCOMPARE(editor.session.tools().line().state(), LineTool::WaitingEnd);
        QVERIFY(editor.play(u"mode:2"_s));
        QVERIFY(lineButton->isHidden());
        QVERIFY(editor.play(u"mode:1"_s));
        QVERIFY(!lineButton->isHidden());
        QVERIFY(lineButton->isChecked());
        QCOMPARE(editor.session.tools().line().state(), LineTool::WaitingStart);
        QVERIFY(editor.session.tools().line().marks().isEmpty());
    }

    void branchModeSetsAndClearsCells()
    {
        Editor editor;
        QVERIFY(editor.play(u"mode:2 dir:3"_s));
        BoardView *board = editor.window.board();
        const QImage plain = board->cellImage(6, 6);
        editor.clickCell(6, 6);
        QCOMPARE(editor.document.data().branch(6, 6, 1), u"0010"_s);
        QVERIFY(board->cellImage(6, 6) != plain);
        editor.clickCell(7, 6, Qt::MiddleButton);
        QCOMPARE(editor.document.data().branch(7, 6, 1), u"0010"_s);
        editor.clickCell(6, 6, Qt::RightButton);
        QCOMPARE(editor.document.data().branch(6, 6, 1), QString());
        QCOMPARE(board->cellImage(6, 6), plain);
        // Cells are not painted in branch mode.
        QCOMPARE(editor.document.data().cell(6, 6, 1), u"00_  "_s);
        // Back in chip mode the board shows no arrows.
        QVERIFY(editor.play(u"mode:1"_s));
        QCOMPARE(board->cellImage(7, 6), plain);
    }

    void toolWindowKeys_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("chosen");  // the branch setting, or the chip
        QTest::addColumn<QString>("focused"); // the control with the keys after them, by name
        // The arrow of the direction set takes the keys, so a reader says its state.
        QTest::newRow("branch: up steps the up arm") << 2 << u"Up"_s << u"1000"_s << u"arrow1"_s;
        QTest::newRow("branch: each arrow its arm")
            << 2 << u"Left Right Right Down Down Down"_s << u"0123"_s << u"arrow4"_s;
        QTest::newRow("branch: four steps come round")
            << 2 << u"Down Down Down Down Down"_s << u"0001"_s << u"arrow4"_s;
        QTest::newRow("branch: backspace clears")
            << 2 << u"Up Left Backspace Right"_s << u"0010"_s << u"arrow3"_s;
        QTest::newRow("palette: right") << 1 << u"Right"_s << u"02_DB"_s << QString();
        QTest::newRow("palette: down a row") << 1 << u"Down Left"_s << u"09_OM"_s << QString();
    }
    void toolWindowKeys()
    {
        QFETCH(int, mode);
        QFETCH(QString, keys);
        QFETCH(QString, chosen);
        Editor editor;
        QVERIFY(editor.play(u"mode:%1"_s.arg(mode)));
        QWidget *window = editor.window.toolWindow();
        // Each key goes where the window's keys are.
        const auto keyTarget = [window] {
            return window->focusWidget() ? window->focusWidget() : window;
        };
        for (const QString &key : keys.split(u' '))
            QTest::keyClick(keyTarget(), QKeySequence::fromString(key)[0].key());
        const ToolContext &choices = editor.session.choices();
        QCOMPARE(mode == 2 ? choices.branch() : choices.chip(), chosen);
        QTEST(keyTarget() == window ? QString() : keyTarget()->objectName(), "focused");
    }

    void branchWindowShowsSetting_data()
    {
        QTest::addColumn<QString>("before"); // script steps before the window opens
        QTest::addColumn<QString>("clicks"); // in the window: "name" left, "name,R" right
        QTest::addColumn<QString>("branch");
        QTest::addColumn<QString>("status");
        QTest::newRow("right arrow once") << QString() << u"arrow3"_s << u"0010"_s << QString();
        QTest::newRow("right arrow four times comes round")
            << QString() << u"arrow3 arrow3 arrow3 arrow3"_s << u"0000"_s << QString();
        QTest::newRow("set before the window opens")
            << u"dir:1 dir:1 dir:1 dir:2 dir:3 dir:3"_s << QString() << u"3120"_s << QString();
        QTest::newRow("right click on caption 1 after caption 3")
            << u"dir:2"_s << u"caption3 caption1,R"_s << u"0100"_s << QString();
        QTest::newRow("then on caption 3: the version")
            << u"dir:2"_s << u"caption3 caption1,R caption3,R"_s << u"0100"_s << u"1.3.0"_s;
        QTest::newRow("clear") << u"dir:2"_s << u"clear"_s << u"0000"_s << QString();
    }
    void branchWindowShowsSetting()
    {
        QFETCH(QString, before);
        QFETCH(QString, clicks);
        QFETCH(QString, branch);
        Editor editor;
        QVERIFY(editor.play(before + u" mode:2"_s));
        BranchWindow *window = editor.branchWindow();
        for (const QString &click : clicks.split(u' ', Qt::SkipEmptyParts))
            QTest::mouseClick(child<QWidget>(window, click.section(u',', 0, 0)),
                              click.endsWith(u",R") ? Qt::RightButton : Qt::LeftButton);
        QCOMPARE(editor.session.choices().branch(), branch);
        QTEST(editor.session.status().text(), "status");
        // Each arm says its digit and shows it in its colour, on the cross too.
        const QStringList captions = {u"０：道なし"_s, u"１：通行禁止"_s, u"２：一方通行"_s,
                                      u"３：２ｗａｙ"_s};
        const QList<QColor> colours = {Qt::white, Qt::red, Qt::blue, Qt::black};
        const QImage shot = window->grab().toImage();
        const QList<QPoint> arms = {{88, 72}, {72, 88}, {104, 88}, {88, 104}};
        for (int k = 1; k <= 4; ++k) {
            const int digit = branch[k - 1].digitValue();
            QCOMPARE(child<QLabel>(window, u"caption%1"_s.arg(k))->text(), captions[digit]);
            QCOMPARE(window->armColor(k), colours[digit]);
            QCOMPARE(shot.pixelColor(arms[k - 1]), colours[digit]);
        }
    }

    void resetMapReturnsToPalette()
    {
        Editor editor;
        editor.document.layChip(3, 3, 1, u"33_S_"_s);
        QVERIFY(editor.play(u"dir:1"_s));
        editor.session.toolBox().setMode(ToolBoxState::Hidden);
        QVERIFY(editor.play(u"mode:2"_s));
        editor.session.resetMap();
        QCOMPARE(editor.session.editMode(), int(EditorSession::ChipMode));
        QCOMPARE(editor.session.toolBox().mode(), int(ToolBoxState::Shown));
        QCOMPARE(editor.session.choices().branch(), u"0000"_s);
        QVERIFY(editor.palette() && editor.palette()->isVisible());
        QCOMPARE(editor.document.data().cell(3, 3, 1), u"00_  "_s);
        QCOMPARE(editor.document.data().cell(3, 3, 9), u"00_  "_s);
        QCOMPARE(editor.window.board()->cellImage(3, 3),
                 editor.pictures.chip(ChipPictures::EmptyPicture));
    }

    void warpModeWarnsOfUnlinkedWarpCell()
    {
        Editor editor;
        editor.document.layChip(3, 5, 1, u"37_W1"_s);
        QVERIFY(editor.play(u"mode:3"_s));
        const QString warning = u"1階の(3,5)に、設定されていないワープマスがあります。"_s;
        QCOMPARE(editor.session.status().text(), warning);
        QTest::mouseMove(editor.window.centralWidget(), QPoint(620, 20));
        QCOMPARE(editor.session.status().text(), warning);
        QCOMPARE(editor.session.status().position(), QString());
        // Hovering a cell while no pair is being placed replaces it.
        QVERIFY(editor.play(u"h:1,1"_s));
        QVERIFY(editor.session.status().text() != warning);
        // Leaving warp mode clears panel 1.
        QVERIFY(editor.play(u"mode:1 mode:3"_s));
        QCOMPARE(editor.session.status().text(), warning);
        QVERIFY(editor.play(u"mode:2"_s));
        QCOMPARE(editor.session.status().text(), QString());
    }

    void propertiesHideToolWindowAndRename()
    {
        Editor editor;
        QPointer<ToolWindowFrame> palette = editor.window.toolWindow();
        // A line waiting for its end keeps its start: the dialog does not redraw the board.
        QVERIFY(editor.play(u"tool:line c:4,4,L"_s));
        bool hiddenDuringDialog = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            hiddenDuringDialog = !palette->isVisible();
            dialog->findChild<QLineEdit *>(u"nameEdit"_s)->setText(u"森"_s);
            dialog->findChild<QPushButton *>(u"okButton"_s)->click();
        });
        editor.window.editFloorProperties();
        QVERIFY(hiddenDuringDialog);
        QVERIFY(palette->isVisible());
        QCOMPARE(editor.document.data().floorName(1), u"森"_s);
        QCOMPARE(editor.caption(), u"Q;zKマップエディタ － 森"_s);
        QCOMPARE(editor.session.tools().line().marks(), QVector<QPoint>{QPoint(4, 4)});
        QCOMPARE(editor.session.tools().line().state(), LineTool::WaitingEnd);
        // With the tool box hidden by option, the window stays hidden afterwards.
        editor.session.toolBox().setMode(ToolBoxState::Hidden);
        QTimer::singleShot(0, [] {
            QApplication::activeModalWidget()->findChild<QPushButton *>(u"cancelButton"_s)->click();
        });
        editor.window.editFloorProperties();
        QVERIFY(!palette->isVisible());
    }

    void mapCheckReportReplacedBySecondCheck()
    {
        Editor editor;
        editor.window.checkMap();
        QPointer<CheckReportWindow> report = editor.window.checkReport();
        QVERIFY(report && report->isVisible());
        QCOMPARE(report->windowTitle(), u"マップチェックの結果報告"_s);
        const QStringList first = report->lines();
        QVERIFY(first.contains(u"このマップをクリアすることは不可能です。"_s));
        editor.document.layChip(1, 1, 1, u"33_S_"_s);
        editor.document.layChip(2, 1, 1, u"34_G_"_s);
        editor.window.checkMap();
        QCOMPARE(editor.window.checkReport(), report.data());
        QVERIFY(report->lines() != first);
        QCOMPARE(report->lines().last(), u"このマップに、特に重大な問題は見つかりませんでした。"_s);
        report->close();
        QTRY_VERIFY(!report);
        editor.window.checkMap();
        QVERIFY(editor.window.checkReport());
    }

    // With the tool box rolled up while not in use, the question must still be seen whole.
    void deletionQuestionStaysUnrolled()
    {
        Editor editor;
        QVERIFY(editor.play(u"mode:3"_s));
        editor.session.toolBox().setMode(ToolBoxState::RolledUp);
        WarpWindow *warpWindow = editor.warpWindow();
        QVERIFY(warpWindow);
        QVERIFY(editor.play(u"newpair c:2,2,L c:3,3,L"_s));
        warpWindow->list()->setCurrentRow(0);
        warpWindow->deleteSelected();
        QVERIFY(warpWindow->isAskingDeletion());
        QCOMPARE(warpWindow->height(), Editor::pixels(3150 - 300));
        warpWindow->answerDeletion(false);
        QCOMPARE(warpWindow->height(), Editor::pixels(2355 - 300));
        QCOMPARE(editor.document.data().warpCount(), 1);
        // Leaving warp mode while asking drops the question with the window.
        warpWindow->deleteSelected();
        QVERIFY(editor.session.warpWindow().isAskingDeletion());
        QVERIFY(editor.play(u"mode:1"_s));
        QVERIFY(!editor.session.warpWindow().isAskingDeletion());
        editor.session.warpWindow().answerDeletion(true);
        QCOMPARE(editor.document.data().warpCount(), 1);
    }
};

QTEST_MAIN(TestEditModes)
#include "tst_editmodes.moc"
