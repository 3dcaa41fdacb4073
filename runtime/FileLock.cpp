#include "runtime/FileLock.h"

#include "runtime/WindowsApi.h"

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace kestrix::runtime {

std::filesystem::path lockFileFor(const std::filesystem::path& guarded)
{
    std::filesystem::path lock = guarded;
    lock += ".lck";
    return lock;
}

FileLock::~FileLock()
{
    release();
}

FileLock::FileLock(FileLock&& other) noexcept : m_handle(other.m_handle)
{
    other.m_handle = Invalid;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_handle = other.m_handle;
        other.m_handle = Invalid;
    }
    return *this;
}

FileLock FileLock::tryAcquire(const std::filesystem::path& lockFile)
{
    return take(lockFile, false);
}

FileLock FileLock::acquire(const std::filesystem::path& lockFile)
{
    return take(lockFile, true);
}

#ifdef _WIN32

FileLock FileLock::take(const std::filesystem::path& lockFile, bool wait)
{
    HANDLE h = CreateFileW(lockFile.wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    OVERLAPPED at{};
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (!LockFileEx(h, flags, 0, 1, 0, &at)) {
        CloseHandle(h);
        return {};
    }
    return FileLock(reinterpret_cast<Handle>(h));
}

void FileLock::release()
{
    if (m_handle == Invalid)
        return;
    HANDLE h = reinterpret_cast<HANDLE>(m_handle);
    OVERLAPPED at{};
    UnlockFileEx(h, 0, 1, 0, &at);
    CloseHandle(h);
    m_handle = Invalid;
}

#else

FileLock FileLock::take(const std::filesystem::path& lockFile, bool wait)
{
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return {};
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return {};
    }
    return FileLock(fd);
}

void FileLock::release()
{
    if (m_handle == Invalid)
        return;
    ::flock(static_cast<int>(m_handle), LOCK_UN);
    ::close(static_cast<int>(m_handle));
    m_handle = Invalid;
}

#endif

} // namespace kestrix::runtime
