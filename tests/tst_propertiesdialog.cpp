#include "dialogs/aboutdialog.h"
#include "dialogs/helpdocument.h"
#include "dialogs/propertiesdialog.h"
#include "session/editorsession.h"
#include "sessionscript.h"
#include "stubdocumentopener.h"
#include "stubprompter.h"

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

namespace {

// Keeps the icon of each message too.
class IconPrompter : public StubPrompter
{
public:
    QList<Icon> icons;
    void tell(QWidget *parent, Icon icon, const QString &title, const QString &text) override
    {
        icons.append(icon);
        StubPrompter::tell(parent, icon, title, text);
    }
};

// Types text key by key; QTest::keyClicks takes Latin-1 only.
void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

const QString BrowseFolder = QStringLiteral("/maps/start");

// A map of five floors with texts on floors 2 and 3, shown at the given floor.
struct Editor : SessionFixture
{
    explicit Editor(int floor = 3)
    {
        MapData map;
        map.setFloorCount(5);
        map.setFloorName(2, QStringLiteral("Cellar"));
        map.setFloorBackground(2, QStringLiteral("img\\cellar.bmp"));
        map.setFloorEndText(2, QStringLiteral("dark\r\nand damp"));
        map.setFloorName(3, QStringLiteral("Hall"));
        map.setFloorEndText(3, QStringLiteral("Good luck"));
        document.replace(map);
        QVERIFY(play(QStringLiteral("floor:%1").arg(floor)));
    }

    IconPrompter prompter;
};

template <typename T> T *child(QWidget &dialog, const char *name)
{
    T *found = dialog.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

struct Controls
{
    explicit Controls(PropertiesDialog &dialog)
        : name(child<QLineEdit>(dialog, "nameEdit")),
          count(child<QLineEdit>(dialog, "floorCountEdit")),
          noBackground(child<QCheckBox>(dialog, "noBackgroundCheck")),
          background(child<QLineEdit>(dialog, "backgroundEdit")),
          browse(child<QPushButton>(dialog, "browseButton")),
          comment(child<QPlainTextEdit>(dialog, "commentEdit")),
          ok(child<QPushButton>(dialog, "okButton")),
          cancel(child<QPushButton>(dialog, "cancelButton"))
    {
    }

    QLineEdit *name;
    QLineEdit *count;
    QCheckBox *noBackground;
    QLineEdit *background;
    QPushButton *browse;
    QPlainTextEdit *comment;
    QPushButton *ok;
    QPushButton *cancel;
};

} // namespace

class TestPropertiesDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheCurrentFloor_data();
    void showsTheCurrentFloor();
    void checkBoxSwitchesThePathControls();
    void okStores_data();
    void okStores();
    void cancelStoresNothing_data();
    void cancelStoresNothing();
    void okRefusesTextsTheFileLoses_data();
    void okRefusesTextsTheFileLoses();
    void browseFillsThePath_data();
    void browseFillsThePath();
    void aboutBoxShowsVersionAndDate();
    void helpDocumentIsFound_data();
    void helpDocumentIsFound();
    void helpDocumentShipsWithTheProgram();
    void helpThatNoProgramShowsIsTold_data();
    void helpThatNoProgramShowsIsTold();
};

void TestPropertiesDialog::showsTheCurrentFloor_data()
{
    QTest::addColumn<int>("floor");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("noBackground");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("comment");

    QTest::newRow("floor 3 of 5, no background")
        << 3 << QStringLiteral("3階のプロパティ") << QStringLiteral("Hall") << true
        << QStringLiteral("img\\") << QStringLiteral("Good luck");
    QTest::newRow("floor 2 with background and two comment lines")
        << 2 << QStringLiteral("2階のプロパティ") << QStringLiteral("Cellar") << false
        << QStringLiteral("img\\cellar.bmp") << QStringLiteral("dark\nand damp");
    QTest::newRow("floor 5 without texts") << 5 << QStringLiteral("5階のプロパティ") << QString()
                                           << true << QStringLiteral("img\\") << QString();
}

void TestPropertiesDialog::showsTheCurrentFloor()
{
    QFETCH(int, floor);
    QFETCH(QString, caption);
    QFETCH(QString, name);
    QFETCH(bool, noBackground);
    QFETCH(QString, path);
    QFETCH(QString, comment);

    Editor editor(floor);
    PropertiesDialog dialog(editor.session, editor.prompter, BrowseFolder);
    Controls controls(dialog);

    QCOMPARE(dialog.windowTitle(), caption);
    QCOMPARE(controls.count->text(), QStringLiteral("5"));
    QCOMPARE(controls.name->text(), name);
    QCOMPARE(controls.noBackground->isChecked(), noBackground);
    QCOMPARE(controls.background->text(), path);
    QCOMPARE(controls.background->isEnabled(), !noBackground);
    QCOMPARE(controls.browse->isEnabled(), !noBackground);
    QCOMPARE(controls.comment->toPlainText(), comment);
}

