// Load and save of a database with one million fills, against reading and writing the same
// bytes plainly (the way cat reads a file).

#include "db/fueldatabase.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
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
        FillRecord fill;
        fill.driverId = driver;
        setFieldText(fill.notes, QStringLiteral("motorway, tyres checked"));
        for (int i = 0; i < kFillCount; ++i) {
            fill.stationId = stations[i % 3];
            fill.odometer = 600 * i;
            fill.fuel = 40.0f + float(i % 20);
            fill.cost = 1.6f * fill.fuel;
            fill.dateTime =
                FileTime::fromValue(0x01d0000000000000ull + quint64(i) * 864000000000ull);
            db.insertFill(fill);
        }
        if (!db.save())
            std::abort();
    }
};

const BenchFile& benchFile() {
    static const BenchFile file;
    return file;
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

void BM_PlainRead(benchmark::State& state) {
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
void BM_PlainReadIntoMemory(benchmark::State& state) {
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

void BM_PlainWrite(benchmark::State& state) {
    QFile source(benchFile().path);
    if (!source.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray bytes = source.readAll();
    const QByteArray path = QFile::encodeName(benchFile().path + QStringLiteral(".plain"));
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, bytes.constData(), size_t(bytes.size())));
        ::close(fd);
    }
}

} // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadIntoMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
