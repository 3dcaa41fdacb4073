#include "keyanalysis/ui/KeyAnalysisTools.h"

#include "config/ConfigRecord.h"
#include "config/Session.h"
#include "keyanalysis/ui/AltKeyAnalysisWindow.h"
#include "runtime/ui/RowColors.h"
#include "runtime/ui/ToolShelf.h"

#include <QTreeWidget>

namespace kestrix::keyanalysis {

void registerKeyAnalysisTools(runtime::ToolShelf& shelf, config::Session& session,
                              KeyAnalysisToolOptions options)
{
    shelf.add({"AltKeyAnalysis", runtime::ToolMenu::Tools, "&Window Key Analysis", "Window Key Analysis",
               "TBKEYANA"},
              [&session, options](runtime::StartReason) -> runtime::ToolWindow* {
                  auto* window = new AltKeyAnalysisWindow(session.dialogs(), session.systemClipboard(),
                                                          FrameStore::inDataDirectory(), options.debugTabs,
                                                          session.tools(), session.positions());
                  const bool bold =
                      session.configuration().number(config::Cfg::LookBold, 9) != 0; // "Window Keys"
                  for (QTreeWidget* list : window->findChildren<QTreeWidget*>())
                      runtime::showListBold(list, bold);
                  window->readClipboard(); // the analysis runs once as the window opens
                  return window;
              });
}

} // namespace kestrix::keyanalysis
