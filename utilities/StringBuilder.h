#pragma once

#include "runtime/DialogService.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Turns free text into a Clarion string expression: quoted, with quotes and
// '<' doubled, wrapped into continuation lines, line breaks as <13,10> on
// request and text inside curly braces written as code.
namespace kestrix::utilities {

constexpr std::size_t StringTextSize = 3000;
constexpr std::size_t StringVariableSize = 60;
// Longest line a generation writes: the clipboard keeps no more of a line.
constexpr std::size_t StringLineLimit = 254;

struct StringSettings final
{
    std::string variable; // "Variable to Assign string to"; a '(' makes it a call
    bool enter = false;   // a line break of the text writes <13,10>
    int indent = 0;
    int nest = 0;
    int end = 80;
    bool callMode = false;
};

// What the window does when the Variable is accepted: a call sets CallMode and,
// for STOP( and HALT(, Enter; anything else clears both.
void acceptVariable(StringSettings& settings);

// The drop-down's choices when the popup data offers none.
const std::vector<std::string>& defaultVariableChoices();

struct StringCode final
{
    std::vector<std::string> lines;
    // Set when the text was refused: the message to show; `lines` holds the one line that says why.
    std::optional<runtime::MessageRequest> failure;
    // Characters a line could not hold; they are not written, and the caller says so.
    std::size_t dropped = 0;
};

StringCode buildString(const std::string& text, const StringSettings& settings);

// Balanced when every '}' closes an earlier '{' and none is left open.
bool bracesBalanced(const std::string& text);

} // namespace kestrix::utilities