void TestPropertiesDialog::checkBoxSwitchesThePathControls()
{
    Editor editor;
    PropertiesDialog dialog(editor.session, editor.prompter, BrowseFolder);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Controls controls(dialog);
    QVERIFY(controls.noBackground->isChecked());

    QTest::mouseClick(controls.noBackground, Qt::LeftButton);
    QVERIFY(!controls.noBackground->isChecked());
    QVERIFY(controls.background->isEnabled());
    QVERIFY(controls.browse->isEnabled());

    QTest::mouseClick(controls.noBackground, Qt::LeftButton);
    QVERIFY(!controls.background->isEnabled());
    QVERIFY(!controls.browse->isEnabled());
}

void TestPropertiesDialog::okStores_data()
{
    QTest::addColumn<int>("floor");
    QTest::addColumn<QString>("typedName");        // replaces the name box
    QTest::addColumn<QStringList>("typedComment"); // replaces the comment, one line each
    QTest::addColumn<int>("checkClicks");
    // Replaces the path box whenever it is enabled: at the start and after each click.
    QTest::addColumn<QString>("typedPath");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QString>("endText");

    QTest::newRow("empty name") << 3 << QString() << QStringList{QStringLiteral("Good luck")} << 0
                                << QString() << QString() << QString()
                                << QStringLiteral("Good luck");
    QTest::newRow("comment of three lines")
        << 3 << QStringLiteral("Hall")
        << QStringList{QStringLiteral("one"), QString(), QStringLiteral("三")} << 0 << QString()
        << QStringLiteral("Hall") << QString() << QStringLiteral("one\r\n\r\n三");
    QTest::newRow("background chosen by unchecking")
        << 3 << QStringLiteral("Hall") << QStringList{QStringLiteral("Good luck")} << 1
        << QStringLiteral("img\\hall.bmp") << QStringLiteral("Hall")
        << QStringLiteral("img\\hall.bmp") << QStringLiteral("Good luck");
    QTest::newRow("unchecked proposal stored as it stands")
        << 3 << QStringLiteral("Hall") << QStringList{QStringLiteral("Good luck")} << 1
        << QStringLiteral("img\\") << QStringLiteral("Hall") << QStringLiteral("img\\")
        << QStringLiteral("Good luck");
    QTest::newRow("yen sign and overline from an input method")
        << 3 << QStringLiteral("¥100‾") << QStringList{QStringLiteral("‾¥")} << 0 << QString()
        << QStringLiteral("¥100‾") << QString() << QStringLiteral("‾¥");
    // With the box checked the floor keeps its background, whatever the path box says.
    QTest::newRow("checked keeps an existing background")
        << 2 << QStringLiteral("Cellar") << QStringList{QStringLiteral("dark")} << 1
        << QStringLiteral("img\\other.bmp") << QStringLiteral("Cellar")
        << QStringLiteral("img\\cellar.bmp") << QStringLiteral("dark");
    QTest::newRow("checked keeps no background")
        << 3 << QStringLiteral("Hall") << QStringList{QString()} << 0 << QString()
        << QStringLiteral("Hall") << QString() << QString();
}

void TestPropertiesDialog::okStores()
{
    QFETCH(int, floor);
    QFETCH(QString, typedName);
    QFETCH(QStringList, typedComment);
    QFETCH(int, checkClicks);
    QFETCH(QString, typedPath);
    QFETCH(QString, name);
    QFETCH(QString, background);
    QFETCH(QString, endText);

    Editor editor(floor);
    const MapData before = editor.session.map();
    PropertiesDialog dialog(editor.session, editor.prompter, BrowseFolder);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Controls controls(dialog);

    controls.name->clear();
    typeText(controls.name, typedName);
    controls.comment->clear();
    for (int i = 0; i < typedComment.size(); ++i) {
        if (i > 0)
            QTest::keyClick(controls.comment, Qt::Key_Return);
        typeText(controls.comment, typedComment[i]);
    }
    auto typePath = [&] {
        if (!controls.background->isEnabled() || typedPath.isEmpty())
            return;
        controls.background->clear();
        typeText(controls.background, typedPath);
    };
    typePath();
    for (int i = 0; i < checkClicks; ++i) {
        QTest::mouseClick(controls.noBackground, Qt::LeftButton);
        typePath();
    }
    QTest::mouseClick(controls.ok, Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QVERIFY(editor.prompter.messages.isEmpty());
    const MapData &after = editor.session.map();
    QCOMPARE(after.floorName(floor), name);
    QCOMPARE(after.floorBackground(floor), background);
    QCOMPARE(after.floorEndText(floor), endText);
    // Only the current floor's texts change.
    MapData expected = before;
    expected.setFloorName(floor, name);
    expected.setFloorBackground(floor, background);
    expected.setFloorEndText(floor, endText);
    QVERIFY(after == expected);
}

void TestPropertiesDialog::cancelStoresNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel button") << QStringLiteral("button");
    QTest::newRow("escape key") << QStringLiteral("escape");
    QTest::newRow("close box") << QStringLiteral("close");
}

