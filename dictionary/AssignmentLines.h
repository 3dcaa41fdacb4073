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

// "VAR1=VAR2" as the command line gives a pair; nothing when there is no "=".
bool parseAssignment(const std::string& text, Assignment& pair);

} // namespace kestrix::dictionary
