#include "organizers/ui/OrganizerTools.h"

#include "config/Session.h"
#include "runtime/ui/ToolShelf.h"

namespace kestrix::organizers {

void registerOrganizerTools(runtime::ToolShelf& shelf, config::Session& session)
{
    // Each organizer window adds itself here.
    (void)shelf;
    (void)session;
}

} // namespace kestrix::organizers
