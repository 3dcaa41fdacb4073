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

bool isBlank(std::string_view text)
{
    return rtrim(text).empty();
}

} // namespace kestrix::runtime
