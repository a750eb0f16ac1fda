#pragma once

#include <QString>

class ChipDescriptions;
class Prompter;
class QWidget;
class RecoveryOffer;

namespace Startup {

// Reads the chip descriptions beside the program and tells the user of a problem.
// False when the editor cannot start; a missing file only leaves the descriptions blank.
bool readChipDescriptions(ChipDescriptions &descriptions, Prompter &prompter,
                          const QString &programFolder);

// Asks about each copy the offer holds, newest first, until one is restored. True when one
// was opened.
bool offerRecovery(RecoveryOffer &offer, Prompter &prompter, QWidget *parent);

} // namespace Startup
