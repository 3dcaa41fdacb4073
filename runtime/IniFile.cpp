#include "runtime/IniFile.h"

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION // this build of the header keeps its template bodies behind this switch
#include <SimpleIni.h>

#include "runtime/AtomicFile.h"
#include "runtime/FileLock.h"
#include "runtime/WholeFile.h"

#include <charconv>

namespace kestrix::runtime {
namespace {

std::unique_ptr<CSimpleIniA> load(const std::filesystem::path& path)
{
    auto ini = std::make_unique<CSimpleIniA>(false, false, true);
    ini->SetSpaces(false);
    // A file that is not there yet reads as one without entries.
    const FileBytes read = readWholeFile(path);
    if (!read.error)
        ini->LoadData(read.bytes.data(), read.bytes.size());
    return ini;
}

bool save(const CSimpleIniA& ini, const std::filesystem::path& path)
{
    std::string data;
    if (ini.Save(data) < 0)
        return false;
    return writeFileAtomically(path, data).ok();
}

} // namespace

template <class Change> bool IniFile::change(Change change) const
{
    const FileLock lock = FileLock::acquire(lockFileFor(m_path));
    if (!lock)
        return false;
    auto ini = load(m_path);
    change(*ini);
    return save(*ini, m_path);
}

IniFile::IniFile(std::filesystem::path path) : m_path(std::move(path)) {}

std::string IniFile::value(std::string_view section, std::string_view entry, std::string_view fallback) const
{
    const auto ini = load(m_path);
    const char* found = ini->GetValue(std::string(section).c_str(), std::string(entry).c_str(), nullptr);
    return found ? std::string(found) : std::string(fallback);
}

long IniFile::number(std::string_view section, std::string_view entry, long fallback) const
{
    if (!hasEntry(section, entry))
        return fallback;
    const std::string text = value(section, entry);
    long result = 0;
    const char* begin = text.data();
    while (begin < text.data() + text.size() && *begin == ' ')
        ++begin;
    std::from_chars(begin, text.data() + text.size(), result); // non-numbers read as 0, like GETINI
    return result;
}

bool IniFile::hasEntry(std::string_view section, std::string_view entry) const
{
    const auto ini = load(m_path);
    return ini->GetValue(std::string(section).c_str(), std::string(entry).c_str(), nullptr) != nullptr;
}

std::vector<std::pair<std::string, std::string>> IniFile::entries(std::string_view section) const
{
    const auto ini = load(m_path);
    const std::string name(section);
    CSimpleIniA::TNamesDepend keys;
    ini->GetAllKeys(name.c_str(), keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& key : keys)
        out.emplace_back(key.pItem, ini->GetValue(name.c_str(), key.pItem, ""));
    return out;
}

std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>
IniFile::contents() const
{
    const auto ini = load(m_path);
    CSimpleIniA::TNamesDepend sections;
    ini->GetAllSections(sections);
    sections.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> out;
    for (const auto& section : sections) {
        CSimpleIniA::TNamesDepend keys;
        ini->GetAllKeys(section.pItem, keys);
        keys.sort(CSimpleIniA::Entry::LoadOrder());
        std::vector<std::pair<std::string, std::string>> entries;
        for (const auto& key : keys)
            entries.emplace_back(key.pItem, ini->GetValue(section.pItem, key.pItem, ""));
        out.emplace_back(section.pItem, std::move(entries));
    }
    return out;
}

bool IniFile::setValue(std::string_view section, std::string_view entry, std::string_view value) const
{
    return change([&](CSimpleIniA& ini) {
        ini.SetValue(std::string(section).c_str(), std::string(entry).c_str(), std::string(value).c_str());
    });
}

bool IniFile::setNumber(std::string_view section, std::string_view entry, long value) const
{
    return setValue(section, entry, std::to_string(value));
}

bool IniFile::setValues(std::string_view section,
                        const std::vector<std::pair<std::string, std::string>>& entries) const
{
    if (entries.empty())
        return true;
    return change([&](CSimpleIniA& ini) {
        const std::string name(section);
        for (const auto& [entry, value] : entries)
            ini.SetValue(name.c_str(), entry.c_str(), value.c_str());
    });
}

bool IniFile::removeSection(std::string_view section) const
{
    return change([&](CSimpleIniA& ini) { ini.Delete(std::string(section).c_str(), nullptr); });
}

} // namespace kestrix::runtime
