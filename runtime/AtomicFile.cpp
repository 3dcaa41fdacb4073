#include "runtime/AtomicFile.h"
#include "runtime/SystemErrorMapping.h"

#include "runtime/CrashPoint.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

#include "runtime/WindowsApi.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kestrix::runtime {

namespace {

#ifdef _WIN32

FileError writeAll(const std::filesystem::path& path, std::string_view content)
{
    HANDLE h = CreateFileW(path.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return fileErrorFromSystemCategory(static_cast<int>(GetLastError()));
    std::size_t done = 0;
    while (done < content.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1 << 20));
        if (!WriteFile(h, content.data() + done, chunk, &wrote, nullptr)) {
            const int err = static_cast<int>(GetLastError());
            CloseHandle(h);
            return fileErrorFromSystemCategory(err);
        }
        done += wrote;
    }
    const bool flushed = FlushFileBuffers(h);
    CloseHandle(h);
    return flushed ? FileError::none() : FileError::of(ErrorCode::FileSystemError);
}

FileError renameOnto(const std::filesystem::path& from, const std::filesystem::path& to, Existing existing)
{
    const DWORD flags =
        MOVEFILE_WRITE_THROUGH | (existing == Existing::Replace ? MOVEFILE_REPLACE_EXISTING : 0);
    // Windows refuses to replace a file another program has open, even for a moment's read; such a
    // hold ends soon, so the replace is tried again for up to two seconds before it is reported.
    DWORD err = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (MoveFileExW(from.wstring().c_str(), to.wstring().c_str(), flags))
            return FileError::none();
        err = GetLastError();
        if (err != ERROR_SHARING_VIOLATION && err != ERROR_ACCESS_DENIED && err != ERROR_LOCK_VIOLATION)
            break;
        Sleep(10);
    }
    if (existing == Existing::Keep && (err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS)) {
        DeleteFileW(from.wstring().c_str());
        return FileError::none();
    }
    return fileErrorFromSystemCategory(static_cast<int>(err));
}

#else

FileError writeAll(const std::filesystem::path& path, std::string_view content)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return fileErrorFromErrno(errno);
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t wrote = ::write(fd, content.data() + done, content.size() - done);
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return fileErrorFromErrno(err);
        }
        done += static_cast<std::size_t>(wrote);
    }
    // The data must be on disk before the name points at it, or a crash could leave an empty file.
    if (::fsync(fd) != 0 || ::close(fd) != 0)
        return fileErrorFromErrno(errno);
    return FileError::none();
}

FileError renameOnto(const std::filesystem::path& from, const std::filesystem::path& to, Existing existing)
{
    if (existing == Existing::Replace) {
        if (::rename(from.c_str(), to.c_str()) != 0)
            return fileErrorFromErrno(errno);
        return FileError::none();
    }
    // link() fails when the target exists, so a file that appeared meanwhile is never replaced.
    if (::link(from.c_str(), to.c_str()) != 0) {
        const int err = errno;
        ::unlink(from.c_str());
        return err == EEXIST ? FileError::none() : fileErrorFromErrno(err);
    }
    ::unlink(from.c_str());
    return FileError::none();
}

#endif

bool presentAt(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

} // namespace

std::filesystem::path temporaryNameFor(const std::filesystem::path& target)
{
    // The process number keeps apart programs forked from one another, which share the counter.
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    const unsigned long process = GetCurrentProcessId();
#else
    const unsigned long process = static_cast<unsigned long>(::getpid());
#endif
    std::filesystem::path temp = target;
    temp += "." + std::to_string(process) + "-" + std::to_string(counter++) + ".tmp";
    return temp;
}

FileError writeFileAtomically(const std::filesystem::path& target, std::string_view content,
                              Existing existing)
{
    if (existing == Existing::Keep && presentAt(target))
        return FileError::none();
    const std::filesystem::path temp = temporaryNameFor(target);
    if (FileError error = writeAll(temp, content)) {
        std::error_code ec;
        std::filesystem::remove(temp, ec);
        return error;
    }
    crashPoint(CrashPoint::BeforeRename);
    FileError error = renameOnto(temp, target, existing);
    if (error) {
        std::error_code ec;
        std::filesystem::remove(temp, ec);
    }
    return error;
}

FileError moveFileAtomically(const std::filesystem::path& from, const std::filesystem::path& target,
                             Existing existing)
{
    return renameOnto(from, target, existing);
}

} // namespace kestrix::runtime
