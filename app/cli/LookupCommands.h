#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx equates menu|code" (added to the "equates" command, which must exist), "ktx keycode"
// and "ktx tplcode": the Equate Helper, Keycode Helper and Template Code from the command line.
void addLookupCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
