#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx errors list|categories|case".
void addErrorCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
