#pragma once

#include <QObject>

#include <filesystem>
#include <memory>
#include <string>

class QFileSystemWatcher;
class QLockFile;

// Held while the program runs on a data directory: a second program on the same
// files would overwrite what the first one writes, so its start is refused. The
// holder watches a request file in the directory, so that a second start can ask it
// to bring its window forward before giving up (a file, not a local socket: the
// network library cost every start more than the rest of its libraries).
namespace kestrix::app {

class InstanceLock final : public QObject
{
    Q_OBJECT

public:
    explicit InstanceLock(const std::filesystem::path& dataDirectory);
    ~InstanceLock() override;

    bool acquired() const { return m_acquired; }
    // Why the program does not start, when the lock is held by another program; `broughtForward`
    // when that program has been asked to show its window.
    std::string refusal(bool broughtForward) const;
    // From a start that did not get the lock: asks the holder to show its window.
    // False when no holder answered (it is starting or ending).
    bool askHolderToComeForward() const;

signals:
    // Another start on the same directory asked for this program's window.
    void comeForwardRequested();

private:
    void listen();
    void readRequests();
    QString requestFile() const;

    std::filesystem::path m_directory;
    std::unique_ptr<QLockFile> m_lock;
    QFileSystemWatcher* m_watcher = nullptr;
    bool m_acquired = false;
};

} // namespace kestrix::app
