#include "utilities/CodeMerge.h"

#include "runtime/FixedText.h"

#include <algorithm>
#include <limits>

namespace kestrix::utilities {

std::vector<std::string> splitCodeLines(const std::string& code)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = code.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(code.substr(start));
            break;
        }
        std::size_t stop = end;
        if (stop > start && code[stop - 1] == '\r')
            --stop;
        lines.push_back(code.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

std::string joinCodeLines(const std::vector<std::string>& lines)
{
    std::string code;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            code += "\r\n";
        code += lines[i];
    }
    return code;
}

std::vector<MergeToken> scanMergeTokens(const std::vector<std::string>& lines)
{
    std::vector<MergeToken> tokens;
    const std::size_t openLength = std::char_traits<char>::length(MergeOpen);
    const std::size_t closeLength = std::char_traits<char>::length(MergeClose);
    for (const std::string& line : lines) {
        // Each token found is blanked out of this copy, so the search moves on to the next one.
        std::string scanned = line;
        while (tokens.size() < MaxMergeTokens) {
            const std::size_t open = scanned.find(MergeOpen);
            if (open == std::string::npos)
                break;
            const std::size_t close = scanned.find(MergeClose, open + openLength);
            if (close == std::string::npos)
                break;
            const std::size_t end = close + closeLength;
            const std::string found = scanned.substr(open, end - open);
            std::fill(scanned.begin() + static_cast<std::ptrdiff_t>(open),
                      scanned.begin() + static_cast<std::ptrdiff_t>(end), ' ');
            const std::string token = runtime::upper(found);
            const bool known = std::any_of(tokens.begin(), tokens.end(),
                                           [&](const MergeToken& t) { return t.token == token; });
            if (!known)
                tokens.push_back(
                    {token, found.substr(openLength, found.size() - openLength - closeLength), token});
        }
        if (tokens.size() >= MaxMergeTokens)
            break;
    }
    return tokens;
}

std::vector<std::string> mergeTokens(std::vector<std::string> lines, const std::vector<MergeToken>& tokens)
{
    for (const MergeToken& token : tokens) {
        if (token.token.empty())
            continue;
        const std::string value(runtime::rtrim(token.value));
        for (std::string& line : lines) {
            std::string upperLine = runtime::upper(line);
            std::size_t from = 0;
            while (true) {
                const std::size_t at = upperLine.find(token.token, from);
                if (at == std::string::npos)
                    break;
                line.replace(at, token.token.size(), value);
                upperLine.replace(at, token.token.size(), runtime::upper(value));
                from = at + value.size();
            }
        }
    }
    return lines;
}

std::string leftJustifyCode(const std::string& code)
{
    std::vector<std::string> lines = splitCodeLines(code);
    std::size_t shift = std::numeric_limits<std::size_t>::max();
    for (const std::string& line : lines) {
        const std::size_t indent = line.find_first_not_of(" \t");
        if (indent != std::string::npos)
            shift = std::min(shift, indent);
    }
    if (shift == std::numeric_limits<std::size_t>::max() || shift == 0)
        return code;
    for (std::string& line : lines) {
        // A blank line loses what it has of the margin; its own blanks past the margin stay.
        const std::size_t indent = std::min(line.find_first_not_of(" \t"), line.size());
        line.erase(0, std::min(shift, indent));
    }
    return joinCodeLines(lines);
}

} // namespace kestrix::utilities
