#pragma once

#include "runtime/KeyedFile.h"
#include "runtime/Record.h"

#include <memory>
#include <string>
#include <vector>

// The message-inserts record (prefix MI): a snippet the user inserts into a
// message text with one click, kept in the file "MSGINSER".
namespace kestrix::message {

namespace Mi {
enum Field : int { Text1, Text2, Curly, Clip };
enum Key : int { Key };
constexpr std::size_t Text1Length = 20;
constexpr std::size_t TextLength = 240;
} // namespace Mi

std::shared_ptr<const runtime::RecordLayout> messageInsertLayout();

// MI:TEXT, the group of MI:TEXT1 (the key, 20 characters) and MI:TEXT2.
std::string insertText(const runtime::Record& insert);
void setInsertText(runtime::Record& insert, const std::string& text);

// The piece "{&M}" inserts: CLIP() and then braces around the text, as the record asks.
std::string miscInsertPiece(const runtime::Record& insert);

} // namespace kestrix::message
