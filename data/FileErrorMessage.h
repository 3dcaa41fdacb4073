#pragma once

#include "runtime/DialogService.h"
#include "runtime/FileError.h"

#include <string>

// The one form of the program's own file-error boxes: a sentence, then
// "||Error: ", "|File: " and "|File Error: ", under a caption in capitals.
namespace kestrix::data {

runtime::MessageRequest fileErrorMessage(const std::string& caption, const std::string& sentence,
                                         const std::string& fileName, const runtime::FileError& error,
                                         unsigned buttons = runtime::Button::Ok,
                                         runtime::MessageIcon icon = runtime::MessageIcon::Exclamation);

} // namespace kestrix::data
