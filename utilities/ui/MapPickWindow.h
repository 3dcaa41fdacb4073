#pragma once

#include "config/Session.h"
#include "runtime/ui/ToolWindow.h"
#include "utilities/MapPickList.h"

#include <functional>

class QRadioButton;
class QTreeWidget;

namespace kestrix::utilities {

// "Pick Map File": the sources opened before, most recent first; opening one
// shows its map in the viewer.
class MapPickWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    static constexpr const char* Procedure = "MapPick";

    MapPickWindow(config::Session& session, QWidget* parent = nullptr);

    QTreeWidget* fileList() const { return m_list; }
    QRadioButton* byFileName() const { return m_byName; }
    // Shows the map of a file; the frame's way of opening the viewer, replaced by tests.
    using OpenViewer = std::function<bool(const std::string& source)>;
    void setOpenViewer(OpenViewer open) { m_openViewer = std::move(open); }

    void selectHighlighted();
    void openOther();
    void removeHighlighted();

private:
    void reload();
    void listNotWritten();
    void openFile(const std::string& file);
    std::string highlighted() const;

    config::Session& m_session;
    MapPickList m_pick;
    OpenViewer m_openViewer;
    QTreeWidget* m_list = nullptr;
    QRadioButton* m_lastUsed = nullptr;
    QRadioButton* m_byName = nullptr;
};

} // namespace kestrix::utilities
