#include "db/filewrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX
// Where a file system cannot flush at all (EINVAL, ENOTSUP) there is nothing more to do; any
// other error (EIO, ENOSPC) means the data may never reach the disk.
bool flushDescriptor(int descriptor) {
    int result;
    do {
        result = ::fsync(descriptor);
    } while (result != 0 && errno == EINTR);
    return result == 0 || errno == EINVAL || errno == ENOTSUP;
}

bool flushPath(const QByteArray& path, int flags) {
    const int descriptor = ::open(path.constData(), flags | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool flushed = flushDescriptor(descriptor);
    ::close(descriptor);
    return flushed;
}

bool flushFolder(const QByteArray& folder) {
    return flushPath(folder, O_RDONLY | O_DIRECTORY);
}
#endif

// QSaveFile::commit renames the new file also when the flush of its buffer failed (a small file
// on a full disk): a write that fails is only seen by flush() and error() before it.
bool commitSaveFile(QSaveFile& file, const QByteArray& bytes,
                    const std::function<bool()>& beforeCommit) {
    const QByteArrayView whole[] = {bytes};
    return commitSaveFile(file, whole, beforeCommit);
}

bool commitSaveFile(QSaveFile& file, std::span<const QByteArrayView> pieces,
                    const std::function<bool()>& beforeCommit) {
    const bool written = std::all_of(pieces.begin(), pieces.end(), [&file](QByteArrayView piece) {
        return file.write(piece.data(), piece.size()) == piece.size();
    });
    const bool whole = written && file.flush() && file.error() == QFileDevice::NoError &&
                       (!beforeCommit || beforeCommit());
    if (!whole) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    const QFileInfo target(file.fileName());
    // A file system without permissions (FAT) refuses this; the file is written all the same.
    if (!target.exists())
        static_cast<void>(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    if (!file.commit())
        return false;
#ifdef Q_OS_UNIX
    return flushFolder(QFile::encodeName(target.absolutePath()));
#else
    return true;
#endif
}
