#include "core/logdocument.h"
#include "core/paths.h"
#include "core/recovery.h"
#include "filebytes.h"
#include "fullfilesystem.h"
#include "localisation/language.h"
#include "testtime.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <limits>
#include <optional>
#include <sys/stat.h>

namespace {

FillRecord fillOn(int day) {
    FillRecord fill;
    fill.odometer = 1000 * day;
    fill.fuel = 40.0f + float(day);
    fill.dateTime = fileTimeOf(2024, 3, day, 12);
    return fill;
}

// A log of the given days, written at path.
void writeLog(const QString& path, std::initializer_list<int> days) {
    CFuelDatabase database(path);
    for (const int day : days)
        database.insertFill(fillOn(day));
    QVERIFY(database.save());
}

int fillsIn(const QString& path) {
    DatabaseTables tables;
    return readDatabaseFile(path, &tables) == DatabaseReadStatus::Complete
               ? int(tables.fills.size())
               : -1;
}

QString modeOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return QStringLiteral("none");
    return QString::number(status.st_mode & 07777, 8);
}

void setModified(const QString& path, const QDateTime& time) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

constexpr int kNoLog = std::numeric_limits<int>::min();

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init() {
        language().clear();
        QDir(QDir(stateFolder()).filePath(QStringLiteral("recovery"))).removeRecursively();
        QFile::remove(QDir(stateFolder()).filePath(QStringLiteral("recovery")));
    }

    // The log cannot be written: the open fills go to the log's recovery file at once, private
    // to the user, and the window is told where; a signal's save then needs no question. A
    // recovery file of an earlier session is moved aside, never written over.
    void anUnwritableLogGoesToItsRecoveryFile_data() {
        QTest::addColumn<QString>("failure"); // "folder", "full" or "nowhere"
        QTest::addColumn<bool>("earlier");    // a recovery file of an earlier session is there
        QTest::newRow("folder replaced by a file") << "folder" << true;
        QTest::newRow("full disk") << "full" << false;
        QTest::newRow("recovery folder unwritable too") << "nowhere" << false;
    }
    void anUnwritableLogGoesToItsRecoveryFile() {
        QFETCH(QString, failure);
        QFETCH(bool, earlier);
        const QString folder = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        std::optional<FullFileSystem> disk;
        if (failure == QLatin1String("full")) {
            disk.emplace(folder);
            REQUIRE_MOUNTED(*disk);
        }
        const QString log = QDir(folder).filePath(QStringLiteral("tkbase.fil"));
        writeLog(log, {1});
        const QString recovery = recoveryFilePath(log);
        QCOMPARE(QFileInfo(recovery).path(),
                 QDir(stateFolder()).filePath(QStringLiteral("recovery")));
        QVERIFY(recoveryFilePath(m_dir.filePath(QStringLiteral("tkbase.fil"))) != recovery);
        if (earlier)
            writeLog(recovery, {9});
        if (failure == QLatin1String("nowhere")) {
            QDir(QFileInfo(recovery).path()).removeRecursively();
            writeAll(QFileInfo(recovery).path(), "not a folder");
        }

        CLogDocument document(log);
        QStringList messages;
        document.setMessageSink([&messages](const QString& text) { messages.append(text); });
        document.load();
        QSignalSpy notices(&document, &CLogDocument::notice);
        if (failure == QLatin1String("full")) {
            QVERIFY(disk->fill());
        } else {
            QVERIFY(QDir().rename(folder, folder + QStringLiteral(".moved")));
            writeAll(folder, "a file where the folder was");
        }
        document.addFill(QStringLiteral("Aral"), fillOn(2), QString());
        QTRY_COMPARE(notices.size(), 1);
        QCOMPARE(messages.size(), 1);

        if (failure == QLatin1String("nowhere")) {
            QVERIFY(document.recoveryPath().isEmpty());
            QVERIFY(notices.first().first().toString().contains(
                translate(Text::Main_RecoveryFailed).arg(QDir::toNativeSeparators(recovery))));
            QCOMPARE(document.saveWithoutQuestions(), SavedTo::Nowhere);
        } else {
            QCOMPARE(fillsIn(recovery), 2);
            QCOMPARE(modeOf(recovery), QStringLiteral("600"));
            QCOMPARE(modeOf(QFileInfo(recovery).path()), QStringLiteral("700"));
            QCOMPARE(document.recoveryPath(), recovery);
            const QString said =
                translate(Text::Main_RecoveryWritten).arg(QDir::toNativeSeparators(recovery));
            QVERIFY(notices.first().first().toString().contains(said));
            QVERIFY(messages.first().contains(said));
            QCOMPARE(fillsIn(recovery + QStringLiteral(".bak")), earlier ? 1 : -1);
            // A signal's save: one more fill reaches the recovery file, and nothing is asked.
            document.addFill(QStringLiteral("Aral"), fillOn(3), QString());
            QCOMPARE(document.saveWithoutQuestions(), SavedTo::Recovery);
            QCOMPARE(fillsIn(recovery), 3);
        }
        QCOMPARE(messages.size(), 1);
    }

    // A recovery file is offered only when it is newer than its log (or the log is gone) and
    // reads whole.
    void aRecoveryFileNewerThanItsLogIsPending_data() {
        QTest::addColumn<int>("logAge"); // seconds older than the recovery file; kNoLog: none
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<bool>("pending");
        QTest::newRow("log older") << 60 << false << true;
        QTest::newRow("log newer") << -60 << false << false;
        QTest::newRow("log gone") << kNoLog << false << true;
        QTest::newRow("recovery file damaged") << 60 << true << false;
    }
    void aRecoveryFileNewerThanItsLogIsPending() {
        QFETCH(int, logAge);
        QFETCH(bool, damaged);
        QFETCH(bool, pending);
        const QString log = m_dir.filePath(QStringLiteral("pending.fil"));
        QFile::remove(log);
        const QString recovery = recoveryFilePath(log);
        writeLog(recovery, {1, 2});
        if (damaged)
            writeAll(recovery, readAll(recovery).chopped(10));
        const QDateTime now = QDateTime::currentDateTime();
        setModified(recovery, now);
        if (logAge != kNoLog) {
            writeLog(log, {1});
            setModified(log, now.addSecs(-logAge));
        }
        const std::optional<RecoveredFills> found = pendingRecovery(log);
        QCOMPARE(found.has_value(), pending);
        if (found) {
            QCOMPARE(found->path, recovery);
            QCOMPARE(int(found->tables.fills.size()), 2);
        }
    }
};

QTEST_GUILESS_MAIN(RecoveryTest)
#include "tst_recovery.moc"
