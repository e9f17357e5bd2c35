// Peak memory of a load of one million fills, from a file in time order (as every save
// writes it) and from the same fills shuffled, against the size of the file. Each load runs
// in a fresh process of this program, so that its peak is its own.
//
//   bench_memory                 writes the two files and measures everything
//   bench_memory load <file>     (internal) loads the file, prints peak KiB and seconds
//   bench_memory read <file>     (internal) reads the bytes into new memory, the same

#include "db/databasefile.h"
#include "db/fueldatabase.h"
#include "ratios.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {

constexpr int kFillCount = 1000000;

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

int measureInThisProcess(const QString& mode, const QString& path) {
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = cpuSeconds();
    qint64 size = 0;
    if (mode == QStringLiteral("load")) {
        CFuelDatabase db(path);
        db.load();
        size = db.getFillCount();
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        size = file.readAll().size();
    }
    std::printf("%ld %.6f %.6f %lld\n", peakKiB(), double(timer.nsecsElapsed()) / 1e9,
                cpuSeconds() - cpuStart, static_cast<long long>(size));
    return 0;
}

struct Measurement {
    double peakMiB = 0;
    double seconds = 0;
    double cpuSeconds = 0;
};

Measurement measureInChild(const char* mode, const QString& path) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode), path});
    long kib = 0;
    double seconds = 0;
    double cpu = 0;
    long long count = 0;
    if (!child.waitForFinished(-1) || child.exitCode() != 0 ||
        std::sscanf(child.readAllStandardOutput().constData(), "%ld %lf %lf %lld", &kib, &seconds,
                    &cpu, &count) != 4) {
        std::fprintf(stderr, "bench_memory: the %s of %s failed\n", mode, qPrintable(path));
        std::exit(1);
    }
    return {double(kib) / 1024.0, seconds, cpu};
}

// The same million fills, in time order or shuffled; every tenth time is shared by two fills.
bool writeFiles(const QString& ordered, const QString& shuffled) {
    DatabaseTables tables;
    StationRecord station;
    setFieldText(station.name, QStringLiteral("Aral"));
    tables.stations.push_back(station);
    tables.fills.reserve(kFillCount);
    for (int i = 0; i < kFillCount; ++i) {
        FillRecord fill;
        fill.odometer = 600 * i;
        fill.fuel = 40.0f + float(i % 20);
        fill.cost = 1.6f * fill.fuel;
        fill.dateTime =
            FileTime::fromValue(0x01d0000000000000ull + quint64(i - i % 10 / 9) * 864000000000ull);
        setFieldText(fill.notes, QStringLiteral("motorway"));
        tables.fills.push_back(fill);
    }
    const DatabaseHeader header;
    if (writeDatabaseFile(ordered, header, tables, false) != DatabaseWriteStatus::Written)
        return false;
    std::shuffle(tables.fills.begin(), tables.fills.end(), QRandomGenerator(1234));
    return writeDatabaseFile(shuffled, header, tables, false) == DatabaseWriteStatus::Written;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc == 3)
        return measureInThisProcess(QString::fromLocal8Bit(argv[1]),
                                    QString::fromLocal8Bit(argv[2]));

    QTemporaryDir dir;
    const QString ordered = dir.filePath(QStringLiteral("ordered.fil"));
    const QString shuffled = dir.filePath(QStringLiteral("shuffled.fil"));
    if (!dir.isValid() || !writeFiles(ordered, shuffled)) {
        std::fprintf(stderr, "bench_memory: could not write the files\n");
        return 1;
    }
    const double fileMiB = double(QFileInfo(ordered).size()) / (1024.0 * 1024.0);
    const Measurement read = measureInChild("read", ordered);
    const Measurement inOrder = measureInChild("load", ordered);
    const Measurement outOfOrder = measureInChild("load", shuffled);

    std::printf("Peak memory of one process (MiB) against the file of %d fills:\n", kFillCount);
    printRatio("peak, load of a file in time order", inOrder.peakMiB, "file size", fileMiB, "MiB",
               1.5);
    printRatio("peak, load of a shuffled file", outOfOrder.peakMiB, "file size", fileMiB, "MiB",
               1.5);
    printRatio("peak, bytes read into new memory", read.peakMiB, "file size", fileMiB, "MiB", 0);
    std::printf("Load time (milliseconds):\n");
    printRatio("load of a shuffled file", outOfOrder.seconds * 1e3, "load of a file in time order",
               inOrder.seconds * 1e3, "ms", 0, outOfOrder.cpuSeconds / inOrder.cpuSeconds);
    printRatio("load of a file in time order", inOrder.seconds * 1e3, "bytes read into new memory",
               read.seconds * 1e3, "ms", 1.5, inOrder.cpuSeconds / read.cpuSeconds);
    return 0;
}
