#pragma once

#include <filesystem>
#include <memory>
#include <string>

class QLockFile;

// Held while the program runs on a data directory: a second program on the same
// files would overwrite what the first one writes, so its start is refused.
namespace kestrix::app {

class InstanceLock final
{
public:
    explicit InstanceLock(const std::filesystem::path& dataDirectory);
    ~InstanceLock();

    bool acquired() const { return m_acquired; }
    // Why the program does not start, when the lock is held by another program.
    std::string refusal() const;

private:
    std::filesystem::path m_directory;
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};

} // namespace kestrix::app
