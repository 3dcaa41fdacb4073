#include "app/ui/InstanceLock.h"

#include <QLockFile>
#include <QString>

namespace kestrix::app {

InstanceLock::InstanceLock(const std::filesystem::path& dataDirectory)
    : m_directory(dataDirectory),
      m_lock(std::make_unique<QLockFile>(QString::fromStdString((dataDirectory / "kestrix.lock").string())))
{
    // Only a running program holds the lock: one that crashed left a lock whose process is gone,
    // which QLockFile takes over; age alone never frees it.
    m_lock->setStaleLockTime(0);
    m_acquired = m_lock->tryLock(0);
}

InstanceLock::~InstanceLock() = default;

std::string InstanceLock::refusal() const
{
    if (m_acquired)
        return {};
    return "Kestrix is already running on the data directory|" + m_directory.string() +
           "||Switch to that window, or start Kestrix with another --data-dir.";
}

} // namespace kestrix::app
