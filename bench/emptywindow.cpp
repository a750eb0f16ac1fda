// The yardstick for the editor's start-up: an empty Qt Widgets window, shown the same way.
// With --text it shows one line of Japanese, which costs what any window with text pays
// first: the system's font set read in and a fallback font found for the kana and kanji.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("zK empty"));
    window.resize(636, 480);
    if (QCoreApplication::arguments().contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Q:zKマップエディタ"), &window))->move(8, 8);
    window.show();
    return app.exec();
}
