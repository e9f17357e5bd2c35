// Load and save of a database with one million fills against reading and writing the same
// bytes plainly, the copy of the tables a save on the worker thread takes against the save, fills
// inserted one at a time in and against time order, and the three-way merge of two copies of a log
// of 100 000 fills against copying their tables.

#include "benchfills.h"
#include "db/fueldatabase.h"
#include "db/logmerge.h"
#include "ratios.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kFillCount = 1000000;

struct BenchFile {
    QTemporaryDir dir;
    QString path;

    BenchFile() : path(dir.filePath(QStringLiteral("tkbase.fil"))) {
        CFuelDatabase db(path);
        const int stations[] = {db.findOrAddStation(QStringLiteral("Aral")),
                                db.findOrAddStation(QStringLiteral("Shell")),
                                db.findOrAddStation(QStringLiteral("OMV"))};
        const int driver = db.findOrAddDriver(QStringLiteral("Eva"));
        for (int i = 0; i < kFillCount; ++i)
            db.insertFill(makeBenchFill(i, stations[i % 3], driver));
        if (!db.save())
            std::abort();
    }
};

const BenchFile& benchFile() {
    static const BenchFile file;
    return file;
}

QByteArray benchFileBytes() {
    QFile file(benchFile().path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

void BM_Load(benchmark::State& state) {
    const QString& path = benchFile().path;
    for (auto _ : state) {
        CFuelDatabase db(path);
        db.load();
        benchmark::DoNotOptimize(db.getFillCount());
        if (db.getFillCount() != kFillCount)
            state.SkipWithError("database not loaded whole");
    }
}

void BM_Save(benchmark::State& state) {
    CFuelDatabase db(benchFile().path);
    db.load();
    for (auto _ : state) {
        if (!db.save())
            state.SkipWithError("save failed");
    }
}

// What cat does: the file read through one small buffer that stays in the cache.
void BM_Cat(benchmark::State& state) {
    const QByteArray path = QFile::encodeName(benchFile().path);
    QByteArray buffer(128 * 1024, '\0');
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_RDONLY);
        qint64 total = 0;
        for (ssize_t got; (got = ::read(fd, buffer.data(), size_t(buffer.size()))) > 0;)
            total += got;
        ::close(fd);
        benchmark::DoNotOptimize(total);
    }
}

// The same bytes read into one freshly allocated buffer, as a load must keep them in memory.
void BM_ReadIntoNewMemory(benchmark::State& state) {
    const QByteArray path = QFile::encodeName(benchFile().path);
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_RDONLY);
        QByteArray bytes(qsizetype(::lseek(fd, 0, SEEK_END)), Qt::Uninitialized);
        ::lseek(fd, 0, SEEK_SET);
        qint64 total = 0;
        for (ssize_t got; total < bytes.size() && (got = ::read(fd, bytes.data() + total,
                                                                size_t(bytes.size() - total))) > 0;)
            total += got;
        ::close(fd);
        benchmark::DoNotOptimize(bytes.data());
    }
}

// The same bytes written the safe way a save must: a new file, write, fsync, rename over.
void BM_WriteSyncRename(benchmark::State& state) {
    const QByteArray bytes = benchFileBytes();
    const QByteArray target = QFile::encodeName(benchFile().path + QStringLiteral(".plain"));
    const QByteArray temporary = target + ".new";
    for (auto _ : state) {
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size() &&
                             ::fsync(fd) == 0;
        ::close(fd);
        if (!written || ::rename(temporary.constData(), target.constData()) != 0)
            state.SkipWithError("plain write failed");
    }
}

// The copy of the tables a save on the worker thread takes on the GUI thread, so that the log
// may change while the worker writes.
void BM_CopyTables(benchmark::State& state) {
    CFuelDatabase db(benchFile().path);
    db.load();
    for (auto _ : state) {
        const DatabaseTables copy = copyOfTables(db.tables());
        benchmark::DoNotOptimize(copy.fills.data());
    }
}

