#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx dict import|info|files|tree|code".
void addDictCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
