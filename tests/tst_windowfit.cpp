#include "dialogs/mergewindow.h"
#include "mainwindow/compareactions.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/mapactions.h"
#include "mainwindow/mergeactions.h"
#include "mainwindow/windowplacement.h"
#include "painting/textfit.h"
#include "windowtestkit.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

// Every caption of the editor's windows shows whole in the font the desktop gives, at the
// font DPI this run was started with (-fontdpi N, default 96, scaling off).
namespace {

// The part of a control that its caption may use.
QRect textArea(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                              -label->margin());
    return TextFit::buttonTextArea(qobject_cast<const QAbstractButton *>(control));
}

QString caption(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    return qobject_cast<const QAbstractButton *>(control)->text();
}

// The frame of the modal window that `open` runs, taken while it is open, and whether the
// tool window of `editor` showed beside it; it is then closed.
QRect modalFrame(const std::function<void()> &open, const MainWindow &editor, bool &toolShown)
{
    QRect frame;
    QTimer::singleShot(0, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            frame = modal->frameGeometry();
            toolShown = editor.toolWindow() && editor.toolWindow()->isVisible();
            modal->close();
        }
    });
    open();
    return frame;
}

// The window with this caption (see editorWindow), shown.
QWidget *shownWindow(EditorFixture &editor, const QString &caption, std::unique_ptr<QWidget> &made)
{
    editor.show();
    QWidget *top = editorWindow(editor, caption, made);
    if (made) {
        made->show();
        if (!QTest::qWaitForWindowExposed(top))
            return nullptr;
    }
    return top;
}

} // namespace

