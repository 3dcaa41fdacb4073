#include "runtime/testing/DirectoryLink.h"

#include "runtime/WindowsApi.h"

#include <system_error>

namespace kestrix::runtime::testing {

bool makeDirectoryLink(const std::filesystem::path& target, const std::filesystem::path& link)
{
#ifdef _WIN32
    // The C++ library of this compiler makes no links on Windows; the system call does (unprivileged
    // where developer mode allows it).
    constexpr DWORD unprivileged = 0x2; // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    return CreateSymbolicLinkW(link.wstring().c_str(), std::filesystem::absolute(target).wstring().c_str(),
                               SYMBOLIC_LINK_FLAG_DIRECTORY | unprivileged) != 0 ||
           CreateSymbolicLinkW(link.wstring().c_str(), std::filesystem::absolute(target).wstring().c_str(),
                               SYMBOLIC_LINK_FLAG_DIRECTORY) != 0;
#else
    std::error_code ec;
    std::filesystem::create_directory_symlink(target, link, ec);
    return !ec;
#endif
}

} // namespace kestrix::runtime::testing
