// Peak memory of a load of one million fills, from a file in time order (as every save
// writes it) and from the same fills shuffled, against the size of the file; and the time of
// the load against reading the same bytes into new memory. A process keeps its peak (ru_maxrss)
// across exec, and a child made by fork starts from its parent's size: so the files are written
// by a child of their own, and each load and read runs in a fresh process of this program,
// forked from a parent that never holds the fills.
//
//   bench_memory                 writes the two files and measures everything
//   bench_memory write <folder>  (internal) writes the two files into the folder
//   bench_memory load <file>     (internal) loads the file, prints peak KiB and seconds
//   bench_memory read <file>     (internal) reads the bytes into new memory, the same

#include "db/databasefile.h"
#include "db/fueldatabase.h"
#include "ratios.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <initializer_list>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

// The whole file read into one buffer allocated for it, as a load must keep the bytes in memory.
qint64 readIntoNewMemory(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0)
        return -1;
    QByteArray bytes(qsizetype(status.st_size), Qt::Uninitialized);
    qint64 total = 0;
    for (ssize_t got; total < bytes.size() &&
                      (got = ::read(fd, bytes.data() + total, size_t(bytes.size() - total))) > 0;)
        total += got;
    ::close(fd);
    return total;
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
        size = readIntoNewMemory(path);
    }
    if (size < 0)
        return 1;
    std::printf("%ld %.6f %.6f %lld\n", peakKiB(), double(timer.nsecsElapsed()) / 1e9,
                cpuSeconds() - cpuStart, static_cast<long long>(size));
    return 0;
}

// Runs this program afresh (fork, then exec) with the arguments; its standard output, or
// nothing when it failed.
std::optional<QByteArray> runFreshProcess(std::initializer_list<QByteArray> arguments) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    std::vector<QByteArray> owned = {QByteArray("/proc/self/exe")};
    owned.insert(owned.end(), arguments);
    std::vector<char*> argv;
    for (QByteArray& argument : owned)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    QByteArray output;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, got);
    ::close(pipeEnds[0]);
    int status = 0;
    const bool succeeded = child > 0 && ::waitpid(child, &status, 0) == child &&
                           WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!succeeded)
        return std::nullopt;
    return output;
}

struct Measurement {
    double peakMiB = 0;
    double seconds = 0;
    double cpuSeconds = 0;
};

Measurement measureInChild(const char* mode, const QString& path) {
    const QByteArray output =
        runFreshProcess({QByteArray(mode), QFile::encodeName(path)}).value_or(QByteArray());
    long kib = 0;
    double seconds = 0;
    double cpu = 0;
    long long count = 0;
    if (std::sscanf(output.constData(), "%ld %lf %lf %lld", &kib, &seconds, &cpu, &count) != 4) {
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
    if (argc == 3 && argv[1] == QByteArrayView("write")) {
        const QString folder = QFile::decodeName(argv[2]);
        return writeFiles(folder + QStringLiteral("/ordered.fil"),
                          folder + QStringLiteral("/shuffled.fil"))
                   ? 0
                   : 1;
    }
    if (argc == 3)
        return measureInThisProcess(QString::fromLocal8Bit(argv[1]), QFile::decodeName(argv[2]));

    QTemporaryDir dir;
    const QString ordered = dir.filePath(QStringLiteral("ordered.fil"));
    const QString shuffled = dir.filePath(QStringLiteral("shuffled.fil"));
    if (!dir.isValid() || !runFreshProcess({"write", QFile::encodeName(dir.path())})) {
        std::fprintf(stderr, "bench_memory: could not write the files\n");
        return 1;
    }
    const double fileMiB = double(QFileInfo(ordered).size()) / (1024.0 * 1024.0);
    const Measurement read = measureInChild("read", ordered);
    const Measurement inOrder = measureInChild("load", ordered);
    const Measurement outOfOrder = measureInChild("load", shuffled);

    std::printf("Peak memory of one process (MiB) against the file of %d fills (this parent "
                "process: %.1f MiB):\n",
                kFillCount, double(peakKiB()) / 1024.0);
    printRatio("peak, load of a file in time order", inOrder.peakMiB, "file size", fileMiB, "MiB",
               1.5);
    printRatio("peak, load of a shuffled file", outOfOrder.peakMiB, "file size", fileMiB, "MiB",
               1.5);
    printRatio("peak, bytes read into new memory", read.peakMiB, "file size", fileMiB, "MiB", 0);
    std::printf("Load time in a fresh process (milliseconds):\n");
    printRatio("load of a shuffled file", outOfOrder.seconds * 1e3, "load of a file in time order",
               inOrder.seconds * 1e3, "ms", 0, outOfOrder.cpuSeconds / inOrder.cpuSeconds);
    printRatio("load of a file in time order", inOrder.seconds * 1e3, "bytes read into new memory",
               read.seconds * 1e3, "ms", 1.5, inOrder.cpuSeconds / read.cpuSeconds);
    return 0;
}
