#include "session/recoveryoffer.h"

#include "session/mapfileworkflow.h"
#include "session/recoverykeeper.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

RecoveryOffer::RecoveryOffer(RecoveryStore &store, RecoveryKeeper &keeper, MapFileWorkflow &files)
    : mStore(store), mKeeper(keeper), mFiles(files), mCopies(store.takeLeftCopies())
{
}

QString RecoveryOffer::title()
{
    return QStringLiteral("Q:zKエディタ");
}

QString RecoveryOffer::folderMessage() const
{
    if (mStore.folderProblem().isEmpty())
        return {};
    return QStringLiteral("復元用のフォルダに書き込めません。\r\n") + mStore.folderProblem() +
           QStringLiteral("\r\nフォルダ：") + QDir::toNativeSeparators(mStore.folder());
}

void RecoveryOffer::folderMessageTold()
{
    mKeeper.failureTold();
}

QString RecoveryOffer::question(const RecoveryStore::Copy &copy)
{
    const QString name = copy.originalName.isEmpty()
                             ? QStringLiteral("（名前のないマップ）")
                             : QFileInfo(copy.originalName).fileName() + QStringLiteral(".map");
    return QStringLiteral("前回、保存されずに終了したマップがあります。復元しますか？\r\n\r\n") +
           name + QStringLiteral("（") + QLocale().toString(copy.written, QLocale::ShortFormat) +
           QStringLiteral(
               "）\r\n\r\n「削除する」を選ぶと復元用のコピーは削除され、元に戻せません。") +
           QStringLiteral("\r\n「後で」を選ぶと、次に起動したときにもう一度たずねます。");
}

std::optional<MapFault> RecoveryOffer::answer(const RecoveryStore::Copy &copy, Answer answer)
{
    if (answer == Answer::Later)
        return std::nullopt;
    if (answer == Answer::Delete) {
        mStore.discard(copy);
        return std::nullopt;
    }
    const MapLoadResult loaded = RecoveryStore::load(copy);
    if (!loaded.ok()) {
        MapFault fault = *loaded.fault;
        // The copy stays for a later try; the files are in its folder.
        fault.message += QStringLiteral("\r\n") + QDir::toNativeSeparators(copy.folder);
        return fault;
    }
    mFiles.takeRecoveredMap(loaded.map, loaded.fileName, RecoveryStore::knownFiles(copy));
    mKeeper.replaceCopy(copy);
    mKeeper.flush();
    return std::nullopt;
}
