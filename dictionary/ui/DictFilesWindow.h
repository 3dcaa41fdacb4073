#pragma once

#include "config/Session.h"
#include "dictionary/BrowseTexts.h"
#include "dictionary/DictionaryStore.h"
#include "runtime/ui/ToolWindow.h"

#include <QPointer>

#include <memory>

class QTreeWidget;
class QToolButton;

// "Browse Dic File": the files and aliases of one dictionary store; a double
// click opens the file's tree, a right click its "File Info".
namespace kestrix::dictionary {

class DictTreeWindow;

class DictFilesWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    static constexpr const char* Procedure = FilesBrowseProcedure;

    // Opens the store for browsing; asks to import again when it was made by another version.
    // nullptr when there is nothing to show (the user has been told why).
    static DictFilesWindow* open(config::Session& session, const std::string& store,
                                 QWidget* parent = nullptr);

    ~DictFilesWindow() override;

    QTreeWidget* list() const { return m_list; }
    QToolButton* updateButton() const { return m_update; }
    // The tree window of the row, added to the same MDI area when there is one.
    DictTreeWindow* openTree(int row);
    // The "File Info" window of the row, for the caller to show and delete.
    QDialog* fileInfo(int row);
    void update();
    void minimizeTrees();
    void restoreTrees();
    void closeTrees();
    const std::vector<QPointer<DictTreeWindow>>& trees() const { return m_trees; }

protected:
    void onConfigurationChanged() override;

private:
    DictFilesWindow(config::Session& session, std::unique_ptr<DictionaryStore> store, QWidget* parent);
    void reload();

    config::Session& m_session;
    std::unique_ptr<DictionaryStore> m_store;
    std::vector<runtime::Record> m_rows;
    QTreeWidget* m_list = nullptr;
    QToolButton* m_update = nullptr;
    std::vector<QPointer<DictTreeWindow>> m_trees;
};

} // namespace kestrix::dictionary
