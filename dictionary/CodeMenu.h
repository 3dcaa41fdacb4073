#pragma once

#include "runtime/MenuItem.h"

#include <string>
#include <vector>

// The popup menus of the dictionary tree as the logic returns them: items with
// ids, some gathered under a submenu title. What a choice asks the caller to do.
namespace kestrix::dictionary {

struct CodeMenuEntry final
{
    runtime::MenuItem item;                 // an item, a separator, or (with a submenu) its title
    std::vector<runtime::MenuItem> submenu; // the items under the title
};
using CodeMenu = std::vector<CodeMenuEntry>;

// A submenu titled `title` whose items are `texts`, numbered from `firstId`.
CodeMenuEntry codeSubmenu(const std::string& title, int firstId, const std::vector<std::string>& texts);
// The id of the first item whose text is `text` (blanks, "&" and letter case aside), 0 when none.
int menuItemId(const CodeMenu& menu, const std::string& text);
// The item's text, empty when no item has the id.
std::string menuItemText(const CodeMenu& menu, int id);
// Every item's text, in menu order, for messages that list them.
std::vector<std::string> menuItemTexts(const CodeMenu& menu);

// What a menu choice needs besides its lines: a window to fill in first, or a change of the
// tree's selection.
enum class CodeRequest {
    Nothing,      // no choice, or an item that cannot be used here
    Lines,        // the lines are ready
    SetLoop,      // "Generate SET()/LOOP Code" with `setType`
    AddRecord,    // fields and memos selected, then "Add Record Assignments"
    Assignments,  // "Field Assignments" on the selected fields
    SelectFields, // select the fields of the tree
    SelectFieldsAndMemos,
    FileMenu // the file menu of the tree's file
};

struct CodeChoice final
{
    CodeRequest request = CodeRequest::Nothing;
    std::vector<std::string> lines;
    int setType = 1;
};
// A choice whose lines are ready.
CodeChoice codeLines(std::vector<std::string> lines);

} // namespace kestrix::dictionary
