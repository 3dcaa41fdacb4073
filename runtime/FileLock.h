#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

// An exclusive lock between programs, held on a small lock file beside the
// data it guards. The lock file itself is never replaced, so every program
// locks the same file even while the guarded one is renamed over.
namespace kestrix::runtime {

class FileLock final
{
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock when no other program holds it; an unlocked object otherwise.
    static FileLock tryAcquire(const std::filesystem::path& lockFile);
    // Waits for the lock as long as another program holds it. An unlocked object
    // only when the lock file cannot be opened.
    static FileLock acquire(const std::filesystem::path& lockFile);

    bool locked() const { return m_handle != Invalid; }
    explicit operator bool() const { return locked(); }
    void release();

private:
    // A file descriptor, or a Windows HANDLE held as an integer (the same -1 marks neither).
    using Handle = std::intptr_t;
    static constexpr Handle Invalid = -1;
    static FileLock take(const std::filesystem::path& lockFile, bool wait);
    explicit FileLock(Handle handle) : m_handle(handle) {}

    Handle m_handle = Invalid;
};

// The lock file that guards `guarded`: the same name with ".lck" added.
std::filesystem::path lockFileFor(const std::filesystem::path& guarded);

} // namespace kestrix::runtime
