#include "csv/csvwriter.h"
#include "db/fueldatabase.h"
#include "fullfilesystem.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

CFuelDatabase databaseOf(int fills) {
    CFuelDatabase database;
    for (int i = 0; i < fills; ++i) {
        FillRecord fill;
        fill.stationId = database.findOrAddStation(QStringLiteral("Station"));
        fill.odometer = 1000 + i;
        fill.dateTime = FileTime::fromValue(quint64(10'000'000) * quint64(i + 1));
        setFieldText(fill.notes, QStringLiteral("notes of fill %1").arg(i));
        database.insertFill(fill);
    }
    return database;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class FileWriteTest : public QObject {
    Q_OBJECT
private slots:
    void fullFileSystemKeepsEarlierExport_data() {
        QTest::addColumn<int>("fills");
        // A small export stays in the buffer Qt keeps (16 KiB) until the file is committed.
        QTest::newRow("small export") << 3;
        QTest::newRow("large export") << 2000;
    }

    void fullFileSystemKeepsEarlierExport() {
        QFETCH(int, fills);
        QTemporaryDir dir;
        const FullFileSystem full(dir.filePath(QStringLiteral("full")));
        const QString path = dir.filePath(QStringLiteral("full/out.csv"));
        REQUIRE_MOUNTED(full);
        QVERIFY(writeCsvFile(path, databaseOf(1)));
        const QByteArray earlier = readAll(path);
        QVERIFY(full.fill());

        QVERIFY(!writeCsvFile(path, databaseOf(fills)));
        QCOMPARE(readAll(path), earlier);
        QCOMPARE(QDir(dir.filePath(QStringLiteral("full"))).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("filler"), QStringLiteral("out.csv")}));
    }

    void newExportIsPrivate_data() {
        QTest::addColumn<int>("earlierMode"); // 0: no file before
        QTest::addColumn<int>("mode");
        QTest::newRow("new file") << 0 << 0600;
        QTest::newRow("over a file open to others") << 0644 << 0644;
    }

    void newExportIsPrivate() {
        QFETCH(int, earlierMode);
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("out.csv")));
        if (earlierMode != 0)
            QVERIFY(writeCsvFile(QFile::decodeName(path), databaseOf(1)) &&
                    ::chmod(path.constData(), mode_t(earlierMode)) == 0);
        const mode_t savedMask = ::umask(022);
        const bool written = writeCsvFile(QFile::decodeName(path), databaseOf(2));
        ::umask(savedMask);
        struct stat status {};
        QVERIFY(written && ::stat(path.constData(), &status) == 0);
        QCOMPARE(int(status.st_mode & 07777), mode);
    }
};

QTEST_GUILESS_MAIN(FileWriteTest)
#include "tst_filewrite.moc"
