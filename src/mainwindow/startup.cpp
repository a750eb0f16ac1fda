#include "mainwindow/startup.h"

#include "model/chipdescriptions.h"
#include "prompts/prompter.h"
#include "session/editorsession.h"
#include "session/recoverystore.h"

#include <QFileInfo>
#include <QLocale>

namespace Startup {

bool readChipDescriptions(ChipDescriptions &descriptions, Prompter &prompter,
                          const QString &programFolder)
{
    const ChipDescriptions::LoadResult loaded =
        descriptions.load(ChipDescriptions::locate(programFolder));
    if (loaded.status == ChipDescriptions::Status::Ok)
        return true;
    prompter.tell(nullptr, Prompter::Icon::Warning, QStringLiteral("Q:zKエディタ"), loaded.message);
    return loaded.status == ChipDescriptions::Status::Missing;
}

bool offerRecovery(RecoveryStore &store, EditorSession &session, Prompter &prompter,
                   QWidget *parent)
{
    const QString title = QStringLiteral("Q:zKエディタ");
    for (const RecoveryStore::Copy &copy : store.takeLeftCopies()) {
        const QString name = copy.originalName.isEmpty()
                                 ? QStringLiteral("（名前のないマップ）")
                                 : QFileInfo(copy.originalName).fileName() + QStringLiteral(".map");
        const QString question =
            QStringLiteral("前回、保存されずに終了したマップがあります。復元しますか？\r\n\r\n") +
            name + QStringLiteral("（") + QLocale().toString(copy.written, QLocale::ShortFormat) +
            QStringLiteral("）");
        if (!prompter.askYesNo(parent, title, question)) {
            store.discard(copy);
            continue;
        }
        const MapLoadResult loaded = RecoveryStore::load(copy);
        if (!loaded.ok()) {
            // The copy stays for a later try; the files are in its folder.
            prompter.tell(parent, Prompter::Icon::Warning, loaded.fault->title,
                          loaded.fault->message + QStringLiteral("\r\n") + copy.folder);
            continue;
        }
        session.takeRecoveredMap(loaded.map);
        // This editor's own copy exists before the one it came from goes.
        store.write(session.map());
        store.discard(copy);
        return true;
    }
    return false;
}

} // namespace Startup
