#include "app/startup.h"
#include "core/debuglog.h"
#include "core/logdocument.h"
#include "core/paths.h"
#include "core/recovery.h"
#include "core/settings.h"
#include "core/singleinstance.h"
#include "core/vehicles.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "unreadrequest.h"

#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The logged messages without their time stamps.
QStringList loggedMessages() {
    QFile file(debugLogPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    static const QRegularExpression stamp(
        QStringLiteral("^\\[\\d{1,2}\\.\\d{1,2}\\.\\d{4} \\d{2}:\\d{2}:\\d{2}\\] "));
    QStringList messages;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = stamp.match(line);
        messages.append(match.hasMatch() ? line.mid(match.capturedLength())
                                         : QStringLiteral("<unstamped> ") + line);
    }
    return messages;
}

// What call writes to the standard error stream.
QByteArray standardErrorOf(const std::function<void()>& call) {
    QTemporaryFile file;
    if (!file.open())
        return "cannot catch the standard error stream";
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(file.handle(), STDERR_FILENO);
    call();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    file.seek(0);
    return file.readAll();
}

const QString kRule(35, QLatin1Char('-'));

StartupOptions exitingAtOnce(const QString& instanceName) {
    StartupOptions options;
    options.instanceName = instanceName;
    options.whenRunning = [](CMainWnd& window) { window.dispatchCommand(CMainWnd::CmdExit); };
    return options;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

    // Sockets of this run alone: a bare name would lie in the shared temporary folder, where
    // another test run on the machine could answer in place of this one.
    QTemporaryDir m_sockets;
    QString instanceName(const char* name) const {
        return m_sockets.filePath(QString::fromLatin1(name));
    }

private slots:
    void initTestCase() {
        QVERIFY(m_sockets.isValid());
        DialogSeams::enable();
    }

    void init() {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tankometer"))
            .clear();
        QFile::remove(debugLogPath());
        QFile::remove(databaseFilePath());
        DialogSeams::reset();
        setDebugFlag(false);
    }

    void firstRunStoresTheDefaultLanguageAndLogsNothing() {
        QCOMPARE(runTankometer(exitingAtOnce(instanceName("tankometer-test-first"))), 0);
        QString stored;
        QCOMPARE(CRegistry::readValue(SettingsKey::Lang, &stored), RegistryOk);
        QCOMPARE(stored, QStringLiteral("lang\\english.lng"));
        QVERIFY(!QFile::exists(debugLogPath()));
        QVERIFY(QFile::exists(databaseFilePath())); // Exit saved
    }

    void debugRunLogsBannerAndExitInOrder() {
        QCOMPARE(CRegistry::writeNumber(SettingsKey::DebugMode, 1), RegistryOk);
        QCOMPARE(runTankometer(exitingAtOnce(instanceName("tankometer-test-debug"))), 0);
        QCOMPARE(loggedMessages(), (QStringList{kRule, QStringLiteral("Tankometer 1.2 "), kRule,
                                                QStringLiteral("Application started"),
                                                QStringLiteral("Application exited"), QString()}));
    }

    // A termination signal ends the run as Exit does, also from inside a dialog: the fill of
    // the session is on disk and the run ends with 0. (survives_kill.sh sends every such signal
    // to the real program.)
    void terminationSignalEndsTheRunAsExitDoes() {
        const int signalNumber = SIGTERM;
        QCOMPARE(CRegistry::writeNumber(SettingsKey::DebugMode, 7), RegistryOk);
        StartupOptions options;
        options.instanceName = instanceName("tankometer-test-signal");
        options.whenRunning = [signalNumber](CMainWnd& window) {
            FillRecord fill;
            fill.odometer = 1234;
            window.document().addFill(QStringLiteral("Aral"), fill, QString());
            // The signal comes while the About box is open.
            DialogSeams::setNextDialogHandler([signalNumber, &window](QDialog&) {
                ::raise(signalNumber);
                QVERIFY(QTest::qWaitFor([&window] { return !window.isVisible(); }, 5000));
            });
            window.dispatchCommand(CMainWnd::CmdAbout);
        };
        QCOMPARE(runTankometer(options), 0);
        QCOMPARE(loggedMessages().mid(4),
                 (QStringList{QStringLiteral("Application exited"), QString()}));
        CFuelDatabase saved(databaseFilePath());
        saved.load();
        QCOMPARE(saved.getFillCount(), 1);
        QCOMPARE(saved.getFill(0)->odometer, 1234);
    }

    // A recovery file newer than its log (or without one) is offered at start, default Yes,
    // counting the fills the log lacks, or naming costs when only they are new: Yes adds them as
    // one step and writes them, so that the file is offered no more; No leaves the log as it
    // is, and the file is offered again.
    void aRecoveryFileIsOfferedAtStart_data() {
        QTest::addColumn<QList<int>>("logDays"); // empty: no log
        QTest::addColumn<int>("logAge");         // seconds older than the recovery file
        QTest::addColumn<bool>("recoveredCost"); // the recovery file holds a cost the log lacks
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("question"); // empty: none
        const QString log = databaseFilePath();
        const QString offer = translate(Text::Main_RecoveryOffer);
        QTest::newRow("log older, added")
            << QList<int>{1} << 60 << false << true << offer.arg(2).arg(log);
        QTest::newRow("log older, declined") << QList<int>{1, 2} << 60 << false << false
                                             << translate(Text::Main_RecoveryOfferOne).arg(log);
        QTest::newRow("no log") << QList<int>{} << 0 << false << true << offer.arg(3).arg(log);
        QTest::newRow("log newer") << QList<int>{1} << -60 << false << false << QString();
        QTest::newRow("only a cost new, added")
            << QList<int>{1, 2, 3} << 60 << true << true
            << translate(Text::Main_RecoveryOfferCosts).arg(log);
        QTest::newRow("nothing new") << QList<int>{1, 2, 3} << 60 << false << false << QString();
    }
    void aRecoveryFileIsOfferedAtStart() {
        QFETCH(QList<int>, logDays);
        QFETCH(int, logAge);
        QFETCH(bool, recoveredCost);
        QFETCH(bool, accept);
        QFETCH(QString, question);
        const QString recovery = recoveryFilePath(databaseFilePath());
        const auto write = [](const QString& path, const QList<int>& days, bool withCost) {
            CFuelDatabase database(path);
            for (const int day : days) {
                FillRecord fill;
                fill.odometer = 1000 * day;
                fill.dateTime = FileTime::fromValue(quint64(day) << 40);
                database.insertFill(fill);
            }
            if (withCost) {
                VehicleCosts costs;
                CostEntry wash;
                wash.date = QDate(2026, 3, 1);
                wash.amount = 45.5;
                costs.costs.push_back(wash);
                database.setCosts(costs);
            }
            QVERIFY(database.save());
        };
        write(recovery, {1, 2, 3}, recoveredCost);
        if (!logDays.isEmpty()) {
            write(databaseFilePath(), logDays, false);
            QFile log(databaseFilePath());
            QVERIFY(log.open(QIODevice::ReadWrite));
            QVERIFY(log.setFileTime(QFileInfo(recovery).lastModified().addSecs(-logAge),
                                    QFileDevice::FileModificationTime));
        }

        if (!question.isEmpty())
            DialogSeams::setNextAnswer(accept ? QMessageBox::Yes : QMessageBox::No);
        QString undoText;
        StartupOptions options = exitingAtOnce(instanceName("tankometer-test-recovery"));
        options.whenRunning = [&undoText](CMainWnd& window) {
            undoText = window.document().undoText();
            window.dispatchCommand(CMainWnd::CmdExit);
        };
        QCOMPARE(runTankometer(options), 0);
        const bool added = accept;
        QCOMPARE(DialogSeams::askedMessages().size(), question.isEmpty() ? 0 : 1);
        if (!question.isEmpty()) {
            QCOMPARE(DialogSeams::askedMessages().first().text, question);
            QCOMPARE(DialogSeams::askedMessages().first().defaultButton, QMessageBox::Yes);
        }
        CFuelDatabase saved(databaseFilePath());
        saved.load();
        QCOMPARE(saved.getFillCount(), added ? 3 : logDays.size());
        QCOMPARE(saved.costs().costs.size(), size_t(added && recoveredCost ? 1 : 0));
        QCOMPARE(undoText, added ? translate(Text::undo_Recovered) : QString());
        QCOMPARE(pendingRecovery(databaseFilePath()).has_value(),
                 (logDays.isEmpty() || logAge > 0) && !accept);
        QFile::remove(recovery);
    }

    // A second start asks the running one to come to the front and ends without an exit line.
    void secondStartHandsOver() {
        const QString name = instanceName("tankometer-test-second");
        SingleInstance running(name);
        QCOMPARE(running.start(), SingleInstance::StartResult::OnlyInstance);
        QSignalSpy activation(&running, &SingleInstance::activationRequested);
        QCOMPARE(CRegistry::writeNumber(SettingsKey::DebugMode, 1), RegistryOk);

        QCOMPARE(runTankometer(exitingAtOnce(name)), 0);
        QTRY_COMPARE(activation.size(), 1);
        QCOMPARE(loggedMessages(), (QStringList{kRule, QStringLiteral("Tankometer 1.2 "), kRule,
                                                QStringLiteral("Application started")}));
        QVERIFY(!QFile::exists(databaseFilePath()));
    }

    // A running Tankometer that does not take the request (here it never reads one): the second
    // start says so and fails, without touching the settings or a log.
    void secondStartNotTakenFails() {
        const QString name = instanceName("tankometer-test-hung");
        QLocalServer hung;
        QVERIFY(hung.listen(name));
        StartupOptions options = exitingAtOnce(name);
        options.logPath = pathTooLongForAnUnreadSocket();
        int exitCode = 0;
        const QByteArray said = standardErrorOf([&] { exitCode = runTankometer(options); });
        QVERIFY(exitCode != 0);
        QVERIFY2(said.contains("Tankometer is already running but did not answer; try again.\n"),
                 said.constData());
        QString stored;
        QCOMPARE(CRegistry::readValue(SettingsKey::Lang, &stored), RegistryNotFound);
        QVERIFY(!QFile::exists(databaseFilePath()));
    }

    // tankometer PATH.fil, first as the only start, then handed to the running window.
    void startWithALogOpensIt() {
        const QString car = m_sockets.filePath(QStringLiteral("car.fil"));
        const QString van = m_sockets.filePath(QStringLiteral("van.fil"));
        for (const QString& path : {car, van}) {
            CFuelDatabase database(path);
            FillRecord fill;
            fill.odometer = 1000;
            database.insertFill(fill);
            if (path == van)
                database.insertFill(fill);
            QVERIFY(database.save());
        }
        const QString name = instanceName("tankometer-test-file");
        QString opened;
        QString handedOver;
        int rowsAfterHandOver = -1;
        bool switched = false;
        StartupOptions options;
        options.instanceName = name;
        options.logPath = car;
        options.whenRunning = [&](CMainWnd& window) {
            opened = window.vehiclePath();
            SingleInstance second(name);
            QCOMPARE(second.start(van), SingleInstance::StartResult::HandedOver);
            switched =
                QTest::qWaitFor([&window, &van] { return window.vehiclePath() == van; }, 5000);
            handedOver = window.vehiclePath();
            rowsAfterHandOver = window.listModel()->rowCount();
            window.dispatchCommand(CMainWnd::CmdExit);
        };
        QCOMPARE(runTankometer(options), 0);
        QCOMPARE(opened, car);
        QVERIFY(switched);
        QCOMPARE(handedOver, van);
        QCOMPARE(rowsAfterHandOver, 2);
        QCOMPARE(readDatabasePath(), QFileInfo(van).canonicalFilePath());
        QVERIFY(!QFile::exists(databaseFilePath()));
    }

    // A text file on the command line is not adopted: the default log opens at a first start.
    // A named pipe handed to the running window leaves the open log as it is.
    void aPathThatIsNoLogIsNotAdopted() {
        const QString notes = m_sockets.filePath(QStringLiteral("tankometer notes.csv"));
        const QString pipe = m_sockets.filePath(QStringLiteral("pipe.fil"));
        {
            QFile file(notes);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Date;Litres\n");
        }
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString name = instanceName("tankometer-test-nolog");
        QString opened;
        QString afterHandOver;
        QStringList said;
        bool answered = false;
        StartupOptions options;
        options.instanceName = name;
        options.logPath = notes;
        options.whenRunning = [&](CMainWnd& window) {
            opened = window.vehiclePath();
            SingleInstance second(name);
            QCOMPARE(second.start(pipe), SingleInstance::StartResult::HandedOver);
            answered =
                QTest::qWaitFor([] { return DialogSeams::askedMessages().size() == 2; }, 5000);
            afterHandOver = window.vehiclePath();
            for (const MessageBoxRecord& message : DialogSeams::askedMessages())
                said.append(message.text);
            window.dispatchCommand(CMainWnd::CmdExit);
        };
        QCOMPARE(runTankometer(options), 0);
        QVERIFY(answered);
        QCOMPARE(opened, databaseFilePath());
        QCOMPARE(afterHandOver, databaseFilePath());
        const QString notOpened = u'\n' + translate(Text::Main_LogNotOpened);
        QCOMPARE(said, (QStringList{translate(Text::Main_NotALog).arg(notes) + notOpened,
                                    translate(Text::Main_LogNotRegular).arg(pipe) + notOpened}));
        QFile file(notes);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Date;Litres\n"));
        QVERIFY(!QFile::exists(notes + QStringLiteral(".bak")));
        QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
        QCOMPARE(readDatabasePath(), databaseFilePath());
        QVERIFY(readRecentVehicles().isEmpty());
    }

    void runningWindowComesToTheFront() {
        const QString name = instanceName("tankometer-test-front");
        auto secondStarted = SingleInstance::StartResult::OnlyInstance;
        bool raised = false;
        StartupOptions options;
        options.instanceName = name;
        options.whenRunning = [&](CMainWnd& window) {
            window.showMinimized();
            SingleInstance second(name);
            secondStarted = second.start();
            raised = QTest::qWaitFor([&window] { return !window.isMinimized(); }, 5000);
            window.dispatchCommand(CMainWnd::CmdExit);
        };
        QCOMPARE(runTankometer(options), 0);
        QCOMPARE(secondStarted, SingleInstance::StartResult::HandedOver);
        QVERIFY(raised);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
