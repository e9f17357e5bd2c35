#include "app/startup.h"

#include "core/debuglog.h"
#include "core/logdocument.h"
#include "core/settings.h"
#include "core/singleinstance.h"
#include "core/vehicles.h"
#include "db/version.h"
#include "localisation/language.h"
#include "ui/main/commands.h"
#include "ui/main/mainwnd.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

void writeStartBanner() {
    const QByteArray rule(35, '-');
    debugLog().write(rule);
    debugLog().write(programVersionLine().toUtf8());
    debugLog().write(rule);
    debugLog().write("Application started");
}

} // namespace

int runTankometer(const StartupOptions& options) {
    setDebugFlag(readDebugMode());
    writeStartBanner();

    SingleInstance instance(options.instanceName.isEmpty() ? SingleInstance::defaultServerName()
                                                           : options.instanceName);
    switch (instance.start(options.logPath)) {
    case SingleInstance::StartResult::OnlyInstance:
        break;
    // Another Tankometer of this user is running and has been asked to come to the front.
    case SingleInstance::StartResult::HandedOver:
        return EXIT_SUCCESS;
    case SingleInstance::StartResult::NotReached:
        std::fputs("Tankometer is already running but did not answer; try again.\n", stderr);
        return EXIT_FAILURE;
    }

    language().load(readLanguagePathOrStoreDefault());

    // The main window's own commands end the run; closing it must not end the application
    // while a nested event loop still runs.
    QApplication::setQuitOnLastWindowClosed(false);
    {
        CLogDocument document(readDatabasePath());
        CMainWnd window(document);
        QObject::connect(&instance, &SingleInstance::activationRequested, &window,
                         &CMainWnd::activate);
        QObject::connect(
            &instance, &SingleInstance::openRequested, &window,
            [&window](const QString& path) { window.commands().openVehicleWhenIdle(path); });
        if (!options.logPath.isEmpty())
            window.commands().openVehicleAt(options.logPath);
        if (options.whenRunning) {
            QTimer::singleShot(0, &window, [&window, &options] { options.whenRunning(window); });
        }
        window.run();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();

    debugLog().write("Application exited");
    debugLog().write(QByteArray());
    return EXIT_SUCCESS;
}
