#pragma once

#include "config/DraggedFields.h"
#include "runtime/DialogService.h"

#include <optional>
#include <string>
#include <vector>

// The String Builder's edits of its text: the Clean menu, the decompiler that
// reads a string expression back into text, and the inserts of dragged fields.
namespace kestrix::utilities {

enum class CleanAction { RemoveReturns, RemoveTabs, RemoveExtraSpaces, RemoveNonAscii };

// Each keeps the text as long or makes it shorter.
std::string cleanText(const std::string& text, CleanAction action);

// The lines as the text box shows them, word-wrapped, joined by hard line breaks.
std::string returnsAtBreaks(const std::vector<std::string>& displayedLines);

struct DecompiledString final
{
    std::string text;
    std::optional<runtime::MessageRequest> failure; // set when nothing could be read; `text` is then empty
};

// Reads a Clarion string expression (as Generate writes it) back into text:
// quoted parts are decoded, the Variable part and the `|` continuations go,
// an `&` that only joins quoted parts is dropped, and other code comes back in braces.
DecompiledString decompileString(const std::string& code);

// The brace expressions a drop of dictionary fields appends to the text.
std::string draggedFieldInserts(const config::DraggedFieldList& fields);

// The refusal of a text longer than the text box holds; nothing when it fits.
std::optional<runtime::MessageRequest> textTooLong(const std::string& text);

} // namespace kestrix::utilities
