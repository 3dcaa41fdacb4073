#include "dictionary/AssignmentLines.h"

#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::dictionary {

std::vector<std::string> assignmentLines(const AssignmentList& list, const std::string& indent)
{
    std::size_t width = MinimumTargetWidth;
    for (const Assignment& a : list)
        width = std::max(width, runtime::rtrim(a.var1).size());
    std::vector<std::string> lines;
    for (const Assignment& a : list) {
        std::string target(runtime::rtrim(a.var1));
        target.resize(width, ' ');
        lines.push_back(indent + target + " = " + runtime::clip(a.var2));
    }
    return lines;
}

int editAssignments(AssignmentList& list, AssignmentEdit edit, int row, int column)
{
    const int size = static_cast<int>(list.size());
    if (edit == AssignmentEdit::DeleteAll) {
        list.clear();
        return -1;
    }
    if (edit == AssignmentEdit::SwapAll) {
        for (Assignment& a : list)
            std::swap(a.var1, a.var2);
        return row;
    }
    if (row < 0 || row >= size)
        return row;
    const auto at = [&](int r) -> Assignment& { return list[static_cast<std::size_t>(r)]; };
    const auto cell = [&](int r) -> std::string& { return column == 0 ? at(r).var1 : at(r).var2; };
    switch (edit) {
    case AssignmentEdit::UpCell:
        if (row == 0)
            return row;
        std::swap(cell(row), cell(row - 1));
        return row - 1;
    case AssignmentEdit::DownCell:
        if (row + 1 >= size)
            return row;
        std::swap(cell(row), cell(row + 1));
        return row + 1;
    case AssignmentEdit::UpLine:
        if (row == 0)
            return row;
        std::swap(at(row), at(row - 1));
        return row - 1;
    case AssignmentEdit::DownLine:
        if (row + 1 >= size)
            return row;
        std::swap(at(row), at(row + 1));
        return row + 1;
    case AssignmentEdit::SwapLine:
        std::swap(at(row).var1, at(row).var2);
        return row;
    case AssignmentEdit::DeleteCell:
        cell(row).clear();
        return row;
    case AssignmentEdit::DeleteLine:
        list.erase(list.begin() + row);
        return std::min(row, static_cast<int>(list.size()) - 1);
    default:
        return row;
    }
}

bool parseAssignment(const std::string& text, Assignment& pair)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return false;
    pair.var1 = std::string(runtime::trim(text.substr(0, equals)));
    pair.var2 = std::string(runtime::trim(text.substr(equals + 1)));
    return true;
}

} // namespace kestrix::dictionary
