#include "core/logdocument.h"
#include "core/paths.h"
#include "core/recovery.h"
#include "filebytes.h"
#include "localisation/language.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

FillRecord fillOn(int day) {
    FillRecord fill;
    fill.odometer = 1000 * day;
    fill.dateTime = FileTime::fromValue(quint64(day) << 40);
    return fill;
}

int fillsIn(const QString& path) {
    DatabaseTables tables;
    const bool read = readDatabaseFile(path, &tables) == DatabaseReadStatus::Complete;
    return read ? int(tables.fills.size()) : -1;
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // The log's folder is replaced by a file while it is open: the open fills go to the log's
    // recovery file at once, every log to its own, and the window is told where; a signal's save
    // then asks nothing. A recovery file of an earlier session is moved aside, never written
    // over. Where the recovery file cannot be written either, the window says so.
    void anUnwritableLogGoesToItsRecoveryFile_data() {
        QTest::addColumn<bool>("recoverable");
        QTest::newRow("recovery file written") << true;
        QTest::newRow("recovery folder unwritable") << false;
    }
    void anUnwritableLogGoesToItsRecoveryFile() {
        QFETCH(bool, recoverable);
        language().clear();
        const QString folder = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        const QString log = QDir(folder).filePath(QStringLiteral("tkbase.fil"));
        const QString recovery = recoveryFilePath(log);
        QVERIFY(recoveryFilePath(m_dir.filePath(QStringLiteral("tkbase.fil"))) != recovery);
        QVERIFY(QDir().mkpath(folder));
        for (const QString& path : {log, recovery}) {
            CFuelDatabase database(path);
            database.insertFill(fillOn(path == log ? 1 : 9)); // the earlier session's
            QVERIFY(database.save());
        }
        const QString recoveryFolder = QFileInfo(recovery).path();
        if (!recoverable) {
            QVERIFY(QDir(recoveryFolder).removeRecursively());
            writeAll(recoveryFolder, "not a folder");
        }

        CLogDocument document(log);
        QStringList messages;
        document.setMessageSink([&messages](const QString& text) { messages.append(text); });
        document.load();
        QSignalSpy notices(&document, &CLogDocument::notice);
        QVERIFY(QDir().rename(folder, folder + QStringLiteral(".moved")));
        writeAll(folder, "a file where the folder was");
        document.addFill(QStringLiteral("Aral"), fillOn(2), QString());
        QTRY_COMPARE(notices.size(), 1);
        QCOMPARE(messages.size(), 1);
        const QString said =
            translate(recoverable ? Text::Main_RecoveryWritten : Text::Main_RecoveryFailed)
                .arg(QDir::toNativeSeparators(recovery));
        QVERIFY(notices.first().first().toString().contains(said));
        QVERIFY(messages.first().contains(said));
        QCOMPARE(document.recoveryPath(), recoverable ? recovery : QString());
        QCOMPARE(fillsIn(recovery), recoverable ? 2 : -1);
        QCOMPARE(fillsIn(recovery + QStringLiteral(".bak")), recoverable ? 1 : -1);

        document.addFill(QStringLiteral("Aral"), fillOn(3), QString());
        QCOMPARE(document.saveWithoutQuestions(),
                 recoverable ? SavedTo::Recovery : SavedTo::Nowhere);
        QCOMPARE(fillsIn(recovery), recoverable ? 3 : -1);
        QCOMPARE(messages.size(), 1);
        if (!recoverable)
            QVERIFY(QFile::remove(recoveryFolder));
    }
};

QTEST_GUILESS_MAIN(RecoveryTest)
#include "tst_recovery.moc"
