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

    // true: this process is the only instance and now listens for later starts.
    // false: a running instance was asked to raise its window, and to open the log at logPath
    // when one is given; the caller exits with 0.
    bool start(const QString& logPath = {});

    QString serverName() const { return m_serverName; }
    bool isListening() const;

    static QString defaultServerName();

signals:
    void activationRequested();
    // A later start was given this log to open; activationRequested follows.
    void openRequested(const QString& logPath);

private:
    bool askRunningInstanceToRaise(const QString& logPath) const;
    void acceptConnections();
    void readRequest(QLocalSocket* socket);

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};
