#include "windowbench.h"

#include "ui/messagebox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QtMessageHandler g_previousMessageHandler = nullptr;

// The offscreen platform warns at every window it shows; the figures drown in it otherwise.
void dropPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.contains(QStringLiteral("propagateSizeHints")) && g_previousMessageHandler)
        g_previousMessageHandler(type, context, message);
}

} // namespace

int runWindowBenchmarks(int argc, char** argv, bool (*prepare)(),
                        std::span<const BenchComparison> comparisons) {
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    // A runtime folder of our own (Qt wants it private), away from any running Tankometer.
    const QString runtime = home.path() + QStringLiteral("/runtime");
    if (!QDir().mkpath(runtime) ||
        !QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return 1;
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    g_previousMessageHandler = qInstallMessageHandler(dropPlatformNoise);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    DialogSeams::enable();
    if (!prepare()) {
        std::fprintf(stderr, "could not write the database\n");
        return 1;
    }
    return runBenchmarksWithRatios(argc, argv, comparisons);
}
