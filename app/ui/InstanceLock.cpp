#include "app/ui/InstanceLock.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QString>

namespace kestrix::app {

namespace {
constexpr char ComeForward[] = "forward\n";
} // namespace

InstanceLock::InstanceLock(const std::filesystem::path& dataDirectory)
    : m_directory(dataDirectory),
      m_lock(std::make_unique<QLockFile>(QString::fromStdString((dataDirectory / "kestrix.lock").string())))
{
    // Only a running program holds the lock: one that crashed left a lock whose process is gone,
    // which QLockFile takes over; age alone never frees it.
    m_lock->setStaleLockTime(0);
    m_acquired = m_lock->tryLock(0);
    if (m_acquired)
        listen();
}

InstanceLock::~InstanceLock()
{
    if (m_watcher) {
        delete m_watcher;
        QFile::remove(requestFile());
    }
}

QString InstanceLock::requestFile() const
{
    return QString::fromStdString((m_directory / "kestrix.forward").string());
}

void InstanceLock::listen()
{
    // Holding the lock means nobody else watches: requests left behind by a crash are stale.
    QFile requests(requestFile());
    if (!requests.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return; // the lock still protects the files; only the bringing forward is lost
    requests.close();
    m_watcher = new QFileSystemWatcher(this);
    if (!m_watcher->addPath(requestFile())) {
        delete m_watcher;
        m_watcher = nullptr;
        QFile::remove(requestFile());
        return;
    }
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &InstanceLock::readRequests);
}

void InstanceLock::readRequests()
{
    QFile requests(requestFile());
    if (!requests.open(QIODevice::ReadWrite))
        return;
    int asked = 0;
    while (!requests.atEnd()) {
        if (requests.readLine() == ComeForward)
            ++asked;
    }
    // Emptied once read; the change this makes is read as no request.
    if (asked > 0)
        requests.resize(0);
    requests.close();
    if (!m_watcher->files().contains(requestFile()))
        m_watcher->addPath(requestFile());
    for (int i = 0; i < asked; ++i)
        emit comeForwardRequested();
}

bool InstanceLock::askHolderToComeForward() const
{
    if (m_acquired)
        return false;
    // The holder makes the file once it watches it, and removes it when it ends.
    QFile requests(requestFile());
    if (!requests.exists() || !requests.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const qint64 length = static_cast<qint64>(sizeof ComeForward) - 1;
    return requests.write(ComeForward, length) == length && requests.flush();
}

std::string InstanceLock::refusal(bool broughtForward) const
{
    if (m_acquired)
        return {};
    return "Kestrix is already running on the data directory|" + m_directory.string() + "||" +
           (broughtForward ? "Its window has been brought forward." : "Switch to that window,") +
           (broughtForward ? " To work on other files, start" : " or start") +
           " Kestrix with another --data-dir.";
}

} // namespace kestrix::app
