#pragma once

#include "message/MessageGenerator.h"
#include "runtime/DialogService.h"
#include "runtime/Record.h"

#include <optional>
#include <string>
#include <vector>

// What the preview shows: the message box itself, as the generated code would.
namespace kestrix::message {

struct PreviewPlan final
{
    runtime::MessageRequest box; // text with real tabs, custom button texts when renamed
    std::optional<runtime::SystemSound> sound;
    std::optional<runtime::MessageRequest> warning; // "Unable to Find Default = ..." first
    bool choseOk = false;                           // no button was chosen: OK was, and made the default
};

// May choose OK in `message` (the window shows that change).
PreviewPlan planPreview(runtime::Record& message, const GeneratorSettings& settings,
                        const std::vector<std::string>& icons);

} // namespace kestrix::message
