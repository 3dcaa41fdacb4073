#pragma once

#include "runtime/Record.h"

#include <nlohmann/json.hpp>

#include <string>

// A message record as one JSON object (UTF-8; the text in its file form, with
// real tabs): description, caption, text, icon, buttons, default, codeType,
// codeLoop, codeIfError, sound, renameButtons, buttonNames.
namespace kestrix::message {

// `record` in the window's form (tabs as the tab character).
nlohmann::ordered_json messageToJson(const runtime::Record& record, char tabCharacter);
// Applies the members present to `record` (window form). Returns an error text, empty when all was applied.
std::string applyMessageJson(runtime::Record& record, const nlohmann::json& json, char tabCharacter);

} // namespace kestrix::message
