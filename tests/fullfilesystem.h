#pragma once

// A real file system with no room left: a 64 KiB tmpfs mounted over a folder for the life of the
// object, then filled. Only root may mount: a test without it skips (REQUIRE_MOUNTED).

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

class FullFileSystem {
public:
    explicit FullFileSystem(const QString& folder) : m_folder(QFile::encodeName(folder)) {
        QDir().mkpath(folder);
        m_mounted = ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullFileSystem() {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    Q_DISABLE_COPY(FullFileSystem)
    bool isMounted() const { return m_mounted; }

    // Takes what room is left with the file "filler"; true when not one byte more fits.
    bool fill() const {
        const int fd = ::open((m_folder + "/filler").constData(), O_WRONLY | O_CREAT, 0600);
        const QByteArray chunk(512, 'f');
        while (fd >= 0 && ::write(fd, chunk.constData(), std::size_t(chunk.size())) > 0) {
        }
        const bool full = fd >= 0 && ::write(fd, "f", 1) < 0;
        ::close(fd);
        return full;
    }

private:
    QByteArray m_folder;
    bool m_mounted = false;
};

#define REQUIRE_MOUNTED(fileSystem)                                                                \
    do {                                                                                           \
        if (!(fileSystem).isMounted())                                                             \
            QSKIP("a full file system needs root, to mount a small tmpfs");                        \
    } while (false)
