#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx keys analyze": the Window Key Analysis of a window structure, as JSON.
void addKeyCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
