#include "db/regularfile.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

bool openRegularFile(QFile* file, const QString& path) {
    file->close();
    file->setFileName(path);
#ifdef Q_OS_UNIX
    // O_NONBLOCK: opening a named pipe would otherwise wait until some program writes to it.
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat kind;
    if (::fstat(descriptor, &kind) != 0 || !S_ISREG(kind.st_mode) ||
        !file->open(descriptor, QIODevice::ReadOnly | QIODevice::Unbuffered,
                    QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
    return true;
#else
    return file->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
#endif
}
