#include "runtime/TextLineFile.h"
#include "runtime/WholeFile.h"

namespace kestrix::runtime {

std::vector<std::string> splitTextLines(const std::string& text, std::size_t maxLength,
                                        std::vector<std::size_t>* cutLines)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        if (stop - start > maxLength && cutLines)
            cutLines->push_back(lines.size() + 1);
        lines.push_back(text.substr(start, std::min(stop - start, maxLength)));
        start = next;
    }
    return lines;
}

TextLines readTextLines(const std::filesystem::path& path, std::size_t maxLength)
{
    TextLines result;
    FileBytes read = readWholeFile(path);
    if (read.error) {
        result.error = read.error;
        return result;
    }
    result.bytes = read.bytes.size();
    result.lines = splitTextLines(read.bytes, maxLength, &result.cutLines);
    return result;
}

} // namespace kestrix::runtime