class TestWindowFit : public QObject
{
    Q_OBJECT

public:
    static int fontDpi;
    static bool screenGiven;

private Q_SLOTS:
    void initTestCase()
    {
        // Without this the whole run would quietly repeat the 96 dpi one.
        QCOMPARE(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()), fontDpi);
    }

    void captionFits_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("clicks");

        QTest::newRow("main: LineDraw") << u"Q;zKマップエディタ"_s << u"lineDrawLabel"_s << 0;
        for (int step = 1; step <= 8; ++step)
            QTest::addRow("palette: step %d", step)
                << u"マップチップ"_s << u"step%1"_s.arg(step) << 0;
        // Each direction's caption in each of its four states.
        for (int direction = 1; direction <= 4; ++direction)
            for (int clicks = 0; clicks < 4; ++clicks)
                QTest::addRow("branch: caption %d, state %d", direction, clicks)
                    << u"分岐点の設定"_s << u"caption%1"_s.arg(direction) << clicks;
        QTest::newRow("branch: Clear") << u"分岐点の設定"_s << u"clear"_s << 0;
        QTest::newRow("warp: clear selection") << u"ワープの設定"_s << u"warpButton4"_s << 0;
        QTest::newRow("warp: question") << u"削除しますか？"_s << u"question"_s << 0;
        QTest::newRow("warp: yes") << u"削除しますか？"_s << u"yesButton"_s << 0;
        QTest::newRow("warp: no") << u"削除しますか？"_s << u"noButton"_s << 0;
        for (const char *name : {"nameLabel", "floorCountLabel", "backgroundLabel", "commentLabel",
                                 "noBackgroundCheck", "browseButton", "okButton", "cancelButton"})
            QTest::addRow("properties: %s", name)
                << u"プロパティ"_s << QString::fromLatin1(name) << 0;
        for (const char *name :
             {"titleLabel", "versionLabel", "creditLabel", "dateLabel", "okButton"})
            QTest::addRow("about: %s", name)
                << u"バージョン情報"_s << QString::fromLatin1(name) << 0;
    }

    void captionFits()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(int, clicks);

        EditorFixture editor;
        std::unique_ptr<QWidget> made;
        QWidget *top = shownWindow(editor, window, made);
        QVERIFY(top);
        auto *widget = top->findChild<QWidget *>(control);
        QVERIFY2(widget, qPrintable(control));
        QVERIFY(editor.play(QStringLiteral("dir:%1 ").arg(control.back()).repeated(clicks)));

        const QString text = caption(widget);
        QVERIFY(!text.isEmpty());
        const QFontMetrics metrics = widget->fontMetrics();
        const QSize needed = metrics.size(Qt::TextShowMnemonic, text);
        const QRect area = textArea(widget);
        QVERIFY2(
            area.width() >= needed.width() && area.height() >= needed.height(),
            qPrintable(text + QString::asprintf(" needs %d x %d, has %d x %d", needed.width(),
                                                needed.height(), area.width(), area.height())));
        // A control that reaches past its window's edge is cut as well.
        const QRect inWindow(widget->mapTo(top, QPoint(0, 0)), widget->size());
        QVERIFY2(top->rect().contains(inWindow), qPrintable(text));
    }

    void toolWindowTitleFits_data()
    {
        QTest::addColumn<QString>("window");

        QTest::newRow("palette") << u"マップチップ"_s;
        QTest::newRow("branch") << u"分岐点の設定"_s;
        QTest::newRow("warp") << u"ワープの設定"_s;
    }

    // The window manager puts an icon and up to three buttons, each about as wide as the caption
    // is high, beside the title; a narrower window gets its title cut.
    void toolWindowTitleFits()
    {
        QFETCH(QString, window);

        EditorFixture editor;
        std::unique_ptr<QWidget> made;
        QWidget *top = shownWindow(editor, window, made);
        QFont bold = top->font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        QCOMPARE_GE(top->width(),
                    metrics.horizontalAdvance(top->windowTitle()) + 4 * metrics.height());
    }

    void reportLinesFit_data()
    {
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("warp cell without pair")
            << QStringList{u"ふりだしの数は正常です。"_s,
                           u"あがりの数は正常です。"_s,
                           u"【Error】2階の(5,7)に、設定されていないワープマスがあります。"_s,
                           u"あがりまでの道は、きちんとつながっています。"_s,
                           u"---------------------------------------------"_s,
                           u"このマップは、プレイ中にバグる可能性があります。"_s};
        QTest::newRow("far corner of the last floor") << QStringList{
            u"【Error】9階の(24,16)に、設定されていないワープマスがあります。"_s,
            u"【Error】9階(24,16)のワープは、同じ階層内にワープしなければなりません。"_s,
            u"【Error】9階(24,16)のNEXT/BACKは、階層をまたいでいません。"_s,
            u"ふりだしが3456個もあります。１階(24,16)のふりだしが有効です。"_s};
        QTest::newRow("no road") << QStringList{
            u"【Error】ふりだしは１階に置かないと動作しません。"_s,
            u"【Error】ふりだしからあがりまで、道がつながっていません。"_s,
            u"マップが特殊すぎて、到達チェックを行えませんでした。"_s,
            u"このマップに、特に重大な問題は見つかりませんでした。"_s};
    }

    void reportLinesFit()
    {
        QFETCH(QStringList, lines);

        QWidget main;
        auto *window = new CheckReportWindow(&main);
        window->showReport(lines);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QListWidget *list = window->list();
        const QFontMetrics metrics = list->fontMetrics();
        for (const QString &line : lines)
            QVERIFY2(metrics.horizontalAdvance(line) < list->viewport()->width(), qPrintable(line));
        QVERIFY(!list->horizontalScrollBar()->isVisible());
        QVERIFY(!list->verticalScrollBar()->isVisible());
        // No band of empty window below or beside the list.
        QCOMPARE(list->geometry(), window->rect());
    }

    void toolWindowKeptBeside_data()
    {
        QTest::addColumn<QRect>("tool");
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QPoint>("at");
        const QRect toolRect(700, 100, 200, 300);
        QTest::newRow("clear of the window: stays")
            << toolRect << QRect(0, 0, 680, 500) << QPoint(700, 100);
        QTest::newRow("covered, room on the right")
            << toolRect << QRect(0, 0, 900, 500) << QPoint(916, 100);
        QTest::newRow("covered, room on the left only")
            << toolRect << QRect(400, 0, 1400, 500) << QPoint(184, 100);
        QTest::newRow("no room on either side: stays")
            << toolRect << QRect(100, 0, 1700, 500) << QPoint(700, 100);
        QTest::newRow("kept on the screen's height")
            << QRect(700, 950, 200, 300) << QRect(0, 0, 900, 1000) << QPoint(916, 780);
    }

    void toolWindowKeptBeside()
    {
        QFETCH(QRect, tool);
        QFETCH(QRect, main);
        const QRect screen(0, 0, 1920, 1080);
        QTEST(WindowPlacement::beside(tool, main, screen, 16), "at");
    }

    void windowOpensOnScreen_data()
    {
        QTest::addColumn<QString>("opened");
        for (const char *opened : {"main window and palette", "branch window", "warp window",
                                   "check report", "information", "compare", "merge", "find",
                                   "replace", "picture export", "properties", "about"})
            QTest::newRow(opened) << QString::fromLatin1(opened);
    }

    // Each window opens wholly on the screen's free area and clear of the always-on-top tool
    // window; run at several screen sizes and scales (-screen WxH, QT_SCALE_FACTOR).
    void windowOpensOnScreen()
    {
        if (!screenGiven)
            QSKIP("run with -screen WxH");
        QFETCH(QString, opened);
        QTemporaryDir folder;
        EditorFixture editor;
        // The chip lists of the find and replace boxes are as wide as the longest description.
        QCOMPARE(editor.descriptions.load(QStringLiteral(QZK_SOURCE_DATA "/Tavolin.dat")).status,
                 ChipDescriptions::Status::Ok);
        editor.show();
        QVERIFY(editor.play(u"chip:33_S_ c:1,1,L chip:34_G_ c:2,1,L"_s));
        const QString base = folder.filePath(u"map"_s);
        QVERIFY(editor.files.writeMap(base).ok());
        const QRect screen = editor.window.screen()->availableGeometry();
        QWidget *opening = nullptr;
        QRect frame;
        bool toolShown = true;
        std::function<void()> modal;
        if (opened == u"main window and palette") {
            opening = &editor.window;
        } else if (opened == u"branch window" || opened == u"warp window") {
            QVERIFY(editor.play(opened == u"branch window" ? u"mode:2"_s : u"mode:3"_s));
            opening = editor.window.toolWindow();
        } else if (opened == u"check report") {
            editor.window.checkMap();
            opening = editor.window.checkReport();
        } else if (opened == u"information") {
            editor.window.mapActions()->showMapInfo();
            opening = editor.window.findChild<MapInfoWindow *>();
        } else if (opened == u"compare") {
            editor.window.compareActions()->compareWithSaved();
            opening = editor.window.findChild<CompareWindow *>();
        } else if (opened == u"merge") {
            QVERIFY(editor.window.mergeActions()->mergeWithMapFiles(base + u".map"_s,
                                                                    base + u".map"_s));
            opening = editor.window.findChild<MergeWindow *>();
        } else if (opened == u"find") {
            modal = [&] { editor.window.mapActions()->findChip(); };
        } else if (opened == u"replace") {
            modal = [&] { editor.window.mapActions()->replaceChips(); };
        } else if (opened == u"picture export") {
            modal = [&] { editor.trigger(u"画像として保存(&I)..."_s); };
        } else if (opened == u"properties") {
            modal = [&] { editor.window.editFloorProperties(); };
        } else {
            QCOMPARE(opened, u"about"_s);
            modal = [&] { editor.trigger(u"バージョン情報(&A)"_s); };
        }
        if (modal)
            frame = modalFrame(modal, editor.window, toolShown);
        if (opening) {
            QVERIFY(QTest::qWaitForWindowExposed(opening));
            frame = opening->frameGeometry();
        }
        QVERIFY(!frame.isEmpty());
        const auto text = [](const QRect &r) {
            return QString::asprintf("%dx%d at (%d,%d)", r.width(), r.height(), r.x(), r.y());
        };
        const QWidget *tool = editor.window.toolWindow();
        QVERIFY(tool && tool->isVisible());
        const QRect toolFrame = tool->frameGeometry();
        QVERIFY2(screen.contains(toolFrame), qPrintable(text(toolFrame)));
        if (opened == u"main window and palette") {
            // Where the two do not fit side by side the tool window lies over the board, never
            // over the menus, tabs, tool buttons or status bar; the buttons stand whole inside
            // the window, however short the screen.
            const QWidget *central = editor.window.centralWidget();
            QList<const QWidget *> kept{editor.window.menuBar(), editor.window.floorTabs(),
                                        editor.window.statusBar()};
            for (const QAbstractButton *button :
                 central->findChildren<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly)) {
                kept.append(button);
                QVERIFY2(!button->isVisible() || central->rect().contains(button->geometry()),
                         qPrintable(button->objectName() + u" cut off"_s));
            }
            for (const QWidget *part : kept) {
                const QRect place(part->mapToGlobal(QPoint(0, 0)), part->size());
                const QString name = part->objectName().isEmpty()
                                         ? QString::fromLatin1(part->metaObject()->className())
                                         : part->objectName();
                QVERIFY2(!part->isVisible() || !place.intersects(toolFrame),
                         qPrintable(name + u" under the tool window"_s));
            }
        }
        QVERIFY2(screen.contains(frame),
                 qPrintable(text(frame) + u" on a screen of "_s + text(screen)));
        // The tool window of the mode, shown over everything else, covers none of it; a modal
        // window may hide it instead (the properties and about boxes always do).
        if (tool != opening && opened != u"main window and palette" && toolShown)
            QVERIFY2(!frame.intersects(toolFrame),
                     qPrintable(text(frame) + u" under the tool window, "_s + text(toolFrame)));
    }

    void openingPlace_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("smallest");
        QTest::addColumn<QRect>("tool");
        QTest::addColumn<QRect>("at");
        // The main window is 700 x 500 at (100, 50), the screen 1024 x 800.
        const QRect tool(816, 50, 180, 400);
        const QSize any(100, 100);
        QTest::newRow("no tool window: below the main window")
            << QSize(300, 200) << any << QRect() << QRect(300, 566, 300, 200);
        QTest::newRow("no tool window, tall: right of the main window")
            << QSize(200, 300) << any << QRect() << QRect(816, 150, 200, 300);
        QTest::newRow("wide: below the main window, under the tool window")
            << QSize(800, 200) << any << tool << QRect(50, 566, 800, 200);
        QTest::newRow("tall: left, on the screen's height, covering the least")
            << QSize(300, 900) << any << tool << QRect(0, 0, 300, 800);
        QTest::newRow("too wide for the screen: made narrower")
            << QSize(1100, 200) << any << tool << QRect(0, 566, 1024, 200);
        QTest::newRow("room nowhere whole: the most of it")
            << QSize(1100, 780) << any << tool << QRect(0, 0, 800, 780);
        QTest::newRow("no smaller than it can be: below the tool window")
            << QSize(900, 780) << QSize(900, 300) << tool << QRect(124, 466, 900, 334);
        QTest::newRow("no room beside the tool window at its smallest: on the screen")
            << QSize(900, 780) << QSize(900, 500) << tool << QRect(124, 0, 900, 780);
    }

    void openingPlace()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, tool);
        QFETCH(QSize, smallest);
        QTEST(WindowPlacement::opening(size, smallest, QRect(100, 50, 700, 500), tool,
                                       QRect(0, 0, 1024, 800), 16),
              "at");
    }
};

