// Every cell text of the fill list: 100 000 rows, all seven columns, as one pass of the view
// asks for them, next to the same number of plain number-to-text conversions.
// Runs in a temporary home folder with a settings file of its own, so the user's files are
// untouched.

#include "core/logdocument.h"
#include "core/settings.h"
#include "db/fueldatabase.h"
#include "ratios.h"
#include "ui/main/filllistmodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kFillCount = 100000;
constexpr int kColumnCount = 7;
constexpr quint64 kHour = 36000000000ull; // 100 ns units
constexpr quint64 kFirstTime = 154000ull * 24 * kHour;

// With flags, every fourth fill is partial and every fiftieth follows a missed one.
void fillDatabase(CFuelDatabase& database, bool flagged = false) {
    for (int i = 0; i < kFillCount; ++i) {
        FillRecord fill;
        fill.odometer = 1000 + 450 * i;
        fill.fuel = 35.0f + float(i % 10);
        fill.cost = fill.fuel * 1.6f;
        fill.dateTime = FileTime::fromValue(kFirstTime + quint64(i) * 30 * kHour);
        database.insertFill(fill, {flagged && i % 4 == 1, flagged && i % 50 == 7});
    }
}

// Baseline: as many conversions of a number to text as the list has cells.
void BM_NumberToText(benchmark::State& state) {
    for (auto _ : state) {
        for (int i = 0; i < kFillCount * kColumnCount; ++i)
            benchmark::DoNotOptimize(QString::number(i));
    }
    state.SetItemsProcessed(state.iterations() * kFillCount * kColumnCount);
}
BENCHMARK(BM_NumberToText)->Unit(benchmark::kMillisecond);

// A refresh of the list and then the text of every cell; the second with partial and missed
// fills and the column of their marks.
void everyCellText(benchmark::State& state, bool flagged) {
    const int columns = flagged ? kColumnCount + 1 : kColumnCount;
    CFuelDatabase database(QDir::home().filePath(QStringLiteral("list.fil")));
    fillDatabase(database, flagged);
    database.save();
    CLogDocument document(database.filePath());
    document.load();
    CFillListModel model(document);
    model.rebuild();
    for (auto _ : state) {
        model.rowsChanged(0, kFillCount - 1);
        for (int row = 0; row < kFillCount; ++row) {
            for (int column = 0; column < columns; ++column)
                benchmark::DoNotOptimize(model.cellText(row, CFillListModel::Column(column)));
        }
    }
    state.SetItemsProcessed(state.iterations() * kFillCount * columns);
}

void BM_EveryCellText(benchmark::State& state) {
    everyCellText(state, false);
}
BENCHMARK(BM_EveryCellText)->Unit(benchmark::kMillisecond);

void BM_EveryCellTextFlagged(benchmark::State& state) {
    everyCellText(state, true);
}
BENCHMARK(BM_EveryCellTextFlagged)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    QCoreApplication application(argc, argv);
    // A settings file as the program leaves it, so that each read of it opens a real file.
    CRegistry::writeNumber(SettingsKey::ColDef, DefaultColumnDefinition);
    CRegistry::writeNumber(SettingsKey::FillingMethod, quint32(FillingMethod::FullTank));
    writeLanguagePath(DefaultLanguagePath.toString());
    static const BenchComparison comparisons[] = {
        {"BM_EveryCellText", "BM_NumberToText", 0},
        {"BM_EveryCellTextFlagged", "BM_EveryCellText", 0},
        // Every cell of a long history within a fifth of a second.
        {"BM_EveryCellText", nullptr, 200},
    };
    return runBenchmarksWithRatios(argc, argv, comparisons);
}