void TestPropertiesDialog::cancelStoresNothing()
{
    QFETCH(QString, how);

    Editor editor(2);
    const MapData before = editor.session.map();
    PropertiesDialog dialog(editor.session, editor.prompter, BrowseFolder);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Controls controls(dialog);
    typeText(controls.name, QStringLiteral(" renamed"));
    typeText(controls.comment, QStringLiteral(" more"));
    typeText(controls.background, QStringLiteral("x"));
    QTest::mouseClick(controls.noBackground, Qt::LeftButton);

    if (how == QLatin1String("button"))
        QTest::mouseClick(controls.cancel, Qt::LeftButton);
    else if (how == QLatin1String("escape"))
        QTest::keyClick(controls.name, Qt::Key_Escape);
    else
        QVERIFY(dialog.close());

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QVERIFY(editor.session.map() == before);
}

void TestPropertiesDialog::okRefusesTextsTheFileLoses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path"); // typed after unchecking the box
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("mention");

    const QString fine = QStringLiteral("img\\hall.bmp");
    QTest::newRow("comma in the name")
        << QStringLiteral("Hall, east") << fine << QString() << QStringLiteral("マップ名に「,」");
    QTest::newRow("star first in the name")
        << QStringLiteral("*END") << fine << QString() << QStringLiteral("マップ名の先頭に「*」");
    QTest::newRow("comma in the path") << QStringLiteral("Hall") << QStringLiteral("img\\a,b.bmp")
                                       << QString() << QStringLiteral("背景画のパスに「,」");
    QTest::newRow("star first in the path")
        << QStringLiteral("Hall") << QStringLiteral("*BG") << QString()
        << QStringLiteral("背景画のパスの先頭に「*」");
    QTest::newRow("name outside code page 932")
        << QStringLiteral("1층") << fine << QString() << QStringLiteral("「층」");
    QTest::newRow("path outside code page 932")
        << QStringLiteral("Hall") << QStringLiteral("img\\café.bmp") << QString()
        << QStringLiteral("「é」");
    QTest::newRow("comment outside code page 932")
        << QStringLiteral("Hall") << fine << QStringLiteral("see you \U0001F600")
        << QStringLiteral("コメントに");
}

void TestPropertiesDialog::okRefusesTextsTheFileLoses()
{
    QFETCH(QString, name);
    QFETCH(QString, path);
    QFETCH(QString, comment);
    QFETCH(QString, mention);

    Editor editor;
    const MapData before = editor.session.map();
    PropertiesDialog dialog(editor.session, editor.prompter, BrowseFolder);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Controls controls(dialog);
    controls.name->setText(name);
    QTest::mouseClick(controls.noBackground, Qt::LeftButton);
    controls.background->setText(path);
    controls.comment->setPlainText(comment);

    QTest::mouseClick(controls.ok, Qt::LeftButton);

    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.result() != QDialog::Accepted);
    QVERIFY(editor.session.map() == before);
    QCOMPARE(editor.prompter.messages.size(), 1);
    QVERIFY2(editor.prompter.messages[0].startsWith(QStringLiteral("Q:zKエディタ|")),
             qPrintable(editor.prompter.messages[0]));
    QVERIFY2(editor.prompter.messages[0].contains(mention),
             qPrintable(editor.prompter.messages[0]));
    QCOMPARE(editor.prompter.icons, QList<Prompter::Icon>{Prompter::Icon::Warning});

    // Mended, the same dialog stores everything.
    controls.name->setText(QStringLiteral("Hall"));
    controls.background->setText(QStringLiteral("img\\hall.bmp"));
    controls.comment->setPlainText(QStringLiteral("ok"));
    QTest::mouseClick(controls.ok, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(editor.session.map().floorBackground(3), QStringLiteral("img\\hall.bmp"));
}

void TestPropertiesDialog::browseFillsThePath_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("path");

    QTest::newRow("chosen") << QStringLiteral("/maps/pictures/sky.bmp")
                            << QStringLiteral("/maps/pictures/sky.bmp");
    QTest::newRow("cancelled") << QString() << QStringLiteral("img\\cellar.bmp");
}

