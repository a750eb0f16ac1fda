// Leaks one block of its own from inside Qt's event loop and exits. Run under LeakSanitizer
// with the suppressions every test gets, the leak must still be reported: the suppressions
// name Qt's own leaks, never a stack that merely passes through Qt.

#include <QCoreApplication>
#include <QTimer>

namespace {

// Volatile, so the block is really allocated and then really lost.
int *volatile leaked = nullptr;

// Not inlined, so the leak's stack names this file's code above Qt's frames.
Q_NEVER_INLINE void leakOwnBlock()
{
    leaked = new int[16];
    leaked = nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTimer::singleShot(0, &app, [&app] {
        leakOwnBlock();
        app.quit();
    });
    return app.exec();
}
