#pragma once

#include "runtime/IniFile.h"

#include <string>
#include <vector>

// The files the Map Viewer opened before, most recent first, kept in
// ".\MAPPICK5.INI" (section "MapList": entries "1" to "20", "SortBy", "LastOpenPaths").
namespace kestrix::utilities {

struct MapPickRow final
{
    int number = 0;       // MQ:ININUM, 1 the most recently opened
    std::string fileName; // MQ:FILENAME, lower-cased
    bool operator==(const MapPickRow&) const = default;
};

enum class MapPickOrder { LastUsed, FileName };

class MapPickList final
{
public:
    static constexpr int MaxEntries = 20;
    static constexpr const char* FileName = ".\\MAPPICK5.INI";
    static constexpr const char* Section = "MapList";

    explicit MapPickList(runtime::IniFile ini);
    // The list file in the current directory.
    static MapPickList inCurrentDirectory();

    void load();
    // The rows in the chosen order.
    std::vector<MapPickRow> rows() const;
    MapPickOrder order() const { return m_order; }
    void setOrder(MapPickOrder order) { m_order = order; }
    static const char* orderText(MapPickOrder order);

    // The file becomes entry 1, the others follow in their earlier order; written at once.
    // False when the list file could not be written.
    bool opened(const std::string& fileName);
    bool remove(const std::string& fileName);
    bool saveOrder() const;

    std::string lastOpenPath() const;
    bool setLastOpenPath(const std::string& folder) const;

private:
    bool write() const;

    runtime::IniFile m_ini;
    std::vector<MapPickRow> m_rows; // by number
    MapPickOrder m_order = MapPickOrder::LastUsed;
};

} // namespace kestrix::utilities
