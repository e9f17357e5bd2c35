#pragma once

// A log path whose open request is more than a local socket takes in while its other end does not
// read, so that handing it to an instance that does not read fails for certain.

#include <QString>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <unistd.h>
#endif

inline QString pathTooLongForAnUnreadSocket() {
    int buffer = 1 << 20;
#ifdef Q_OS_UNIX
    if (const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0); fd >= 0) {
        socklen_t size = sizeof buffer;
        ::getsockopt(fd, SOL_SOCKET, SO_SNDBUF, &buffer, &size);
        ::close(fd);
    }
#endif
    return QStringLiteral("/tmp/") + QString(4 * buffer, u'a') + QStringLiteral(".fil");
}
