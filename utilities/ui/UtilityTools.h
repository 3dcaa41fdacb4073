#pragma once

namespace kestrix::config {
class Session;
}
namespace kestrix::runtime {
class ToolShelf;
}

namespace kestrix::utilities {

// Offers the source and code utilities (Tools menu).
void registerUtilityTools(runtime::ToolShelf& shelf, config::Session& session);

} // namespace kestrix::utilities
