#include "utilities/MapPickList.h"

#include "runtime/FixedText.h"
#include "runtime/WinPath.h"

#include <algorithm>

namespace kestrix::utilities {

namespace {
constexpr const char* SortByEntry = "SortBy";
constexpr const char* LastOpenEntry = "LastOpenPaths";
} // namespace

MapPickList::MapPickList(runtime::IniFile ini) : m_ini(std::move(ini)) {}

MapPickList MapPickList::inCurrentDirectory()
{
    return MapPickList(runtime::IniFile(runtime::resolveWinPath(FileName)));
}

const char* MapPickList::orderText(MapPickOrder order)
{
    return order == MapPickOrder::FileName ? "File Name" : "Last Used";
}

void MapPickList::load()
{
    m_rows.clear();
    for (int number = 1; number <= MaxEntries; ++number) {
        const std::string value(runtime::trim(m_ini.value(Section, std::to_string(number))));
        if (!value.empty())
            m_rows.push_back({number, runtime::lower(value)});
    }
    m_order = runtime::sameTextNoCase(m_ini.value(Section, SortByEntry, orderText(MapPickOrder::LastUsed)),
                                      orderText(MapPickOrder::FileName))
                  ? MapPickOrder::FileName
                  : MapPickOrder::LastUsed;
}

std::vector<MapPickRow> MapPickList::rows() const
{
    std::vector<MapPickRow> shown = m_rows;
    if (m_order == MapPickOrder::FileName)
        std::stable_sort(shown.begin(), shown.end(),
                         [](const MapPickRow& a, const MapPickRow& b) { return a.fileName < b.fileName; });
    return shown;
}

bool MapPickList::opened(const std::string& fileName)
{
    const std::string name = runtime::lower(runtime::trim(fileName));
    std::vector<MapPickRow> rows{{1, name}};
    for (const MapPickRow& row : m_rows) {
        if (row.fileName != name && static_cast<int>(rows.size()) < MaxEntries)
            rows.push_back({static_cast<int>(rows.size()) + 1, row.fileName});
    }
    m_rows = std::move(rows);
    return write();
}

bool MapPickList::remove(const std::string& fileName)
{
    const std::string name = runtime::lower(runtime::trim(fileName));
    std::vector<MapPickRow> rows;
    for (const MapPickRow& row : m_rows) {
        if (row.fileName != name)
            rows.push_back({static_cast<int>(rows.size()) + 1, row.fileName});
    }
    m_rows = std::move(rows);
    return write();
}

bool MapPickList::saveOrder() const
{
    return m_ini.setValue(Section, SortByEntry, orderText(m_order));
}

// Every numbered entry is written, the unused ones blank, so no stale file comes back.
bool MapPickList::write() const
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (int number = 1; number <= MaxEntries; ++number) {
        const auto row = std::find_if(m_rows.begin(), m_rows.end(),
                                      [number](const MapPickRow& r) { return r.number == number; });
        entries.emplace_back(std::to_string(number), row == m_rows.end() ? std::string() : row->fileName);
    }
    entries.emplace_back(SortByEntry, orderText(m_order));
    return m_ini.setValues(Section, entries);
}

std::string MapPickList::lastOpenPath() const
{
    return m_ini.value(Section, LastOpenEntry);
}

bool MapPickList::setLastOpenPath(const std::string& folder) const
{
    return m_ini.setValue(Section, LastOpenEntry, folder);
}

} // namespace kestrix::utilities
