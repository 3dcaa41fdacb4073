#pragma once

#include "config/DraggedFields.h"
#include "dictionary/CodeMenu.h"
#include "dictionary/FileTree.h"

#include <string>
#include <vector>

// The field popup of the dictionary tree, applied to the selected fields, and
// the dragged-field entries of the same lines.
namespace kestrix::dictionary {

// The menu of the field at `fieldLine`; "CASE Field..OF InList" only when it has an INLIST().
CodeMenu fieldMenu(const FileTree& tree, int fieldLine);
// Items apply to the marked field lines in list order, or to `fieldLine` alone when none is marked;
// the CASE item to `fieldLine`. "Field Assignments" asks for the assignment window.
CodeChoice fieldMenuChoice(int id, const FileTree& tree, int fieldLine);

// "CLIP(field)" for a string-like field, else "FORMAT(field,picture)".
std::string formatExpression(const TreeLine& line);

// The dragged-field entries and the drag's text for the marked lines, or the highlighted line
// alone when none is marked.
struct FieldDrag final
{
    config::DraggedFieldList fields;
    std::string text;
};
FieldDrag fieldDrag(const FileTree& tree, int highlighted);

} // namespace kestrix::dictionary
