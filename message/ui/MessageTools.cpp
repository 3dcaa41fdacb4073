#include "message/ui/MessageTools.h"

#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "data/DataFileNames.h"
#include "equates/PopupRecord.h"
#include "equates/ui/PopupChooser.h"
#include "message/MessageInsertRecord.h"
#include "message/ui/MakeInputWindow.h"
#include "message/ui/MsgInsertBrowse.h"
#include "runtime/ui/ToolShelf.h"

#include <memory>

namespace kestrix::message {

using runtime::ToolMenu;

void registerMessageTools(runtime::ToolShelf& shelf, config::Session& session)
{
    shelf.add(
        {"MakeInput", ToolMenu::Tools, "&Message Maker", "Message Maker", "TBMSG"},
        [&session](runtime::StartReason) -> runtime::ToolWindow* { return MakeInputWindow::open(session); });

    shelf.add({"MsgInsertBrowse",
               ToolMenu::Settings,
               "&Message Inserts",
               {},
               {},
               {},
               "Edit Inserts for Messages",
               "messageInserts"},
              [&session](runtime::StartReason) -> runtime::ToolWindow* {
                  auto inserts = std::make_shared<data::DataFileUse>(
                      session.files(), data::FileName::MessageInserts, messageInsertLayout());
                  auto popups = std::make_shared<data::DataFileUse>(session.files(), data::FileName::Popups,
                                                                    equates::popupLayout());
                  if (!*inserts || !*popups)
                      return nullptr;
                  auto* window =
                      new MsgInsertBrowseWindow(*inserts->file(), session.dialogs(), {},
                                                session.configuration().number(config::Cfg::LookBold, 2) != 0,
                                                session.tools(), session.positions());
                  window->browse()->setPopupCode([window, popups](const std::string& type,
                                                                  const std::string& conversions,
                                                                  std::size_t maxLength) {
                      return equates::choosePopupCode(window, *popups->file(), type, conversions, maxLength);
                  });
                  window->holdWhileOpen(inserts);
                  window->holdWhileOpen(popups);
                  return window;
              });
}

} // namespace kestrix::message
