#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx map FILE [--export]".
void addMapCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