// One fill at a time, each later than all before it (the usual case), or earlier than all.
void insertOneByOne(benchmark::State& state, bool reverse) {
    const int count = int(state.range(0));
    for (auto _ : state) {
        CFuelDatabase db;
        for (int i = 0; i < count; ++i)
            db.insertFill(makeBenchFill(reverse ? count - i : i, 0, -1));
        benchmark::DoNotOptimize(db.getFillCount());
    }
}

void BM_InsertInTimeOrder(benchmark::State& state) {
    insertOneByOne(state, false);
}

void BM_InsertInReverseTimeOrder(benchmark::State& state) {
    insertOneByOne(state, true);
}

// A log of 100 000 fills as base; ours and theirs each with 100 fills removed, 100 added and
// 100 edited (cost or notes), some of them the same fills on both sides.
struct MergeTables {
    static constexpr int kCount = 100000;
    DatabaseTables base;
    DatabaseTables ours;
    DatabaseTables theirs;

    MergeTables() {
        CFuelDatabase db;
        const int stations[] = {db.findOrAddStation(QStringLiteral("Aral")),
                                db.findOrAddStation(QStringLiteral("Shell"))};
        const int driver = db.findOrAddDriver(QStringLiteral("Eva"));
        for (int i = 0; i < kCount; ++i)
            db.insertFill(makeBenchFill(i, stations[i % 2], driver));
        base = db.tables();
        ours = changed(db, 0);
        theirs = changed(db, 500);
    }

    static DatabaseTables changed(CFuelDatabase db, int offset) {
        for (int k = 0; k < 100; ++k) {
            const int at = offset + k * 997;
            db.getFill(at)->cost += 1.0f;
            setFieldText(db.getFill(at + 1)->notes, QStringLiteral("edited"));
            db.insertFill(makeBenchFill(kCount + offset + k, 0, -1));
            db.removeFill(at + 2);
        }
        return db.tables();
    }
};

const MergeTables& mergeTables() {
    static const MergeTables tables;
    return tables;
}

void BM_MergeThreeWay(benchmark::State& state) {
    const MergeTables& tables = mergeTables();
    for (auto _ : state) {
        const LogMerge merge = mergeThreeWay(tables.base, tables.ours, tables.theirs);
        benchmark::DoNotOptimize(merge.insertedRows.data());
        if (merge.changed != 200 || merge.added != 100 || merge.removed != 100)
            state.SkipWithError("unexpected merge");
    }
}

// The three tables copied, as the least a merge that looks at every fill costs.
void BM_CopyMergeTables(benchmark::State& state) {
    const MergeTables& tables = mergeTables();
    for (auto _ : state) {
        DatabaseTables copies[] = {tables.base, tables.ours, tables.theirs};
        benchmark::DoNotOptimize(copies[2].fills.data());
    }
}

} // namespace

BENCHMARK(BM_Cat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadIntoNewMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSyncRename)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertInTimeOrder)->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertInReverseTimeOrder)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyMergeTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeThreeWay)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Twice the count takes at most this much longer: linear with room for the cache.
    constexpr double kLinear = 2.5;
    static const BenchComparison comparisons[] = {
        {"BM_Load", "BM_ReadIntoNewMemory", 1.5},
        {"BM_Load", "BM_Cat", 2.0},
        {"BM_Save", "BM_WriteSyncRename", 2.0},
        {"BM_CopyTables", "BM_Save", 0},
        {"BM_InsertInTimeOrder/20000", "BM_InsertInTimeOrder/10000", kLinear},
        {"BM_InsertInTimeOrder/40000", "BM_InsertInTimeOrder/20000", kLinear},
        {"BM_InsertInReverseTimeOrder/10000", "BM_InsertInTimeOrder/10000", 0},
        {"BM_InsertInReverseTimeOrder/20000", "BM_InsertInReverseTimeOrder/10000", kLinear},
        {"BM_InsertInReverseTimeOrder/40000", "BM_InsertInReverseTimeOrder/20000", kLinear},
        {"BM_MergeThreeWay", "BM_CopyMergeTables", 0},
    };
    return runBenchmarksWithRatios(argc, argv, comparisons);
}
