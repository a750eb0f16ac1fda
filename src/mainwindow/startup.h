#pragma once

#include <QString>

class ChipDescriptions;
class Prompter;

namespace Startup {

// Reads the chip descriptions beside the program and tells the user of a problem.
// False when the editor cannot start; a missing file only leaves the descriptions blank.
bool readChipDescriptions(ChipDescriptions &descriptions, Prompter &prompter,
                          const QString &programFolder);

} // namespace Startup
