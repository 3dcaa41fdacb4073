#include "equates/CodeTemplate.h"

#include "clipboard/ClipboardQueue.h"
#include "runtime/FixedText.h"

namespace kestrix::equates {

std::string fillTemplate(std::string_view pattern, std::string_view item)
{
    std::string out;
    out.reserve(pattern.size() + item.size());
    for (const char c : pattern) {
        if (c == '^')
            out += item;
        else
            out += c;
    }
    return out;
}

void TemplateMemory::remember(const std::string& pattern)
{
    m_last = runtime::upper(pattern.substr(0, 4)) == "CASE" ? std::string("OF ^") : pattern;
}

std::size_t maxCodeLineLength()
{
    return clipboard::MaxLineLength - 2;
}

std::vector<std::string> splitKeepingLineEnds(const std::string& text)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        const std::size_t next = end == std::string::npos ? text.size() : end + 2;
        pieces.push_back(text.substr(start, next - start));
        start = next;
    }
    return pieces;
}

std::string lineTooLongText(const std::string& text, const std::string& what)
{
    std::size_t number = 0;
    for (const std::string& piece : splitKeepingLineEnds(text)) {
        ++number;
        std::string_view line(piece);
        if (line.size() >= 2 && line.substr(line.size() - 2) == "\r\n")
            line.remove_suffix(2);
        if (line.size() > maxCodeLineLength()) {
            return "Line " + std::to_string(number) + " of " + what + " has " + std::to_string(line.size()) +
                   " characters; a line of code on the clipboard holds at most " +
                   std::to_string(maxCodeLineLength()) + ".|Nothing was copied.";
        }
    }
    return {};
}

} // namespace kestrix::equates
