#include "utilities/ui/UtilityTools.h"

#include "config/Session.h"
#include "runtime/ui/ToolShelf.h"

namespace kestrix::utilities {

void registerUtilityTools(runtime::ToolShelf& shelf, config::Session& session)
{
    (void)shelf;
    (void)session;
}

} // namespace kestrix::utilities
