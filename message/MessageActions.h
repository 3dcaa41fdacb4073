#pragma once

#include "config/Session.h"
#include "message/MessageGenerator.h"

#include <string>
#include <vector>

// The Message Maker's three outputs on one record: code to the clipboard
// (with the check messages shown) and the preview of the message box.
namespace kestrix::message {

// Generates and hands the lines to the clipboard queue in the session's mode.
GeneratedCode generateToClipboard(config::Session& session, const runtime::Record& message);
// Shows the message box the code would show, with its sound. May choose OK in `message`.
void previewMessage(config::Session& session, runtime::Record& message,
                    const std::vector<std::string>& icons);

} // namespace kestrix::message
