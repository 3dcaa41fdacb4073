#include "runtime/FileIdentity.h"

#include "runtime/WindowsApi.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kestrix::runtime {

#ifdef _WIN32

std::optional<std::string> fileIdentity(const std::filesystem::path& path)
{
    // Backup semantics open directories too; a link is followed to what it names.
    HANDLE h = CreateFileW(path.wstring().c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!read)
        return std::nullopt;
    return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
           std::to_string(info.nFileIndexLow);
}

#else

std::optional<std::string> fileIdentity(const std::filesystem::path& path)
{
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

#endif

} // namespace kestrix::runtime
