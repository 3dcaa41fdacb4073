#include "runtime/LineBreaks.h"

namespace kestrix::runtime {

std::string lineFeedsFromCrLf(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            shown += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            continue;
        }
        shown += text[i];
    }
    return shown;
}

std::string crLfFromLineFeeds(std::string_view text)
{
    std::string crlf;
    crlf.reserve(text.size() + 16);
    for (const char c : text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    return crlf;
}

} // namespace kestrix::runtime
