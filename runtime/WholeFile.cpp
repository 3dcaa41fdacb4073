#include "runtime/WholeFile.h"
#include "runtime/SystemErrorMapping.h"

#include <array>
#include <cerrno>
#include <fstream>
#include <system_error>

namespace kestrix::runtime {

FileBytes readWholeFile(const std::filesystem::path& path)
{
    FileBytes result;
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
    std::string& text = result.bytes;
    if (const std::uintmax_t size = std::filesystem::file_size(path, ec); !ec) {
        text.resize(static_cast<std::size_t>(size));
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
    }
    // What the size did not cover (a file that grew meanwhile) is read on to its end.
    std::array<char, 4096> chunk;
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0)
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        result.bytes.clear();
        result.error = FileError::system(SystemError::IoDevice);
    }
    return result;
}

} // namespace kestrix::runtime
