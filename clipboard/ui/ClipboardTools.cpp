#include "clipboard/ui/ClipboardTools.h"

#include "clipboard/ui/ClipViewWindow.h"
#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "runtime/ui/ToolShelf.h"

namespace kestrix::clipboard {

void registerClipboardTools(runtime::ToolShelf& shelf, config::Session& session)
{
    // No menu item and no button of its own: the frame's clipboard buttons start it.
    shelf.add({ClipViewProcedure}, [&session](runtime::StartReason) -> runtime::ToolWindow* {
        return new ClipViewWindow(
            session.clipboardQueue(),
            [&session] { return config::fontOf(session.configuration(), config::FontRow::ClipboardViewer); },
            session.tools(), session.positions());
    });
}

} // namespace kestrix::clipboard
