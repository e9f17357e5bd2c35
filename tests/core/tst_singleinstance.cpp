#include "core/singleinstance.h"
#include "unreadrequest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using Start = SingleInstance::StartResult;

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void secondStartRaisesFirst();
    void startAfterCleanExitListens();
    void leftoverSocketDoesNotStopStart_data();
    void leftoverSocketDoesNotStopStart();
    void socketIsPrivateToUser();
    void strayMessagesDoNotActivate();
    void secondStartHandsOverItsLog_data();
    void secondStartHandsOverItsLog();
    void malformedOpenRequestsAreIgnored();
    void requestNotTakenIsReported();
    void defaultNameLiesInAPrivateFolder_data();
    void defaultNameLiesInAPrivateFolder();
    void requestOfAnotherUserIsIgnored();
    void noHandOverToAnotherUser();

private:
#ifdef Q_OS_UNIX
    // A socket path in a folder that the user nobody may use as well.
    QString sharedName();
#endif

    QTemporaryDir m_folder;
    QString m_name;
    int m_count = 0;
};

#ifdef Q_OS_UNIX
namespace {

// A stream socket bound (listen) or connected to path.
int unixSocket(const QString& path, bool listen) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::copy(name.begin(), name.end(), address.sun_path);
    const auto* generic = reinterpret_cast<const sockaddr*>(&address);
    const bool ok = listen ? ::bind(fd, generic, sizeof address) == 0 && ::listen(fd, 16) == 0
                           : ::connect(fd, generic, sizeof address) == 0;
    return ok ? fd : -1;
}

// Runs body as the user nobody in a child process; its result is the child's exit status.
template <typename Body> pid_t forkAsNobody(Body body) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? body() : 100);
    return child;
}

} // namespace

// A socket path in a folder that the user nobody may use as well.
QString SingleInstanceTest::sharedName() {
    const QString folder = m_folder.filePath(QStringLiteral("shared-%1").arg(m_count));
    QDir().mkpath(folder);
    ::chmod(QFile::encodeName(m_folder.path()).constData(), 0711);
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    return folder + QStringLiteral("/instance");
}
#endif

void SingleInstanceTest::initTestCase() {
    QVERIFY(m_folder.isValid());
}

// A socket path of this test alone, so that no running Tankometer of the user is disturbed.
void SingleInstanceTest::init() {
    m_name = m_folder.filePath(QStringLiteral("instance-%1").arg(++m_count));
}

void SingleInstanceTest::secondStartRaisesFirst() {
    SingleInstance first(m_name);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    QCOMPARE(first.start(), Start::OnlyInstance);
    QVERIFY(first.isListening());

    SingleInstance second(m_name);
    QCOMPARE(second.start(), Start::HandedOver);
    QVERIFY(!second.isListening());
    QTRY_COMPARE(activations.count(), 1);

    SingleInstance third(m_name);
    QCOMPARE(third.start(), Start::HandedOver);
    QTRY_COMPARE(activations.count(), 2);
    QVERIFY(first.isListening());
}

void SingleInstanceTest::startAfterCleanExitListens() {
    {
        SingleInstance first(m_name);
        QCOMPARE(first.start(), Start::OnlyInstance);
    }
    SingleInstance next(m_name);
    QCOMPARE(next.start(), Start::OnlyInstance);
    QVERIFY(next.isListening());
}

void SingleInstanceTest::leftoverSocketDoesNotStopStart_data() {
    QTest::addColumn<bool>("socketFile");
    QTest::newRow("socket of a crashed instance") << true;
    QTest::newRow("plain file") << false;
}

