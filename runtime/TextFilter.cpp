#include "runtime/TextFilter.h"

#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::runtime {

namespace {
// A line break typed or pasted would otherwise match across cells.
std::string withoutBreaks(std::string_view text)
{
    std::string out(text);
    std::replace(out.begin(), out.end(), FilterCellBreak, ' ');
    return out;
}
} // namespace

TextFilter::TextFilter(std::string_view typed) : m_wanted(upper(trim(withoutBreaks(typed)))) {}

bool TextFilter::matches(std::string_view text) const
{
    if (m_wanted.empty())
        return true;
    if (text.size() < m_wanted.size())
        return false;
    const auto same = [](char a, char b) { return upperChar(a) == b; };
    return std::search(text.begin(), text.end(), m_wanted.begin(), m_wanted.end(), same) != text.end();
}

bool TextFilter::matchesAny(const std::vector<std::string>& cells) const
{
    return m_wanted.empty() ||
           std::any_of(cells.begin(), cells.end(), [this](const std::string& cell) { return matches(cell); });
}

bool TextFilter::matchesFolded(std::string_view foldedText) const
{
    return foldedText.find(m_wanted) != std::string_view::npos;
}

std::string foldForFilter(std::string_view text)
{
    return upper(text);
}

std::vector<std::size_t> filteredRows(const std::vector<std::vector<std::string>>& rows,
                                      const TextFilter& filter)
{
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (filter.matchesAny(rows[i]))
            kept.push_back(i);
    }
    return kept;
}

} // namespace kestrix::runtime
