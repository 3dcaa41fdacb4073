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
        lines.push_back(indent + target + " = " + std::string(runtime::rtrim(a.var2)));
    }
    return lines;
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
