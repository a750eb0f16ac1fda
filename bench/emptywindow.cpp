// The yardstick for the editor's start-up: an empty Qt Widgets window, shown the same way.
// With --text it shows one line of Japanese, which costs what any window with text pays
// first: the system's font set read in and a fallback font found for the kana and kanji.
// With --shape it has the editor's shape without its work: a menu bar of Japanese menus,
// floor tabs, a status bar and one tool window beside it, so what the editor adds to
// start-up is what it does, not what any window of that kind pays.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// Returns the tool window, to be shown with the main window as the editor shows its own.
QWidget *addShape(QMainWindow &window)
{
    const char16_t *menus[][5] = {
        {u"マップ(&M)", u"新規作成(&N)", u"開く(&O)", u"上書き保存(&S)", u"終了(&X)"},
        {u"編集(&E)", u"元に戻す(&U)", u"やり直し(&R)", u"切り取り(&T)", u"貼り付け(&P)"},
        {u"階層(&S)", u"右に移動(&R)", u"左に移動(&L)", u"フロアを１つ追加(&A)",
         u"このフロアを削除(&D)"},
        {u"表示(&V)", u"マップ編集モード(&M)", u"分岐点設定モード(&B)", u"ワープ設定モード(&W)",
         u"拡大(&I)"},
        {u"ツール(&T)", u"マップのチェック(&C)", nullptr, nullptr, nullptr},
        {u"ヘルプ(&H)", u"ヘルプの表示(&C)", u"バージョン情報(&A)", nullptr, nullptr},
    };
    for (const auto &items : menus) {
        QMenu *menu = window.menuBar()->addMenu(QString::fromUtf16(items[0]));
        for (int i = 1; i < 5 && items[i]; ++i)
            menu->addAction(QString::fromUtf16(items[i]));
    }
    auto *centre = new QWidget;
    auto *layout = new QVBoxLayout(centre);
    auto *tabs = new QTabBar;
    tabs->addTab(QStringLiteral("１階"));
    layout->addWidget(tabs);
    layout->addStretch();
    window.setCentralWidget(centre);
    window.statusBar()->showMessage(QStringLiteral("マップ編集モード"));

    // The tool window: a few buttons with Japanese captions, on top of the main window.
    auto *tool = new QWidget(&window, Qt::Tool);
    tool->setWindowTitle(QStringLiteral("マップチップ"));
    auto *toolLayout = new QVBoxLayout(tool);
    for (const char16_t *caption : {u"マップ", u"分岐", u"ワープ", u"範囲選択"}) {
        auto *button = new QToolButton;
        button->setText(QString::fromUtf16(caption));
        toolLayout->addWidget(button);
    }
    tool->resize(200, 420);
    tool->move(window.width() + 8, 0);
    return tool;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.contains(QStringLiteral("--shape"))) {
        QMainWindow window;
        window.setWindowTitle(QStringLiteral("zK empty"));
        window.resize(636, 480);
        QWidget *tool = addShape(window);
        window.show();
        tool->show();
        return app.exec();
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("zK empty"));
    window.resize(636, 480);
    if (arguments.contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Q:zKマップエディタ"), &window))->move(8, 8);
    window.show();
    return app.exec();
}
