#include "equates/ui/EquateTools.h"

#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "data/DataFileNames.h"
#include "equates/EquateRecord.h"
#include "equates/TipsFile.h"
#include "equates/ui/AsciiTableWindow.h"
#include "equates/ui/ColorDesignerWindow.h"
#include "equates/ui/EquateHelperWindow.h"
#include "equates/ui/KeycodeHelperWindow.h"
#include "equates/ui/Loaders.h"
#include "equates/ui/TemplateCodeWindow.h"
#include "equates/ui/TipOfTheDayWindow.h"
#include "runtime/ui/ToolShelf.h"

#include <memory>

namespace kestrix::equates {

void registerEquateTools(runtime::ToolShelf& shelf, config::Session& session)
{
    shelf.add({"TipOfTheDay", runtime::ToolMenu::Help, "Tip of the Day", {}, {}, {}, {}, "tipOfTheDay", true},
              [&session](runtime::StartReason reason) -> runtime::ToolWindow* {
                  // At start-up the tips show only when the user asked for them.
                  if (reason == runtime::StartReason::AtStartup &&
                      !TipBrowser::showOnStartup(session.programIni()))
                      return nullptr;
                  auto tips = std::make_shared<data::DataFileUse>(session.files(), TipsFileName, tipLayout());
                  if (!*tips)
                      return nullptr;
                  auto* window =
                      new TipOfTheDayWindow(*tips->file(), session.programIni(),
                                            session.configuration().number(config::Cfg::LookBold, 12) != 0,
                                            session.tools(), session.positions());
                  window->holdWhileOpen(tips);
                  if (!window->showNext()) {
                      delete window; // an empty tips file: no window, no message
                      return nullptr;
                  }
                  return window;
              });
    shelf.add({"ColorDesigner", runtime::ToolMenu::Tools, "&Color Designer", "Color Designer", "TBCOLORC"},
              [&session](runtime::StartReason) -> runtime::ToolWindow* {
                  auto equates = std::make_shared<data::DataFileUse>(session.files(), data::FileName::Equates,
                                                                     equateLayout());
                  if (!*equates)
                      return nullptr;
                  auto* window = new ColorDesignerWindow(session, *equates->file());
                  window->holdWhileOpen(equates);
                  return window;
              });
    shelf.add(
        {"AsciiTable", runtime::ToolMenu::Tools, "&ASCII Table", "ASCII Table", "TBASCII"},
        [&session](runtime::StartReason) -> runtime::ToolWindow* { return new AsciiTableWindow(session); });
    shelf.add({"TemplateCode", runtime::ToolMenu::Tools, "&Template Code", "Template Code", "TBTPL"},
              [&session](runtime::StartReason) -> runtime::ToolWindow* {
                  return TemplateCodeWindow::open(session);
              });
    shelf.add({"KeycodeFinder", runtime::ToolMenu::Tools, "&Keycode Helper", "Keycode Helper", "TBKEYCOD"},
              [&session](runtime::StartReason) -> runtime::ToolWindow* {
                  loadEquatesIfUnfinished(session, nullptr);
                  return KeycodeHelperWindow::open(session);
              });
    shelf.add({"EquateBrowse", runtime::ToolMenu::Tools, "E&quate Helper", "Equate Helper", "TBEQUATE"},
              [&session](runtime::StartReason) -> runtime::ToolWindow* {
                  // Without a finished load the window still opens, and says why it is empty.
                  loadEquatesIfUnfinished(session, nullptr);
                  return EquateHelperWindow::open(session);
              });
}

} // namespace kestrix::equates
