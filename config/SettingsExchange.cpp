#include "config/SettingsExchange.h"

#include "config/ConfigFields.h"
#include "config/Settings.h"
#include "config/ToolShortcuts.h"
#include "runtime/AtomicFile.h"
#include "runtime/FixedText.h"

#include <algorithm>
#include <charconv>

namespace kestrix::config {

namespace {

void appendSection(std::string& text, const std::string& name,
                   const std::vector<std::pair<std::string, std::string>>& entries)
{
    text += "[" + name + "]\r\n";
    for (const auto& [entry, value] : entries)
        text += entry + "=" + value + "\r\n";
    text += "\r\n";
}

bool startsWith(const std::string& text, const char* prefix)
{
    return runtime::startsWithNoCase(text, runtime::upper(prefix));
}

bool isWholeNumber(std::string_view text)
{
    long value = 0;
    text = runtime::trim(text);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool isNumberList(std::string_view text)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos)
            comma = text.size();
        if (!isWholeNumber(text.substr(start, comma - start)))
            return false;
        start = comma + 1;
    }
    return true;
}

bool endsWithNoCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && runtime::sameTextNoCase(text.substr(text.size() - end.size()), end);
}

// The entries whose form the program relies on; any other entry is kept as text.
std::optional<std::string> entryProblem(const std::string& entry, const std::string& value)
{
    for (const char c : value) {
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            return "holds a control character";
    }
    for (const char* number : {"XPosit", "YPosit", "Width", "Height", "VersionNumber"}) {
        if (runtime::sameTextNoCase(entry, number) && !isWholeNumber(value))
            return "takes a whole number, not \"" + value + "\"";
    }
    if (runtime::sameTextNoCase(entry, "Maximize") && !runtime::sameTextNoCase(value, "Yes") &&
        !runtime::sameTextNoCase(value, "No"))
        return "takes Yes or No, not \"" + value + "\"";
    if (endsWithNoCase(entry, "Widths") && !value.empty() && !isNumberList(value))
        return "takes whole numbers separated by commas, not \"" + value + "\"";
    return std::nullopt;
}

std::string sectionProblem(const std::string& fileSection,
                           const std::vector<std::pair<std::string, std::string>>& entries)
{
    for (const auto& [entry, value] : entries) {
        if (auto problem = entryProblem(entry, value))
            return "[" + fileSection + "] " + entry + " " + *problem + ".";
    }
    return {};
}

// Tool keys follow the frame's rule: valid, not the frame's own, not one key for two tools. The
// file's keys go first; the tools it does not name keep the keys they have now (stored or default).
std::string shortcutProblem(const std::string& fileSection,
                            const std::vector<std::pair<std::string, std::string>>& entries,
                            const std::vector<std::pair<std::string, std::string>>& stored)
{
    const auto procedureOf = [](const std::string& entry) {
        return entry.substr(0, entry.size() - std::string(ShortcutEntrySuffix).size());
    };
    std::vector<std::pair<std::string, std::string>> keys; // procedure, key
    const auto add = [&keys](const std::string& procedure, const std::string& key) {
        for (const auto& [known, ignored] : keys)
            if (runtime::sameTextNoCase(known, procedure))
                return;
        keys.emplace_back(procedure, key);
    };
    for (const auto& [entry, value] : entries)
        if (endsWithNoCase(entry, ShortcutEntrySuffix))
            add(procedureOf(entry), value);
    const std::size_t fromFile = keys.size();
    if (fromFile == 0)
        return {};
    for (const auto& [entry, value] : stored)
        if (endsWithNoCase(entry, ShortcutEntrySuffix))
            add(procedureOf(entry), value);
    for (const std::string& procedure : defaultShortcutTools())
        add(procedure, defaultShortcut(procedure));
    std::vector<ToolKey> tools;
    for (const auto& [procedure, key] : keys)
        tools.push_back({procedure, procedure, ""});
    ShortcutTable table(tools);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (auto why = table.assign(keys[i].first, keys[i].second)) {
            const std::string kept = i < fromFile ? "" : " (a key the tool has now)";
            return "[" + fileSection + "] " + shortcutEntry(keys[i].first) + kept + ": " + *why;
        }
    }
    return {};
}

} // namespace

