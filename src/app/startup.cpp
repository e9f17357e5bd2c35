#include "app/startup.h"

#include "core/debuglog.h"
#include "core/logdocument.h"
#include "core/qttranslations.h"
#include "core/settings.h"
#include "core/singleinstance.h"
#include "core/terminationsignals.h"
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

// The log open while the process runs. When the display goes away, Qt ends the process with
// exit(); the log is written then, as far as it is not on disk yet.
CLogDocument* g_openLog = nullptr;

void saveOpenLogAtExit() {
    if (g_openLog)
        g_openLog->saveWithoutMessages();
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
    installQtTranslations(language().localeName());

    // The main window's own commands end the run; closing it must not end the application
    // while a nested event loop still runs.
    QApplication::setQuitOnLastWindowClosed(false);
    {
        CLogDocument document(readDatabasePath());
        CMainWnd window(document);
        g_openLog = &document;
        static const bool atExitRegistered = std::atexit(saveOpenLogAtExit) == 0;
        Q_UNUSED(atExitRegistered);
        // SIGTERM, SIGHUP and SIGINT end the program as File > Exit does.
        CTerminationSignals termination;
        QObject::connect(&termination, &CTerminationSignals::terminationRequested, &window,
                         &CMainWnd::endWithoutQuestions);
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
        g_openLog = nullptr;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();

    debugLog().write("Application exited");
    debugLog().write(QByteArray());
    return EXIT_SUCCESS;
}
