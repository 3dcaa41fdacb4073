#pragma once

#include "app/FindAnything.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace kestrix::config {
class Session;
}
namespace kestrix::runtime {
class ToolShelf;
}

namespace kestrix::app {

// "Find Anything": one box searched across the tools' data as it is typed, the
// hits grouped by kind; Enter or a double-click opens the chosen one in its tool.
class FindAnythingWindow final : public QDialog
{
    Q_OBJECT

public:
    // Opens the hit's target; false when it could not (the window then stays).
    using Opener = std::function<bool(const FindTarget&)>;

    FindAnythingWindow(std::shared_ptr<const FindAnything> find, Opener open, QWidget* parent = nullptr);

    QLineEdit* box() const { return m_box; }
    QTreeWidget* hits() const { return m_hits; }
    // Opens the highlighted hit; false when none is, or it could not be opened.
    bool openCurrent();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search();
    const FindHit* hitOf(const QTreeWidgetItem* item) const;

    std::shared_ptr<const FindAnything> m_find;
    Opener m_open;
    QLineEdit* m_box = nullptr;
    QTreeWidget* m_hits = nullptr;
    std::vector<FindGroup> m_groups;
};

// The frame's Ctrl+K: reads the data of the search (the tools of `shelf` that are built, by their menu
// text) and shows the window over `parent`. `start` starts a tool as its menu item does.
FindAnythingWindow* showFindAnything(QWidget* parent, config::Session& session,
                                     const runtime::ToolShelf& shelf,
                                     std::function<bool(const std::string& procedure)> start);

} // namespace kestrix::app
