#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx message generate|decompile|save|list".
void addMessageCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
