#include "runtime/ListLocator.h"

#include "runtime/FixedText.h"

namespace kestrix::runtime {

LocatorResult locate(const std::vector<LocatorRow>& rows, const std::string& typed)
{
    LocatorResult result;
    const std::string wanted = upper(rtrim(typed));
    if (wanted.empty()) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            result.visible.push_back(i);
        if (!rows.empty())
            result.current = 0;
        return result;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (startsWithNoCase(rows[i].key, wanted)) {
            for (std::size_t j = 0; j < rows.size(); ++j)
                result.visible.push_back(j);
            result.current = i;
            return result;
        }
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (findNoCase(rows[i].content, wanted) != std::string::npos)
            result.visible.push_back(i);
    }
    if (!result.visible.empty()) {
        result.current = result.visible.front();
        return result;
    }
    // Text that no row holds never empties the list: every row, at the first key that sorts
    // at or after it, or at the last row when the text sorts after every key.
    for (std::size_t i = 0; i < rows.size(); ++i)
        result.visible.push_back(i);
    if (rows.empty())
        return result;
    result.current = rows.size() - 1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (upper(rtrim(rows[i].key)) >= wanted) {
            result.current = i;
            break;
        }
    }
    return result;
}

} // namespace kestrix::runtime
