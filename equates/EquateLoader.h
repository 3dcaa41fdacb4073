#pragma once

#include "equates/LoadLock.h"
#include "runtime/DialogService.h"
#include "runtime/IniFile.h"
#include "runtime/KeyedFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Rebuilds the equates file from the IDE's source files: the three list files
// name the sources, every "Label EQUATE(value)" line becomes a record, then
// user equates, duplicates and one marker record per type are added.
namespace kestrix::equates {

// One source file named in a list file's [FILES] section.
struct ListEntry final
{
    std::string folder; // ends in '\'
    std::string file;
    std::string type;
    bool forceType = false;
};

struct EquateLoadResult final
{
    bool completed = false;
    bool busy = false; // another program was loading the equates, and this load was refused
    std::int64_t records = 0;
    std::size_t types = 0;
    std::int64_t milliseconds = 0;
};

class EquateLoader final
{
public:
    using Progress = std::function<void(const std::string&)>;

    // `equates` is the equates file ("Equates5.tps"), open or closed; it is
    // recreated. `clarionRoot` replaces %CW% in the list files.
    EquateLoader(runtime::KeyedFile& equates, std::string clarionRoot, runtime::DialogService& dialogs);

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // What to do while another program loads the equates (default: refuse).
    void setWhenBusy(WhenBusy whenBusy) { m_whenBusy = whenBusy; }
    // Asked at every progress step: true stops the load there, as an abort does
    // (the file is removed and the load stays due).
    void setCancelCheck(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }
    // The list files, read from the current directory, in this order.
    static const std::vector<std::string>& listFiles();

    // Writes Version "4" to `programIni` only when the load completed and its last commit succeeded.
    EquateLoadResult run(const runtime::IniFile& programIni);

private:
    struct Load;
    runtime::KeyedFile& m_file;
    std::string m_root;
    runtime::DialogService& m_dialogs;
    Progress m_progress;
    WhenBusy m_whenBusy = WhenBusy::Refuse;
    std::function<bool()> m_cancelled;
};

// The text a refused or waiting load shows.
extern const char* const EquateLoadBusyText;

// True when the equates file cannot be taken for complete: a load began and did not
// finish, or none has run yet ("Version" under "EquateLoad" below the current one).
bool equateLoadUnfinished(const runtime::IniFile& programIni);
// For a window about to show equates: when the file is incomplete, says so and offers the
// load, as start-up does. True when the load is wanted now.
bool offerUnfinishedEquateLoad(const runtime::IniFile& programIni, runtime::DialogService& dialogs);

// The [FILES] section of a list file's lines.
std::vector<ListEntry> readListEntries(const std::vector<std::string>& lines, const std::string& clarionRoot);

} // namespace kestrix::equates