void TestPropertiesDialog::browseFillsThePath()
{
    QFETCH(QString, answer);
    QFETCH(QString, path);

    Editor editor(2);
    editor.prompter.files = QStringList{answer};
    PropertiesDialog dialog(editor.session, editor.prompter, BrowseFolder);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Controls controls(dialog);

    QTest::mouseClick(controls.browse, Qt::LeftButton);

    QCOMPARE(editor.prompter.fileDialogs, QStringList{QStringLiteral("open|") + BrowseFolder});
    QCOMPARE(controls.background->text(), path);
    QVERIFY(dialog.isVisible());
    QVERIFY(editor.session.map().floorBackground(2) == QStringLiteral("img\\cellar.bmp"));
}

void TestPropertiesDialog::aboutBoxShowsVersionAndDate()
{
    AboutDialog about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.windowTitle(), QStringLiteral("バージョン情報"));
    QCOMPARE(child<QLabel>(about, "titleLabel")->text(), QStringLiteral("Q:zK Editor"));
    QCOMPARE(child<QLabel>(about, "versionLabel")->text(), QStringLiteral("Version 1.03"));
    QCOMPARE(child<QLabel>(about, "dateLabel")->text(), QStringLiteral("2004/08/29 Compiled"));
    QVERIFY(!child<QLabel>(about, "creditLabel")->text().isEmpty());
    QVERIFY(!child<QLabel>(about, "iconImage")->pixmap().isNull());
    QCOMPARE(child<QFrame>(about, "separatorLine")->frameShape(), QFrame::HLine);

    QTest::mouseClick(child<QPushButton>(about, "okButton"), Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

void TestPropertiesDialog::helpDocumentIsFound_data()
{
    QTest::addColumn<bool>("beside");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("found"); // relative to the temporary root

    QTest::newRow("beside the program") << true << false << QStringLiteral("bin/Help.htm");
    QTest::newRow("installed copy") << false << true << QStringLiteral("share/qzk-editor/Help.htm");
    QTest::newRow("beside wins") << true << true << QStringLiteral("bin/Help.htm");
    QTest::newRow("missing") << false << false << QString();
}

void TestPropertiesDialog::helpDocumentIsFound()
{
    QFETCH(bool, beside);
    QFETCH(bool, installed);
    QFETCH(QString, found);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("bin")));
    QVERIFY(dir.mkpath(QStringLiteral("share/qzk-editor")));
    // A folder of that name is not the document.
    QVERIFY(dir.mkpath(QStringLiteral("share/Help.htm")));
    auto create = [&](const QString &relative) {
        QFile file(dir.filePath(relative));
        return file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0;
    };
    if (beside)
        QVERIFY(create(QStringLiteral("bin/Help.htm")));
    if (installed)
        QVERIFY(create(QStringLiteral("share/qzk-editor/Help.htm")));

    const QString path = HelpDocument::locate(dir.filePath(QStringLiteral("bin")));
    if (found.isEmpty())
        QCOMPARE(path, QString());
    else
        QCOMPARE(QFileInfo(path).canonicalFilePath(),
                 QFileInfo(dir.filePath(found)).canonicalFilePath());
}

void TestPropertiesDialog::helpThatNoProgramShowsIsTold_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<StubDocumentOpener::Outcome>("outcome");
    QTest::addColumn<bool>("told");

    QTest::newRow("missing") << false << StubDocumentOpener::Outcome::Shown << true;
    QTest::newRow("no program for it") << true << StubDocumentOpener::Outcome::NoProgram << true;
    QTest::newRow("the program started gives up")
        << true << StubDocumentOpener::Outcome::ProgramGivesUp << true;
    QTest::newRow("shown") << true << StubDocumentOpener::Outcome::Shown << false;
}

void TestPropertiesDialog::helpThatNoProgramShowsIsTold()
{
    QFETCH(bool, present);
    QFETCH(StubDocumentOpener::Outcome, outcome);
    QFETCH(bool, told);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = QDir(folder.path()).absoluteFilePath(QStringLiteral("Help.htm"));
    if (present) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0);
    }
    StubDocumentOpener opener;
    opener.outcome = outcome;
    IconPrompter prompter;
    QWidget window;

    HelpDocument::show(&window, folder.path(), opener, prompter);

    QCOMPARE(opener.opened, present ? QStringList{path} : QStringList());
    if (!told) {
        QCOMPARE(prompter.messages, QStringList());
        return;
    }
    QTRY_COMPARE(prompter.messages, QStringList{QStringLiteral("Q:zKエディタ|ヘルプファイル「") +
                                                QDir::toNativeSeparators(path) +
                                                QStringLiteral("」を開けませんでした。")});
    QCOMPARE(prompter.icons, QList<Prompter::Icon>{Prompter::Icon::Warning});
}

void TestPropertiesDialog::helpDocumentShipsWithTheProgram()
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
    QVERIFY(text.contains(QStringLiteral("マップのプロパティ")));
}

QTEST_MAIN(TestPropertiesDialog)
#include "tst_propertiesdialog.moc"
