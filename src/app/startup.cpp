#include "app/startup.h"

#include "core/debuglog.h"
#include "core/logdocument.h"
#include "core/paths.h"
#include "core/qttranslations.h"
#include "core/recovery.h"
#include "core/settings.h"
#include "core/singleinstance.h"
#include "core/terminationsignals.h"
#include "core/vehicles.h"
#include "db/logmerge.h"
#include "db/version.h"
#include "localisation/language.h"
#include "ui/main/commands.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QDir>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>

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

// The exit status once a signal or a lost display ended the run: 0 when the fills are on disk,
// in the log or in its recovery file; the standard error stream says where, when not in the log.
int endStatus(const CLogDocument& document, SavedTo savedTo) {
    if (savedTo == SavedTo::Log)
        return EXIT_SUCCESS;
    const TextId& text =
        savedTo == SavedTo::Recovery ? Text::Main_EndRecovered : Text::Main_EndLost;
    const QString line =
        translate(text).arg(QDir::toNativeSeparators(document.filePath()),
                            QDir::toNativeSeparators(recoveryFilePath(document.filePath())));
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
    return savedTo == SavedTo::Recovery ? EXIT_SUCCESS : EXIT_FAILURE;
}

// Qt ends the process with exit(1) when the display goes away; the status then says whether
// the fills reached the disk.
void saveOpenLogAtExit() {
    if (!g_openLog)
        return;
    const int status = endStatus(*g_openLog, g_openLog->saveWithoutMessages());
    std::_Exit(status);
}

// The fills of a recovery file of the open log that the log lacks, and its costs and reminders
// the log lacks, offered once the window is shown, as one step that is written like any other.
// The file stays either way: the log's two-way merge takes only fills the log lacks, not other
// versions of a fill it has.
void offerRecoveredFills(CMainWnd& window, const RecoveredFills& recovered) {
    CLogDocument& document = window.document();
    if (recoveryFilePath(document.filePath()) != recovered.path)
        return;
    CFuelDatabase merged = document.database();
    const int count = int(mergeOtherCopy(merged, recovered.tables).size());
    const bool costs =
        mergeCosts({}, document.database().costs(), recovered.tables.costs).has_value();
    if (count == 0 && !costs)
        return;
    const QString log = QDir::toNativeSeparators(document.filePath());
    QString text;
    if (count == 0)
        text = translate(Text::Main_RecoveryOfferCosts).arg(log);
    else if (count == 1)
        text = translate(Text::Main_RecoveryOfferOne).arg(log);
    else
        text = translate(Text::Main_RecoveryOffer).arg(count).arg(log);
    const auto answer =
        showMessageBox(&window, QApplication::applicationName(), text, QMessageBox::Question,
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    document.addRecoveredFills(recovered.tables);
}

// Watches the list's first painting; the report comes once that painting is done.
class FirstPaintReport : public QObject {
public:
    explicit FirstPaintReport(std::function<void()> report) : m_report(std::move(report)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_report)
            QTimer::singleShot(0, this, std::exchange(m_report, nullptr));
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_report;
};

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

    const QString programFolder = languageBaseFolder();
    language().load(readLanguagePathOrStoreFirst(QLocale::system(), programFolder), programFolder);
    installQtTranslations(language().localeName());

    // The main window's own commands end the run; closing it must not end the application
    // while a nested event loop still runs.
    QApplication::setQuitOnLastWindowClosed(false);
    int status = EXIT_SUCCESS;
    {
        // Looked up before the log is read: a first read may write the log at once.
        const std::optional<RecoveredFills> recovered =
            pendingRecovery(options.logPath.isEmpty() ? readDatabasePath() : options.logPath);
        CLogDocument document(readDatabasePath());
        CMainWnd window(document);
        g_openLog = &document;
        static const bool atExitRegistered = std::atexit(saveOpenLogAtExit) == 0;
        Q_UNUSED(atExitRegistered);
        // SIGTERM, SIGHUP and SIGINT end the program without a question.
        CTerminationSignals termination;
        QObject::connect(&termination, &CTerminationSignals::terminationRequested, &window,
                         [&window, &document, &status] {
                             status = endStatus(document, window.endWithoutQuestions());
                         });
        QObject::connect(&instance, &SingleInstance::activationRequested, &window,
                         &CMainWnd::activate);
        QObject::connect(
            &instance, &SingleInstance::openRequested, &window,
            [&window](const QString& path) { window.commands().openVehicleWhenIdle(path); });
        if (!options.logPath.isEmpty())
            window.commands().openVehicleAt(options.logPath);
        if (recovered) {
            QTimer::singleShot(0, &window,
                               [&window, &recovered] { offerRecoveredFills(window, *recovered); });
        }
        if (options.whenRunning) {
            QTimer::singleShot(0, &window, [&window, &options] { options.whenRunning(window); });
        }
        FirstPaintReport firstPaint([&window, &document, &status] {
            std::printf("painted %.3f\n", 1000.0 * double(std::clock()) / CLOCKS_PER_SEC);
            std::fflush(stdout);
            status = endStatus(document, window.endWithoutQuestions());
        });
        if (options.reportFirstPaint)
            window.fillList()->viewport()->installEventFilter(&firstPaint);
        window.run();
        g_openLog = nullptr;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();

    debugLog().write("Application exited");
    debugLog().write(QByteArray());
    return status;
}
