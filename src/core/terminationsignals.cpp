#include "core/terminationsignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler may only write to a file descriptor; the event loop reads the other end.
int g_signalSockets[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

void forwardSignal(int signalNumber) {
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_signalSockets[0], &byte, 1);
}

void setHandler(void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSignals)
        sigaction(signalNumber, &action, nullptr);
}

} // namespace

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalSockets) != 0)
        return;
    ::fcntl(g_signalSockets[0], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CTerminationSignals::readSignal);
    setHandler(forwardSignal);
}

CTerminationSignals::~CTerminationSignals() {
    if (!m_notifier)
        return;
    setHandler(SIG_DFL);
    ::close(g_signalSockets[0]);
    ::close(g_signalSockets[1]);
    g_signalSockets[0] = g_signalSockets[1] = -1;
}

void CTerminationSignals::readSignal() {
    unsigned char byte = 0;
    if (::read(g_signalSockets[1], &byte, 1) == 1)
        emit terminationRequested(byte);
}

#else

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent) {}
CTerminationSignals::~CTerminationSignals() = default;
void CTerminationSignals::readSignal() {}

#endif
