// CSV export and import of 100 000 and 200 000 fills, with the file oldest-first (as the export
// writes it) and newest-first (as many other fuel logs write theirs), against writing and
// reading the same bytes plainly.

#include "csv/csvimport.h"
#include "csv/csvwriter.h"
#include "db/fueldatabase.h"
#include "ratios.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <unistd.h>

namespace {

const CsvColumnMap kExportColumns = {0, 1, 2, 3, 7, 4, 5, 6};

struct BenchFiles {
    QTemporaryDir dir;
    CFuelDatabase database;
    QString oldestFirst;
    QString newestFirst;
    QByteArray bytes; // of the oldest-first file

    explicit BenchFiles(int fillCount) {
        const int stations[] = {database.findOrAddStation(QStringLiteral("Aral")),
                                database.findOrAddStation(QStringLiteral("Shell")),
                                database.findOrAddStation(QStringLiteral("OMV; Autobahn"))};
        const int driver = database.findOrAddDriver(QStringLiteral("Eva"));
        std::vector<FillRecord> fills;
        FillRecord fill;
        for (int i = 0; i < fillCount; ++i) {
            fill.stationId = stations[i % 3];
            fill.driverId = i % 2 ? driver : -1;
            fill.odometer = 600 * i;
            fill.fuel = 40.0f + float(i % 20) * 0.37f;
            fill.cost = 1.6f * fill.fuel;
            // Every tenth fill shares its time with the one before.
            fill.dateTime = FileTime::fromValue(0x01c0000000000000ull +
                                                quint64(i - (i % 10 == 9)) * 864000000000ull);
            setFieldText(fill.notes, i % 4 ? QStringLiteral("motorway, tyres checked")
                                           : QStringLiteral("said \"full\"; paid by card"));
            fills.push_back(fill);
        }
        database.mergeFills(fills);
        oldestFirst = dir.filePath(QStringLiteral("oldest.csv"));
        newestFirst = dir.filePath(QStringLiteral("newest.csv"));
        if (!writeCsvFile(oldestFirst, database))
            std::abort();
        QFile file(oldestFirst);
        if (!file.open(QIODevice::ReadOnly))
            std::abort();
        bytes = file.readAll();
        QList<QByteArray> lines = bytes.split('\n');
        lines.removeLast(); // after the last line end
        QByteArray reversed = lines.takeFirst() + '\n';
        for (auto line = lines.crbegin(); line != lines.crend(); ++line)
            reversed += *line + '\n';
        QFile newest(newestFirst);
        if (!newest.open(QIODevice::WriteOnly) || newest.write(reversed) != reversed.size())
            std::abort();
    }
};

const BenchFiles& benchFiles(int fillCount) {
    static std::map<int, std::unique_ptr<BenchFiles>> files;
    auto& entry = files[fillCount];
    if (!entry)
        entry = std::make_unique<BenchFiles>(fillCount);
    return *entry;
}

void BM_PlainWrite(benchmark::State& state) {
    const BenchFiles& files = benchFiles(int(state.range(0)));
    const QByteArray path = QFile::encodeName(files.dir.filePath(QStringLiteral("plain.csv")));
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, files.bytes.constData(), size_t(files.bytes.size())));
        ::close(fd);
    }
}

void BM_Export(benchmark::State& state) {
    const BenchFiles& files = benchFiles(int(state.range(0)));
    const QString path = files.dir.filePath(QStringLiteral("export.csv"));
    for (auto _ : state) {
        if (!writeCsvFile(path, files.database))
            state.SkipWithError("export failed");
    }
}

// The bytes read into memory and decoded, as every import must.
void BM_PlainRead(benchmark::State& state) {
    const BenchFiles& files = benchFiles(int(state.range(0)));
    for (auto _ : state) {
        QFile file(files.oldestFirst);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open");
        const QString text = QString::fromUtf8(file.readAll());
        benchmark::DoNotOptimize(text.count(u'\n'));
    }
}

void importFile(benchmark::State& state, bool newestFirst) {
    const BenchFiles& files = benchFiles(int(state.range(0)));
    const QString& path = newestFirst ? files.newestFirst : files.oldestFirst;
    for (auto _ : state) {
        CFuelDatabase database;
        CCsvReader reader;
        if (!reader.open(path))
            state.SkipWithError("cannot open");
        const CsvImportResult result = importCsv(reader, kExportColumns, database);
        if (result.imported != state.range(0) || result.skipped != 0)
            state.SkipWithError("not every fill imported");
    }
}

void BM_ImportOldestFirst(benchmark::State& state) {
    importFile(state, false);
}

void BM_ImportNewestFirst(benchmark::State& state) {
    importFile(state, true);
}

} // namespace

BENCHMARK(BM_PlainWrite)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportOldestFirst)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportNewestFirst)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Twice the lines take at most this much longer.
    constexpr double kDouble = 2.2;
    static const BenchComparison comparisons[] = {
        {"BM_Export/100000", "BM_PlainWrite/100000", 0},
        {"BM_Export/200000", "BM_PlainWrite/200000", 0},
        {"BM_ImportOldestFirst/100000", "BM_PlainRead/100000", 0},
        {"BM_ImportOldestFirst/200000", "BM_PlainRead/200000", 0},
        {"BM_ImportNewestFirst/100000", "BM_PlainRead/100000", 0},
        {"BM_ImportNewestFirst/200000", "BM_PlainRead/200000", 0},
        {"BM_Export/200000", "BM_Export/100000", kDouble},
        {"BM_ImportOldestFirst/200000", "BM_ImportOldestFirst/100000", kDouble},
        {"BM_ImportNewestFirst/200000", "BM_ImportNewestFirst/100000", kDouble},
        {"BM_ImportNewestFirst/100000", "BM_ImportOldestFirst/100000", 0},
        // 100 000 lines each way within about a second.
        {"BM_Export/100000", nullptr, 1000},
        {"BM_ImportOldestFirst/100000", nullptr, 1000},
        {"BM_ImportNewestFirst/100000", nullptr, 1000},
    };
    return runBenchmarksWithRatios(argc, argv, comparisons);
}
