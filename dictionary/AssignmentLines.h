#pragma once

#include <string>
#include <vector>

// Blocks of "VAR1 = VAR2" lines, edited in "Variable Assignments" and written
// by every generator that assigns fields. The one place their layout lives.
namespace kestrix::dictionary {

struct Assignment final
{
    std::string var1; // up to 50 characters
    std::string var2;
};
using AssignmentList = std::vector<Assignment>;

constexpr std::size_t AssignmentTextSize = 50;
constexpr std::size_t MinimumTargetWidth = 5;

// indent + VAR1 padded to the longest VAR1 (at least 5) + " = " + clipped VAR2, one line per pair.
std::vector<std::string> assignmentLines(const AssignmentList& list, const std::string& indent);

// The operations of the "Variable Assignments" popup on row `row`, column `column` (0 VAR1, 1 VAR2).
// Cell moves exchange the cell with the one above or below in the same column; at the list's ends
// they do nothing. Each returns the row the cursor follows to.
enum class AssignmentEdit {
    UpCell,
    DownCell,
    UpLine,
    DownLine,
    SwapLine,
    SwapAll,
    DeleteCell,
    DeleteLine,
    DeleteAll
};
int editAssignments(AssignmentList& list, AssignmentEdit edit, int row, int column);
// The popup's text, items in AssignmentEdit order.
constexpr const char* AssignmentPopup =
    "Up Cell|Down Cell|-|Up Line|Down Line|-|Swap Line|Swap All|-|Delete Cell|Delete Line|Delete All";

// "VAR1=VAR2" as the command line gives a pair; nothing when there is no "=".
bool parseAssignment(const std::string& text, Assignment& pair);

} // namespace kestrix::dictionary
