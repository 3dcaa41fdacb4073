#include "runtime/TextLineFile.h"
#include "runtime/SystemErrorMapping.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
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
    // Read straight into a string of the file's size: a stream that grows as it reads, and the copy it then
    // hands out, would touch the size of the file several times over (a load reads megabytes).
    std::string text;
    if (const std::uintmax_t size = std::filesystem::file_size(path, ec); !ec) {
        text.resize(static_cast<std::size_t>(size));
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
    }
    // What the size did not cover (a file that grew meanwhile) is read on to its end.
    std::array<char, 4096> chunk;
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0)
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    result.bytes = text.size();
    result.lines = splitTextLines(text, maxLength, &result.cutLines);
    return result;
}

} // namespace kestrix::runtime
