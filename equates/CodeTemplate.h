#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The code templates of the popup menus as the lookup tools use them: '^' stands
// for the item (an equate's or a key's name), and a double-click or "Again"
// repeats the last template on another item.
namespace kestrix::equates {

// Every '^' of `pattern` replaced by `item`.
std::string fillTemplate(std::string_view pattern, std::string_view item);

// The template a repeat uses: a CASE template repeats only its OF line.
class TemplateMemory final
{
public:
    void remember(const std::string& pattern);
    const std::optional<std::string>& last() const { return m_last; }

private:
    std::optional<std::string> m_last;
};

// The longest line of code the clipboard takes whole with its line end.
std::size_t maxCodeLineLength();
// Text split after each CR LF, every piece keeping its line end (the last one may have none).
std::vector<std::string> splitKeepingLineEnds(const std::string& text);
// A message about the first line (between CR LFs) too long for the clipboard; empty when all fit.
std::string lineTooLongText(const std::string& text, const std::string& what);

} // namespace kestrix::equates
