#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::runtime {

std::string_view rtrim(std::string_view text)
{
    const auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

std::string clip(std::string_view text)
{
    return std::string(rtrim(text));
}

std::string_view ltrim(std::string_view text)
{
    const auto start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

std::string_view trim(std::string_view text)
{
    return ltrim(rtrim(text));
}

std::string_view fittedView(std::string_view text, std::size_t length)
{
    return rtrim(text.substr(0, std::min(text.size(), length)));
}

std::string fitted(std::string_view text, std::size_t length)
{
    return std::string(fittedView(text, length));
}

bool sameText(std::string_view a, std::string_view b)
{
    return rtrim(a) == rtrim(b);
}

bool sameTextNoCase(std::string_view a, std::string_view b)
{
    a = rtrim(a);
    b = rtrim(b);
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return upperChar(x) == upperChar(y); });
}

std::string upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), upperChar);
    return out;
}

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lowerChar);
    return out;
}

namespace {

bool sameLetter(char c, char upperW)
{
    return upperChar(c) == upperW;
}

} // namespace

std::size_t findNoCase(std::string_view text, std::string_view upperWord, std::size_t from)
{
    if (from > text.size())
        return std::string_view::npos;
    const auto start = text.begin() + static_cast<std::ptrdiff_t>(from);
    const auto at = std::search(start, text.end(), upperWord.begin(), upperWord.end(), sameLetter);
    if (at == text.end() && !upperWord.empty())
        return std::string_view::npos;
    return static_cast<std::size_t>(at - text.begin());
}

bool startsWithNoCase(std::string_view text, std::string_view upperWord)
{
    return text.size() >= upperWord.size() && std::equal(upperWord.begin(), upperWord.end(), text.begin(),
                                                         [](char w, char c) { return sameLetter(c, w); });
}

bool isBlank(std::string_view text)
{
    return rtrim(text).empty();
}

} // namespace kestrix::runtime
