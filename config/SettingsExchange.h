#pragma once

#include "config/ToolShortcuts.h"
#include "runtime/IniFile.h"
#include "runtime/Record.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The user's settings in one INI-format file to carry to another machine: the
// configuration record (one entry per field, as `config show` names them),
// the window positions with the tools' options, and the list layouts.
namespace kestrix::config {

namespace SettingsFile {
constexpr const char* ConfigurationSection = "Configuration";
constexpr const char* WindowPrefix = "Window:"; // + a section of the window settings file
constexpr const char* ListPrefix = "List:";     // + a section of the list layout file
} // namespace SettingsFile

using IniSections = std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>;

// The text of the settings file.
std::string settingsText(const runtime::Record& config, const IniSections& windows, const IniSections& lists);
// Writes it in one step; the error text when the file could not be written.
std::optional<std::string> exportSettings(const std::filesystem::path& file, const runtime::Record& config,
                                          const runtime::IniFile& windows, const runtime::IniFile& lists);

// What an import would change, every value checked before anything is written.
struct SettingsImport final
{
    std::string error; // names the section, the field and why; empty when everything passed
    std::optional<runtime::Record> config; // the configuration with the imported values
    IniSections windows;
    IniSections lists;
    bool ok() const { return error.empty(); }
};

// Reads `file` over `current`, with the Configuration window's checks for every configuration field.
// `windows` holds the keys the tools have now: a key in the file that one of them keeps is refused.
SettingsImport readSettings(const std::filesystem::path& file, const runtime::Record& current,
                            const runtime::IniFile* windows = nullptr);
// The tool keys after a checked import: the file's keys over `current` (the keys as the user has them now,
// perhaps changed since the file was checked), checked together. No table when the file names no keys;
// `error` says which key clashes.
struct ImportedShortcuts final
{
    std::optional<ShortcutTable> table;
    std::string error;
};
ImportedShortcuts importedShortcuts(const SettingsImport& import, const ShortcutTable& current);
// Writes the window and list sections of a checked import; false when a file could not be written.
bool applySettingsSections(const SettingsImport& import, const runtime::IniFile& windows,
                           const runtime::IniFile& lists);

} // namespace kestrix::config
