#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx find TEXT".
void addFindCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
