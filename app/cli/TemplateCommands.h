#pragma once

#include "app/cli/ConfigCommands.h"

namespace kestrix::app {

// "ktx templates list|scan|load|register|delete-registry": the Template Registrar's list.
void addTemplateCommands(CLI::App& app, CommandRunner& run);

} // namespace kestrix::app
