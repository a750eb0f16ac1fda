#include "mainwindow/startup.h"

#include "model/chipdescriptions.h"
#include "session/prompter.h"
#include "session/recoveryoffer.h"

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

bool offerRecovery(RecoveryOffer &offer, Prompter &prompter, QWidget *parent)
{
    const QString folderMessage = offer.folderMessage();
    if (!folderMessage.isEmpty()) {
        prompter.tell(parent, Prompter::Icon::Warning, RecoveryOffer::title(), folderMessage);
        offer.folderMessageTold();
    }
    for (const RecoveryStore::Copy &copy : offer.copies()) {
        RecoveryOffer::Answer answer = RecoveryOffer::Answer::Later;
        switch (
            prompter.askRestore(parent, RecoveryOffer::title(), RecoveryOffer::question(copy))) {
        case Prompter::RestoreAnswer::Restore:
            answer = RecoveryOffer::Answer::Restore;
            break;
        case Prompter::RestoreAnswer::Delete:
            answer = RecoveryOffer::Answer::Delete;
            break;
        case Prompter::RestoreAnswer::Later:
            break;
        }
        if (const std::optional<MapFault> fault = offer.answer(copy, answer)) {
            prompter.tell(parent, Prompter::Icon::Warning, fault->title, fault->message);
            continue;
        }
        if (answer == RecoveryOffer::Answer::Restore)
            return true;
    }
    return false;
}

} // namespace Startup
