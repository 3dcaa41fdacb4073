#include "app/ui/InstalledTools.h"

#include "clipboard/ui/ClipboardTools.h"
#include "dictionary/ui/DictionaryTools.h"
#include "equates/ui/EquateTools.h"
#include "keyanalysis/ui/KeyAnalysisTools.h"
#include "message/ui/MessageTools.h"
#include "organizers/ui/OrganizerTools.h"
#include "utilities/ui/UtilityTools.h"

namespace kestrix::app {

runtime::ToolShelf installedTools(config::Session& session, ToolOptions options)
{
    runtime::ToolShelf shelf;
    clipboard::registerClipboardTools(shelf, session);
    message::registerMessageTools(shelf, session);
    equates::registerEquateTools(shelf, session);
    keyanalysis::registerKeyAnalysisTools(shelf, session, {options.analysisDebugTabs});
    utilities::registerUtilityTools(shelf, session);
    dictionary::registerDictionaryTools(shelf, session);
    organizers::registerOrganizerTools(shelf, session);
    return shelf;
}

} // namespace kestrix::app
