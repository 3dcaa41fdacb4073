#pragma once

namespace kestrix::config {
class Session;
}
namespace kestrix::runtime {
class ToolShelf;
}

namespace kestrix::equates {

// Offers the Tip of the Day (Help menu), Template Code, the Keycode Helper and the Equate Helper.
void registerEquateTools(runtime::ToolShelf& shelf, config::Session& session);

} // namespace kestrix::equates
