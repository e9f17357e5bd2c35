// Races between the open log's writes and another program's, on a log of 50 000 fills (6 MiB),
// each run 30 times; a race is lost when the file afterwards lacks a fill that either side
// confirmed.
//  - copy: a copy of the log with a fill of its own (as a sync tool brings one from another
//    computer) is renamed into place 0.13 to 0.26 s after a fill is confirmed here, spread over
//    the tries: the time at which the write of that fill is under way. Then the program ends as
//    Exit does.
//  - two programs: two processes open the same log, each adds a fill and ends at once (Exit).
// Prints the losses of each race; exits non-zero when there was one.
//
//   build/bench/bench_lograce [tries]

#include "benchfills.h"
#include "core/logdocument.h"
#include "db/fueldatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

constexpr int kFills = 50000;
constexpr int kStation = 0;
constexpr int kDriver = 0;

FillRecord benchFill(int i) {
    return makeBenchFill(i, kStation, kDriver);
}

void writeLog(const QString& path, const std::vector<int>& extra = {}) {
    CFuelDatabase log(path);
    log.findOrAddStation(QStringLiteral("Aral"));
    log.findOrAddDriver(QStringLiteral("Eva"));
    std::vector<FillRecord> fills;
    for (int i = 0; i < kFills; ++i)
        fills.push_back(benchFill(i));
    for (const int i : extra)
        fills.push_back(benchFill(i));
    log.mergeFills(fills);
    if (!log.save())
        std::abort();
}

// Whether the log at path holds the base fills and every one of extra.
bool holds(const QString& path, const std::vector<int>& extra) {
    CFuelDatabase log(path);
    log.setMessageSink([](const QString&) {});
    log.load();
    if (log.getFillCount() != kFills + int(extra.size()))
        return false;
    for (const int i : extra) {
        const FillRecord wanted = benchFill(i);
        bool found = false;
        for (int row = log.getFillCount() - 1; row >= 0 && !found; --row) {
            const FillRecord* fill = log.getFill(row);
            found = fill->dateTime.value() == wanted.dateTime.value() &&
                    fill->odometer == wanted.odometer;
        }
        if (!found)
            return false;
    }
    return true;
}

// One try of the copy race: true when no fill was lost.
bool copyRace(const QString& folder, int delayMs) {
    const QString path = folder + QStringLiteral("/tkbase.fil");
    const QString copy = folder + QStringLiteral("/tkbase.fil.sync");
    QFile::remove(path);
    writeLog(path);
    writeLog(copy, {kFills + 1});
    {
        CLogDocument document(path);
        document.setMessageSink([](const QString&) {});
        document.load();
        bool renamed = false;
        QTimer::singleShot(delayMs, [&] {
            renamed = std::rename(QFile::encodeName(copy).constData(),
                                  QFile::encodeName(path).constData()) == 0;
        });
        document.addFill(QStringLiteral("Aral"), benchFill(kFills), QStringLiteral("Eva"));
        // The program lives on for a moment after the rename, then ends as Exit does.
        QElapsedTimer clock;
        clock.start();
        while (!renamed || clock.elapsed() < delayMs + 300)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        document.save();
    }
    return holds(path, {kFills, kFills + 1});
}

// One try of the race of two programs: true when no fill was lost.
bool twoProgramsRace(const QString& folder, const QString& self) {
    const QString path = folder + QStringLiteral("/tkbase.fil");
    QFile::remove(path);
    writeLog(path);
    QProcess first;
    QProcess second;
    first.start(self, {QStringLiteral("add"), path, QString::number(kFills)});
    second.start(self, {QStringLiteral("add"), path, QString::number(kFills + 1)});
    const bool ended = first.waitForFinished(30000) && second.waitForFinished(30000);
    return ended && first.exitCode() == 0 && second.exitCode() == 0 &&
           holds(path, {kFills, kFills + 1});
}

// The other program of the race: opens the log, adds fill i and ends as Exit does.
int addAndExit(const QString& path, int i) {
    CLogDocument document(path);
    document.setMessageSink(
        [](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); });
    document.load();
    document.addFill(QStringLiteral("Aral"), benchFill(i), QStringLiteral("Eva"));
    return document.save() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("add"))
        return addAndExit(arguments.at(2), arguments.at(3).toInt());
    // Options meant for the other benchmarks (bench/run gives every program the same ones) are
    // not a count: they would run no try at all and report nothing lost.
    int tries = 30;
    for (const QString& argument : arguments.mid(1)) {
        if (!argument.startsWith(u'-'))
            tries = argument.toInt();
    }
    if (tries < 1) {
        std::fprintf(stderr, "bench_lograce: the number of tries is to be a positive number\n");
        return 2;
    }
    QTemporaryDir folder;
    qputenv("HOME", QFile::encodeName(folder.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path() + QStringLiteral("/config")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(folder.path() + QStringLiteral("/state")));

    int copyLosses = 0;
    for (int i = 0; i < tries; ++i) {
        const int delay = 130 + (tries > 1 ? 130 * i / (tries - 1) : 0);
        copyLosses += copyRace(folder.path(), delay) ? 0 : 1;
    }
    std::printf("copy renamed into place 130-260 ms after a confirmed fill, %d fills: %d of %d "
                "tries lost a fill\n",
                kFills, copyLosses, tries);
    int twoLosses = 0;
    for (int i = 0; i < tries; ++i)
        twoLosses += twoProgramsRace(folder.path(), application.applicationFilePath()) ? 0 : 1;
    std::printf("two programs adding a fill and ending at once, %d fills: %d of %d tries lost a "
                "fill\n",
                kFills, twoLosses, tries);
    return copyLosses + twoLosses == 0 ? 0 : 1;
}
