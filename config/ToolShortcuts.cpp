#include "config/ToolShortcuts.h"

#include "config/Settings.h"
#include "runtime/FixedText.h"

#include <algorithm>
#include <map>

namespace kestrix::config {

const std::vector<ReservedKey>& reservedKeys()
{
    // The frame's own actions, then the keys that every window or a tool window already uses.
    static const std::vector<ReservedKey> keys = {
        {"F1", "Help"},
        {"F10", "the menu bar"},
        {"Ctrl+K", "Find anything"},
        {"Alt+F4", "Exit"},
        {"Ctrl+F4", "Close the tool window"},
        {"Ctrl+F6", "Next tool window"},
        {"Ctrl+Shift+F6", "Previous tool window"},
        {"Ctrl+Tab", "Next tool window"},
        {"Ctrl+Shift+Tab", "Previous tool window"},
        {"Ctrl+A", "Select All"},
        {"Ctrl+C", "Copy"},
        {"Ctrl+V", "Paste"},
        {"Ctrl+X", "Cut"},
        {"Ctrl+Z", "Undo"},
        {"Ctrl+Y", "Redo"},
        {"Ctrl+Shift+Z", "Redo"},
        {"Ctrl+F", "Find"},
        {"Ctrl+N", "New in a tool window"},
        {"Ctrl+O", "Open in a tool window"},
        {"Ctrl+S", "Save in a tool window"},
        {"Ctrl+W", "Open As New in a tool window"},
        {"Ctrl+G", "Generate Code in a tool window"},
        {"Ctrl+M", "Generate Code and Minimize in a tool window"},
        {"Ctrl+P", "Preview in a tool window"},
    };
    return keys;
}

const ReservedKey* reservedKeyFor(std::string_view key)
{
    for (const ReservedKey& reserved : reservedKeys()) {
        if (key == reserved.key)
            return &reserved;
    }
    return nullptr;
}

namespace {

std::optional<std::string> keyName(std::string_view part)
{
    const std::string upper = runtime::upper(part);
    if (upper.size() == 1 && ((upper[0] >= 'A' && upper[0] <= 'Z') || (upper[0] >= '0' && upper[0] <= '9')))
        return upper;
    if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F' &&
        std::all_of(upper.begin() + 1, upper.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int n = std::stoi(upper.substr(1));
        if (n >= 1 && n <= 12 && upper[1] != '0')
            return upper;
    }
    if (upper == "TAB")
        return std::string("Tab");
    return std::nullopt;
}

} // namespace

std::optional<std::string> normalizedKey(std::string_view typed)
{
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
    std::optional<std::string> key;
    std::size_t start = 0;
    while (start <= typed.size()) {
        std::size_t plus = typed.find('+', start);
        if (plus == std::string_view::npos)
            plus = typed.size();
        const std::string part = runtime::upper(runtime::trim(typed.substr(start, plus - start)));
        start = plus + 1;
        if (part == "CTRL" || part == "CONTROL") {
            if (ctrl)
                return std::nullopt;
            ctrl = true;
        } else if (part == "ALT") {
            if (alt)
                return std::nullopt;
            alt = true;
        } else if (part == "SHIFT") {
            if (shift)
                return std::nullopt;
            shift = true;
        } else {
            if (key)
                return std::nullopt; // two keys, or a modifier after the key
            key = keyName(part);
            if (!key)
                return std::nullopt;
            if (start <= typed.size())
                return std::nullopt; // the key comes last
        }
    }
    if (!key)
        return std::nullopt;
    const bool functionKey = key->size() > 1 && key->front() == 'F';
    // Without Ctrl a letter or digit is typing, and Alt with one is a menu or control letter.
    if (!functionKey && !ctrl)
        return std::nullopt;
    std::string out;
    if (ctrl)
        out += "Ctrl+";
    if (alt)
        out += "Alt+";
    if (shift)
        out += "Shift+";
    return out + *key;
}

namespace {
const std::map<std::string, std::string>& defaultShortcuts()
{
    static const std::map<std::string, std::string> defaults = {
        {"MakeInput", "Ctrl+Shift+M"},       {"StringFmt", "Ctrl+Shift+S"},
        {"TemplateCode", "Ctrl+Shift+T"},    {"ErrorHelper", "Ctrl+Shift+E"},
        {"KeycodeFinder", "Ctrl+Shift+K"},   {"EquateBrowse", "Ctrl+Shift+Q"},
        {"ColorDesigner", "Ctrl+Shift+C"},   {"CodeStoreBrowse", "Ctrl+Shift+L"},
        {"MapPick", "Ctrl+Shift+P"},         {"AltKeyAnalysis", "Ctrl+Shift+W"},
        {"AsciiTable", "Ctrl+Shift+A"},      {"HelpBrowse", "Ctrl+Shift+H"},
        {"StickNote", "Ctrl+Shift+U"},       {"TemplateRegistrar", "Ctrl+Shift+R"},
        {"DictionaryOpen", "Ctrl+Shift+O"},  {"DictionaryImport", "Ctrl+Shift+I"},
        {"MsgInsertBrowse", "Ctrl+Shift+X"}, {"TipOfTheDay", "Ctrl+Shift+D"},
    };
    return defaults;
}
} // namespace

std::vector<std::string> defaultShortcutTools()
{
    std::vector<std::string> tools;
    for (const auto& [procedure, key] : defaultShortcuts())
        tools.push_back(procedure);
    return tools;
}

std::string defaultShortcut(const std::string& procedure)
{
    const std::map<std::string, std::string>& defaults = defaultShortcuts();
    const auto found = defaults.find(procedure);
    return found == defaults.end() ? std::string() : found->second;
}

std::string ShortcutTable::keyOf(const std::string& procedure) const
{
    for (const ToolKey& tool : m_tools) {
        if (tool.procedure == procedure)
            return tool.key;
    }
    return {};
}

std::optional<std::string> ShortcutTable::refusal(const std::string& procedure, std::string_view typed) const
{
    const auto self = std::find_if(m_tools.begin(), m_tools.end(),
                                   [&](const ToolKey& tool) { return tool.procedure == procedure; });
    const std::string name = self == m_tools.end() ? procedure : self->name;
    if (runtime::trim(typed).empty())
        return std::nullopt;
    const auto key = normalizedKey(typed);
    if (!key)
        return "\"" + std::string(runtime::trim(typed)) + "\" cannot start " + name +
               ": a key needs Ctrl with a letter or digit, or is one of F1 to F12.";
    if (const ReservedKey* reserved = reservedKeyFor(*key))
        return *key + " cannot start " + name + ": it is the frame's key for " + reserved->use + ".";
    for (const ToolKey& other : m_tools) {
        if (other.procedure != procedure && other.key == *key)
            return *key + " cannot start " + name + ": it already starts " + other.name + ".";
    }
    return std::nullopt;
}

std::optional<std::string> ShortcutTable::assign(const std::string& procedure, std::string_view typed)
{
    if (auto why = refusal(procedure, typed))
        return why;
    for (ToolKey& tool : m_tools) {
        if (tool.procedure == procedure)
            tool.key = runtime::trim(typed).empty() ? std::string() : *normalizedKey(typed);
    }
    return std::nullopt;
}

std::string shortcutEntry(const std::string& procedure)
{
    return procedure + ShortcutEntrySuffix;
}

ShortcutTable loadShortcuts(const runtime::IniFile& ini, const std::vector<ToolKey>& fallback)
{
    std::vector<ToolKey> tools;
    for (const ToolKey& tool : fallback)
        tools.push_back({tool.procedure, tool.name, {}});
    ShortcutTable table(tools);
    // The section is read once: a read of the file for each tool was a good part of a start.
    std::map<std::string, std::string> given;
    for (auto& [entry, value] : ini.entries(Ini::MainProcedure))
        given.emplace(runtime::upper(entry), std::move(value));
    for (const ToolKey& tool : fallback) {
        const auto found = given.find(runtime::upper(shortcutEntry(tool.procedure)));
        std::string wanted = found != given.end() ? found->second : defaultShortcut(tool.procedure);
        if (found == given.end() && wanted.empty())
            wanted = tool.key;
        table.assign(tool.procedure, wanted); // refused: the tool stays without a key
    }
    return table;
}

bool saveShortcuts(const runtime::IniFile& ini, const ShortcutTable& table)
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (const ToolKey& tool : table.tools())
        entries.emplace_back(shortcutEntry(tool.procedure), tool.key);
    return ini.setValues(Ini::MainProcedure, entries);
}

} // namespace kestrix::config
