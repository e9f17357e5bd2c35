#include "core/singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <optional>

#ifdef Q_OS_UNIX
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
    // socket of that name in its way. Qt's runtime location is the session's folder when its
    // owner and permissions are right, and otherwise a private one it makes in the temporary
    // folder. A bare name, the last resort, lies in the shared temporary folder itself.
    const QString runtimeFolder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtimeFolder.isEmpty()) {
        const QString path = QDir(runtimeFolder).filePath(name);
        if (path.toLocal8Bit().size() <= MaxSocketPathBytes)
            return path;
    }
    return name;
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
    if (!socket.waitForConnected(ConnectTimeoutMs))
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
    if (m_server->isListening())
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
