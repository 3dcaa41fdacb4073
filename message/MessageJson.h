#pragma once

#include "message/MessageMaker.h"
#include "runtime/Record.h"

#include <nlohmann/json.hpp>

#include <string>

// A message record as one JSON object (UTF-8; the text in its file form, with
// real tabs): description, caption, text, icon, buttons, default, codeType,
// codeLoop, codeIfError, sound, renameButtons, buttonNames.
namespace kestrix::message {

// `record` in the window's form (tabs as the tab character).
nlohmann::ordered_json messageToJson(const runtime::Record& record, char tabCharacter);
struct ParsedMessageJson final
{
    MessageEdits edits; // the members present, the text in the window's form
    std::string error;  // empty when every member was understood
};
// "description" is not read: a message is named by the command that saves it.
ParsedMessageJson parseMessageJson(const nlohmann::json& json, char tabCharacter);

} // namespace kestrix::message
