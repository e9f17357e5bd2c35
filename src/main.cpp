#include "core/startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tankometer"));
    QApplication::setApplicationVersion(QStringLiteral("1.2"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tankometer"));
    return runTankometer();
}
