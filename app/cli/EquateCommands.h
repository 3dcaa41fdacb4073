#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx equates load|list" and "ktx popups load|show".
void addEquateCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
