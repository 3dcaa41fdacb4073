#include "organizers/ui/OrganizerTools.h"

#include "config/Session.h"
#include "data/DataFileNames.h"
#include "data/DataFileRegistry.h"
#include "organizers/HelpList.h"
#include "organizers/ui/HelpOrganizerWindow.h"
#include "organizers/ui/TemplateRegistrarWindow.h"
#include "runtime/ui/ToolShelf.h"

#include <memory>

namespace kestrix::organizers {

namespace {

runtime::ToolWindow* openHelpOrganizer(config::Session& session)
{
    // One list, one window: a second start shows the open one.
    if (runtime::ToolInstance* running = session.tools().owner(HelpBrowseProcedure)) {
        running->deliver(runtime::ToolEvent::Activate);
        return nullptr;
    }
    auto list =
        std::make_shared<data::DataFileUse>(session.files(), data::FileName::HelpList, helpListLayout());
    if (!*list)
        return nullptr;
    auto* window = new HelpOrganizerWindow(session, *list->file());
    window->holdWhileOpen(list);
    return window;
}

} // namespace

void registerOrganizerTools(runtime::ToolShelf& shelf, config::Session& session)
{
    shelf.add(
        {HelpBrowseProcedure, runtime::ToolMenu::Tools, "&Help Organizer", "Help Organizer", "TBHELPLS"},
        [&session](runtime::StartReason) { return openHelpOrganizer(session); });
    shelf.add({TemplateRegistrarWindow::Procedure, runtime::ToolMenu::Tools, "Template Registrar"},
              [&session](runtime::StartReason) -> runtime::ToolWindow* {
                  return new TemplateRegistrarWindow(session);
              });
}

} // namespace kestrix::organizers
