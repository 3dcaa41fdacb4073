#pragma once

#include "config/Session.h"
#include "organizers/HelpOrganizer.h"
#include "runtime/ui/ToolWindow.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabBar;

namespace kestrix::runtime {
class BrowseList;
}

namespace kestrix::organizers {

// "Help Organizer": the help list by tab, opening an entry's file, the
// update window and the scan of the Clarion directory.
class HelpOrganizerWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    // `file` is "HelpLis5.TPS", open for as long as the window lives.
    HelpOrganizerWindow(config::Session& session, runtime::KeyedFile& file, QWidget* parent = nullptr);
    ~HelpOrganizerWindow() override;

    QTabBar* tabs() const { return m_tabs; }
    runtime::BrowseList* list() const { return m_list; }
    // Where View sends files; the desktop's by default.
    void setLauncher(runtime::DocumentLauncher& launcher) { m_launcher = &launcher; }

    char currentType() const;
    void reload();
    void view();
    void scan();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    const runtime::Record* currentRecord() const;
    void edit(bool adding);
    void remove();
    void select(const HelpEntry& entry);
    void saveWidths();

    config::Session& m_session;
    HelpOrganizer m_organizer;
    std::unique_ptr<runtime::DocumentLauncher> m_ownLauncher;
    runtime::DocumentLauncher* m_launcher = nullptr;
    std::vector<runtime::Record> m_rows;
    bool m_scanning = false;
    QTabBar* m_tabs = nullptr;
    QLineEdit* m_locator = nullptr;
    runtime::BrowseList* m_list = nullptr;
    QWidget* m_body = nullptr;
};

// "Update Help List": one entry's tab, name, file and path.
class HelpUpdateWindow final : public QDialog
{
    Q_OBJECT

public:
    // Without `record`: adding an entry to the tab `type`.
    HelpUpdateWindow(HelpOrganizer& organizer, config::Session& session,
                     std::optional<runtime::Record> record, char type, QWidget* parent = nullptr);
    ~HelpUpdateWindow() override;

    HelpEntry entry() const;
    void accept() override;

private:
    void lookupFile();

    HelpOrganizer& m_organizer;
    config::Session& m_session;
    std::optional<runtime::Record> m_record;
    QComboBox* m_type = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_file = nullptr;
    QLineEdit* m_path = nullptr;
};

} // namespace kestrix::organizers
