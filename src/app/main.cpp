#include "app/commandline.h"
#include "app/startup.h"
#include "db/version.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication::setApplicationName(QStringLiteral("Tankometer"));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2").arg(kProgramVersionMajor).arg(kProgramVersionMinor));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tankometer.Tankometer"));

    // Help, version and a wrong command line are answered before QApplication exists: without a
    // display it aborts. Nothing is read from or written to the settings or the documents folder
    // before the command line has been read.
    CommandLine commandLine;
    {
        const QCoreApplication reader(argc, argv);
        commandLine = readCommandLine(QCoreApplication::arguments(), false);
    }
    if (commandLine.request != CommandLine::Request::Run &&
        commandLine.request != CommandLine::Request::ReadAfterQt)
        return answerCommandLine(commandLine);

    QApplication application(argc, argv);
    if (commandLine.request == CommandLine::Request::ReadAfterQt) {
        commandLine = readCommandLine(QCoreApplication::arguments(), true);
        if (commandLine.request != CommandLine::Request::Run)
            return answerCommandLine(commandLine);
    }
    StartupOptions options;
    options.logPath = commandLine.logPath;
    options.reportFirstPaint = qEnvironmentVariableIsSet("TANKOMETER_REPORT_FIRST_PAINT");
    return runTankometer(options);
}
