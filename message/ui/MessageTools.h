#pragma once

namespace kestrix::config {
class Session;
}
namespace kestrix::runtime {
class ToolShelf;
}

namespace kestrix::message {

// Offers the Message Maker (Tools menu) and the Message Inserts browse (Settings menu).
void registerMessageTools(runtime::ToolShelf& shelf, config::Session& session);

} // namespace kestrix::message
