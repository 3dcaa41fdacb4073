#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx help scan|list|add|delete": the Help Organizer's list.
void addHelpCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
