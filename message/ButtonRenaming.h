#pragma once

#include "runtime/Record.h"

#include <string>

// The Rename Message Buttons window's rules on the message record.
namespace kestrix::message {

// The popup type whose templates are lists of button names.
constexpr const char* RenameButtonPopup = "RENAME BUTTON";

// As the window opens: renaming on, an old record's blank locale fixed.
void startRenaming(runtime::Record& message);
// "Save,Discard,Cancel": the names of buttons 1, 2, 3 ...; the others blank.
void loadButtonNames(runtime::Record& message, const std::string& names);
void blankButtonNames(runtime::Record& message);
// As the window closes: with every name blank there is nothing to rename.
void finishRenaming(runtime::Record& message);

} // namespace kestrix::message
