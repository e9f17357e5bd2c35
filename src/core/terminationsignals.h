#pragma once

// SIGTERM, SIGHUP and SIGINT, turned into a Qt signal in the event loop: the program then ends as
// File > Exit does instead of dying with the changes of the last moment.

#include <QObject>

class QSocketNotifier;

class CTerminationSignals : public QObject {
    Q_OBJECT
public:
    // Catches the three signals for as long as the object lives (one at a time per process).
    explicit CTerminationSignals(QObject* parent = nullptr);
    ~CTerminationSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};
