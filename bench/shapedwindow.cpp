// The yardstick for the editor's start-up where the editor's own shape matters (under wine,
// every window, menu and font costs a round trip): a main window with the editor's menu bar,
// a status line with Japanese text, a board-sized middle and a tool window beside it, empty.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Q:zK shaped"));
    for (const char *title :
         {"マップ(&M)", "編集(&E)", "階層(&S)", "表示(&V)", "ツール(&T)", "ヘルプ(&H)"})
        window.menuBar()->addMenu(QString::fromUtf8(title))->addAction(QStringLiteral("—"));
    auto *board = new QLabel;
    board->setMinimumSize(636, 480);
    window.setCentralWidget(board);
    window.statusBar()->showMessage(QStringLiteral("Q:zKマップエディタ"));
    QWidget tools(&window, Qt::Tool);
    tools.setWindowTitle(QStringLiteral("マップチップ"));
    tools.resize(200, 480);
    window.show();
    tools.move(window.frameGeometry().topRight());
    tools.show();
    return app.exec();
}
