#include "runtime/TextLineFile.h"
#include "runtime/SystemErrorMapping.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

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
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        result.error = std::filesystem::exists(path, ec) ? FileError::of(ErrorCode::AccessDenied)
                                                         : FileError::of(ErrorCode::FileNotFound);
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = fileErrorFromErrno(errno);
        return result;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    result.bytes = text.size();
    result.lines = splitTextLines(text, maxLength, &result.cutLines);
    return result;
}

} // namespace kestrix::runtime
