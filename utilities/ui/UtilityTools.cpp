#include "utilities/ui/UtilityTools.h"

#include "config/Session.h"
#include "data/DataFileNames.h"
#include "equates/PopupRecord.h"
#include "equates/ui/PopupChooser.h"
#include "runtime/ui/ToolShelf.h"
#include "utilities/ErrorListFiles.h"
#include "utilities/StringBuilderChoices.h"
#include "utilities/ui/ErrorHelperWindow.h"
#include "utilities/ui/StringBuilderWindow.h"

#include <memory>

namespace kestrix::utilities {

using runtime::ToolMenu;

namespace {

constexpr std::size_t QuickInsertLength = 512;

runtime::ToolWindow* openStringBuilder(config::Session& session)
{
    auto popups =
        std::make_shared<data::DataFileUse>(session.files(), data::FileName::Popups, equates::popupLayout());
    if (!*popups)
        return nullptr;
    auto* window = new StringBuilderWindow(session, variableChoices(popups->file()));
    window->setPopupCode([window, popups](const std::string& type) {
        return equates::choosePopupCode(window, *popups->file(), type, "|", QuickInsertLength);
    });
    window->holdWhileOpen(popups);
    return window;
}

runtime::ToolWindow* openErrorHelper(config::Session& session)
{
    auto files = std::make_shared<ErrorListFiles>(session.files(), session.dialogs());
    if (!files->ok())
        return nullptr;
    auto* window = new ErrorHelperWindow(session, ErrorHelper(files->errors(), files->categories()));
    window->holdWhileOpen(files);
    return window;
}

} // namespace

void registerUtilityTools(runtime::ToolShelf& shelf, config::Session& session)
{
    shelf.add({"StringFmt", ToolMenu::Tools, "&String Builder", "String Builder", "TBSTRING"},
              [&session](runtime::StartReason) { return openStringBuilder(session); });
    shelf.add({"ErrorHelper", ToolMenu::Tools, "&Error Helper", "Error Helper", "TBERROR"},
              [&session](runtime::StartReason) { return openErrorHelper(session); });
}

} // namespace kestrix::utilities
