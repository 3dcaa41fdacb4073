#pragma once

#include "dictionary/AssignmentLines.h"
#include "dictionary/CodeMenu.h"
#include "dictionary/FileTree.h"

#include <string>
#include <vector>

// The file popup of the dictionary tree: opening, closing, single statements,
// ABC method calls, save/restore pairs, the declaration and the add-a-record block.
namespace kestrix::dictionary {

// The ABC menu (`abc`) or the legacy one; ids are the items' positions in it.
CodeMenu fileMenu(bool abc);
// The lines of a file menu item, or what the caller has to do first.
CodeChoice fileMenuChoice(bool abc, int id, const FileTree& tree);

// The add-a-record block with the edited assignments; nothing when the list is empty.
std::vector<std::string> addRecordLines(bool abc, const FileTree& tree, const AssignmentList& assignments);

// Marks the tree's data fields (not RECORD, GROUP or END lines), with MEMO and BLOB fields when
// `withMemos`; every other line is unmarked.
void selectFields(FileTree& tree, bool withMemos);
// The marked field lines in list order, or the line `current` alone when none is marked (and it
// is a field line).
std::vector<int> selectedFieldLines(const FileTree& tree, int current);
// One pair per selected field line: VAR1 its qualified name, VAR2 empty.
AssignmentList assignmentsFor(const FileTree& tree, const std::vector<int>& lines);

// The indent of the lines that "Assignments..." and "Field Assignments" write.
constexpr const char* FieldAssignmentIndent = "    ";

} // namespace kestrix::dictionary
