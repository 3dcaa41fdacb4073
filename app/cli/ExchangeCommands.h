#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx export FILE" and "ktx import FILE": the user's snippets, messages and inserts as JSON.
void addExchangeCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
