#pragma once

#include "runtime/DialogService.h"
#include "runtime/FileError.h"

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The Template Registrar's list of template files and its text file
// "Registp4.TPM". Directories and names are kept whole, however long: a cut
// path would name another file or none.
namespace kestrix::organizers {

constexpr const char* TemplateListFileName = "Registp4.TPM";
// Longer than any path a system accepts; a longer line cannot be an entry.
constexpr std::size_t TemplateListLineLength = 32768;

// What an entry's load column says.
namespace TemplateLoad {
constexpr const char* Register = ""; // registered with the others
constexpr const char* No = "No";     // never registered
constexpr const char* New = "New";   // added since the list was read
constexpr const char* Now = "Now";   // being registered
constexpr const char* Done = "Done";
constexpr const char* Err = "Err";
} // namespace TemplateLoad

struct TemplateEntry final
{
    std::string load;
    std::string file; // upper case
    std::string path; // directory, upper case, no trailing '\'
    bool marked() const { return load == TemplateLoad::No; }
    std::string fullPath() const { return path + "\\" + file; }
    bool operator==(const TemplateEntry&) const = default;
};
// For test failure messages.
void PrintTo(const TemplateEntry& entry, std::ostream* out);

// Held sorted by directory, then file; no file is listed twice.
class TemplateList final
{
public:
    const std::vector<TemplateEntry>& entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    const TemplateEntry& operator[](std::size_t index) const { return m_entries[index]; }

    // Upper-cases both and drops trailing '\'s; nothing (the list unchanged) when already listed.
    std::optional<std::size_t> add(const std::string& directory, const std::string& file,
                                   const std::string& load = TemplateLoad::New);
    // A full path "DIRECTORY\FILE" (a bare name has an empty directory).
    std::optional<std::size_t> addPath(const std::string& fullPath,
                                       const std::string& load = TemplateLoad::New);
    void remove(std::size_t index);
    // "No" becomes blank, anything else "No".
    void toggleLoad(std::size_t index);
    void setLoad(std::size_t index, std::string load) { m_entries[index].load = std::move(load); }

    std::optional<std::size_t> find(const std::string& directory, const std::string& file) const;
    // Every entry of that file name, in list order.
    std::vector<std::size_t> findFile(const std::string& file) const;

private:
    std::vector<TemplateEntry> m_entries;
};

struct TemplateListRead final
{
    TemplateList list;
    runtime::FileError error;           // the file exists but could not be read
    std::vector<std::size_t> longLines; // 1-based lines too long to be an entry: not taken
};

// A missing file gives an empty list.
TemplateListRead readTemplateList(const std::filesystem::path& file = TemplateListFileName);
// The lines of the file as written (without line ends).
std::vector<std::string> templateListLines(const TemplateList& list);
runtime::FileError writeTemplateList(const TemplateList& list,
                                     const std::filesystem::path& file = TemplateListFileName);

// The box for a list file that cannot be written.
runtime::MessageRequest templateListWriteError(const runtime::FileError& error, const std::string& fileName);
// Says which lines were not read; nothing when all were.
std::optional<runtime::MessageRequest> templateListReadNote(const TemplateListRead& read,
                                                            const std::string& fileName);

} // namespace kestrix::organizers
