#pragma once

#include "equates/LoadLock.h"
#include "runtime/DialogService.h"
#include "runtime/IniFile.h"
#include "runtime/KeyedFile.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The popup menus of code templates: loading "POPUP.TXT" and "POPUPABC.TXT"
// into the popup file, and reading a type's menu and chosen template.
namespace kestrix::equates {

struct PopupLoadResult final
{
    bool completed = false;
    bool busy = false; // another program was loading the popups, and this load was refused
    std::int64_t records = 0;
};

class PopupLoader final
{
public:
    PopupLoader(runtime::KeyedFile& popups, runtime::DialogService& dialogs)
        : m_file(popups), m_dialogs(dialogs)
    {
    }
    void setProgress(std::function<void(const std::string&)> progress) { m_progress = std::move(progress); }
    // What to do while another program loads the popups (default: refuse).
    void setWhenBusy(WhenBusy whenBusy) { m_whenBusy = whenBusy; }
    // Asked before each file: true stops the load there; what was read stays, and the load stays due.
    void setCancelCheck(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }
    static const std::vector<std::string>& popupFiles();

    // Rebuilds the popup file; writes Version "4" only after its commit succeeded.
    PopupLoadResult run(const runtime::IniFile& programIni);
    // Loads the lines of one popup text file (already emptied file, in stream mode or not).
    // Lines that cannot be stored whole are reported, naming `sourceName`. False when a
    // write of the popup file failed (already reported).
    bool loadLines(const std::vector<std::string>& lines, const std::string& sourceName = "POPUP.TXT",
                   const std::vector<std::size_t>& cutLines = {});

private:
    bool writeHeader(const std::string& type, std::int64_t count, const std::string& menu);
    bool check(const runtime::FileError& error);

    runtime::KeyedFile& m_file;
    runtime::DialogService& m_dialogs;
    std::function<void(const std::string&)> m_progress;
    WhenBusy m_whenBusy = WhenBusy::Refuse;
    std::function<bool()> m_cancelled;
};

extern const char* const PopupLoadBusyText;

struct PopupMenu final
{
    std::vector<std::string> items; // the menu texts, in entry order
};

// The menu of a popup type; empty when the type has no header.
std::optional<PopupMenu> popupMenu(runtime::KeyedFile& popups, const std::string& type);
// The template of entry `choice` (1-based) of `type`, converted: with '|' among the
// conversion characters every '|' becomes a line end; with '}' a template in braces loses them.
std::string popupTemplate(runtime::KeyedFile& popups, const std::string& type, int choice,
                          const std::string& conversions, std::size_t maxLength = 512);
std::string convertTemplate(std::string text, const std::string& conversions);

} // namespace kestrix::equates
