#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// A Windows-style INI file: section and entry names ignore case, and writing
// one entry keeps every other line of the file. Each call reads or writes the
// file at once, as GETINI/PUTINI do, so two windows never hold stale copies.
namespace kestrix::runtime {

class IniFile final
{
public:
    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return m_path; }
    std::string value(std::string_view section, std::string_view entry, std::string_view fallback = {}) const;
    long number(std::string_view section, std::string_view entry, long fallback) const;
    bool hasEntry(std::string_view section, std::string_view entry) const;
    // Returns false when the file could not be written.
    bool setValue(std::string_view section, std::string_view entry, std::string_view value) const;
    bool setNumber(std::string_view section, std::string_view entry, long value) const;
    bool removeSection(std::string_view section) const;

private:
    std::filesystem::path m_path;
};

} // namespace kestrix::runtime
