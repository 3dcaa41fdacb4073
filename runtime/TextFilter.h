#pragma once

#include <string>
#include <string_view>
#include <vector>

// The filter box's rule, shared by every list and by the search across tools: a row
// is kept when one of its shown texts holds what was typed anywhere, ignoring case
// as the language's UPPER() does (Windows-1252 letters included). Blanks around
// the typed text do not count.
namespace kestrix::runtime {

class TextFilter final
{
public:
    TextFilter() = default;
    explicit TextFilter(std::string_view typed);

    // Nothing typed: every row is kept.
    bool empty() const { return m_wanted.empty(); }
    // The typed text as it is compared: trimmed and upper-cased.
    const std::string& folded() const { return m_wanted; }

    bool matches(std::string_view text) const;
    // One cell must hold the whole text: a match never runs from one column into the next.
    bool matchesAny(const std::vector<std::string>& cells) const;
    // For text folded once beforehand (see `foldForFilter`), so a long list is not folded per keystroke.
    bool matchesFolded(std::string_view foldedText) const;

private:
    std::string m_wanted;
};

// Text as `matchesFolded` takes it. Several texts may be joined with `FilterCellBreak`: a match
// never spans it.
std::string foldForFilter(std::string_view text);
inline constexpr char FilterCellBreak = '\n';

// The indexes of the rows kept, in their order.
std::vector<std::size_t> filteredRows(const std::vector<std::vector<std::string>>& rows,
                                      const TextFilter& filter);

} // namespace kestrix::runtime
