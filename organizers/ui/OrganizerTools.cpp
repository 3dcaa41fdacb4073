#include "organizers/ui/OrganizerTools.h"

#include "config/Session.h"
#include "organizers/ui/TemplateRegistrarWindow.h"
#include "runtime/ui/ToolShelf.h"

namespace kestrix::organizers {

void registerOrganizerTools(runtime::ToolShelf& shelf, config::Session& session)
{
    // Each organizer window adds itself here.
    shelf.add({TemplateRegistrarWindow::Procedure, runtime::ToolMenu::Tools, "Template Registrar"},
              [&session](runtime::StartReason) -> runtime::ToolWindow* {
                  return new TemplateRegistrarWindow(session);
              });
}

} // namespace kestrix::organizers
