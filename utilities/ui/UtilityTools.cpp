#include "utilities/ui/UtilityTools.h"

#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "data/DataFileNames.h"
#include "runtime/ui/ToolShelf.h"
#include "utilities/StickNote.h"
#include "utilities/ui/StickNoteWindow.h"

#include <memory>

namespace kestrix::utilities {

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
}

} // namespace kestrix::utilities
