#include "dialogs/aboutdialog.h"
#include "dialogs/helpdocument.h"
#include "dialogs/propertiesdialog.h"
#include "editorfixture.h"
#include "mapfiletestmaps.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(StubDocumentOpener::Outcome)

using namespace Qt::StringLiterals;

namespace {

// Types text key by key; QTest::keyClicks takes Latin-1 only.
void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

const QString BrowseFolder = u"/maps/start"_s;

// A map of five floors with texts on floors 2 and 3, shown at the given floor, and the properties
// dialog of that floor, shown.
struct Properties : SessionFixture
{
    explicit Properties(int floor = 3) : shownFloor(showFloor(floor))
    {
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog))
            qFatal("properties dialog not exposed");
    }

    int showFloor(int floor)
    {
        MapData map;
        map.setFloorCount(5);
        map.setFloorName(2, u"Cellar"_s);
        map.setFloorBackground(2, u"img\\cellar.bmp"_s);
        map.setFloorEndText(2, u"dark\r\nand damp"_s);
        map.setFloorName(3, u"Hall"_s);
        map.setFloorEndText(3, u"Good luck"_s);
        document.replace(map);
        if (!play(u"floor:%1"_s.arg(floor)))
            qFatal("floor %d not shown", floor);
        return floor;
    }

    StubPrompter prompter;
    int shownFloor;
    const MapData before = session.map();
    PropertiesDialog dialog{session, prompter, BrowseFolder};
    QLineEdit *name = child<QLineEdit>(&dialog, u"nameEdit"_s);
    QLineEdit *count = child<QLineEdit>(&dialog, u"floorCountEdit"_s);
    QCheckBox *noBackground = child<QCheckBox>(&dialog, u"noBackgroundCheck"_s);
    QLineEdit *background = child<QLineEdit>(&dialog, u"backgroundEdit"_s);
    QPushButton *browse = child<QPushButton>(&dialog, u"browseButton"_s);
    QPlainTextEdit *comment = child<QPlainTextEdit>(&dialog, u"commentEdit"_s);
    QPushButton *ok = child<QPushButton>(&dialog, u"okButton"_s);
    QPushButton *cancel = child<QPushButton>(&dialog, u"cancelButton"_s);
};

} // namespace

class TestPropertiesDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheCurrentFloor_data()
    {
        QTest::addColumn<int>("floor");
        QTest::addColumn<int>("checkClicks"); // on the check box, once shown
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("noBackground");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("comment");

        const QString floor3 = u"3階のプロパティ"_s;
        QTest::newRow("floor 3 of 5, no background")
            << 3 << 0 << floor3 << u"Hall"_s << true << u"img\\"_s << u"Good luck"_s;
        QTest::newRow("floor 2 with background and two comment lines")
            << 2 << 0 << u"2階のプロパティ"_s << u"Cellar"_s << false << u"img\\cellar.bmp"_s
            << u"dark\nand damp"_s;
        QTest::newRow("floor 5 without texts")
            << 5 << 0 << u"5階のプロパティ"_s << QString() << true << u"img\\"_s << QString();
        QTest::newRow("unchecking enables the path")
            << 3 << 1 << floor3 << u"Hall"_s << false << u"img\\"_s << u"Good luck"_s;
        QTest::newRow("checking again disables it")
            << 3 << 2 << floor3 << u"Hall"_s << true << u"img\\"_s << u"Good luck"_s;
    }
    void showsTheCurrentFloor()
    {
        QFETCH(int, floor);
        QFETCH(int, checkClicks);
        QFETCH(bool, noBackground);
        Properties p(floor);
        for (int i = 0; i < checkClicks; ++i)
            QTest::mouseClick(p.noBackground, Qt::LeftButton);

        QTEST(p.dialog.windowTitle(), "caption");
        QCOMPARE(p.count->text(), u"5"_s);
        QTEST(p.name->text(), "name");
        QCOMPARE(p.noBackground->isChecked(), noBackground);
        QTEST(p.background->text(), "path");
        QCOMPARE(p.background->isEnabled(), !noBackground);
        QCOMPARE(p.browse->isEnabled(), !noBackground);
        QTEST(p.comment->toPlainText(), "comment");
    }

    void okStores_data()
    {
        QTest::addColumn<int>("floor");
        QTest::addColumn<QString>("name");             // replaces the name box, stored as typed
        QTest::addColumn<QStringList>("typedComment"); // replaces the comment, one line each
        QTest::addColumn<int>("checkClicks");
        // Replaces the path box whenever it is enabled: at the start and after each click.
        QTest::addColumn<QString>("typedPath");
        QTest::addColumn<QString>("background");
        QTest::addColumn<QString>("endText");

        QTest::newRow("empty name") << 3 << QString() << QStringList{u"Good luck"_s} << 0
                                    << QString() << QString() << u"Good luck"_s;
        QTest::newRow("comment of three lines")
            << 3 << u"Hall"_s << QStringList{u"one"_s, QString(), u"三"_s} << 0 << QString()
            << QString() << u"one\r\n\r\n三"_s;
        QTest::newRow("background chosen by unchecking")
            << 3 << u"Hall"_s << QStringList{u"Good luck"_s} << 1 << u"img\\hall.bmp"_s
            << u"img\\hall.bmp"_s << u"Good luck"_s;
        QTest::newRow("unchecked proposal stored as it stands")
            << 3 << u"Hall"_s << QStringList{u"Good luck"_s} << 1 << u"img\\"_s << u"img\\"_s
            << u"Good luck"_s;
        QTest::newRow("yen sign and overline from an input method")
            << 3 << u"¥100‾"_s << QStringList{u"‾¥"_s} << 0 << QString() << QString() << u"‾¥"_s;
        // With the box checked the floor keeps its background, whatever the path box says.
        QTest::newRow("checked keeps an existing background")
            << 2 << u"Cellar"_s << QStringList{u"dark"_s} << 1 << u"img\\other.bmp"_s
            << u"img\\cellar.bmp"_s << u"dark"_s;
        QTest::newRow("checked keeps no background")
            << 3 << u"Hall"_s << QStringList{QString()} << 0 << QString() << QString() << QString();
    }
    void okStores()
    {
        QFETCH(int, floor);
        QFETCH(QStringList, typedComment);
        QFETCH(int, checkClicks);
        QFETCH(QString, typedPath);
        QFETCH(QString, name);
        QFETCH(QString, background);
        QFETCH(QString, endText);
        Properties p(floor);

        p.name->clear();
        typeText(p.name, name);
        p.comment->clear();
        for (int i = 0; i < typedComment.size(); ++i) {
            if (i > 0)
                QTest::keyClick(p.comment, Qt::Key_Return);
            typeText(p.comment, typedComment[i]);
        }
        auto typePath = [&] {
            if (!p.background->isEnabled() || typedPath.isEmpty())
                return;
            p.background->clear();
            typeText(p.background, typedPath);
        };
        typePath();
        for (int i = 0; i < checkClicks; ++i) {
            QTest::mouseClick(p.noBackground, Qt::LeftButton);
            typePath();
        }
        QTest::mouseClick(p.ok, Qt::LeftButton);

        QCOMPARE(p.dialog.result(), int(QDialog::Accepted));
        QVERIFY(!p.dialog.isVisible());
        QVERIFY(p.prompter.messages.isEmpty());
        const MapData &after = p.session.map();
        QCOMPARE(after.floorName(floor), name);
        QCOMPARE(after.floorBackground(floor), background);
        QCOMPARE(after.floorEndText(floor), endText);
        // Only the current floor's texts change.
        MapData expected = p.before;
        expected.setFloorName(floor, name);
        expected.setFloorBackground(floor, background);
        expected.setFloorEndText(floor, endText);
        QVERIFY(after == expected);
    }

    void cancelStoresNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel button") << u"button"_s;
        QTest::newRow("escape key") << u"escape"_s;
        QTest::newRow("close box") << u"close"_s;
    }
    void cancelStoresNothing()
    {
        QFETCH(QString, how);
        Properties p(2);
        typeText(p.name, u" renamed"_s);
        typeText(p.comment, u" more"_s);
        typeText(p.background, u"x"_s);
        QTest::mouseClick(p.noBackground, Qt::LeftButton);

        if (how == u"button")
            QTest::mouseClick(p.cancel, Qt::LeftButton);
        else if (how == u"escape")
            QTest::keyClick(p.name, Qt::Key_Escape);
        else
            QVERIFY(p.dialog.close());

        QCOMPARE(p.dialog.result(), int(QDialog::Rejected));
        QVERIFY(!p.dialog.isVisible());
        QVERIFY(p.session.map() == p.before);
    }

    void okRefusesTextsTheFileLoses_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path"); // typed after unchecking the box
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("mention");

        const QString fine = u"img\\hall.bmp"_s;
        QTest::newRow("comma in the name")
            << u"Hall, east"_s << fine << QString() << u"マップ名に「,」"_s;
        QTest::newRow("star first in the name")
            << u"*END"_s << fine << QString() << u"マップ名の先頭に「*」"_s;
        QTest::newRow("comma in the path")
            << u"Hall"_s << u"img\\a,b.bmp"_s << QString() << u"背景画のパスに「,」"_s;
        QTest::newRow("star first in the path")
            << u"Hall"_s << u"*BG"_s << QString() << u"背景画のパスの先頭に「*」"_s;
        QTest::newRow("name outside code page 932") << u"1층"_s << fine << QString() << u"「층」"_s;
        QTest::newRow("path outside code page 932")
            << u"Hall"_s << u"img\\café.bmp"_s << QString() << u"「é」"_s;
        QTest::newRow("comment outside code page 932")
            << u"Hall"_s << fine << u"see you \U0001F600"_s << u"コメントに"_s;
    }
    void okRefusesTextsTheFileLoses()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QFETCH(QString, comment);
        QFETCH(QString, mention);
        Properties p;
        p.name->setText(name);
        QTest::mouseClick(p.noBackground, Qt::LeftButton);
        p.background->setText(path);
        p.comment->setPlainText(comment);

        QTest::mouseClick(p.ok, Qt::LeftButton);

        QVERIFY(p.dialog.isVisible());
        QVERIFY(p.dialog.result() != QDialog::Accepted);
        QVERIFY(p.session.map() == p.before);
        QCOMPARE(p.prompter.messages.size(), 1);
        const QString &message = p.prompter.messages[0];
        QVERIFY2(message.startsWith(u"Q:zKエディタ|"_s), qPrintable(message));
        QVERIFY2(message.contains(mention), qPrintable(message));
        QCOMPARE(p.prompter.messageIcons, QList<Prompter::Icon>{Prompter::Icon::Warning});

        // Mended, the same dialog stores everything.
        p.name->setText(u"Hall"_s);
        p.background->setText(u"img\\hall.bmp"_s);
        p.comment->setPlainText(u"ok"_s);
        QTest::mouseClick(p.ok, Qt::LeftButton);
        QCOMPARE(p.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(p.session.map().floorBackground(3), u"img\\hall.bmp"_s);
    }

    void browseFillsThePath_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("path");
        QTest::newRow("chosen") << u"/maps/pictures/sky.bmp"_s << u"/maps/pictures/sky.bmp"_s;
        QTest::newRow("cancelled") << QString() << u"img\\cellar.bmp"_s;
    }
    void browseFillsThePath()
    {
        QFETCH(QString, answer);
        Properties p(2);
        p.prompter.files = QStringList{answer};

        QTest::mouseClick(p.browse, Qt::LeftButton);

        QCOMPARE(p.prompter.fileDialogs, QStringList{u"open|"_s + BrowseFolder});
        QTEST(p.background->text(), "path");
        QVERIFY(p.dialog.isVisible());
        QVERIFY(p.session.map().floorBackground(2) == u"img\\cellar.bmp"_s);
    }

    void aboutBoxShowsVersionAndDate()
    {
        AboutDialog about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.windowTitle(), u"バージョン情報"_s);
        QCOMPARE(child<QLabel>(&about, u"titleLabel"_s)->text(), u"Q:zK Editor"_s);
        QCOMPARE(child<QLabel>(&about, u"versionLabel"_s)->text(), u"Version 1.03"_s);
        QCOMPARE(child<QLabel>(&about, u"dateLabel"_s)->text(), u"2004/08/29 Compiled"_s);
        QVERIFY(!child<QLabel>(&about, u"creditLabel"_s)->text().isEmpty());
        QVERIFY(!child<QLabel>(&about, u"iconImage"_s)->pixmap().isNull());
        QCOMPARE(child<QFrame>(&about, u"separatorLine"_s)->frameShape(), QFrame::HLine);

        QTest::mouseClick(child<QPushButton>(&about, u"okButton"_s), Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }

    void helpDocumentIsFound_data()
    {
        QTest::addColumn<bool>("beside");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("found"); // relative to the temporary root

        QTest::newRow("beside the program") << true << false << u"bin/Help.htm"_s;
        QTest::newRow("installed copy") << false << true << u"share/qzk-editor/Help.htm"_s;
        QTest::newRow("beside wins") << true << true << u"bin/Help.htm"_s;
        QTest::newRow("missing") << false << false << QString();
    }
    void helpDocumentIsFound()
    {
        QFETCH(bool, beside);
        QFETCH(bool, installed);
        QFETCH(QString, found);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QDir dir(root.path());
        QVERIFY(dir.mkpath(u"bin"_s));
        QVERIFY(dir.mkpath(u"share/qzk-editor"_s));
        // A folder of that name is not the document.
        QVERIFY(dir.mkpath(u"share/Help.htm"_s));
        if (beside)
            QVERIFY(writeFile(dir.filePath(u"bin/Help.htm"_s), "<html></html>"));
        if (installed)
            QVERIFY(writeFile(dir.filePath(u"share/qzk-editor/Help.htm"_s), "<html></html>"));

        const QString path = HelpDocument::locate(dir.filePath(u"bin"_s));
        if (found.isEmpty())
            QCOMPARE(path, QString());
        else
            QCOMPARE(QFileInfo(path).canonicalFilePath(),
                     QFileInfo(dir.filePath(found)).canonicalFilePath());
    }

    void helpDocumentShipsWithTheProgram()
    {
        const QString path = HelpDocument::locate(QStringLiteral(QZK_SOURCE_DATA));
        QVERIFY(!path.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        // A browser reads it as UTF-8 only when the page says so.
        QVERIFY(bytes.contains("<meta charset=\"utf-8\">"));
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder.decode(bytes);
        QVERIFY(!decoder.hasError());
        QVERIFY(text.contains(u"マップのプロパティ"_s));
    }

    void helpThatNoProgramShowsIsTold_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<StubDocumentOpener::Outcome>("outcome");
        QTest::addColumn<bool>("told");

        QTest::newRow("missing") << false << StubDocumentOpener::Outcome::Shown << true;
        QTest::newRow("no program for it")
            << true << StubDocumentOpener::Outcome::NoProgram << true;
        QTest::newRow("the program started gives up")
            << true << StubDocumentOpener::Outcome::ProgramGivesUp << true;
        QTest::newRow("shown") << true << StubDocumentOpener::Outcome::Shown << false;
    }
    void helpThatNoProgramShowsIsTold()
    {
        QFETCH(bool, present);
        QFETCH(StubDocumentOpener::Outcome, outcome);
        QFETCH(bool, told);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = QDir(folder.path()).absoluteFilePath(u"Help.htm"_s);
        if (present)
            QVERIFY(writeFile(path, "<html></html>"));
        StubDocumentOpener opener;
        opener.outcome = outcome;
        StubPrompter prompter;
        QWidget window;

        HelpDocument::show(&window, folder.path(), opener, prompter);

        QCOMPARE(opener.opened, present ? QStringList{path} : QStringList());
        const QString message = u"Q:zKエディタ|ヘルプファイル「"_s +
                                QDir::toNativeSeparators(path) + u"」を開けませんでした。"_s;
        QTRY_COMPARE(prompter.messages, told ? QStringList{message} : QStringList());
        QCOMPARE(prompter.messageIcons,
                 told ? QList<Prompter::Icon>{Prompter::Icon::Warning} : QList<Prompter::Icon>());
    }
};

QTEST_MAIN(TestPropertiesDialog)
#include "tst_propertiesdialog.moc"
