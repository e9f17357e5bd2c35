#include "core/startup.h"
#include "db/version.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tankometer"));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2").arg(kProgramVersionMajor).arg(kProgramVersionMinor));
    QGuiApplication::setDesktopFileName(QStringLiteral("tankometer"));
    return runTankometer();
}
