#pragma once

#include "config/Session.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/ToolWindow.h"
#include "utilities/MapScanner.h"

#include <array>
#include <functional>

class QTabWidget;
class QTreeWidget;

namespace kestrix::utilities {

// "Map View": the procedures of a program's MAP on four tabs, each list with a
// filter box above it and sortable by a double-click on a heading.
class MapViewWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    static constexpr const char* Procedure = "MapView";

    // Scans `source`; nullptr (after the message) when it cannot be read or holds no MAP.
    static MapViewWindow* open(config::Session& session, const std::string& source,
                               QWidget* parent = nullptr);

    const std::string& source() const { return m_source; }
    const MapLists& lists() const { return m_lists; }
    QTabWidget* tabs() const { return m_tabs; }
    QTreeWidget* list(MapList which) const { return m_views[static_cast<std::size_t>(which)]; }
    runtime::FilterBox* filter(MapList which) const { return m_filters[static_cast<std::size_t>(which)]; }

    // Re-reads the source; false (and the window closes) when that fails.
    bool updateFromFile();
    MapExport exportToText();
    // A row's menu command, as the right-click menu sends it.
    void perform(MapList which, int row, int command);
    // Starts the editor on a file; tests replace it.
    void setEditorStarter(std::function<void(const std::string& editor, const std::string& file)> start)
    {
        m_startEditor = std::move(start);
    }

private:
    MapViewWindow(config::Session& session, std::string source, MapScan scan, QWidget* parent);
    void fill(MapList which);
    void sortBy(MapList which, int column);
    void applyFilter(MapList which);
    int rowOf(MapList which, int itemIndex) const;

    config::Session& m_session;
    std::string m_source;
    MapLists m_lists;
    QTabWidget* m_tabs = nullptr;
    std::array<QTreeWidget*, MapListCount> m_views{};
    std::array<runtime::FilterBox*, MapListCount> m_filters{};
    std::array<Qt::SortOrder, MapListCount> m_order{};
    std::function<void(const std::string&, const std::string&)> m_startEditor;
};

} // namespace kestrix::utilities
