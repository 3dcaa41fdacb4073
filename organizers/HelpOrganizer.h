#pragma once

#include "organizers/HelpScan.h"
#include "runtime/DialogService.h"
#include "runtime/DocumentLauncher.h"
#include "runtime/KeyedFile.h"
#include "runtime/WindowPositionStore.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// What the Help Organizer window does, without the window: the tabs and
// columns of its list, the rows of a tab, View, the entry checks of the update
// window, its file lookup, and the words that end a scan.
namespace kestrix::organizers {

constexpr const char* HelpBrowseProcedure = "HelpBrowse";
constexpr const char* HelpUpdateProcedure = "HelpUpdate";
// The list layout kept in "KTX.INI"; a stored layout of another version is ignored.
constexpr int HelpLayoutVersion = 1;
constexpr const char* HelpGroupWidthsEntry = "ListGroupWidths";
constexpr const char* HelpColumnWidthsEntry = "ListColumnWidths";

struct HelpTab final
{
    char type;
    const char* caption; // with its "&" mnemonic
};
const std::array<HelpTab, 5>& helpTabs();
// The tab of a type letter (0 for the first when the letter is none of them).
std::size_t helpTabIndex(char type);

struct HelpColumn final
{
    const char* title;
    int width; // as designed, in pixels
};
const std::array<HelpColumn, 3>& helpColumns();
// The widths stored for the list, cell by cell over the designed ones.
std::vector<int> restoreHelpColumnWidths(const runtime::ListLayoutStore& layouts);
void saveHelpColumnWidths(const runtime::ListLayoutStore& layouts, const std::vector<int>& widths);

struct HelpEntry final
{
    char type = 'H';
    std::string name;
    std::string file;
    std::string path; // without a trailing "\"
    bool operator==(const HelpEntry&) const = default;
};
HelpEntry helpEntryOf(const runtime::Record& record);
// The entry whose file is `chosen` (a path from the file dialog): its file name and directory.
HelpEntry withLookedUpFile(HelpEntry entry, const std::string& chosen);
runtime::FileDialogRequest lookupFileRequest(const HelpEntry& entry, const std::string& clarionRoot);

// Help and PDF files open through the system; every other file in the configured editor.
bool opensAsDocument(const std::string& file);
// The program and arguments of the configured editor: a path that names a file as a
// whole (blanks and all), or else blank-separated words, "..." keeping blanks inside one.
std::vector<std::string> editorCommand(const std::string& editor);

// The end of a scan as the user reads it: the report, or what a cancelled scan had done.
runtime::MessageRequest scanEndMessage(const HelpScanResult& result, bool cancelled);

class HelpOrganizer final
{
public:
    // `file` is "HelpLis5.TPS", open.
    HelpOrganizer(runtime::KeyedFile& file, runtime::DialogService& dialogs);

    runtime::KeyedFile& file() { return m_file; }
    // The records of a tab, in name order.
    std::vector<runtime::Record> entries(char type);

    // Nothing when the entry can be stored; otherwise why not.
    static std::optional<runtime::MessageRequest> checkEntry(const HelpEntry& entry);
    // True when written; on false the user has been told why.
    bool add(const HelpEntry& entry);
    bool change(runtime::Record& record, const HelpEntry& entry);
    bool remove(runtime::Record& record);

    // Opens the entry's file; nothing when it started, else the message to show.
    std::optional<runtime::MessageRequest> view(const HelpEntry& entry, const std::string& editor,
                                                runtime::DocumentLauncher& launcher) const;

private:
    bool write(runtime::Record& record, const HelpEntry& entry, bool adding);

    runtime::KeyedFile& m_file;
    runtime::DialogService& m_dialogs;
};

} // namespace kestrix::organizers
