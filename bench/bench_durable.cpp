// The time from a confirmed fill to its durable write, for logs of 1 000 and 100 000 fills: the
// fill inserted into the loaded log, the tables copied for the worker, the file written from the
// copy, flushed, renamed over the old file and the folder flushed. Against the same bytes written
// with plain calls (write, fsync, rename), and with the folder flushed as well, in the same folder
// of the same file system; and the copy of the tables alone (the part a write on a worker thread
// leaves on the GUI thread) against copying as many bytes into new memory.

#include "benchfills.h"
#include "db/databasefile.h"
#include "db/fueldatabase.h"
#include "ratios.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

// A log of fillCount fills on disk, loaded, and the bytes of its file with one fill more.
struct BenchLog {
    QTemporaryDir dir;
    QString path;
    CFuelDatabase db;
    FillRecord confirmed;
    QByteArray bytes;

    explicit BenchLog(int fillCount) : path(dir.filePath(QStringLiteral("tkbase.fil"))) {
        CFuelDatabase written(path);
        const int station = written.findOrAddStation(QStringLiteral("Aral"));
        const int driver = written.findOrAddDriver(QStringLiteral("Eva"));
        std::vector<FillRecord> fills;
        for (int i = 0; i < fillCount; ++i)
            fills.push_back(makeBenchFill(i, station, driver));
        written.mergeFills(fills);
        if (!written.save())
            std::abort();
        db.setFilePath(path);
        db.load();
        confirmed = makeBenchFill(fillCount, station, driver);
        const int index = db.insertFill(confirmed);
        bytes = databaseFileBytes(db.header(), db.tables());
        db.removeFill(index);
    }
};

BenchLog& benchLog(int fillCount) {
    static std::map<int, std::unique_ptr<BenchLog>> logs;
    auto& entry = logs[fillCount];
    if (!entry)
        entry = std::make_unique<BenchLog>(fillCount);
    return *entry;
}

// What the program does after the fill dialog's OK. The fill is taken out again afterwards
// (the last one: nothing moves), so that every write has the same size.
void BM_FillToDisk(benchmark::State& state) {
    BenchLog& log = benchLog(int(state.range(0)));
    for (auto _ : state) {
        const int index = log.db.insertFill(log.confirmed);
        const DatabaseTables snapshot = copyOfTables(log.db.tables());
        if (writeDatabaseFile(log.path, log.db.header(), snapshot, false) !=
            DatabaseWriteStatus::Written)
            state.SkipWithError("write failed");
        log.db.removeFill(index);
    }
}

void plainWrite(benchmark::State& state, bool flushFolder) {
    BenchLog& log = benchLog(int(state.range(0)));
    const QByteArray target = QFile::encodeName(log.dir.filePath(QStringLiteral("plain.fil")));
    const QByteArray temporary = target + ".new";
    const QByteArray folder = QFile::encodeName(log.dir.path());
    for (auto _ : state) {
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        bool written =
            ::write(fd, log.bytes.constData(), size_t(log.bytes.size())) == log.bytes.size() &&
            ::fsync(fd) == 0;
        ::close(fd);
        written = written && ::rename(temporary.constData(), target.constData()) == 0;
        if (flushFolder) {
            const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
            written = written && ::fsync(folderFd) == 0;
            ::close(folderFd);
        }
        if (!written)
            state.SkipWithError("plain write failed");
    }
}

void BM_WriteSyncRename(benchmark::State& state) {
    plainWrite(state, false);
}

void BM_WriteSyncRenameSyncFolder(benchmark::State& state) {
    plainWrite(state, true);
}

void BM_CopyTables(benchmark::State& state) {
    const BenchLog& log = benchLog(int(state.range(0)));
    for (auto _ : state) {
        const DatabaseTables snapshot = copyOfTables(log.db.tables());
        benchmark::DoNotOptimize(snapshot.fills.data());
    }
}

void BM_CopyIntoNewMemory(benchmark::State& state) {
    const BenchLog& log = benchLog(int(state.range(0)));
    for (auto _ : state) {
        QByteArray bytes(log.bytes.size(), Qt::Uninitialized);
        std::memcpy(bytes.data(), log.bytes.constData(), size_t(bytes.size()));
        benchmark::DoNotOptimize(bytes.constData());
    }
}

} // namespace

// Wall-clock time decides the number of runs: a flush waits for the disk, not the processor.
BENCHMARK(BM_WriteSyncRename)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteSyncRenameSyncFolder)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FillToDisk)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyIntoNewMemory)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyTables)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // A flush waits for whatever else the machine writes, and that swings from one second to
    // the next. So by default each figure is taken several times, interleaved with the others,
    // and the medians are compared. Flags given on the command line come after these and win.
    char repetitions[] = "--benchmark_repetitions=9";
    char interleaved[] = "--benchmark_enable_random_interleaving=true";
    char aggregatesOnly[] = "--benchmark_display_aggregates_only=true";
    std::vector<char*> arguments(argv, argv + argc);
    arguments.insert(arguments.begin() + 1, {repetitions, interleaved, aggregatesOnly});
    static const BenchComparison comparisons[] = {
        {"BM_FillToDisk/1000/real_time", "BM_WriteSyncRename/1000/real_time", 1.5},
        {"BM_FillToDisk/100000/real_time", "BM_WriteSyncRename/100000/real_time", 1.5},
        {"BM_FillToDisk/1000/real_time", "BM_WriteSyncRenameSyncFolder/1000/real_time", 0},
        {"BM_FillToDisk/100000/real_time", "BM_WriteSyncRenameSyncFolder/100000/real_time", 0},
        {"BM_CopyTables/100000", "BM_CopyIntoNewMemory/100000", 0},
    };
    return runBenchmarksWithRatios(int(arguments.size()), arguments.data(), comparisons);
}
