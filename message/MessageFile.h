#pragma once

#include "runtime/DialogService.h"
#include "runtime/KeyedFile.h"

#include <optional>

// The message file "MESSAGE": the template record every new message starts from.
namespace kestrix::message {

struct TemplateResult final
{
    std::optional<runtime::Record> record;
    // When the template could not be created: the message to show after the error beep.
    std::optional<runtime::MessageRequest> failure;
};

// The "ZZ-DEFAULT" record, added to the file when it is missing.
TemplateResult fetchTemplate(runtime::KeyedFile& file);
// The template with its description blanked: an unsaved message.
TemplateResult newMessage(runtime::KeyedFile& file);
// The first record with this description, in key order.
std::optional<runtime::Record> findByDescription(runtime::KeyedFile& file, const std::string& description);

} // namespace kestrix::message
