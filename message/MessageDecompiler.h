#pragma once

#include "runtime/DialogService.h"
#include "runtime/Record.h"

#include <optional>
#include <string>
#include <vector>

// Rebuilds a message record from MESSAGE() source as the clipboard holds it:
// the generator's own output and the common hand-written forms.
namespace kestrix::message {

struct DecompileSettings final
{
    std::string buttonVariable = "Btn#";
    char tabCharacter = '`';
    std::vector<std::string> icons; // the window's icon list
};

struct DecompiledMessage final
{
    std::optional<runtime::Record> record; // the window's form: tabs as the tab character
    std::optional<runtime::MessageRequest> failure;
    // What did not fit the record and was left out, one sentence each.
    std::vector<std::string> dropped;
};

DecompiledMessage decompileMessage(const std::string& source, const DecompileSettings& settings);
// The box that says what a decompile had to leave out.
runtime::MessageRequest decompiledInPart(const DecompiledMessage& result);

// The source with string literals and comments blanked out, same length, so
// that searches for code words never look inside them.
std::string codeOnly(const std::string& source);

} // namespace kestrix::message
