#pragma once

// One running Tankometer per user: the first instance listens on a local socket only its user
// can reach; a later start asks it to come to the front and then ends.

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    // serverName: a socket name or full socket path; tests use their own.
    explicit SingleInstance(const QString& serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class StartResult {
        // This process is the only instance and now listens for later starts.
        OnlyInstance,
        // A running instance was asked to raise its window, and to open the log at logPath when
        // one is given; the caller exits with 0.
        HandedOver,
        // An instance is running but the request did not reach it (it closed the connection or
        // did not take the request in time); the caller says so and exits with a failure.
        NotReached,
    };
    StartResult start(const QString& logPath = {});

    QString serverName() const { return m_serverName; }
    bool isListening() const;

    // A socket path in a folder only this user can enter; empty when there is none, and then
    // start() runs this instance without a socket.
    static QString defaultServerName();

signals:
    void activationRequested();
    // A later start was given this log to open; activationRequested follows.
    void openRequested(const QString& logPath);

private:
    void acceptConnections();
    void readRequest(QLocalSocket* socket);

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};
