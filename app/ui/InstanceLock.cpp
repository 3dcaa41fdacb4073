#include "app/ui/InstanceLock.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QString>

namespace kestrix::app {

namespace {
constexpr char ComeForward[] = "forward\n";
constexpr int AnswerWait = 2000; // ms a second start waits for the holder to take its request
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

InstanceLock::~InstanceLock() = default;

QString InstanceLock::serverName(const std::filesystem::path& dataDirectory)
{
    std::error_code ec;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(dataDirectory, ec);
    if (ec)
        canonical = dataDirectory;
    // A digest keeps the name short enough for a socket path whatever the directory's length.
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray::fromStdString(canonical.string()), QCryptographicHash::Sha256);
    return QStringLiteral("kestrix-") + QString::fromLatin1(digest.toHex().left(24));
}

void InstanceLock::listen()
{
    const QString name = serverName(m_directory);
    // Holding the lock means no other program listens: a name left behind by a crash is stale.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name))
        return; // the lock still protects the files; only the bringing forward is lost
    connect(m_server, &QLocalServer::newConnection, this, &InstanceLock::readRequests);
}

void InstanceLock::readRequests()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto read = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == ComeForward)
                    emit comeForwardRequested();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        read();
    }
}

bool InstanceLock::askHolderToComeForward() const
{
    if (m_acquired)
        return false;
    QLocalSocket socket;
    socket.connectToServer(serverName(m_directory));
    if (!socket.waitForConnected(AnswerWait))
        return false;
    socket.write(ComeForward);
    const bool sent = socket.waitForBytesWritten(AnswerWait);
    socket.disconnectFromServer();
    return sent;
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
