#pragma once

namespace kestrix::config {
class Session;
}
namespace kestrix::runtime {
class ToolShelf;
}

namespace kestrix::clipboard {

// The Clipboard Queue viewer, started by the frame's "View Clipboard Queue" button.
constexpr const char* ClipViewProcedure = "ClipView";

void registerClipboardTools(runtime::ToolShelf& shelf, config::Session& session);

} // namespace kestrix::clipboard
