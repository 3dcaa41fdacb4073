#pragma once

#include "config/Session.h"
#include "runtime/ui/ToolWindow.h"
#include "utilities/ErrorHelper.h"

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace kestrix::runtime {
class FilterBox;
}

namespace kestrix::utilities {

// "Error Helper" (ErrorHelper): the category tree, the errors of the chosen
// category and the chosen errors, bound to ErrorHelper.
class ErrorHelperWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    ErrorHelperWindow(config::Session& session, ErrorHelper helper, QWidget* parent = nullptr);

    ErrorHelper& helper() { return m_helper; }
    // Iconizes the frame by default.
    void setFrameIconizer(std::function<void()> iconize) { m_iconizeFrame = std::move(iconize); }
    // Opens a document with the system's "open" action by default; false when it could not.
    void setDocumentOpener(std::function<bool(const std::string& path)> open)
    {
        m_openDocument = std::move(open);
    }

    void chooseCategory(std::size_t treeIndex);
    void addSelected();
    void addAll();
    void removeSelected();
    void removeAll();
    void generate(bool thenMinimize);
    void cwHelp();
    // Highlights error `request.number`, in the chosen category when it lists it, else under "All".
    bool showItem(const runtime::ShowRequest& request) override;

private:
    void showListed();
    void showChosen();
    void showNotes(QTreeWidgetItem* item);
    void readOptions();

    config::Session& m_session;
    ErrorHelper m_helper;
    std::function<void()> m_iconizeFrame;
    std::function<bool(const std::string&)> m_openDocument;

    QTreeWidget* m_categories = nullptr;
    QLabel* m_heading = nullptr;
    QTreeWidget* m_errors = nullptr;
    runtime::FilterBox* m_filter = nullptr;
    QTreeWidget* m_chosen = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QCheckBox* m_ofNoError = nullptr;
    QCheckBox* m_elseStop = nullptr;
    QCheckBox* m_errorFile = nullptr;
    QCheckBox* m_fileError = nullptr;
};

} // namespace kestrix::utilities
