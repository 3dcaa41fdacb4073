#pragma once

#include "runtime/IniFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The keys that start the tools: one per tool, none shared and none taken from
// the frame's own actions or the keys every tool window uses. Kept in the
// frame's section of the window settings file, one entry per tool.
namespace kestrix::config {

struct ReservedKey final
{
    const char* key; // as normalizedKey writes it
    const char* use; // what the key does, for the refusal
};
// Every key the frame and the tool windows keep for themselves.
const std::vector<ReservedKey>& reservedKeys();
const ReservedKey* reservedKeyFor(std::string_view key);

// "ctrl + shift + m" -> "Ctrl+Shift+M"; empty when the text is not a key a tool can take
// (a letter or digit needs Ctrl, Alt with a letter is a menu letter, F-keys may stand alone).
std::optional<std::string> normalizedKey(std::string_view typed);

// The key a tool gets until the user chooses another; "" for a tool the program does not know.
std::string defaultShortcut(const std::string& procedure);
// The tools that have a key of their own before the user gives one.
std::vector<std::string> defaultShortcutTools();

struct ToolKey final
{
    std::string procedure;
    std::string name; // the menu text without its "&"
    std::string key;  // normalised; "" for none
};

class ShortcutTable final
{
public:
    ShortcutTable() = default;
    explicit ShortcutTable(std::vector<ToolKey> tools) : m_tools(std::move(tools)) {}

    const std::vector<ToolKey>& tools() const { return m_tools; }
    std::string keyOf(const std::string& procedure) const;

    // Why `procedure` cannot take `typed` (a text naming both users of a clashing key);
    // empty when it can. A blank key is always allowed: the tool then has none.
    std::optional<std::string> refusal(const std::string& procedure, std::string_view typed) const;
    // Gives the key when it is allowed; otherwise leaves the table and returns the refusal.
    std::optional<std::string> assign(const std::string& procedure, std::string_view typed);

private:
    std::vector<ToolKey> m_tools;
};

constexpr const char* ShortcutEntrySuffix = "Shortcut";
// "MakeInputShortcut": the entry of a tool's key in the frame's section.
std::string shortcutEntry(const std::string& procedure);

// The tools with their stored keys; a tool with no entry gets its default (`fallback` for a tool the
// program does not know), and a stored key that is invalid or taken already leaves the tool without one.
ShortcutTable loadShortcuts(const runtime::IniFile& ini, const std::vector<ToolKey>& fallback);
bool saveShortcuts(const runtime::IniFile& ini, const ShortcutTable& table);

} // namespace kestrix::config
