#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx string build|clean|decompile".
void addStringCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
