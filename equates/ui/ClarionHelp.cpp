#include "equates/ui/ClarionHelp.h"

#include "runtime/DialogService.h"
#include "runtime/WinPath.h"
#include "runtime/ui/HelpRequest.h"

#include <QDesktopServices>
#include <QUrl>

namespace kestrix::equates {

void openClarionHelp(runtime::DialogService& dialogs, const HelpTarget& target, const char* ownTopic)
{
    if (target.ownHelp) {
        runtime::requestHelp(QString::fromLatin1(ownTopic));
        return;
    }
    if (!runtime::winPathExists(target.file)) {
        dialogs.message(missingHelpMessage(target));
        return;
    }
    // The keyword cannot be handed to the system's viewer: it opens the file at its start.
    if (!QDesktopServices::openUrl(
            QUrl::fromLocalFile(QString::fromStdString(runtime::resolveWinPath(target.file).string()))))
        dialogs.message({"No program on this system opens the Clarion help file " + target.file + ".",
                         "NO CLARION HELP", runtime::MessageIcon::Asterisk, runtime::Button::Ok,
                         runtime::Button::Ok});
}

} // namespace kestrix::equates
