#pragma once

#include "config/Session.h"
#include "dictionary/CodeMenu.h"
#include "dictionary/DictionaryStore.h"
#include "dictionary/FileTree.h"
#include "dictionary/SetLoopCode.h"
#include "runtime/ui/ToolWindow.h"

#include <functional>
#include <memory>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

// "File Fields": the tree of one dictionary file, with the code generators of
// its lines on the right-click menus and its fields as a drag source.
namespace kestrix::dictionary {

class DictTreeWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    static constexpr const char* Procedure = "DictTreeBrowse";

    // Opens the store's tables for the window; nullptr after telling the user when they cannot be opened.
    static DictTreeWindow* open(config::Session& session, const std::string& store,
                                const std::string& fileName, QWidget* parent = nullptr);

    const FileTree& tree() const { return m_tree; }
    QTreeWidget* view() const { return m_view; }
    // The line of the tree an item shows.
    int lineOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* itemOf(int line) const;
    // What a right click on the line does, with the menu's choice made by `choose` (0: none).
    using MenuChooser = std::function<int(const CodeMenu&)>;
    void popupFor(int line, const MenuChooser& choose);
    // A double click: another tree window on the related or alias file; nullptr when none opens.
    DictTreeWindow* openRelated(int line);
    // Fills the dragged-field list and returns the drag's text.
    std::string startDrag(int highlighted);
    // Hooks for the windows a choice opens, so tests can answer them.
    std::function<bool(SetGenerator&, AssignmentList&, const std::string& title)> editSetLoop;
    std::function<bool(const std::string& title, AssignmentList&)> editAssignments;
    bool doubleWidth() const { return m_doubleWidth; }
    QAction* doubleWidthAction() const { return m_doubleWidthAction; }
    void toggleDoubleWidth();

protected:
    void onConfigurationChanged() override;

private:
    DictTreeWindow(config::Session& session, std::unique_ptr<DictionaryStore> store, const DicFile& file,
                   QWidget* parent);
    void fill();
    void syncMarks();
    void showListWidth();
    bool askNoMemo(const std::string& file);
    void follow(const CodeChoice& choice, const std::string& keyName, const KeyContext& key, int line,
                const MenuChooser& choose);
    void generateLoop(int type, const std::string& keyName, const KeyContext& key);
    void put(const std::vector<std::string>& lines);

    config::Session& m_session;
    std::unique_ptr<DictionaryStore> m_store;
    FileTree m_tree;
    QTreeWidget* m_view = nullptr;
    std::vector<QTreeWidgetItem*> m_items;
    QAction* m_doubleWidthAction = nullptr;
    bool m_doubleWidth = false;
    bool m_fixedsys = false;
};

} // namespace kestrix::dictionary
