#include "prompts/messageboxprompter.h"
#include "prompts/strayinputguard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// The reload question and the messages that come when another program writes the map's
// files or a folder cannot be written, perhaps while the user types or clicks on the board:
// only input given to the box after its buttons are enabled answers it.
class TestUnbiddenQuestion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyInputForTheQuestionAnswersIt_data()
    {
        QTest::addColumn<bool>("message"); // an OK box (tellUnbidden) instead of yes and no
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("afterMs"); // from the moment the question shows
        QTest::addColumn<bool>("answered");
        const int looked = StrayInputGuard::SettleMs + 200;
        for (const bool message : {false, true}) {
            const char *box = message ? "message: " : "question: ";
            const auto row = [&](const char *name) {
                return &(QTest::addRow("%s%s", box, name) << message);
            };
            *row("Return as it shows") << u"return"_s << 0 << false;
            // Input in the first half second does not make it longer.
            *row("clicking on through it") << u"clicking"_s << 0 << true;
            *row("click after a look") << u"click"_s << looked << true;
            if (message)
                continue;
            *row("Space as it shows") << u"space"_s << 0 << false;
            *row("click as it shows") << u"click"_s << 0 << false;
            *row("Return held since before") << u"repeat"_s << looked << false;
            *row("Return typed on through it") << u"typing"_s << 0 << true;
            *row("Return after a look") << u"return"_s << looked << true;
        }
    }
    void onlyInputForTheQuestionAnswersIt()
    {
        QFETCH(bool, message);
        QFETCH(QString, input);
        QFETCH(int, afterMs);
        QWidget window;
        window.show();
        MessageBoxPrompter prompter;
        bool given = false, closedByInput = false, disabledAsShown = false,
             enabledWhenGiven = false;
        QTimer::singleShot(0, this, [&] {
            QVERIFY(QTest::qWaitFor([] { return QApplication::activeModalWidget(); }, 5000));
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box && QTest::qWaitForWindowExposed(box));
            QAbstractButton *yes = box->button(message ? QMessageBox::Ok : QMessageBox::Yes);
            disabledAsShown = !yes->isEnabled();
            QTest::qWait(afterMs);
            enabledWhenGiven = yes->isEnabled();
            // Typing or clicking on through it: the same input every tenth of the wait.
            const bool onThrough = input == u"typing" || input == u"clicking";
            for (int i = 0; i < (onThrough ? 12 : 1) && box->isVisible(); ++i) {
                QWidget *focus = box->focusWidget() ? box->focusWidget() : box;
                if (input.contains(u"click")) {
                    QTest::mouseClick(yes, Qt::LeftButton);
                } else if (input == u"repeat") {
                    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                        QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, u"\r"_s, true);
                        QApplication::sendEvent(focus, &key);
                    }
                } else {
                    QTest::keyClick(focus, input == u"space" ? Qt::Key_Space : Qt::Key_Return);
                }
                if (onThrough)
                    QTest::qWait(StrayInputGuard::SettleMs / 5);
            }
            given = true;
            QTest::qWait(100);
            closedByInput = !box->isVisible();
            // Not answered: the user's own いいえ or OK after a look.
            if (box->isVisible())
                box->done(message ? QMessageBox::Ok : QMessageBox::No);
        });
        if (message) {
            prompter.tellUnbidden(&window, Prompter::Icon::Information, u"Q:zKエディタ"_s, u"!"_s);
        } else {
            const bool yes = prompter.askYesNoUnbidden(&window, u"Q:zKエディタ"_s, u"?"_s);
            QCOMPARE(yes, closedByInput);
        }
        QVERIFY(given);
        // Seen to be waiting: its buttons are disabled until the half second is over.
        QVERIFY(disabledAsShown);
        QCOMPARE(enabledWhenGiven, afterMs >= StrayInputGuard::SettleMs);
        QTEST(closedByInput, "answered");
    }
};

QTEST_MAIN(TestUnbiddenQuestion)
#include "tst_unbiddenquestion.moc"
