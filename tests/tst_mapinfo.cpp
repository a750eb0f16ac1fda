#include "dialogs/chippicker.h"
#include "dialogs/chipreplacedialog.h"
#include "dialogs/mapinfowindow.h"
#include "editorfixture.h"
#include "filetestkit.h"
#include "mainwindow/mapactions.h"
#include "mainwindow/routeoverlay.h"
#include "model/cellstring.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// Floor 1 "S##G" with a warp at (1,2) whose pair leads to a road at (3,2) on floor 2.
MapData smallMap()
{
    return pictureMap(u"S##G/4|/..#"_s, {}, {u"1,2,1>3,2,2"_s});
}

} // namespace

class MapInfoTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The window's numbers and the board's pictures follow every edit and its undo.
    void infoFollowsTheMap()
    {
        EditorFixture f;
        f.session.takeLoadedMap(smallMap());
        f.show();
        MapActions &actions = *f.window.mapActions();
        actions.showMapInfo();
        MapInfoWindow *info = actions.mapInfo();
        QVERIFY(info);
        QCOMPARE(info->routeLabel()->text(), u"あがりまで 3 マス（ワープ 0 回）"_s);
        f.document.layChip(3, 1, 1, CellString::empty());
        QCOMPARE(info->routeLabel()->text(), u"あがりまで行けません。"_s);
        QVERIFY(f.play(u"undo"_s));
        QCOMPARE(info->routeLabel()->text(), u"あがりまで 3 マス（ワープ 0 回）"_s);
        info->floorBox()->setCurrentIndex(2);
        QCOMPARE(info->chipList()->topLevelItem(0)->text(2), u"01_[]"_s);

        info->routeButton()->click();
        QVERIFY(actions.overlay()->isVisible());
        info->close();
        QTRY_VERIFY(!actions.mapInfo());
        QVERIFY(!actions.overlay()->isVisible());
    }

    void replaceDialogCounts_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("everyFloor");
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("pairsWarned");
        QTest::newRow("this floor")
            << u"01_[]"_s << u"16_+7"_s << false << u"置き換わるマス: 2 個"_s << false;
        QTest::newRow("every floor")
            << u"01_[]"_s << u"16_+7"_s << true << u"置き換わるマス: 3 個"_s << false;
        QTest::newRow("a warp gives way")
            << u"36_W4"_s << u"01_[]"_s << true << u"置き換わるマス: 1 個"_s << true;
    }
    void replaceDialogCounts()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, everyFloor);
        const MapData map = smallMap();
        ChipPictures pictures;
        ChipDescriptions descriptions;
        ChipReplaceDialog dialog(map, 1, QRect(), pictures, descriptions);
        dialog.fromPicker()->setCell(from);
        dialog.toPicker()->setCell(to);
        QCOMPARE(dialog.toPicker()->cell(), to);
        dialog.setScope(everyFloor ? ChipReplace::Scope::EveryFloor : ChipReplace::Scope::Floor);
        QTEST(dialog.countLabel()->text(), "count");
        QTEST(!dialog.pairsLabel()->isHidden(), "pairsWarned");
    }

    // Find goes on across floors, shows each cell's floor, and says when there is none.
    void findAcrossFloors()
    {
        EditorFixture f;
        f.session.takeLoadedMap(smallMap());
        QVERIFY(f.play(u"chip:01_[]"_s));
        MapActions &actions = *f.window.mapActions();
        const QStringList expected{u"1階(2,1)"_s, u"1階(3,1)"_s, u"2階(3,2)"_s, u"1階(2,1)"_s};
        for (const QString &position : expected) {
            actions.findNext(true);
            QCOMPARE(f.session.status().position(), position);
        }
        actions.findNext(false);
        QCOMPARE(f.session.status().position(), u"2階(3,2)"_s);
        QCOMPARE(f.session.currentFloor(), 2);
        QVERIFY(f.play(u"chip:16_+7"_s));
        actions.findNext(true);
        QCOMPARE(f.session.status().position(), u"2階(3,2)"_s);
        QCOMPARE(f.session.status().text(), u"見つかりませんでした。"_s);
    }
};

QTEST_MAIN(MapInfoTest)
#include "tst_mapinfo.moc"
