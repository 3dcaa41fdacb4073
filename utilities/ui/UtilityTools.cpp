#include "utilities/ui/UtilityTools.h"

#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "data/DataFileNames.h"
#include "equates/PopupRecord.h"
#include "equates/ui/PopupChooser.h"
#include "runtime/ui/ToolShelf.h"
#include "utilities/CodeStoreRecord.h"
#include "utilities/ErrorListFiles.h"
#include "utilities/StickNote.h"
#include "utilities/StringBuilderChoices.h"
#include "utilities/ui/CodeStoreBrowse.h"
#include "utilities/ui/ErrorHelperWindow.h"
#include "utilities/ui/MapPickWindow.h"
#include "utilities/ui/MapViewWindow.h"
#include "utilities/ui/StickNoteWindow.h"
#include "utilities/ui/StringBuilderWindow.h"

#include <QMdiArea>

#include <memory>

namespace kestrix::utilities {

using runtime::ToolMenu;

namespace {

// The viewer goes into the frame's area beside the pick window, as a tool of its own.
bool openMapViewer(config::Session& session, MapPickWindow* pick, const std::string& source,
                   bool again = true)
{
    const auto outcome = session.tools().start(MapViewWindow::Procedure, [&]() -> runtime::ToolInstance* {
        MapViewWindow* view = MapViewWindow::open(session, source);
        if (!view)
            return nullptr;
        if (QMdiArea* area = pick->mdiArea())
            area->addSubWindow(view);
        view->restorePosition();
        view->show();
        return view;
    });
    if (outcome == runtime::ToolRegistry::StartOutcome::Activated && again) {
        // One viewer at a time: the running one closes, and the chosen file opens in a new one.
        if (auto* running = dynamic_cast<MapViewWindow*>(session.tools().owner(MapViewWindow::Procedure))) {
            running->close();
            return openMapViewer(session, pick, source, false);
        }
    }
    return outcome == runtime::ToolRegistry::StartOutcome::Started;
}

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
    // One book for the run: two notes open at once never take the same file.
    auto notes = std::make_shared<NoteBook>(NoteFolder);
    shelf.add({"StickNote", runtime::ToolMenu::Tools, "Stick &Note", "Stick Note", "TBNOTE"},
              [&session, notes](runtime::StartReason) -> runtime::ToolWindow* {
                  auto configFile = std::make_shared<data::DataFileUse>(
                      session.files(), data::FileName::Configuration, config::configLayout());
                  if (!*configFile)
                      return nullptr;
                  const auto store = [&session, configFile](const NoteSettings& settings) {
                      storeNoteSettings(*configFile->file(), session.configuration(), settings,
                                        session.dialogs());
                  };
                  auto* window =
                      new StickNoteWindow(notes, notes->open(), NoteSettings::from(session.configuration()),
                                          store, session.dialogs(), session.tools(), session.positions());
                  window->holdWhileOpen(configFile);
                  return window;
              });

    shelf.add({"CodeStoreBrowse", ToolMenu::Tools, "Code &Library", "Code Library", "TBCODLIB"},
              [&session](runtime::StartReason) -> runtime::ToolWindow* {
                  auto snippets = std::make_shared<data::DataFileUse>(
                      session.files(), data::FileName::CodeLibrary, snippetLayout());
                  auto types = std::make_shared<data::DataFileUse>(session.files(), data::FileName::CodeTypes,
                                                                   codeTypeLayout());
                  if (!*snippets || !*types)
                      return nullptr;
                  auto* window = new CodeStoreBrowse(session, *snippets->file(), *types->file());
                  window->holdWhileOpen(snippets);
                  window->holdWhileOpen(types);
                  return window;
              });

    shelf.add({MapPickWindow::Procedure, ToolMenu::Tools, "&Map Viewer", "Map Viewer", "TBMAPUS"},
              [&session](runtime::StartReason) -> runtime::ToolWindow* {
                  auto* pick = new MapPickWindow(session);
                  pick->setOpenViewer([&session, pick](const std::string& source) {
                      const bool opened = openMapViewer(session, pick, source);
                      if (opened)
                          pick->close();
                      return opened;
                  });
                  return pick;
              });

    shelf.add({"StringFmt", ToolMenu::Tools, "&String Builder", "String Builder", "TBSTRING"},
              [&session](runtime::StartReason) { return openStringBuilder(session); });
    shelf.add({"ErrorHelper", ToolMenu::Tools, "&Error Helper", "Error Helper", "TBERROR"},
              [&session](runtime::StartReason) { return openErrorHelper(session); });
}

} // namespace kestrix::utilities
