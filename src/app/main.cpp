#include "app/startup.h"
#include "db/version.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tankometer"));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2").arg(kProgramVersionMajor).arg(kProgramVersionMinor));
    QGuiApplication::setDesktopFileName(QStringLiteral("tankometer"));
    StartupOptions options;
    // tankometer PATH.fil opens that log.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && !arguments.at(1).isEmpty())
        options.logPath = QFileInfo(arguments.at(1)).absoluteFilePath();
    return runTankometer(options);
}
