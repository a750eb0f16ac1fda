#pragma once

// The editor's windows brought up by their captions, for the tests of how they are laid out
// and how the keys reach their controls.

#include "dialogs/aboutdialog.h"
#include "dialogs/checkreportwindow.h"
#include "dialogs/chipfinddialog.h"
#include "dialogs/chipreplacedialog.h"
#include "dialogs/comparewindow.h"
#include "dialogs/imageexportdialog.h"
#include "dialogs/mapinfowindow.h"
#include "dialogs/propertiesdialog.h"
#include "editorfixture.h"

#include <QDir>
#include <QHash>
#include <QListWidget>

#include <memory>

// A dialog made as the editor makes it, held by `made` and not shown yet; or the main window
// or the tool window of a mode, shown with the editor (the warp window with pair A, asking
// whether to delete it under "削除しますか？"). Null if there is none or it cannot come up.
inline QWidget *editorWindow(EditorFixture &editor, const QString &caption,
                             std::unique_ptr<QWidget> &made, QWidget *parent = nullptr)
{
    using namespace Qt::StringLiterals;
    if (caption == u"画像として保存")
        made = std::make_unique<ImageExportDialog>(QDir::tempPath(), 1);
    else if (caption == u"チップの置換")
        made = std::make_unique<ChipReplaceDialog>(MapData::resetMap(), 1, QRect(1, 1, 2, 2),
                                                   editor.pictures, editor.descriptions, parent);
    else if (caption == u"プロパティ")
        made =
            std::make_unique<PropertiesDialog>(editor.session, editor.prompter, QDir::tempPath());
    else if (caption == u"チップの検索")
        made = std::make_unique<ChipFindDialog>(editor.pictures, editor.descriptions);
    else if (caption == u"マップの情報")
        made = std::make_unique<MapInfoWindow>(editor.pictures, editor.descriptions);
    else if (caption == u"バージョン情報")
        made = std::make_unique<AboutDialog>();
    else if (caption == u"チェック結果")
        made = std::make_unique<CheckReportWindow>();
    else if (caption == u"マップの比較")
        made = std::make_unique<CompareWindow>(editor.session.comparison());
    if (made)
        return made.get();
    const QString pair = u"mode:3 newpair c:3,5,L c:10,2,L"_s;
    const QHash<QString, QString> scripts{{u"Q;zKマップエディタ"_s, QString()},
                                          {u"マップチップ"_s, QString()},
                                          {u"分岐点の設定"_s, u"mode:2"_s},
                                          {u"ワープの設定"_s, pair},
                                          {u"削除しますか？"_s, pair}};
    if (!scripts.contains(caption))
        return nullptr;
    editor.show();
    if (!editor.play(scripts[caption]))
        return nullptr;
    if (caption == u"Q;zKマップエディタ")
        return &editor.window;
    if (caption == u"削除しますか？") {
        editor.warpWindow()->list()->setCurrentRow(0);
        child<QToolButton>(editor.warpWindow(), u"warpButton3"_s)->click();
        if (!editor.warpWindow()->isAskingDeletion())
            return nullptr;
    }
    return editor.window.toolWindow();
}