void SingleInstanceTest::leftoverSocketDoesNotStopStart() {
    QFETCH(bool, socketFile);
    if (socketFile) {
#ifdef Q_OS_UNIX
        // Bound and closed without removing the file, as a crash leaves it: nobody answers.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(m_name);
        QVERIFY(size_t(path.size()) < sizeof address.sun_path);
        std::copy(path.begin(), path.end(), address.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
#else
        QSKIP("socket files are a Unix matter");
#endif
    } else {
        QFile file(m_name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFileInfo::exists(m_name));

    SingleInstance restarted(m_name);
    QSignalSpy activations(&restarted, &SingleInstance::activationRequested);
    QCOMPARE(restarted.start(), Start::OnlyInstance);
    QVERIFY(restarted.isListening());

    SingleInstance second(m_name);
    QCOMPARE(second.start(), Start::HandedOver);
    QTRY_COMPARE(activations.count(), 1);
}

void SingleInstanceTest::socketIsPrivateToUser() {
#ifdef Q_OS_UNIX
    SingleInstance instance(m_name);
    QCOMPARE(instance.start(), Start::OnlyInstance);
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::WriteOther | QFileDevice::ExeOther;
    QCOMPARE(QFileInfo(m_name).permissions() & others, QFileDevice::Permissions());
#else
    QSKIP("socket files are a Unix matter");
#endif
}

void SingleInstanceTest::secondStartHandsOverItsLog_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << QStringLiteral("/home/user/car.fil");
    QTest::newRow("spaces and accents") << QStringLiteral("/home/jürgen/Mein Wagen.fil");
    QTest::newRow("line break") << QStringLiteral("/tmp/two\nlines.fil");
    QTest::newRow("long") << QStringLiteral("/tmp/") + QString(4000, u'a') + QStringLiteral(".fil");
}

void SingleInstanceTest::secondStartHandsOverItsLog() {
    QFETCH(QString, path);
    SingleInstance first(m_name);
    QSignalSpy opens(&first, &SingleInstance::openRequested);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    QCOMPARE(first.start(), Start::OnlyInstance);
    SingleInstance second(m_name);
    QCOMPARE(second.start(path), Start::HandedOver);
    QTRY_COMPARE(activations.count(), 1);
    QCOMPARE(opens.count(), 1);
    QCOMPARE(opens.at(0).at(0).toString(), path);
}

void SingleInstanceTest::malformedOpenRequestsAreIgnored() {
    SingleInstance instance(m_name);
    QSignalSpy opens(&instance, &SingleInstance::openRequested);
    QSignalSpy activations(&instance, &SingleInstance::activationRequested);
    QCOMPARE(instance.start(), Start::OnlyInstance);
    for (const QByteArray& request : {QByteArray("open \n"), QByteArray("open !!not base64!!\n"),
                                      QByteArray("openL3RtcA==\n")}) {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        QVERIFY(socket.waitForConnected(1000));
        socket.write(request);
        QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
    }
    QCOMPARE(opens.count(), 0);
    QCOMPARE(activations.count(), 0);
}

// The running instance here accepts connections but never reads them, as a hung one would.
void SingleInstanceTest::requestNotTakenIsReported() {
    QLocalServer hung;
    QVERIFY(hung.listen(m_name));
    SingleInstance second(m_name);
    QCOMPARE(second.start(pathTooLongForAnUnreadSocket()), Start::NotReached);
    // It must not take the place of the instance that runs.
    QVERIFY(!second.isListening());
    QVERIFY(hung.isListening());
    QVERIFY(QFileInfo::exists(m_name));
}

void SingleInstanceTest::strayMessagesDoNotActivate() {
    SingleInstance instance(m_name);
    QSignalSpy activations(&instance, &SingleInstance::activationRequested);
    QCOMPARE(instance.start(), Start::OnlyInstance);

    for (const QByteArray& stray :
         {QByteArray("hello\n"), QByteArray("raise now\n"), QByteArray(100000, 'x'),
          QByteArray(100000, 'y') + "\nraise\n", QByteArray("raise")}) {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        QVERIFY(socket.waitForConnected(1000));
        socket.write(stray);
        if (stray.endsWith('\n') || stray.size() > 64) {
            // The server has read the request once it has closed the connection.
            QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
        } else {
            // An unfinished line whose sender goes away.
            socket.disconnectFromServer();
        }
    }
    QCOMPARE(activations.count(), 0);

    SingleInstance second(m_name);
    QCOMPARE(second.start(), Start::HandedOver);
    QTRY_COMPARE(activations.count(), 1);
}

void SingleInstanceTest::defaultNameLiesInAPrivateFolder_data() {
    QTest::addColumn<QString>("sessionFolder");
    QTest::addColumn<bool>("used");

    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const auto everybody = owner | QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                           QFileDevice::ExeGroup | QFileDevice::ReadOther |
                           QFileDevice::WriteOther | QFileDevice::ExeOther;
    const auto makeFolder = [this](const QString& name, QFileDevice::Permissions permissions) {
        const QString path = m_folder.filePath(name);
        QDir().mkpath(path);
        QFile::setPermissions(path, permissions);
        return path;
    };

    QTest::newRow("private session folder") << makeFolder(QStringLiteral("private"), owner) << true;
    QTest::newRow("no session folder") << QString() << false;
    // Anybody may create files there: a socket in it could be another user's.
    QTest::newRow("shared session folder")
        << makeFolder(QStringLiteral("shared"), everybody) << false;
    QTest::newRow("session folder too long for a socket path")
        << makeFolder(QString(100, u'r'), owner) << false;
}

void SingleInstanceTest::defaultNameLiesInAPrivateFolder() {
#ifdef Q_OS_UNIX
    QFETCH(QString, sessionFolder);
    QFETCH(bool, used);

    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedTemp = qgetenv("TMPDIR");
    if (sessionFolder.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(sessionFolder));
    // A private folder made in place of the session's lies in this test's folder.
    qputenv("TMPDIR", QFile::encodeName(m_folder.path()));
    const QString name = SingleInstance::defaultServerName();
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    if (savedTemp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", savedTemp);

    QVERIFY2(QDir::isAbsolutePath(name), qPrintable(name));
    const QFileInfo folder(QFileInfo(name).absolutePath());
    QCOMPARE(folder.absoluteFilePath() == QDir(sessionFolder).absolutePath(), used);
    QVERIFY(folder.isDir());
    QCOMPARE(folder.ownerId(), uint(::getuid()));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::WriteOther | QFileDevice::ExeOther;
    QCOMPARE(folder.permissions() & others, QFileDevice::Permissions());
#else
    QSKIP("socket files are a Unix matter");
#endif
}

// Where another user can reach the socket (a name others may bind, a shared folder), what they
// send is not taken for a later start of ours.
void SingleInstanceTest::requestOfAnotherUserIsIgnored() {
#ifdef Q_OS_UNIX
    if (::geteuid() != 0)
        QSKIP("a process of another user needs root");
    const QString name = sharedName();
    SingleInstance instance(name);
    QSignalSpy activations(&instance, &SingleInstance::activationRequested);
    QCOMPARE(instance.start(), Start::OnlyInstance);
    QVERIFY(::chmod(QFile::encodeName(name).constData(), 0777) == 0);

    // The child ends when the instance has dealt with the request and closed the connection.
    const pid_t child = forkAsNobody([&name] {
        const int fd = unixSocket(name, false);
        char byte;
        ::send(fd, "raise\n", 6, MSG_NOSIGNAL);
        while (fd >= 0 && ::read(fd, &byte, 1) > 0) {
        }
        return fd >= 0 ? 0 : 1;
    });
    int status = -1;
    bool ended = false; // QTRY_VERIFY evaluates its condition once more after it held
    QTRY_VERIFY(ended = ended || ::waitpid(child, &status, WNOHANG) == child);
    QCOMPARE(status, 0);
    QCoreApplication::processEvents();
    QCOMPARE(activations.count(), 0);
#else
    QSKIP("socket files are a Unix matter");
#endif
}

// A server of another user at our socket's name is handed nothing: this instance runs alone.
void SingleInstanceTest::noHandOverToAnotherUser() {
#ifdef Q_OS_UNIX
    if (::geteuid() != 0)
        QSKIP("a process of another user needs root");
    const QString name = sharedName();
    int toTest[2];
    int toChild[2];
    QVERIFY(::pipe(toTest) == 0 && ::pipe(toChild) == 0);
    // Listens, then, once the test is done, counts the bytes that the waiting connections sent.
    const pid_t child = forkAsNobody([&] {
        const int server = unixSocket(name, true);
        ::chmod(QFile::encodeName(name).constData(), 0777);
        char byte;
        if (server < 0 || ::write(toTest[1], "l", 1) != 1 || ::read(toChild[0], &byte, 1) != 1)
            return 1;
        ::fcntl(server, F_SETFL, O_NONBLOCK);
        qint64 received = 0;
        for (int fd; (fd = ::accept(server, nullptr, nullptr)) >= 0; ::close(fd)) {
            char buffer[4096];
            for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
                received += got;
        }
        return ::write(toTest[1], &received, sizeof received) == sizeof received ? 0 : 1;
    });
    char listening = 0;
    QCOMPARE(::read(toTest[0], &listening, 1), ssize_t(1));

    SingleInstance victim(name);
    QCOMPARE(victim.start(QStringLiteral("/home/victim/private.fil")), Start::OnlyInstance);
    qint64 received = -1;
    QVERIFY(::write(toChild[1], "d", 1) == 1);
    QCOMPARE(::read(toTest[0], &received, sizeof received), ssize_t(sizeof received));
    QCOMPARE(received, qint64(0));
    QVERIFY(::waitpid(child, nullptr, 0) == child);
#else
    QSKIP("socket files are a Unix matter");
#endif
}

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
