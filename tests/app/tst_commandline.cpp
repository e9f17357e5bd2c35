#include "db/fueldatabase.h"

#include <QDirIterator>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The built program, run with folders of its own: home, settings, session and working folder.
class CommandLineTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;

    QString folder(const char* name) const { return m_root.filePath(QString::fromLatin1(name)); }

    // platform: the window system to offer; empty: none that works, so that a QApplication
    // made anyway ends the program.
    void prepare(QProcess& process, const QString& platform) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), folder("home"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder("config"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder("runtime"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                           platform.isEmpty() ? QStringLiteral("no-such-platform") : platform);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder("work"));
        process.setProgram(QStringLiteral(TANKOMETER_EXECUTABLE));
    }

    QStringList filesWritten() const {
        QStringList files;
        QDirIterator it(m_root.path(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        return files;
    }

private slots:
    void init() {
        QVERIFY(m_root.isValid());
        for (const char* name : {"home", "config", "runtime", "work"}) {
            QDir(folder(name)).removeRecursively();
            QVERIFY(QDir().mkpath(folder(name)));
        }
        QVERIFY(QFile::setPermissions(folder("runtime"), QFileDevice::ReadOwner |
                                                             QFileDevice::WriteOwner |
                                                             QFileDevice::ExeOwner));
    }

    void answersWithoutOpeningAWindow_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QString>("printed");

        const QString usage = QStringLiteral("[options] [log]");
        const QString version = QStringLiteral("Tankometer 1.2\n");
        const QString unknown = QStringLiteral(
            "Unknown option 'frobnicate'.\nTry 'tankometer --help' for more information.");
        const QString offscreen = QStringLiteral("offscreen");
        QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << QString() << true
                                << usage;
        QTest::newRow("--version")
            << QStringList{QStringLiteral("--version")} << QString() << true << version;
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("--frobnicate")} << QString() << false << unknown;
        QTest::newRow("two logs") << QStringList{QStringLiteral("car.fil"),
                                                 QStringLiteral("van.fil")}
                                  << QString() << false
                                  << QStringLiteral("one log at most, not 2: car.fil, van.fil");
        // Qt's own options are taken out by QApplication; what is left is read as before.
        QTest::newRow("Qt's option and --version")
            << QStringList{QStringLiteral("-platform"), offscreen, QStringLiteral("--version")}
            << QString() << true << version;
        QTest::newRow("Qt's option and an unknown one")
            << QStringList{QStringLiteral("-reverse"), QStringLiteral("--frobnicate")} << offscreen
            << false << unknown;
    }

    void answersWithoutOpeningAWindow() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, platform);
        QFETCH(bool, succeeds);
        QFETCH(QString, printed);

        QProcess process;
        prepare(process, platform);
        process.setArguments(arguments);
        process.start();
        QVERIFY(process.waitForFinished(30000));
        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode() == 0, succeeds);
        QVERIFY2((succeeds ? out : err).contains(printed), qPrintable(out + err));
        QVERIFY2((succeeds ? err : out).isEmpty(), qPrintable(out + err));
        QCOMPARE(filesWritten(), QStringList());
    }

    // tankometer car.fil opens car.fil of the working folder and keeps it as the last vehicle.
    void opensTheLogGiven() {
        const QString car = QDir(folder("work")).filePath(QStringLiteral("car.fil"));
        QVERIFY(CFuelDatabase(car).save());
        QProcess process;
        prepare(process, QStringLiteral("offscreen"));
        process.setArguments({QStringLiteral("car.fil")});
        process.start();
        QVERIFY(process.waitForStarted());
        QSettings settings(QDir(folder("config")).filePath(QStringLiteral("Tankometer.conf")),
                           QSettings::IniFormat);
        const bool opened = QTest::qWaitFor(
            [&] {
                settings.sync();
                return settings.value(QStringLiteral("Database")).toString() ==
                       QFileInfo(car).canonicalFilePath();
            },
            30000);
        process.kill();
        process.waitForFinished();
        QVERIFY2(opened, process.readAllStandardError().constData());
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
