#pragma once

#include "runtime/KeyedFile.h"

#include <string>
#include <vector>

namespace kestrix::utilities {

// The Variable drop-down's choices: the entries of the popup type "STRING BLD"
// when the popup data has its header, the built-in list otherwise.
std::vector<std::string> variableChoices(runtime::KeyedFile* popups);

} // namespace kestrix::utilities
