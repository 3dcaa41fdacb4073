#pragma once

namespace kestrix::config {
class Session;
}
namespace kestrix::runtime {
class ToolShelf;
}

namespace kestrix::organizers {

// The Help Organizer and the Template Registrar, as the frame offers them.
void registerOrganizerTools(runtime::ToolShelf& shelf, config::Session& session);

} // namespace kestrix::organizers