int TestWindowFit::fontDpi = 96;
bool TestWindowFit::screenGiven = false;

int main(int argc, char *argv[])
{
    // -fontdpi N: the font DPI of this run, read when the application starts, with the fonts
    // grown in pixels and nothing else scaled. -screen WxH: an offscreen screen of that size,
    // for the placement rows, named from its own folder: a drive's colon would end the
    // platform's option.
    QTemporaryDir config;
    QByteArray platform = "offscreen:configfile=screens.json";
    for (int i = 1; i + 1 < argc; ++i) {
        const QByteArray value = argv[i + 1];
        if (std::strcmp(argv[i], "-fontdpi") == 0) {
            TestWindowFit::fontDpi = value.toInt();
            qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
            qputenv("QT_FONT_DPI", value);
            std::copy(argv + i + 2, argv + argc + 1, argv + i);
            argc -= 2;
            --i;
        } else if (std::strcmp(argv[i], "-screen") == 0) {
            const QList<QByteArray> size = value.split('x');
            QFile file(config.filePath(QStringLiteral("screens.json")));
            if (size.size() != 2 || !file.open(QIODevice::WriteOnly))
                return 2;
            file.write("{\"screens\": [{\"name\": \"screen\", \"x\": 0, \"y\": 0, \"width\": " +
                       size[0] + ", \"height\": " + size[1] + ", \"logicalDpi\": 96}]}");
            TestWindowFit::screenGiven = true;
            argv[i] = const_cast<char *>("-platform");
            argv[i + 1] = platform.data();
        }
    }
    const QString folder = QDir::currentPath();
    if (TestWindowFit::screenGiven)
        QDir::setCurrent(config.path());
    QApplication app(argc, argv);
    QDir::setCurrent(folder);
    TestWindowFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowfit.moc"
