#pragma once

#include "dictionary/DictionaryImport.h"
#include "runtime/DdeClient.h"

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace kestrix::config {
class Session;
}
namespace kestrix::runtime {
class ToolShelf;
}

// The dictionary import as the frame runs it: the file dialog on the GUI thread, then the
// import on a worker behind the "Loading Dictionary" window with its percentage.
namespace kestrix::dictionary {

struct ImportRunOptions final
{
    runtime::DdeClientFactory dde = runtime::systemDdeClient;
    QWidget* parent = nullptr;
};

// From the Dictionary menu: asks for the .DCT or .TXD, then imports it.
ImportResult importFromMenu(config::Session& session, const ImportRunOptions& options = {});
// Imports a source already known (the update of an open store passes its DINFO:IMPORTNAME).
ImportResult importWithProgress(config::Session& session, const std::string& source,
                                const ImportRunOptions& options = {});
// The update of an open store: re-imports from the source it was made from.
ImportResult reimportWithProgress(config::Session& session, const std::string& store,
                                  const ImportRunOptions& options = {});

// The store the user picks in "Select Dictionary to Open", without its directory.
std::optional<std::string> chooseStore(config::Session& session);

// Called with the new store after a completed import from the menu; without one, the import
// opens "Browse Dic File" on it.
using ImportedHandler = std::function<void(const std::string& store)>;
void registerDictionaryTools(runtime::ToolShelf& shelf, config::Session& session,
                             ImportedHandler onImported = {});

} // namespace kestrix::dictionary
