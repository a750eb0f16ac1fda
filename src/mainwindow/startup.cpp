#include "mainwindow/startup.h"

#include "model/chipdescriptions.h"
#include "prompts/prompter.h"

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

} // namespace Startup
