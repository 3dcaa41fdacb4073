#pragma once

#include "runtime/DialogService.h"
#include "runtime/Record.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The configuration as NAME=value lines, and single values set by name, for the
// command line. Names are those of the record without "CFG:"; array elements
// read "LOOK:FONT[1]"; the tab character is "TABCHAR".
namespace kestrix::config {

std::vector<std::pair<std::string, std::string>> configValues(const runtime::Record& config);

struct AssignmentResult final
{
    bool ok = false;
    std::optional<runtime::MessageRequest> refusal; // the window's own message
    std::string error;                              // a name or value the window could not be given
};

// Applies "NAME=VALUE" to `config` with the window's checks; leaves it unchanged when refused.
AssignmentResult applyConfigAssignment(runtime::Record& config, const std::string& assignment);

} // namespace kestrix::config
