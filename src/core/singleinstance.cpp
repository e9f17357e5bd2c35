#include "core/singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <optional>

#ifdef Q_OS_UNIX
#include <QFile>
#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
const QByteArray RaiseRequest = QByteArrayLiteral("raise\n");
// "open " and the log's path in base64 (a path may hold a line break), then a line break.
const QByteArray OpenRequest = QByteArrayLiteral("open ");
constexpr int ConnectTimeoutMs = 1000;
constexpr int WriteTimeoutMs = 1000;
// A request is one line, long enough for a long path; a peer sending more without a line break
// is dropped.
constexpr qsizetype MaxRequestBytes = 16 * 1024;
// Unix socket paths must fit sockaddr_un (108 bytes with the terminating zero).
constexpr qsizetype MaxSocketPathBytes = 100;

#ifdef Q_OS_UNIX
// True when path is a folder of this user that nobody else may enter, made so when missing: a
// socket in any other folder could be another user's.
bool isPrivateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (path.isEmpty() || (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST))
        return false;
    struct stat info;
    return ::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

bool fitsSocketPath(const QString& path) {
    return QFile::encodeName(path).size() <= MaxSocketPathBytes;
}
#endif

// True when the process at the other end of the connection runs as this user. A socket of
// another user may stand where ours is looked for (a name another user can bind): such a peer
// neither sends us requests nor is handed our paths.
bool peerIsThisUser(const QLocalSocket& socket) {
#ifdef Q_OS_UNIX
    const int descriptor = int(socket.socketDescriptor());
#ifdef SO_PEERCRED
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::getuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(descriptor, &uid, &gid) == 0 && uid == ::getuid();
#endif
#else
    // A named pipe made with UserAccessOption admits this user only.
    Q_UNUSED(socket);
    return true;
#endif
}
} // namespace

SingleInstance::SingleInstance(QObject* parent) : SingleInstance(defaultServerName(), parent) {}

SingleInstance::SingleInstance(const QString& serverName, QObject* parent)
    : QObject(parent), m_serverName(serverName), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultServerName() {
#ifdef Q_OS_UNIX
    const QString name = QStringLiteral("tankometer-%1").arg(::getuid());
    // The socket lies in a folder that only this user can enter, so that no other user can put a
    // socket of that name in its way: the session's runtime folder, or else a folder of our own
    // in the temporary folder. Never in a folder that others share: without a private folder
    // whose socket path fits, there is no socket.
    const QString runtimeFolder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QString inRuntime = QDir(runtimeFolder).filePath(name);
    if (!runtimeFolder.isEmpty() && fitsSocketPath(inRuntime) && isPrivateFolder(runtimeFolder))
        return inRuntime;
    for (const QString& temporary : {QDir::tempPath(), QStringLiteral("/tmp")}) {
        const QString folder = QDir(temporary).filePath(name);
        const QString path = folder + QStringLiteral("/s");
        if (fitsSocketPath(path) && isPrivateFolder(folder))
            return path;
    }
    return {};
#else
    const QByteArray user =
        (qEnvironmentVariable("USERDOMAIN") + u'\\' + qEnvironmentVariable("USERNAME")).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(user, QCryptographicHash::Sha256).toHex();
    return QStringLiteral("tankometer-") + QString::fromLatin1(hash.left(16));
#endif
}

bool SingleInstance::isListening() const {
    return m_server->isListening();
}

namespace {

// Empty when no instance listens at serverName.
std::optional<SingleInstance::StartResult> askRunningInstanceToRaise(const QString& serverName,
                                                                     const QString& logPath) {
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(ConnectTimeoutMs) || !peerIsThisUser(socket))
        return std::nullopt;
    const QByteArray request =
        logPath.isEmpty() ? RaiseRequest : OpenRequest + logPath.toUtf8().toBase64() + '\n';
    if (socket.write(request) != request.size())
        return SingleInstance::StartResult::NotReached;
    // waitForBytesWritten is content with any part of the request written.
    const QDeadlineTimer deadline(WriteTimeoutMs);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            return SingleInstance::StartResult::NotReached;
    }
    socket.disconnectFromServer();
    return SingleInstance::StartResult::HandedOver;
}

} // namespace

SingleInstance::StartResult SingleInstance::start(const QString& logPath) {
    if (m_server->isListening() || m_serverName.isEmpty())
        return StartResult::OnlyInstance;
    if (const auto answered = askRunningInstanceToRaise(m_serverName, logPath))
        return *answered;
    if (m_server->listen(m_serverName))
        return StartResult::OnlyInstance;
    if (m_server->serverError() == QAbstractSocket::AddressInUseError) {
        // Another instance may have started listening since we asked; if it answers now, it
        // wins. Otherwise the socket was left behind by an instance that is gone.
        if (const auto answered = askRunningInstanceToRaise(m_serverName, logPath))
            return *answered;
        QLocalServer::removeServer(m_serverName);
        if (m_server->listen(m_serverName))
            return StartResult::OnlyInstance;
    }
    // Without the socket this instance cannot be found by later starts, but it still runs.
    return StartResult::OnlyInstance;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (!peerIsThisUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readRequest(socket);
    }
}

// One request per connection: the first line, after which the connection is closed.
void SingleInstance::readRequest(QLocalSocket* socket) {
    if (socket->canReadLine()) {
        const QByteArray request = socket->readLine(MaxRequestBytes + 1);
        socket->abort();
        if (request == RaiseRequest) {
            emit activationRequested();
        } else if (request.startsWith(OpenRequest) && request.endsWith('\n')) {
            const auto decoded =
                QByteArray::fromBase64Encoding(request.mid(OpenRequest.size()).chopped(1),
                                               QByteArray::AbortOnBase64DecodingErrors);
            if (decoded && !decoded.decoded.isEmpty()) {
                emit openRequested(QString::fromUtf8(decoded.decoded));
                emit activationRequested();
            }
        }
    } else if (socket->bytesAvailable() > MaxRequestBytes) {
        socket->abort();
    }
}
