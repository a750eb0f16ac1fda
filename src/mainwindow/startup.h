#pragma once

#include <QString>

class ChipDescriptions;
class EditorSession;
class Prompter;
class QWidget;
class RecoveryStore;

namespace Startup {

// Reads the chip descriptions beside the program and tells the user of a problem.
// False when the editor cannot start; a missing file only leaves the descriptions blank.
bool readChipDescriptions(ChipDescriptions &descriptions, Prompter &prompter,
                          const QString &programFolder);

// Offers the maps that editors which did not end normally left as recovery copies, newest
// first, until one is taken. True when one was opened.
bool offerRecovery(RecoveryStore &store, EditorSession &session, Prompter &prompter,
                   QWidget *parent);

} // namespace Startup
