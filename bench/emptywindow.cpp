// The yardstick for the editor's start-up: an empty Qt Widgets window, shown the same way.

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("zK empty"));
    window.resize(636, 480);
    window.show();
    return app.exec();
}
