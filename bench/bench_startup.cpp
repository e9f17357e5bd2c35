// The time from exec to the first painted main window: Tankometer on logs of 0, 2 000 and
// 100 000 fills against a minimal Qt program (this one, run with --minimal-window: a main window
// with a menu bar and an empty table view), each started afresh several times, the medians
// compared. Each program prints "painted" and its CPU time once its table has painted, and
// ends. Runs on the offscreen platform (or the one QT_QPA_PLATFORM names) in a temporary home
// folder, so the user's files are untouched.

#include "benchfills.h"
#include "core/paths.h"
#include "db/fueldatabase.h"
#include "ratios.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 15;

double cpuMilliseconds() {
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
}

// Reports once the table's first painting is done, as Tankometer does.
class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [] {
                std::printf("painted %.3f\n", cpuMilliseconds());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

int runMinimalWindow(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    for (const char* title : {"File", "Edit", "View", "Fill", "Statistics", "Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    auto* table = new QTableView(&window);
    window.setCentralWidget(table);
    FirstPaint firstPaint;
    table->viewport()->installEventFilter(&firstPaint);
    window.resize(640, 640);
    window.show();
    return application.exec();
}

bool writeLog(int fills) {
    QFile::remove(databaseFilePath());
    CFuelDatabase database(databaseFilePath());
    if (fills > 0) {
        const int station = database.findOrAddStation(QStringLiteral("Station"));
        const int driver = database.findOrAddDriver(QStringLiteral("Driver"));
        std::vector<FillRecord> records;
        for (int i = 0; i < fills; ++i)
            records.push_back(makeBenchFill(i, station, driver));
        database.mergeFills(records);
    }
    return database.save();
}

struct Run {
    double real = 0; // ms from the start of the process to its report
    double cpu = 0;  // the process's own CPU ms up to its report
};

// Starts the program and waits for its report; a run without one fails the benchmark.
bool runOnce(const QString& program, const QStringList& arguments, Run* run) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    QElapsedTimer timer;
    timer.start();
    process.start();
    QByteArray output;
    while (!output.contains('\n') && process.waitForReadyRead(60000))
        output += process.readAllStandardOutput();
    run->real = double(timer.nsecsElapsed()) / 1e6;
    const bool painted = output.startsWith("painted ");
    if (painted)
        run->cpu = output.mid(8).trimmed().toDouble();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
    }
    // The offscreen platform warns at every window; only a failed run shows what was said.
    if (!painted)
        std::fprintf(stderr, "%s reported no painting: %s\n%s\n", qPrintable(program),
                     output.constData(), process.readAllStandardError().constData());
    return painted;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Series {
    std::string name;
    int fills = -1; // -1: the minimal program
    double goal = 0;
    std::vector<double> real;
    std::vector<double> cpu;
    // The minimal program's starts taken in turn with this series' starts.
    std::vector<double> baseReal;
    std::vector<double> baseCpu;
};

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--minimal-window") == 0)
        return runMinimalWindow(argc, argv);

    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", (home.path() + QStringLiteral("/state")).toLocal8Bit());
    // A runtime folder of our own (Qt wants it private), away from any running Tankometer.
    const QString runtime = home.path() + QStringLiteral("/runtime");
    if (!QDir().mkpath(runtime) ||
        !QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return 1;
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TANKOMETER_REPORT_FIRST_PAINT", "1");
    const QCoreApplication application(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const QString tankometer = QStringLiteral(TANKOMETER_EXECUTABLE);

    std::vector<Series> series = {{"minimal Qt window", -1, 0, {}, {}, {}, {}},
                                  {"Tankometer, 0 fills", 0, 0, {}, {}, {}, {}},
                                  {"Tankometer, 2 000 fills", 2000, 1.5, {}, {}, {}, {}},
                                  {"Tankometer, 100 000 fills", 100000, 2.0, {}, {}, {}, {}}};
    std::printf("%d starts of each on the %s platform\n", kRuns, qgetenv("QT_QPA_PLATFORM").data());
    // One series after the other, so that each log is written once; the minimal program starts
    // in turn with each series' starts, and each series is compared with those starts, so that
    // a change of the machine's load shows in both sides of a ratio.
    Series& minimal = series.front();
    for (Series& each : series) {
        if (each.fills >= 0 && !writeLog(each.fills)) {
            std::fprintf(stderr, "could not write the log\n");
            return 1;
        }
        for (int i = 0; i < kRuns; ++i) {
            Run run;
            if (each.fills >= 0) {
                Run base;
                if (!runOnce(self, {QStringLiteral("--minimal-window")}, &base))
                    return 1;
                minimal.real.push_back(base.real);
                minimal.cpu.push_back(base.cpu);
                each.baseReal.push_back(base.real);
                each.baseCpu.push_back(base.cpu);
            }
            if (!runOnce(each.fills >= 0 ? tankometer : self,
                         each.fills >= 0 ? QStringList() : QStringList{"--minimal-window"}, &run))
                return 1;
            each.real.push_back(run.real);
            each.cpu.push_back(run.cpu);
        }
    }

    std::printf("\n%-28s %12s %12s\n", "median of the starts", "real ms", "CPU ms");
    for (const Series& each : series)
        std::printf("%-28s %12.1f %12.1f\n", each.name.c_str(), median(each.real),
                    median(each.cpu));
    std::printf("\nRatios of the wall-clock time to the first painting, in milliseconds (and of "
                "the CPU time):\n");
    for (const Series& each : series) {
        if (each.fills < 0)
            continue;
        printRatio(each.name.c_str(), median(each.real), minimal.name.c_str(),
                   median(each.baseReal), "ms", each.goal, median(each.cpu) / median(each.baseCpu));
    }
    std::fflush(stdout);
    return 0;
}
