#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A Windows-style INI file: section and entry names ignore case, and writing
// one entry keeps every other line of the file. Each call reads or writes the
// file at once, as GETINI/PUTINI do, so two windows never hold stale copies.
// A write is a read-change-write under a lock shared with other programs, and
// the new text replaces the file by a rename: no entry another program wrote
// meanwhile is lost, a reader never sees half a file, and a symbolic link at
// the file's name is replaced rather than written through.
namespace kestrix::runtime {

class IniFile final
{
public:
    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return m_path; }
    std::string value(std::string_view section, std::string_view entry, std::string_view fallback = {}) const;
    long number(std::string_view section, std::string_view entry, long fallback) const;
    bool hasEntry(std::string_view section, std::string_view entry) const;
    // One section's entries in the order of the file, read at once (none when it is missing).
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;
    // Every section with its entries, in the order of the file.
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> contents() const;
    // Returns false when the file could not be written.
    bool setValue(std::string_view section, std::string_view entry, std::string_view value) const;
    bool setNumber(std::string_view section, std::string_view entry, long value) const;
    // Several entries of one section in a single write.
    bool setValues(std::string_view section,
                   const std::vector<std::pair<std::string, std::string>>& entries) const;
    bool removeSection(std::string_view section) const;

private:
    template <class Change> bool change(Change change) const;

    std::filesystem::path m_path;
};

} // namespace kestrix::runtime
