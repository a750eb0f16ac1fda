#include "editorfixture.h"
#include "toolwindows/chippalette.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTest>

namespace {

// Clicks on the board as "x,y,button" with button L, R or M; "line" toggles the line tool;
// "mode:N" switches the edit mode.
void run(EditorSession &session, const QString &actions)
{
    for (const QString &action : actions.split(u' ', Qt::SkipEmptyParts)) {
        if (action == u"line") {
            session.toggleLineTool();
            continue;
        }
        if (action.startsWith(u"mode:")) {
            session.setEditMode(EditorSession::EditMode(action.mid(5).toInt()));
            continue;
        }
        const QStringList f = action.split(u',');
        const Qt::MouseButton button = f[2] == u"L"   ? Qt::LeftButton
                                       : f[2] == u"R" ? Qt::RightButton
                                                      : Qt::MiddleButton;
        session.clickCell(QPoint(f[0].toInt(), f[1].toInt()), button);
    }
}

QString descriptionsFile()
{
    QString file;
    for (int k = 0; k < 49; ++k)
        file += k == 16 ? QStringLiteral("\"?マス進む\"\r\n") : QStringLiteral("chip%1\r\n").arg(k);
    return file;
}

} // namespace

class TestCellEditing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clicks_data();
    void clicks();
    void hoverTexts_data();
    void hoverTexts();
    void previewRedrawnOnlyForNewCell();
    void paletteAndBoardWithMouse();
};

void TestCellEditing::clicks_data()
{
    QTest::addColumn<QString>("cellsBefore"); // "x,y,cell" laid before the clicks
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("cellsAfter"); // "x,y,cell|x,y,cell" expected afterwards
    QTest::addColumn<int>("lineTool");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("selectedChip");

    QTest::newRow("left lays the chip") << ""
                                        << "3,4,L"
                                        << "3,4,01_[]" << 0 << ""
                                        << "01_[]";
    QTest::newRow("right picks the chip up") << "9,9,16_+7"
                                             << "9,9,R"
                                             << "9,9,16_+7" << 0 << ""
                                             << "16_+7";
    QTest::newRow("middle lays nothing") << ""
                                         << "3,4,M"
                                         << "3,4,00_  " << 0 << ""
                                         << "01_[]";
    QTest::newRow("line start") << ""
                                << "line 2,2,L"
                                << "2,2,00_  " << 2 << "終点をクリックして下さい。"
                                << "01_[]";
    QTest::newRow("line commit") << ""
                                 << "line 2,2,L 4,2,L"
                                 << "2,2,01_[]|3,2,01_[]|4,2,01_[]" << 1
                                 << "始点をクリックして下さい。"
                                 << "01_[]";
    QTest::newRow("right while waiting for the end")
        << ""
        << "line 2,2,L 4,2,R"
        << "2,2,00_  |4,2,00_  " << 1 << "始点をクリックして下さい。"
        << "01_[]";
    QTest::newRow("middle while waiting for the end")
        << ""
        << "line 2,2,L 4,2,M"
        << "4,2,00_  " << 1 << "始点をクリックして下さい。"
        << "01_[]";
    QTest::newRow("right while waiting for the start switches off") << ""
                                                                    << "line 2,2,R"
                                                                    << "2,2,00_  " << 0 << ""
                                                                    << "01_[]";
    QTest::newRow("second line after a commit")
        << ""
        << "line 1,1,L 1,3,L 5,5,L 5,6,L"
        << "1,2,01_[]|5,6,01_[]|4,5,00_  " << 1 << "始点をクリックして下さい。"
        << "01_[]";
    QTest::newRow("branch mode does not paint") << ""
                                                << "mode:2 3,3,L"
                                                << "3,3,00_  " << 0 << ""
                                                << "01_[]";
    QTest::newRow("warp mode right click picks the chip") << "6,6,16_+7"
                                                          << "mode:3 6,6,R"
                                                          << "6,6,16_+7" << 0 << ""
                                                          << "16_+7";
    QTest::newRow("warp mode left click changes nothing") << ""
                                                          << "mode:3 6,6,L"
                                                          << "6,6,00_  " << 0 << ""
                                                          << "01_[]";
}

void TestCellEditing::clicks()
{
    QFETCH(QString, cellsBefore);
    QFETCH(QString, actions);
    QFETCH(QString, cellsAfter);
    QFETCH(int, lineTool);
    QFETCH(QString, status);
    QFETCH(QString, selectedChip);
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session(document, descriptions);
    for (const QString &entry : cellsBefore.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList f = entry.split(u',');
        document.layChip(f[0].toInt(), f[1].toInt(), 1, f[2]);
    }
    run(session, actions);
    for (const QString &entry : cellsAfter.split(u'|')) {
        const QStringList f = entry.split(u',');
        const QString cell = entry.section(u',', 2);
        QCOMPARE(document.data().cell(f[0].toInt(), f[1].toInt(), 1), cell);
    }
    QCOMPARE(int(session.lineToolState()), lineTool);
    QCOMPARE(session.statusText(), status);
    QCOMPARE(session.selectedChip(), selectedChip);
}

