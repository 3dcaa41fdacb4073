#pragma once

#include "equates/EquateHelper.h"

namespace kestrix::runtime {
class DialogService;
}

namespace kestrix::equates {

// Opens a Clarion help file with the system's viewer for it, or says that it is missing;
// the program's own help shows its page for `ownTopic`.
void openClarionHelp(runtime::DialogService& dialogs, const HelpTarget& target, const char* ownTopic);

} // namespace kestrix::equates
