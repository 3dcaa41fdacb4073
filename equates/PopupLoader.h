#pragma once

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

class PopupLoader final
{
public:
    PopupLoader(runtime::KeyedFile& popups, runtime::DialogService& dialogs) : m_file(popups), m_dialogs(dialogs) {}
    void setProgress(std::function<void(const std::string&)> progress) { m_progress = std::move(progress); }
    // Asked before each file: true stops the load there; what was read stays, and the load stays due.
    void setCancelCheck(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }
    static const std::vector<std::string>& popupFiles();

    // Rebuilds the popup file; writes Version "4" when done. Returns the records loaded.
    std::int64_t run(const runtime::IniFile& programIni);
    // Loads the lines of one popup text file (already emptied file, in stream mode or not).
    void loadLines(const std::vector<std::string>& lines);

private:
    void writeHeader(const std::string& type, int count, const std::string& menu);

    runtime::KeyedFile& m_file;
    runtime::DialogService& m_dialogs;
    std::function<void(const std::string&)> m_progress;
    std::function<bool()> m_cancelled;
};

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
