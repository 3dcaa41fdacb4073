#pragma once

#include "runtime/DdeClient.h"
#include "runtime/DialogService.h"
#include "runtime/IniFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Imports a dictionary into its store "<name>.dic" in the current directory:
// a .TXD text dictionary is read in place, a .DCT is first exported as text by
// the running IDE over DDE. The store is always rebuilt from scratch.
namespace kestrix::dictionary {

// The page cache of the import's tree table (KiB), which also bounds the sort of its keys: the rows of a
// dictionary of 4,000 files and their key sorts stay in memory instead of going out to the log and to
// temporary files and being read back. Only the import's own connection has it.
inline constexpr int ImportPageCacheKib = 65536;

struct ImportResult final
{
    bool completed = false; // the store was rebuilt
    std::string store;      // the store named by the source, also after a failure
    std::int64_t files = 0;
    std::int64_t aliases = 0;
    std::int64_t treeRows = 0;
    std::int64_t milliseconds = 0;
};

class DictionaryImporter final
{
public:
    // `text`: "Loading TXD File" or "Building Indices"; `percent` of the text dictionary read.
    using Progress = std::function<void(const std::string& text, int percent)>;

    DictionaryImporter(runtime::DialogService& dialogs, runtime::IniFile programIni,
                       runtime::DdeClientFactory dde = runtime::systemDdeClient);

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // Asked as lines are read: true ends the import there and removes the half-built store.
    void setCancelCheck(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }

    // The file dialog of an import started from the menu, in the last directory used
    // (remembered in the program INI file). Nothing when the user cancels.
    std::optional<std::string> chooseSource();
    // Rebuilds the store from `source` (a .DCT or .TXD path, kept as DINFO:IMPORTNAME).
    ImportResult importFrom(const std::string& source);
    // The source an earlier import of `store` was made from (DINFO:IMPORTNAME), for an update.
    static std::optional<std::string> importNameOf(const std::string& store);
    // Import from the menu (asks for the file) or the update of an open store.
    ImportResult importChosen();
    ImportResult reimport(const std::string& store);

    // The store of the last import, the one the browse opens next.
    const std::string& currentDictionary() const { return m_current; }

private:
    runtime::DialogService& m_dialogs;
    runtime::IniFile m_ini;
    runtime::DdeClientFactory m_dde;
    Progress m_progress;
    std::function<bool()> m_cancelled;
    std::string m_current;
};

// The message box of the runtime's stop: the user ends the import or goes on. True: go on.
bool stopBox(runtime::DialogService& dialogs, const std::string& text);

} // namespace kestrix::dictionary
