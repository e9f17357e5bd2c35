#include "csv/csvwriter.h"
#include "db/databasefile.h"
#include "db/fueldatabase.h"
#include "fullfilesystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

// Every writer of a file the user keeps: the CSV export and the log (which the per-vehicle
// import writes through as well).
namespace {

enum class Writer { CsvExport, Log };

CFuelDatabase databaseOf(int fills) {
    CFuelDatabase database;
    for (int i = 0; i < fills; ++i) {
        FillRecord fill;
        fill.stationId = database.findOrAddStation(QStringLiteral("Station %1").arg(i % 7));
        fill.odometer = 1000 + i;
        fill.fuel = 40.5f;
        fill.cost = 61.25f;
        fill.dateTime = FileTime::fromValue(quint64(10'000'000) * quint64(i + 1));
        setFieldText(fill.notes, QStringLiteral("notes of fill %1").arg(i));
        database.insertFill(fill);
    }
    return database;
}

bool write(Writer writer, const QString& path, const CFuelDatabase& database) {
    if (writer == Writer::CsvExport)
        return writeCsvFile(path, database);
    return writeDatabaseFile(path, database.header(), database.tables(), false) ==
           DatabaseWriteStatus::Written;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t modeOf(const QString& path) {
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 07777;
}

} // namespace

Q_DECLARE_METATYPE(Writer)

class FileWriteTest : public QObject {
    Q_OBJECT
private slots:
    void fullFileSystemKeepsEarlierFile_data();
    void fullFileSystemKeepsEarlierFile();
    void newFilesArePrivate_data();
    void newFilesArePrivate();
};

void FileWriteTest::fullFileSystemKeepsEarlierFile_data() {
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<int>("fills");
    // A small export stays in the buffer Qt keeps (16 KiB) until the file is committed.
    QTest::newRow("small export") << Writer::CsvExport << 3;
    QTest::newRow("large export") << Writer::CsvExport << 2000;
    QTest::newRow("small log") << Writer::Log << 3;
    QTest::newRow("large log") << Writer::Log << 2000;
}

void FileWriteTest::fullFileSystemKeepsEarlierFile() {
    QFETCH(Writer, writer);
    QFETCH(int, fills);
    QTemporaryDir dir;
    const FullFileSystem full(dir.filePath(QStringLiteral("full")));
    REQUIRE_MOUNTED(full);
    const QString path = dir.filePath(QStringLiteral("full/out"));
    QVERIFY(write(writer, path, databaseOf(1)));
    const QByteArray earlier = readAll(path);
    QVERIFY(full.fill());

    QVERIFY(!write(writer, path, databaseOf(fills)));
    QCOMPARE(readAll(path), earlier);
    QCOMPARE(QDir(dir.filePath(QStringLiteral("full")))
                 .entryList(QDir::Files | QDir::Hidden | QDir::System),
             (QStringList{QStringLiteral("filler"), QStringLiteral("out")}));
}

void FileWriteTest::newFilesArePrivate_data() {
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<int>("earlierMode"); // 0: no file before
    QTest::addColumn<int>("mode");
    for (const Writer writer : {Writer::CsvExport, Writer::Log}) {
        const char* name = writer == Writer::CsvExport ? "export" : "log";
        QTest::addRow("new %s", name) << writer << 0 << 0600;
        QTest::addRow("%s over one open to others", name) << writer << 0644 << 0644;
        QTest::addRow("%s over one open to its group", name) << writer << 0660 << 0660;
    }
}

void FileWriteTest::newFilesArePrivate() {
    QFETCH(Writer, writer);
    QFETCH(int, earlierMode);
    QFETCH(int, mode);
    const mode_t savedMask = ::umask(022);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out"));
    if (earlierMode != 0) {
        QVERIFY(write(writer, path, databaseOf(1)));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(earlierMode)) == 0);
    }
    const bool written = write(writer, path, databaseOf(2));
    ::umask(savedMask);
    QVERIFY(written);
    QCOMPARE(int(modeOf(path)), mode);
}

QTEST_GUILESS_MAIN(FileWriteTest)
#include "tst_filewrite.moc"
