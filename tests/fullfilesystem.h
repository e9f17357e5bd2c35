#pragma once

// A real file system with no room left: a small tmpfs mounted over a folder for the life of the
// object. Only root may mount; a test without it skips.

#include <QDir>
#include <QFile>
#include <QString>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

class FullFileSystem {
public:
    explicit FullFileSystem(const QString& folder) : m_folder(folder) {
        QDir().mkpath(folder);
#ifdef Q_OS_LINUX
        m_mounted = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                            "size=64k,mode=0755") == 0;
#endif
    }
    ~FullFileSystem() {
#ifdef Q_OS_LINUX
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
#endif
    }
    FullFileSystem(const FullFileSystem&) = delete;
    FullFileSystem& operator=(const FullFileSystem&) = delete;

    bool isMounted() const {
        return m_mounted;
    }

    // Takes the room that is left with one file; true when no byte more fits.
    bool fill() const {
#ifdef Q_OS_LINUX
        const int fd = ::open(QFile::encodeName(m_folder + QStringLiteral("/filler")).constData(),
                              O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (fd < 0)
            return false;
        const QByteArray chunk(512, 'f');
        while (::write(fd, chunk.constData(), std::size_t(chunk.size())) > 0) {
        }
        const bool full = ::write(fd, "f", 1) < 0;
        ::close(fd);
        return full;
#else
        return false;
#endif
    }

private:
    QString m_folder;
    bool m_mounted = false;
};

// Skips the test when the folder could not be mounted (not root, or no tmpfs).
#define REQUIRE_MOUNTED(fileSystem)                                                                \
    do {                                                                                           \
        if (!(fileSystem).isMounted())                                                             \
            QSKIP("a full file system needs root, to mount a small tmpfs");                        \
    } while (false)
