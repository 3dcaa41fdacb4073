#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx color list|code|add|delete" and "ktx ascii".
void addColorCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