void TestCellEditing::hoverTexts_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("floor");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("status");
    QTest::newRow("floor 2") << "01_[]" << 2 << "2階(5,12)"
                             << "chip1";
    QTest::newRow("$ shows 99") << "16_+$" << 1 << "1階(5,12)"
                                << "99マス進む";
    QTest::newRow("Z shows 35") << "16_+Z" << 1 << "1階(5,12)"
                                << "35マス進む";
    QTest::newRow("! shows 100") << "16_+!" << 1 << "1階(5,12)"
                                 << "100マス進む";
    QTest::newRow("never numbered") << "16_+X" << 1 << "1階(5,12)"
                                    << "33マス進む";
}

void TestCellEditing::hoverTexts()
{
    QFETCH(QString, cell);
    QFETCH(int, floor);
    QFETCH(QString, position);
    QFETCH(QString, status);
    MapDocument document;
    MapData map = MapData::resetMap();
    map.setFloorCount(2);
    map.setCell(5, 12, floor, cell);
    document.replace(map);
    ChipDescriptions descriptions;
    QStringEncoder cp932("windows-31j");
    QCOMPARE(descriptions.parse(cp932.encode(descriptionsFile())).status,
             ChipDescriptions::Status::Ok);
    EditorSession session(document, descriptions);
    session.selectFloorTab(floor - 1);
    session.hoverCell({5, 12});
    QCOMPARE(session.positionText(), position);
    QCOMPARE(session.statusText(), status);
}

void TestCellEditing::previewRedrawnOnlyForNewCell()
{
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session(document, descriptions);
    run(session, QStringLiteral("line 1,1,L"));
    QSignalSpy refreshed(&session, &EditorSession::boardRefreshed);
    session.hoverCell({4, 1});
    const int afterFirst = refreshed.count();
    QVERIFY(afterFirst > 0);
    session.hoverCell({4, 1});
    QCOMPARE(refreshed.count(), afterFirst);
    QCOMPARE(session.lineMarks().size(), 4);
    // The line prompt stays while the preview follows the mouse.
    QCOMPARE(session.statusText(), QStringLiteral("終点をクリックして下さい。"));
}

void TestCellEditing::paletteAndBoardWithMouse()
{
    EditorFixture editor;
    QStringEncoder cp932("windows-31j");
    editor.descriptions.parse(cp932.encode(descriptionsFile()));
    editor.show();
    EditorSession &session = editor.session;
    const MapDocument &document = editor.document;
    const ChipPictures &pictures = editor.pictures;
    MainWindow &window = editor.window;
    auto *palette = qobject_cast<ChipPalette *>(window.toolWindow());
    QVERIFY(palette);

    QTest::mouseClick(palette, Qt::RightButton, {}, ChipPalette::cellRect(16).center());
    QCOMPARE(session.selectedChip(), QStringLiteral("16_+7"));
    auto *valueBox = palette->findChild<QLineEdit *>(QStringLiteral("valueBox"));
    QVERIFY(valueBox->isEnabled());
    // Each key is normalised at once: the 5 turns into 7 before the 0 arrives.
    valueBox->selectAll();
    QTest::keyClicks(valueBox, QStringLiteral("50"));
    QCOMPARE(valueBox->text(), QStringLiteral("100"));
    QCOMPARE(session.selectedChip(), QStringLiteral("16_+!"));
    valueBox->selectAll();
    QTest::keyClicks(valueBox, QStringLiteral("9"));
    QTest::mouseClick(palette->findChild<QPushButton *>(QStringLiteral("step4")), Qt::LeftButton);
    QCOMPARE(valueBox->text(), QStringLiteral("19"));
    QCOMPARE(session.selectedChip(), QStringLiteral("16_+J"));
    QCOMPARE(palette->findChild<QLabel *>(QStringLiteral("description"))->text(),
             QStringLiteral("19マス進む"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("sampleCode"))->text(),
             QStringLiteral("+J"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("sample"))->pixmap().toImage(),
             pictures.chip(16));
    QTest::mouseClick(palette->findChild<QPushButton *>(QStringLiteral("step8")), Qt::LeftButton);
    QCOMPARE(session.selectedChip(), QStringLiteral("16_+$"));

    QTest::mouseClick(window.board(), Qt::LeftButton, {}, BoardPainter::cellRect(5, 12).center());
    QCOMPARE(document.data().cell(5, 12, 1), QStringLiteral("16_+$"));
    QTest::mouseMove(window.board(), BoardPainter::cellRect(5, 12).center());
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("statusPanel"))->text(),
             QStringLiteral("99マス進む"));

    // The eraser is the last palette cell.
    QTest::mouseClick(palette, Qt::LeftButton, {}, ChipPalette::cellRect(48).center());
    QCOMPARE(session.selectedChip(), QStringLiteral("00_  "));
    QVERIFY(!valueBox->isEnabled());
    QTest::mouseClick(window.board(), Qt::LeftButton, {}, BoardPainter::cellRect(5, 12).center());
    QCOMPARE(document.data().cell(5, 12, 1), QStringLiteral("00_  "));
}

QTEST_MAIN(TestCellEditing)
#include "tst_cellediting.moc"
