#include "prompts/messageboxprompter.h"
#include "prompts/strayinputguard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The reload question comes when another program writes the map's files, perhaps while the
// user types or clicks on the board: only input given to the question itself answers it.
class TestUnbiddenQuestion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyInputForTheQuestionAnswersIt_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("afterMs"); // from the moment the question shows
        QTest::addColumn<bool>("yes");
        const int looked = StrayInputGuard::SettleMs + 200;
        QTest::newRow("Return as it shows") << u"return"_qs << 0 << false;
        QTest::newRow("Space as it shows") << u"space"_qs << 0 << false;
        QTest::newRow("click as it shows") << u"click"_qs << 0 << false;
        QTest::newRow("Return held since before") << u"repeat"_qs << looked << false;
        QTest::newRow("Return typed on through it") << u"typing"_qs << 0 << false;
        QTest::newRow("Return after a look") << u"return"_qs << looked << true;
        QTest::newRow("click after a look") << u"click"_qs << looked << true;
    }
    void onlyInputForTheQuestionAnswersIt()
    {
        QFETCH(QString, input);
        QFETCH(int, afterMs);
        QWidget window;
        window.show();
        MessageBoxPrompter prompter;
        bool given = false;
        QTimer::singleShot(0, this, [&] {
            QVERIFY(QTest::qWaitFor([] { return QApplication::activeModalWidget(); }, 5000));
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box && QTest::qWaitForWindowExposed(box));
            QTest::qWait(afterMs);
            QWidget *focus = box->focusWidget() ? box->focusWidget() : box;
            if (input == u"click") {
                QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
            } else if (input == u"repeat") {
                for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                    QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, u"\r"_qs, true);
                    QApplication::sendEvent(focus, &key);
                }
            } else if (input == u"typing") {
                for (int i = 0; i < 12; ++i) {
                    QTest::keyClick(focus, Qt::Key_Return);
                    QTest::qWait(StrayInputGuard::SettleMs / 5);
                }
            } else {
                QTest::keyClick(focus, input == u"return" ? Qt::Key_Return : Qt::Key_Space);
            }
            given = true;
            QTest::qWait(100);
            // Not answered: the user's own いいえ.
            if (box->isVisible())
                box->button(QMessageBox::No)->click();
        });
        const bool answer = prompter.askYesNoUnbidden(&window, u"Q:zKエディタ"_qs, u"?"_qs);
        QVERIFY(given);
        QTEST(answer, "yes");
    }
};

QTEST_MAIN(TestUnbiddenQuestion)
#include "tst_unbiddenquestion.moc"
