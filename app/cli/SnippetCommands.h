#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx snippets types|add|list|delete|copy".
void addSnippetCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
