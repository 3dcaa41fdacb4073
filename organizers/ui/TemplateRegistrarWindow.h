#pragma once

#include "config/Session.h"
#include "organizers/TemplateList.h"
#include "organizers/TemplateRegistrar.h"
#include "runtime/DdeClient.h"
#include "runtime/ui/ToolWindow.h"

#include <filesystem>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kestrix::organizers {

// "Template Registrar": the list of template files, which of them to load, and
// their registration in the running IDE. Registering and scanning run on a
// worker thread behind a progress window; each line shows its state as it changes.
class TemplateRegistrarWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    static constexpr const char* Procedure = "TemplateRegistrar";

    TemplateRegistrarWindow(config::Session& session,
                            runtime::DdeClientFactory dde = runtime::systemDdeClient,
                            std::filesystem::path listFile = TemplateListFileName, QWidget* parent = nullptr);

    const TemplateList& list() const { return m_list; }
    QTreeWidget* view() const { return m_view; }
    // Starts the editor on a file; false when it could not be started. Tests replace it.
    void setEditorStarter(std::function<bool(const std::string& editor, const std::string& file)> start)
    {
        m_startEditor = std::move(start);
    }
    // Shorter for tests of an IDE that does not answer.
    void setTimeout(int hundredths) { m_timeout = hundredths; }

    void addFiles();
    void removeSelected();
    void toggleLoad();
    void viewSelected();
    bool save(); // and close
    void registerAll();
    void registerSelected();
    void registerDirectory();
    void deleteRegistryFile();
    void scan();

signals:
    // A line shows a new load state (also while registering).
    void entryShown(int row, const QString& load);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::string clarionRoot() const;
    int selectedRow() const;
    void fill(int select = -1);
    void showLoad(int row, const std::string& load);
    void runRegistration(const std::function<RegisterResult(TemplateRegistrar&)>& job);

    config::Session& m_session;
    runtime::DdeClientFactory m_dde;
    std::filesystem::path m_listFile;
    TemplateList m_list;
    bool m_listReadable = true;
    bool m_busy = false; // a worker is registering or scanning
    int m_timeout = TemplateRegisterTimeout;
    std::function<bool(const std::string&, const std::string&)> m_startEditor;
    QTreeWidget* m_view = nullptr;
    QPushButton* m_saveButton = nullptr;
};

} // namespace kestrix::organizers
