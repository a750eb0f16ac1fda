#include "codepage932bytes.h"
#include "mainwindow/startup.h"
#include "model/cellstring.h"
#include "prompts/messageboxprompter.h"
#include "windowtestkit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

using Editor = EditorFixture;

struct MenuItem
{
    QWidget *menu;
    QAction *action;
};

// The items of `menu` and of every menu below it as they show, each with the menu that holds
// it; the recent maps are filled in, as when their menu opens.
QList<MenuItem> menuItems(QWidget *menu)
{
    QList<MenuItem> items;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        items.append({menu, action});
        if (QMenu *below = action->menu()) {
            Q_EMIT below->aboutToShow();
            items += menuItems(below);
        }
    }
    return items;
}

// The controls of a dialog that no access key reaches, and the captions whose key is missing
// or taken: OK and Cancel are Enter and Esc, a label gives its key to its buddy, a number box
// beside its chip list is reached with the list's key and Tab, and a window with one control
// has the focus on it from the start.
QStringList accessKeyFaults(QWidget *shown)
{
    QSet<QKeySequence> keys;
    QSet<QWidget *> reached;
    QStringList faults;
    const auto take = [&](const QString &text, QWidget *control) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty() || keys.contains(key))
            faults << text;
        keys.insert(key);
        reached.insert(control);
    };
    // QLabel gives the focus only to a buddy that takes focus.
    for (QLabel *label : shown->findChildren<QLabel *>())
        if (label->buddy() && label->buddy()->focusPolicy() != Qt::NoFocus)
            take(label->text(), label->buddy());
    for (QAbstractButton *button : shown->findChildren<QAbstractButton *>()) {
        const bool enterOrEsc = button->text() == u"OK"_s || button->text() == u"Cancel"_s ||
                                button->text() == u"キャンセル"_s;
        if (!enterOrEsc && button->window() == shown)
            take(button->text(), button);
    }
    QWidgetList controls;
    for (QWidget *control : shown->findChildren<QWidget *>()) {
        // A combo box's list pops up as a window of its own.
        const bool input =
            qobject_cast<QComboBox *>(control) || qobject_cast<QLineEdit *>(control) ||
            qobject_cast<QPlainTextEdit *>(control) || qobject_cast<QAbstractItemView *>(control);
        if (input && control->focusPolicy() != Qt::NoFocus && control->window() == shown)
            controls << control;
    }
    for (QWidget *control : std::as_const(controls)) {
        const QWidget *around = control->parentWidget();
        if (!reached.contains(control) && !reached.contains(around->focusProxy()) &&
            controls.size() + reached.size() > 1)
            faults << control->objectName();
    }
    return faults;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensWithEmptyBoard()
    {
        Editor editor;
        editor.show();
        QCOMPARE(editor.caption(), PlainCaption);
        const QImage empty = editor.pictures.chip(ChipPictures::EmptyPicture);
        int emptyCells = 0;
        for (int x = 1; x <= 24; ++x)
            for (int y = 1; y <= 16; ++y)
                emptyCells += editor.window.board()->cellImage(x, y) == empty;
        QCOMPARE(emptyCells, 384);
        QCOMPARE(editor.tabCaptions(), QStringList{u"１階"_s});
        // The board shows what the window draws, not only what it stores.
        const QImage shot = editor.window.board()->grab().toImage();
        QCOMPARE(shot.pixelColor(BoardPainter::cellRect(5, 5).topLeft() + QPoint(12, 12)),
                 empty.pixelColor(12, 12));
        QCOMPARE(editor.shown(u"lineDrawLabel"_s), u"LineDraw"_s);
        QCOMPARE(editor.shown(u"sampleCode"_s), u"[]"_s);
        QCOMPARE(child<QLabel>(&editor.window, u"sample"_s)->pixmap().toImage(),
                 editor.pictures.chip(1));
        for (int mode = 1; mode <= 3; ++mode)
            QVERIFY(editor.window.findChild<QToolButton *>(u"modeButton%1"_s.arg(mode)));
        QVERIFY(editor.window.findChild<QToolButton *>(u"modeButton1"_s)->isChecked());
        QCOMPARE(editor.window.size(), editor.window.minimumSize());
        QCOMPARE(editor.window.size(), editor.window.maximumSize());
    }

    // The board takes the keyboard and is a table to assistive technology whose focused cell
    // is the cursor's, named by place and content.
    void boardIsKeyboardTable()
    {
        EditorFixture f;
        f.show();
        BoardView *board = f.window.board();
        board->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return board->hasFocus(); }));
        QTest::keyClick(board, Qt::Key_Right);
        QTest::keyClick(board, Qt::Key_Down);
        QTest::keyClick(board, Qt::Key_Space);
        QCOMPARE(f.session.map().cell(2, 2, 1), u"01_[]"_s);
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(board);
        QVERIFY(table);
        QCOMPARE(table->role(), QAccessible::Table);
        QAccessibleTableInterface *grid = table->tableInterface();
        QVERIFY(grid);
        QCOMPARE(QSize(grid->columnCount(), grid->rowCount()), QSize(24, 16));
        QAccessibleInterface *focused = table->focusChild();
        QVERIFY(focused);
        QCOMPARE(focused, grid->cellAt(1, 1));
        QCOMPARE(focused->role(), QAccessible::Cell);
        QVERIFY(focused->state().focused);
        // The fixture has no chip descriptions.
        QCOMPARE(focused->text(QAccessible::Name), u"(2,2) 空き"_s);
        QCOMPARE(table->indexOfChild(focused), 1 * 24 + 1);
        QAccessibleTableCellInterface *cell = focused->tableCellInterface();
        QCOMPARE(QPoint(cell->columnIndex(), cell->rowIndex()), QPoint(1, 1));
        QCOMPARE(cell->table(), table);
        // Headers as a spreadsheet has them, by the numbers of the cell's place.
        QAccessibleTableCellInterface *placed = grid->cellAt(4, 6)->tableCellInterface();
        const QList<QAccessibleInterface *> rows = placed->rowHeaderCells();
        const QList<QAccessibleInterface *> columns = placed->columnHeaderCells();
        QCOMPARE(QSize(columns.size(), rows.size()), QSize(1, 1));
        QCOMPARE(rows.first()->role(), QAccessible::RowHeader);
        QCOMPARE(rows.first()->text(QAccessible::Name), u"5行"_s);
        QCOMPARE(columns.first()->role(), QAccessible::ColumnHeader);
        QCOMPARE(columns.first()->text(QAccessible::Name), u"7列"_s);
        QCOMPARE(rows.first()->parent(), table);
    }

    // The cell's name leads with its place; the floor is said once, by the cursor's cell, after
    // the floor shown changed.
    void floorSaidOnce_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<QString>("name");
        QTest::newRow("no floor change") << u"c:3,2,L undo"_s << QPoint(1, 1) << u"(1,1) 空き"_s;
        QTest::newRow("floor switched")
            << u"addfloor floor:2"_s << QPoint(1, 1) << u"2階 (1,1) 空き"_s;
        QTest::newRow("only the cursor's cell")
            << u"addfloor floor:2"_s << QPoint(2, 1) << u"(2,1) 空き"_s;
        QTest::newRow("gone once the cursor moves")
            << u"addfloor floor:2 key:Right key:Left"_s << QPoint(1, 1) << u"(1,1) 空き"_s;
        QTest::newRow("floor deleted")
            << u"addfloor floor:2 deletefloor"_s << QPoint(1, 1) << u"1階 (1,1) 空き"_s;
    }
    void floorSaidOnce()
    {
        QFETCH(QString, script);
        QFETCH(QPoint, cell);
        Editor f;
        f.prompter.answer = true;
        f.show();
        QVERIFY(f.play(script));
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(f.window.board());
        QTEST(table->tableInterface()->cellAt(cell.y() - 1, cell.x() - 1)->text(QAccessible::Name),
              "name");
    }

    // The palette's chips are a list of items; the chosen chip is the focused one while the
    // palette has the keys, and pressing an item chooses its chip.
    void paletteChipsAreItems()
    {
        Editor f;
        f.show();
        ToolWindowFrame *palette = f.window.toolWindow();
        QVERIFY(palette);
        palette->activateWindow();
        palette->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return palette->hasFocus(); }));
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(palette);
        QVERIFY(window);
        QAccessibleInterface *list = window->child(0);
        QVERIFY(list);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->childCount(), 48);
        QAccessibleInterface *chosen = list->child(0);
        QCOMPARE(chosen->role(), QAccessible::ListItem);
        QVERIFY(chosen->state().selected);
        QVERIFY(chosen->state().focused);
        QCOMPARE(window->focusChild(), chosen);
        QTest::keyClick(palette, Qt::Key_Right);
        QCOMPARE(f.session.choices().chip().left(2), u"02"_s);
        QVERIFY(list->child(1)->state().focused);
        QVERIFY(!chosen->state().selected);
        list->child(15)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(f.session.choices().chip(), u"16_+7"_s);
        QCOMPARE(list->indexOfChild(list->child(15)), 15);
        QCOMPARE(window->indexOfChild(list), 0);
    }

    void menusAndShortcuts()
    {
        Editor editor;
        QStringList captions;
        for (const auto &[menu, action] : menuItems(editor.window.menuBar())) {
            captions << action->text();
            if (!action->shortcut().isEmpty())
                captions.last() += u'\t' + action->shortcut().toString();
        }
        // Menu by menu, the items separated by "|", each key after a tab.
        const QStringList expected =
            u"マップ(&M)|新規作成(&N)|開く(&O)|最近使ったマップ(&R)|上書き保存(&S)\tCtrl+S|"
            u"名前を付けて保存(&A)|画像として保存(&I)...|比較(&D)|ほかのマップと比較(&O)...|"
            u"保存されたファイルと比較(&S)|三方向マージ(&M)...|"
            u"マップ「1階」のプロパティ(&P)\tCtrl+P|終了(&X)\tCtrl+Q|"
            u"編集(&E)|元に戻す(&U)\tCtrl+Z|やり直し(&R)\tCtrl+Y|切り取り(&T)\tCtrl+X|"
            u"コピー(&C)\tCtrl+C|貼り付け(&P)\tCtrl+V|削除(&D)\tDel|すべて選択(&A)\tCtrl+A|"
            u"範囲選択(&S)\tF8|塗りつぶし(&K)\tF9|四角形(&Q)\tF11|左右反転(&H)\tCtrl+Shift+H|"
            u"上下反転(&V)\tCtrl+Shift+V|右に90度回転(&O)\tCtrl+R|左に90度回転(&L)\tCtrl+L|"
            u"画像としてコピー(&I)\tCtrl+Shift+C|チップの置換(&E)…\tCtrl+H|"
            u"チップの検索(&F)\tCtrl+F|次を検索(&N)\tCtrl+G|前を検索(&B)\tCtrl+Shift+G|"
            u"階層(&S)|右に移動(&R)|左に移動(&L)|フロアを１つ追加(&A)|このフロアを削除(&D)|"
            u"このフロアを複製(&C)|次のフロアを表示(&N)\tCtrl+PgDown|"
            u"前のフロアを表示(&P)\tCtrl+PgUp|"
            u"表示(&V)|マップ編集モード(&M)\tF5|分岐点設定モード(&B)\tF6|"
            u"ワープ設定モード(&W)\tF7|ツールボックス(&T)|表示する(&V)\tF2|普段は最小化(&C)\tF3|"
            u"表示しない(&X)\tF4|拡大(&I)\tCtrl++|縮小(&O)\tCtrl+-|等倍(&A)\tCtrl+0|"
            u"チップの数値を表示(&N)|ツールウィンドウと盤面の切り替え(&K)\tF12|"
            u"ツール(&T)|マップのチェック(&C)|チェック結果を盤面に表示(&S)|マップの情報(&I)|"
            u"ヘルプ(&H)|ヘルプの表示(&C)\tF1|バージョン情報(&A)"_s.split(u'|');
        QCOMPARE(captions, expected);
    }

    // Every item of every menu, the recent maps included, has an access key of its own within
    // its menu, and no key starts two commands.
    void accessKeysAndKeysAreUnique()
    {
        Editor editor;
        for (int i = 0; i < RecentMaps::MaxCount; ++i)
            editor.recentMaps.add(u"/maps/m%1&.map"_s.arg(i));
        QHash<QWidget *, QSet<QKeySequence>> accessKeys;
        QSet<QKeySequence> keys;
        QStringList faults;
        for (const auto &[menu, action] : menuItems(editor.window.menuBar())) {
            const QKeySequence accessKey = QKeySequence::mnemonic(action->text());
            if (accessKey.isEmpty() || accessKeys[menu].contains(accessKey))
                faults << action->text();
            accessKeys[menu].insert(accessKey);
            for (const QKeySequence &key : action->shortcuts()) {
                if (keys.contains(key))
                    faults << key.toString();
                keys.insert(key);
            }
        }
        // The bar, six menus, the tool box, the recent maps and the comparison.
        QCOMPARE(accessKeys.size(), 10);
        QCOMPARE(faults, QStringList());
    }

    void dialogControlsHaveAccessKeys_data()
    {
        QTest::addColumn<QString>("dialog");
        for (const char *dialog :
             {"画像として保存", "チップの置換", "プロパティ", "チップの検索", "マップの情報",
              "バージョン情報", "チェック結果", "マップの比較", "復元の確認"})
            QTest::newRow(dialog) << QString::fromUtf8(dialog);
    }
    // Every control of every dialog and window of the editor is reached by an access key of its
    // own (see accessKeyFaults).
    void dialogControlsHaveAccessKeys()
    {
        QFETCH(QString, dialog);
        Editor editor;
        QStringList faults;
        std::unique_ptr<QWidget> made;
        if (editorWindow(editor, dialog, made)) {
            faults = accessKeyFaults(made.get());
        } else {
            // The recovery question is made and shown by the prompter: walked while it is open.
            QTimer::singleShot(0, this, [&faults] {
                QWidget *box = QApplication::activeModalWidget();
                faults = accessKeyFaults(box);
                box->close();
            });
            MessageBoxPrompter().askRestore(nullptr, u"Q:zKエディタ"_s, u"復元しますか？"_s);
        }
        QCOMPARE(faults, QStringList());
    }

    // Every command of the running editor's menus, and every key that starts one, is in the
    // help as the menu shows it (the access key in parentheses without "&").
    void helpCoversEveryCommand()
    {
        QFile file(QStringLiteral(QZK_SOURCE_DATA "/Help.htm"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString help = QString::fromUtf8(file.readAll());
        help.remove(u"<kbd>"_s).remove(u"</kbd>"_s);
        Editor editor;
        QStringList missing;
        // The fixture's recent maps are empty: that submenu has no items to cover.
        for (const auto &[menu, action] : menuItems(editor.window.menuBar())) {
            if (menu == editor.window.menuBar())
                continue;
            const QString caption = action->text().replace(u"(&"_s, u"("_s);
            if (!help.contains(caption))
                missing << caption;
            for (const QKeySequence &key : action->shortcuts())
                if (!help.contains(key.toString()))
                    missing << key.toString();
        }
        QCOMPARE(missing, QStringList());
    }

    void tabFollowsTheLayout_data()
    {
        QTest::addColumn<QString>("window");
        // From the first control, once round (names or texts).
        QTest::addColumn<QStringList>("order");
        QTest::newRow("チップの置換: top to bottom")
            << u"チップの置換"_s
            // The scopes are one stop (the arrows choose among them); OK waits for a change.
            << QStringList{u"chipBox"_s, u"chipBox"_s, u"この階(&F)"_s, u"Cancel"_s};
        QTest::newRow("ワープの設定: what is shown")
            << u"ワープの設定"_s
            << QStringList{u"pairList"_s, u"warpButton1"_s, u"warpButton2"_s, u"warpButton3"_s,
                           u"warpButton4"_s};
        QTest::newRow("ワープの設定 asking: the answers")
            << u"削除しますか？"_s << QStringList{u"yesButton"_s, u"noButton"_s};
    }
    // Tab walks the controls a window shows, in the order they are laid out.
    void tabFollowsTheLayout()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, order);
        Editor editor;
        std::unique_ptr<QWidget> made;
        QWidget *shown = editorWindow(editor, window, made);
        QVERIFY(shown);
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        shown->findChild<QWidget *>(order.first())->setFocus(Qt::TabFocusReason);
        QStringList walked;
        QWidgetList seen;
        // The window's own focus: a tool window is not made active offscreen.
        for (QWidget *focused = shown->focusWidget(); focused && !seen.contains(focused);
             focused = shown->focusWidget()) {
            seen << focused;
            walked << (focused->objectName().isEmpty()
                           ? qobject_cast<QAbstractButton *>(focused)->text()
                           : focused->objectName());
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        QCOMPARE(walked, order);
    }

    void focusShowsFromTheStart_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("the board when the editor opens") << u"start"_s;
        QTest::newRow("the branch window") << u"分岐点の設定"_s;
        QTest::newRow("a dialog opened by keys") << u"チップの置換"_s;
    }
    // Whatever has the keys shows it, without a Tab first.
    void focusShowsFromTheStart()
    {
        QFETCH(QString, window);
        Editor editor;
        editor.show();
        editor.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor.window));
        if (window == u"start"_s) {
            QVERIFY(editor.window.board()->showsCursor());
            return;
        }
        // A control's picture with the keys and without them.
        std::unique_ptr<QWidget> made;
        QWidget *control = editorWindow(editor, window, made, &editor.window);
        QWidget *other = editor.window.board();
        if (made) {
            made->setWindowFlag(Qt::Dialog);
            control = made->findChildren<QRadioButton *>().first();
            other = made->findChild<QComboBox *>(u"chipBox"_s);
        }
        control->window()->show();
        control->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(control->window()));
        control->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(control->hasFocus());
        const QImage focused = control->grab().toImage();
        if (other->window() != control->window())
            other->window()->activateWindow();
        other->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(!control->hasFocus());
        QVERIFY(control->grab().toImage() != focused);
    }

    void closeBoxAsksBeforeQuitting_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("no keeps the editor") << false;
        QTest::newRow("yes ends it") << true;
    }
    void closeBoxAsksBeforeQuitting()
    {
        QFETCH(bool, answer);
        Editor editor;
        editor.prompter.answer = answer;
        editor.show();
        QSignalSpy quitting(&editor.files, &MapFileWorkflow::quitRequested);
        QVERIFY(!editor.window.close());
        QCOMPARE(editor.prompter.questions,
                 QStringList{u"Q:zKエディタ|エディタを終了します。よろしいですか？"_s});
        QCOMPARE(quitting.count(), answer ? 1 : 0);
        QVERIFY(editor.window.isVisible());
    }

    void paintsWithMouseAndLineTool()
    {
        Editor editor;
        editor.show();
        BoardView *board = editor.window.board();
        const MapData &map = editor.document.data();
        editor.clickCell(2, 3);
        QCOMPARE(map.cell(2, 3, 1), u"01_[]"_s);
        QCOMPARE(board->cellImage(2, 3), editor.pictures.chip(1));
        // The right button picks the cell's chip up.
        editor.document.layChip(9, 9, 1, u"16_+7"_s);
        editor.clickCell(9, 9, Qt::RightButton);
        QCOMPARE(editor.session.choices().chip(), u"16_+7"_s);
        QCOMPARE(editor.session.choices().sampleCode(), u"+7"_s);
        editor.clickButton(u"lineToolButton"_s);
        QCOMPARE(editor.session.tools().line().state(), LineTool::WaitingStart);
        editor.clickCell(1, 10);
        QCOMPARE(editor.session.status().text(), u"終点をクリックして下さい。"_s);
        editor.hoverCell(5, 10);
        QCOMPARE(editor.session.tools().line().marks().size(), 5);
        QVERIFY(board->cellImage(3, 10) != editor.pictures.chip(ChipPictures::EmptyPicture));
        QCOMPARE(map.cell(3, 10, 1), u"00_  "_s);
        editor.clickCell(5, 10);
        for (int x = 1; x <= 5; ++x)
            QCOMPARE(map.cell(x, 10, 1), u"16_+7"_s);
        QCOMPARE(editor.session.status().text(), u"始点をクリックして下さい。"_s);
        // A right click while waiting for a start cell switches the tool off.
        editor.clickCell(8, 8, Qt::RightButton);
        QCOMPARE(editor.session.tools().line().state(), LineTool::Off);
        QVERIFY(!child<QToolButton>(&editor.window, u"lineToolButton"_s)->isChecked());
    }

    void branchModeDrawsOverlays()
    {
        Editor editor;
        editor.document.setBranch(4, 4, 1, u"3210"_s);
        editor.session.refreshBoard();
        // Outside branch mode the board shows the plain chip.
        QCOMPARE(editor.window.board()->cellImage(4, 4),
                 editor.pictures.chip(ChipPictures::EmptyPicture));
        const CellComposer composer(editor.pictures);
        const QString road = u"01_[]"_s;
        const QImage plain = composer.chipPicture(road);
        const QImage mask = editor.pictures.overlay(ChipPictures::BranchMask);
        QList<QImage> distinct;
        for (const char *setting : {"0000", "3210", "0123", "3333", "1111"}) {
            const QImage composed = composer.branchPicture(road, QString::fromLatin1(setting));
            QVERIFY2(composed != plain, setting);
            QVERIFY2(!distinct.contains(composed), setting);
            distinct << composed;
            // Only the area the mask cuts out changes.
            int outside = 0;
            for (int y = 0; y < plain.height(); ++y)
                for (int x = 0; x < plain.width(); ++x)
                    outside += mask.pixel(x, y) == qRgb(255, 255, 255) &&
                               composed.pixel(x, y) != plain.pixel(x, y);
            QVERIFY2(outside == 0, setting);
        }
        // Digits outside 0..3 draw no arm but keep the others.
        QImage masked = plain.copy();
        QPainter painter(&masked);
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.drawImage(0, 0, mask);
        painter.end();
        QCOMPARE(composer.branchPicture(road, u"9999"_s), masked);
    }

    void unknownChipsDrawAsEmpty_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::newRow("short empty cell") << u"00_"_s;
        QTest::newRow("type above 48") << u"77_zz"_s;
        QTest::newRow("no type") << u"ab_cd"_s;
        QTest::newRow("chip 48") << u"48_  "_s;
    }
    void unknownChipsDrawAsEmpty()
    {
        QFETCH(QString, cell);
        Editor editor;
        editor.document.layChip(6, 7, 1, cell);
        editor.session.refreshBoard();
        QCOMPARE(editor.window.board()->cellImage(6, 7),
                 editor.pictures.chip(ChipPictures::EmptyPicture));
    }

    void hoverShowsPositionAndDescription()
    {
        Editor editor;
        QString file;
        for (int k = 0; k < 49; ++k)
            file += k == 16 ? u"?マス進む\r\n"_s : u"chip%1\r\n"_s.arg(k);
        QCOMPARE(editor.descriptions.parse(codePage932Bytes(file)).status,
                 ChipDescriptions::Status::Ok);
        editor.show();
        editor.document.layChip(5, 12, 1, u"16_+$"_s);
        QTest::mouseMove(editor.window.board(), cellCentre(5, 12));
        QCOMPARE(editor.session.status().position(), u"1階(5,12)"_s);
        QCOMPARE(editor.session.status().text(), u"99マス進む"_s);
        QCOMPARE(editor.shown(u"positionPanel"_s), u"1階(5,12)"_s);
        QCOMPARE(editor.shown(u"statusPanel"_s), u"99マス進む"_s);
        // The label is grey while the tool is off, black while on, grey again after.
        const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
        QLabel *lineDraw = child<QLabel>(&editor.window, u"lineDrawLabel"_s);
        QCOMPARE(lineDraw->palette().color(QPalette::WindowText), grey);
        QVERIFY(editor.play(u"tool:line"_s));
        QCOMPARE(lineDraw->palette().color(QPalette::WindowText), QColor(Qt::black));
        QVERIFY(editor.play(u"tool:line"_s));
        QCOMPARE(lineDraw->palette().color(QPalette::WindowText), grey);
    }

    void startUpReadsDescriptions_data()
    {
        QTest::addColumn<int>("items"); // -1: no file
        QTest::addColumn<bool>("starts");
        QTest::addColumn<bool>("warned");
        QTest::newRow("49 items") << 49 << true << false;
        QTest::newRow("missing file") << -1 << true << true;
        QTest::newRow("48 items") << 48 << false << true;
    }
    void startUpReadsDescriptions()
    {
        QFETCH(int, items);
        QFETCH(bool, warned);
        QTemporaryDir folder;
        if (items >= 0) {
            QFile file(folder.filePath(u"Tavolin.dat"_s));
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (int k = 0; k < items; ++k)
                file.write(QByteArray("\"d") + QByteArray::number(k) + "\"\r\n");
        }
        ChipDescriptions descriptions;
        StubPrompter prompter;
        QTEST(Startup::readChipDescriptions(descriptions, prompter, folder.path()), "starts");
        if (!warned) {
            QCOMPARE(prompter.messages, QStringList());
            QCOMPARE(descriptions.description(48), u"d48"_s);
            return;
        }
        QCOMPARE(prompter.messages.size(), 1);
        QVERIFY(prompter.messages.first().startsWith(
            u"Q:zKエディタ|Tavolin.datを読み込み中にエラーが発生しました。\r\n"_s));
        QCOMPARE(descriptions.description(0), QString());
    }

    void helpThatCannotOpenIsReported()
    {
        // No help document ships beside the test program.
        const QString path =
            QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(u"Help.htm"_s);
        QVERIFY(!QFileInfo::exists(path));
        Editor editor;
        editor.show();
        QTest::keyClick(&editor.window, Qt::Key_F1);
        QCOMPARE(editor.prompter.messages,
                 QStringList{u"Q:zKエディタ|ヘルプファイル「"_s + QDir::toNativeSeparators(path) +
                             u"」を開けませんでした。"_s});
        QVERIFY(editor.window.toolWindow()->isVisible());
    }

    void cellUnderPointFollowsZoom_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QPoint>("cell");
        const int cellSizes[][2] = {{50, 12},  {75, 18},  {100, 24}, {150, 36},
                                    {200, 48}, {300, 72}, {400, 96}};
        for (const auto &[percent, size] : cellSizes) {
            const auto row = [percent = percent](const char *what) {
                return &(QTest::addRow("%d%% %s", percent, what) << percent);
            };
            *row("first pixel") << QPoint(0, 0) << QPoint(1, 1);
            *row("last pixel of the first cell") << QPoint(size - 1, size - 1) << QPoint(1, 1);
            *row("first pixel of the next cell") << QPoint(size, size - 1) << QPoint(2, 1);
            *row("last pixel of the board")
                << QPoint(24 * size - 1, 16 * size - 1) << QPoint(24, 16);
            *row("right of the board") << QPoint(24 * size, 0) << QPoint();
            *row("below the board") << QPoint(0, 16 * size) << QPoint();
            *row("left of the board") << QPoint(-1, 0) << QPoint();
        }
    }
    void cellUnderPointFollowsZoom()
    {
        QFETCH(int, percent);
        QFETCH(QPoint, point);
        QFETCH(QPoint, cell);
        EditorFixture editor;
        editor.view.setZoomPercent(percent);
        BoardView *board = editor.window.board();
        QCOMPARE(board->cellAt(point), cell);
        if (!cell.isNull())
            QVERIFY(board->cellRect(cell.x(), cell.y()).contains(point));
    }

    // A window manager that sees the window resizable for a moment may keep offering a resize
    // handle afterwards.
    void windowStaysFixedWhileZooming()
    {
        EditorFixture editor;
        editor.show();
        // The upper limit in force whenever the window changes size.
        struct ResizeWatch : QObject
        {
            QList<QSize> limits;
            bool eventFilter(QObject *watched, QEvent *event) override
            {
                if (event->type() == QEvent::Resize)
                    limits += static_cast<QWidget *>(watched)->maximumSize();
                return false;
            }
        } watch;
        editor.window.installEventFilter(&watch);
        editor.view.setZoomPercent(150);
        QVERIFY(!watch.limits.isEmpty());
        for (const QSize &limit : std::as_const(watch.limits))
            QCOMPARE(limit, editor.window.size());
    }

    void locatedCellIsScrolledIntoView_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<QPoint>("cell");
        QTest::newRow("far corner at 400 %") << 400 << QPoint(24, 16);
        QTest::newRow("right edge at 200 %") << 200 << QPoint(24, 1);
        QTest::newRow("back to the first cell") << 400 << QPoint(1, 1);
    }
    // A report line, a found cell or the far end of a pair names a cell the board must show.
    void locatedCellIsScrolledIntoView()
    {
        QFETCH(int, percent);
        QFETCH(QPoint, cell);
        EditorFixture editor;
        MapData map = MapData::resetMap();
        map.setFloorCount(2);
        editor.session.takeLoadedMap(map);
        editor.show();
        editor.view.setZoomPercent(percent);
        BoardView *board = editor.window.board();
        QWidget *viewport = board->parentWidget();
        // Scrolled to the other corner first, so the cell is out of sight.
        editor.session.locateCell(1, cell.x() > 12 ? QPoint(1, 1) : QPoint(24, 16));
        editor.session.locateCell(2, cell);
        QCOMPARE(editor.session.currentFloor(), 2);
        const QRect rect = board->cellRect(cell.x(), cell.y());
        QVERIFY(
            viewport->rect().contains(QRect(board->mapTo(viewport, rect.topLeft()), rect.size())));
        QCOMPARE(board->flashingCell(), cell);
    }

    void floatingBlockShowsItsOwnValues_data()
    {
        QTest::addColumn<QString>("script"); // ends with a block floating over cell (5,5)
        QTest::addColumn<QString>("chip");   // the block's own
        QTest::addColumn<QString>("arrows"); // the block's own branch setting drawn, if any
        QTest::addColumn<bool>("valueShown");
        // Cells (1,1) and (2,1) copied, their left over cell (5,5).
        const QString floated = u" tool:selection p:1,1,L d:2,1 r:2,1 copypaste h:5,5"_s;
        const QString branch3120 = u" mode:2 dir:1 dir:1 dir:1 dir:2 dir:3 dir:3 c:1,1,L"_s;
        const QString road = CellString::defaultChip();
        QTest::newRow("a numbered chip over an empty cell")
            << u"chip:16_+7 c:1,1,L"_s + floated << u"16_+7"_s << QString() << true;
        QTest::newRow("a road over a numbered chip")
            << u"chip:16_+7 c:5,5,L chip:01_[] c:1,1,L"_s + floated << road << QString() << false;
        QTest::newRow("branch mode: the block's arrows")
            << u"chip:01_[] c:1,1,L"_s + branch3120 + floated << road << u"3120"_s << false;
        QTest::newRow("branch mode: a block without a setting hides the cell's")
            << u"chip:01_[] c:1,1,L c:5,5,L mode:2 dir:1 dir:1 dir:1 dir:2 dir:2 dir:2 "
               u"dir:3 dir:3 dir:3 dir:4 dir:4 dir:4 c:5,5,L"_s +
                   floated
            << road << QString() << false;
        QTest::newRow("map edit mode: no arrows")
            << u"chip:01_[] c:1,1,L"_s + branch3120 + u" mode:1"_s + floated << road << QString()
            << false;
    }
    void floatingBlockShowsItsOwnValues()
    {
        QFETCH(QString, script);
        QFETCH(QString, chip);
        QFETCH(QString, arrows);
        EditorFixture editor;
        QVERIFY(editor.play(script));
        QVERIFY(editor.session.tools().selection().isFloating());
        const auto shot = [&](bool values) {
            editor.view.setShowsValues(values);
            return editor.window.board()->grab().toImage().copy(BoardPainter::cellRect(5, 5));
        };
        QTEST(shot(true) != shot(false), "valueShown");
        // Its own chip, not hidden under a marker.
        const CellComposer composer(editor.pictures);
        QCOMPARE(editor.window.board()->cellImage(5, 5),
                 arrows.isEmpty() ? editor.pictures.chip(CellString::pictureIndex(chip))
                                  : composer.branchPicture(chip, arrows));
    }

    void screenShowsWholeBoardAfterEachStep_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("zoom");
        const QString pair = u"mode:3 newpair c:7,7,L c:8,8,L endlink"_s;
        QTest::newRow("chips laid and undone")
            << u"chip:16_+7 c:3,3,L p:5,2,L d:9,2 d:9,6 r:9,6 undo redo undo"_s << 100;
        QTest::newRow("a number changed under the same picture")
            << u"chip:16_+7 c:3,3,L chip:16_+8 c:3,3,L"_s << 100;
        QTest::newRow("line preview moved and laid")
            << u"tool:line c:2,10,L h:9,10 h:4,14 h:12,3 c:12,3,L"_s << 150;
        QTest::newRow("selection grown and shrunk")
            << u"tool:selection p:2,2,L d:9,7 d:3,3 r:3,3 esc"_s << 100;
        QTest::newRow("floating block moved, turned and laid")
            << u"chip:16_+7 c:2,2,L c:3,2,L tool:selection p:2,2,L r:3,2 copypaste h:8,8 h:22,15 "
               u"turn:R h:9,4 c:9,4,L"_s
            << 200;
        QTest::newRow("branch mode and back") << u"c:4,4,L mode:2 dir:1 c:4,4,L mode:1"_s << 100;
        QTest::newRow("warp mode in and out") << pair + u" mode:1 mode:3 mode:1 mode:3"_s << 100;
    }
    // Only what changed is painted again, so after every step the screen must show what a
    // full paint of the board draws.
    void screenShowsWholeBoardAfterEachStep()
    {
        QFETCH(QString, script);
        QFETCH(int, zoom);
        EditorFixture f;
        f.view.setZoomPercent(zoom);
        f.show();
        BoardView *board = f.window.board();
        // At a zoom where the board scrolls, the part in view.
        const auto shown = [&](const QRect &part) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            // The offscreen screen hands out what was last painted into the window.
            const QRect area(board->mapTo(&f.window, part.topLeft()), part.size());
            return f.window.screen()
                ->grabWindow(f.window.winId(), area.x(), area.y(), area.width(), area.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        const auto drawn = [&](const QRect &part) {
            return board->grab(part).toImage().convertToFormat(QImage::Format_RGB32);
        };
        for (const QString &step : script.split(u' ')) {
            QVERIFY2(play(f.session, step), qPrintable(step));
            const QRect part = board->visibleRegion().boundingRect();
            QVERIFY(!part.isEmpty());
            // A repaint that a timer brings may come late on a loaded machine; one that never
            // comes still fails.
            QTRY_VERIFY2(shown(part) == drawn(part), qPrintable(u"after "_s + step));
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
