#include "fuzzinput.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

QString fuzzFolder() {
    // Never destroyed: the exit handler below still needs it after static destructors ran.
    static const QString* const folder = [] {
        // Memory-backed where there is such a folder: a save syncs its file to disk, and a
        // run saves thousands of times a second.
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        const QString path = base + QStringLiteral("/tankometer-fuzz-%1").arg(qint64(::getpid()));
        if (!QDir().mkpath(path)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
            std::abort();
        }
        // Left behind only when a run ends abnormally, beside the finding.
        std::atexit([] { QDir(fuzzFolder()).removeRecursively(); });
        return new QString(path);
    }();
    return *folder;
}

QString fuzzFilePath(const QString& name) {
    return fuzzFolder() + u'/' + name;
}

void writeFuzzFile(const QString& path, const uint8_t* data, std::size_t size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

QStringList fuzzLines(const uint8_t* data, std::size_t size, int count) {
    const QString text = QString::fromUtf8(QByteArrayView(data, qsizetype(size)));
    QStringList lines;
    qsizetype start = 0;
    while (lines.size() < count - 1) {
        const qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            break;
        lines << text.sliced(start, end - start);
        start = end + 1;
    }
    if (size > 0 && lines.size() < count)
        lines << text.sliced(std::min(start, text.size()));
    while (lines.size() < count)
        lines << QString();
    return lines;
}

RegionalSettings fuzzRegionalSettings(const QString& line) {
    RegionalSettings regional;
    regional.dateOrder = line.isEmpty() ? 1 : int(line.at(0).unicode() % 3);
    regional.decimal = line.size() > 1 ? line.at(1) : QChar(u'.');
    regional.dateSeparator = line.mid(2);
    regional.group = regional.decimal == u',' ? QChar(u'.') : QChar(u',');
    return regional;
}

bool fuzzPrintsReadBack(const RegionalSettings& regional) {
    const QChar decimal = regional.decimal;
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    return !isDigit(decimal) && !QStringLiteral("+-eE").contains(decimal) &&
           std::none_of(regional.dateSeparator.begin(), regional.dateSeparator.end(), isDigit);
}

void fuzzCheck(bool condition, const char* message) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", message);
        std::abort();
    }
}
