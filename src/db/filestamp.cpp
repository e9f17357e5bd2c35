#include "db/filestamp.h"

#ifdef Q_OS_UNIX
#include <QFile>
#include <sys/stat.h>
#else
#include <QDateTime>
#include <QFileInfo>
#endif

#ifdef Q_OS_UNIX
namespace {

FileStamp stampOf(const struct stat& status) {
#ifdef Q_OS_DARWIN
    const struct timespec& modified = status.st_mtimespec;
    const struct timespec& changed = status.st_ctimespec;
#else
    const struct timespec& modified = status.st_mtim;
    const struct timespec& changed = status.st_ctim;
#endif
    const auto ns = [](const struct timespec& time) {
        return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    return {qint64(status.st_size), ns(modified), quint64(status.st_ino), ns(changed), true};
}

} // namespace

FileStamp descriptorStamp(int descriptor) {
    struct stat status;
    return ::fstat(descriptor, &status) == 0 ? stampOf(status) : FileStamp();
}
#endif

FileStamp fileStamp(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat status;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return stampOf(status);
#else
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch() * 1000000, 0, 0, true};
#endif
}