std::string settingsText(const runtime::Record& config, const IniSections& windows, const IniSections& lists)
{
    std::string text;
    appendSection(text, SettingsFile::ConfigurationSection, configValues(config));
    for (const auto& [section, entries] : windows)
        appendSection(text, SettingsFile::WindowPrefix + section, entries);
    for (const auto& [section, entries] : lists)
        appendSection(text, SettingsFile::ListPrefix + section, entries);
    return text;
}

std::optional<std::string> exportSettings(const std::filesystem::path& file, const runtime::Record& config,
                                          const runtime::IniFile& windows, const runtime::IniFile& lists)
{
    const runtime::FileError error =
        runtime::writeFileAtomically(file, settingsText(config, windows.contents(), lists.contents()));
    if (error.ok())
        return std::nullopt;
    return "The settings could not be written to " + file.string() + ": " + error.describe();
}

SettingsImport readSettings(const std::filesystem::path& file, const runtime::Record& current,
                            const runtime::IniFile* windows)
{
    SettingsImport result;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        result.error = "There is no settings file " + file.string() + ".";
        return result;
    }
    const IniSections sections = runtime::IniFile(file).contents();
    runtime::Record config = current;
    bool sawConfiguration = false;
    for (const auto& [section, entries] : sections) {
        if (runtime::sameTextNoCase(section, SettingsFile::ConfigurationSection)) {
            sawConfiguration = true;
            for (const auto& [name, value] : entries) {
                const AssignmentResult applied = applyConfigAssignment(config, name + "=" + value);
                if (applied.ok)
                    continue;
                const std::string why = applied.refusal ? applied.refusal->text : applied.error;
                result.error = "[" + section + "] " + name + ": " + why;
                return result;
            }
        } else if (startsWith(section, SettingsFile::WindowPrefix) ||
                   startsWith(section, SettingsFile::ListPrefix)) {
            const bool window = startsWith(section, SettingsFile::WindowPrefix);
            const std::string name = section.substr(
                std::string(window ? SettingsFile::WindowPrefix : SettingsFile::ListPrefix).size());
            if (runtime::trim(name).empty()) {
                result.error = "[" + section + "] names no section.";
                return result;
            }
            std::string problem = sectionProblem(section, entries);
            if (problem.empty() && window && runtime::sameTextNoCase(name, Ini::MainProcedure)) {
                std::vector<std::pair<std::string, std::string>> stored;
                if (windows)
                    for (const auto& [storedSection, storedEntries] : windows->contents())
                        if (runtime::sameTextNoCase(storedSection, Ini::MainProcedure))
                            stored = storedEntries;
                problem = shortcutProblem(section, entries, stored);
            }
            if (!problem.empty()) {
                result.error = problem;
                return result;
            }
            (window ? result.windows : result.lists).emplace_back(name, entries);
        } else {
            result.error = "[" + section + "] is not a section of a settings file.";
            return result;
        }
    }
    if (!sawConfiguration) {
        result.error = file.string() + " holds no [" + std::string(SettingsFile::ConfigurationSection) +
                       "] section: it is not a settings file.";
        return result;
    }
    result.config = config;
    return result;
}

ImportedShortcuts importedShortcuts(const SettingsImport& import, const ShortcutTable& current)
{
    ImportedShortcuts result;
    for (const auto& [section, entries] : import.windows) {
        if (!runtime::sameTextNoCase(section, Ini::MainProcedure))
            continue;
        std::vector<ToolKey> tools = current.tools();
        for (ToolKey& tool : tools)
            for (const auto& [entry, value] : entries)
                if (runtime::sameTextNoCase(entry, shortcutEntry(tool.procedure)))
                    tool.key = value;
        std::vector<ToolKey> blank = tools;
        for (ToolKey& tool : blank)
            tool.key.clear();
        ShortcutTable table(blank);
        for (const ToolKey& tool : tools) {
            if (auto why = table.assign(tool.procedure, tool.key)) {
                result.error = std::move(*why);
                return result;
            }
        }
        result.table = std::move(table);
    }
    return result;
}

bool applySettingsSections(const SettingsImport& import, const runtime::IniFile& windows,
                           const runtime::IniFile& lists)
{
    if (!import.ok())
        return false;
    bool ok = true;
    for (const auto& [section, entries] : import.windows)
        ok = windows.setValues(section, entries) && ok;
    for (const auto& [section, entries] : import.lists)
        ok = lists.setValues(section, entries) && ok;
    return ok;
}

} // namespace kestrix::config
