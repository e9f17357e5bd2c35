#include "csv/csvwriter.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "filebytes.h"
#include "fullfilesystem.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdarg>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

Q_DECLARE_METATYPE(DatabaseWriteStatus)

// Every fsync and open of the program comes here (a definition in the executable wins over the
// C library's): fsync notes whether a file or a folder was flushed and fails the chosen call;
// open can act as on a file system without unnamed files (O_TMPFILE).
namespace {
QStringList g_flushes;
int g_failingFlush = 0; // counted from 1; -1 for every one
int g_flushError = 0;
bool g_noUnnamedFiles = false;
} // namespace

extern "C" int fsync(int descriptor) {
    struct stat status;
    const bool folder = ::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode);
    g_flushes << (folder ? QStringLiteral("folder") : QStringLiteral("file"));
    if (g_failingFlush == -1 || g_failingFlush == g_flushes.size()) {
        errno = g_flushError;
        return -1;
    }
    return int(::syscall(SYS_fsync, descriptor));
}

extern "C" int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(arguments, mode_t) : 0;
    va_end(arguments);
    if (g_noUnnamedFiles && (flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return int(::syscall(SYS_openat, AT_FDCWD, path, flags, mode));
}

// Every rename of the program comes here too: the chosen one is preceded by another program's
// rename of its own copy over the same target, the moment after the write's last look at it.
namespace {
QByteArray g_foreignCopy; // put in place before the next rename onto g_foreignTarget
QByteArray g_foreignTarget;
bool g_noNameSwaps = false; // as on a file system that cannot swap two names
void putForeignCopy(const char* target) {
    if (g_foreignCopy.isEmpty() || g_foreignTarget != target)
        return;
    const QByteArray side = g_foreignTarget + ".sync";
    QFile file(QFile::decodeName(side));
    if (file.open(QIODevice::WriteOnly) && file.write(g_foreignCopy) == g_foreignCopy.size()) {
        file.close();
        ::syscall(SYS_rename, side.constData(), target);
    }
    g_foreignCopy.clear();
}
} // namespace
extern "C" int rename(const char* from, const char* to) {
    putForeignCopy(to);
    return int(::syscall(SYS_rename, from, to));
}
extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to,
                         unsigned int flags) {
    if (g_noNameSwaps && flags != 0) {
        errno = EINVAL;
        return -1;
    }
    putForeignCopy(to);
    return int(::syscall(SYS_renameat2, fromFolder, from, toFolder, to, flags));
}

// The file images here are built byte by byte, independent of the record structures, so that
// a layout mistake in the records or the file code shows up as a difference.
namespace {

const QString kHeaderMessage = QStringLiteral("Error loading database header!");
const QString kVersionMessage =
    QStringLiteral("Unknown database version!\nNo data will be loaded.");
const QString kStationsMessage = QStringLiteral("Error loading database of stations!");
const QString kDriversMessage = QStringLiteral("Error loading database of drivers!");
const QString kFillsMessage = QStringLiteral("Error loading database of fills!");
const QString kCreateMessage = QStringLiteral("Could not create the file!");
const QString kSaveMessage = QStringLiteral("Error saving data!");

void putInt(QByteArray* bytes, qint32 value) {
    char le[4];
    qToLittleEndian(value, le);
    bytes->append(le, 4);
}

void putFloat(QByteArray* bytes, float value) {
    quint32 bits;
    std::memcpy(&bits, &value, 4);
    putInt(bytes, qint32(bits));
}

// A text field of the given width; units after the terminator may carry leftovers.
void putText(QByteArray* bytes, const QString& text, int units, const QString& leftover = {}) {
    QString field = text + QChar(u'\0') + leftover;
    field.resize(units, QChar(u'\0'));
    for (QChar c : field) {
        char le[2];
        qToLittleEndian(c.unicode(), le);
        bytes->append(le, 2);
    }
}

QByteArray headerBytes(qint32 formatMajor, qint32 formatMinor,
                       const QString& magic = QStringLiteral("TK")) {
    QByteArray bytes;
    for (QChar c : magic.left(2)) {
        char le[2];
        qToLittleEndian(c.unicode(), le);
        bytes.append(le, 2);
    }
    for (qint32 word : {1, 2, 0, formatMajor, formatMinor, 0})
        putInt(&bytes, word);
    return bytes;
}

QByteArray stationBytes(qint32 id, const QString& name, const QString& leftover = {}) {
    QByteArray bytes;
    putInt(&bytes, id);
    putText(&bytes, name, 32, leftover);
    return bytes;
}

QByteArray driverBytes(qint32 id, const QString& name) {
    QByteArray bytes;
    putInt(&bytes, id);
    putText(&bytes, name, 20);
    return bytes;
}

QByteArray legacyFillBytes(qint32 station, const QString& notes, qint32 odometer, quint64 time,
                           const QString& leftover = {}) {
    QByteArray bytes;
    putInt(&bytes, station);
    putText(&bytes, notes, 50, leftover);
    putInt(&bytes, odometer);
    putFloat(&bytes, 40.5f);
    putFloat(&bytes, 61.25f);
    putInt(&bytes, qint32(time & 0xffffffffu));
    putInt(&bytes, qint32(time >> 32));
    return bytes;
}

QByteArray fillBytes(qint32 station, const QString& notes, qint32 odometer, quint64 time,
                     qint32 driver, const QString& leftover = {}) {
    QByteArray bytes = legacyFillBytes(station, notes, odometer, time, leftover);
    putInt(&bytes, driver);
    return bytes;
}

struct Counts {
    qint32 stations, fills, drivers;
};

QByteArray format10(const QByteArrayList& stations, const QByteArrayList& drivers,
                    const QByteArrayList& fills, std::optional<Counts> counts = {}) {
    const Counts c = counts.value_or(
        Counts{qint32(stations.size()), qint32(fills.size()), qint32(drivers.size())});
    QByteArray bytes = headerBytes(1, 0) + QByteArray(256, '\0');
    putInt(&bytes, c.stations);
    putInt(&bytes, c.fills);
    putInt(&bytes, c.drivers);
    return bytes + stations.join() + drivers.join() + fills.join();
}

QByteArray format01(const QByteArrayList& stations, const QByteArrayList& fills,
                    std::optional<Counts> counts = {}) {
    const Counts c = counts.value_or(Counts{qint32(stations.size()), qint32(fills.size()), 0});
    QByteArray bytes = headerBytes(0, 1);
    putInt(&bytes, c.stations);
    putInt(&bytes, c.fills);
    return bytes + stations.join() + fills.join();
}

const QByteArrayList kStations = {stationBytes(0, QStringLiteral("Aral")),
                                  stationBytes(1, QStringLiteral("Shell"))};
const QByteArrayList kDrivers = {driverBytes(0, QStringLiteral("Eva"))};
const QByteArrayList kFills = {fillBytes(0, QStringLiteral("first"), 1000, 100, 0),
                               fillBytes(1, QString(), 1500, 200, -1),
                               fillBytes(0, QStringLiteral("third"), 2000, 300, 0)};
const QByteArrayList kLegacyFills = {legacyFillBytes(0, QStringLiteral("a"), 1000, 100),
                                     legacyFillBytes(1, QStringLiteral("b"), 1500, 200),
                                     legacyFillBytes(0, QStringLiteral("c"), 2000, 300)};

template <typename Record> QByteArray recordBytes(const Record* record) {
    return record ? QByteArray(reinterpret_cast<const char*>(record), sizeof(Record))
                  : QByteArray();
}

qint32 intAt(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

} // namespace

class DatabaseFileTest : public QObject {
    Q_OBJECT
private slots:
    void init();

    void missingFileSavesEmptyDatabase();
    void magic_data();
    void magic();
    void formatPair_data();
    void formatPair();
    void format10CutAtEveryOffset();
    void format01CutAtEveryOffset();
    void impossibleCounts_data();
    void impossibleCounts();
    void randomBytes();
    void fillsSortedOnLoad();
    void fillsOutOfOrderAnywhereSorted_data();
    void fillsOutOfOrderAnywhereSorted();
    void longTablesReadWhole_data();
    void longTablesReadWhole();
    void saveLayout_data();
    void saveLayout();
    void roundTripKeepsBytes();
    void format01SavedAsFormat10();
    void writtenFromTablesAsOneBuffer_data();
    void writtenFromTablesAsOneBuffer();

    void saveWhereFolderIsFile();
    void saveOverDirectory();
    void shortWriteKeepsPreviousFile_data();
    void shortWriteKeepsPreviousFile();
    void flushes_data();
    void flushes();
    void fullDiskKeepsPreviousFile_data();
    void fullDiskKeepsPreviousFile();
    void replacesOnlyRegularFiles();
    void removesOnlyStaleTemporaryFiles_data();
    void removesOnlyStaleTemporaryFiles();
    void csvExportFlushesItsFolder();
    void copyRenamedAtTheLastMomentStays_data();
    void copyRenamedAtTheLastMomentStays();
    void writtenWhereNamesCannotBeSwapped();
    void stampTellsVersionsApart();

    void unreadFileBackedUpOnFirstSave_data();
    void unreadFileBackedUpOnFirstSave();
    void backupNumbering();
    void noBackupWithoutSave();

private:
    // A database on the test's file whose messages land in m_messages.
    std::unique_ptr<CFuelDatabase> database();
    // A database already holding one fill (odometer 777) before it loads path.
    std::unique_ptr<CFuelDatabase> loadOverOneFill();
    // Writes bytes to a file of a new name and makes it the test's file. Loops use it because
    // truncating one file over and over is slow on disks that discard freed blocks.
    void writeNewFile(const QByteArray& bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    QStringList m_messages;
    int m_fileNumber = 0;
};

std::unique_ptr<CFuelDatabase> DatabaseFileTest::database() {
    auto db = std::make_unique<CFuelDatabase>(m_path);
    db->setMessageSink([this](const QString& message) { m_messages << message; });
    return db;
}

std::unique_ptr<CFuelDatabase> DatabaseFileTest::loadOverOneFill() {
    auto db = database();
    FillRecord fill;
    fill.odometer = 777;
    db->insertFill(fill);
    db->load();
    return db;
}

void DatabaseFileTest::writeNewFile(const QByteArray& bytes) {
    m_path = m_dir->filePath(QStringLiteral("case%1.fil").arg(++m_fileNumber));
    writeAll(m_path, bytes);
}

void DatabaseFileTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("tkbase.fil"));
    m_messages.clear();
    g_noNameSwaps = false;
}

void DatabaseFileTest::missingFileSavesEmptyDatabase() {
    auto db = loadOverOneFill();
    QCOMPARE(db->getFillCount(), 0);
    QVERIFY(db->save());
    QCOMPARE(readAll(m_path), format10({}, {}, {}));
    QCOMPARE(readAll(m_path).size(), 296);
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("tkbase.fil")});
}

void DatabaseFileTest::magic_data() {
    QTest::addColumn<QString>("magic");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("TK") << "TK" << true;
    QTest::newRow("tk") << "tk" << true;
    QTest::newRow("Tk") << "Tk" << true;
    QTest::newRow("KT") << "KT" << false;
    QTest::newRow("TX") << "TX" << false;
    QTest::newRow("zeros") << QString(2, QChar(u'\0')) << false;
    QTest::newRow("Cyrillic look-alike") << QStringLiteral("ТК") << false;
    QTest::newRow("Kelvin sign") << QStringLiteral("T\u212A") << false;
}

void DatabaseFileTest::magic() {
    QFETCH(QString, magic);
    QFETCH(bool, accepted);
    QByteArray bytes = format10(kStations, kDrivers, kFills);
    bytes.replace(0, 28, headerBytes(1, 0, magic));
    writeAll(m_path, bytes);

    auto db = loadOverOneFill();
    if (accepted) {
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(db->getFillCount(), 3);
        QVERIFY(db->save());
        QCOMPARE(readAll(m_path), format10(kStations, kDrivers, kFills));
    } else {
        QCOMPARE(m_messages, QStringList{kHeaderMessage});
        QCOMPARE(db->getFillCount(), 1);
        QCOMPARE(db->getFill(0)->odometer, 777);
    }
}

void DatabaseFileTest::formatPair_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("1.0") << 1 << 0 << true;
    QTest::newRow("0.1") << 0 << 1 << true;
    QTest::newRow("1.1") << 1 << 1 << false;
    QTest::newRow("0.0") << 0 << 0 << false;
    QTest::newRow("2.0") << 2 << 0 << false;
    QTest::newRow("0.2") << 0 << 2 << false;
    QTest::newRow("-1.0") << -1 << 0 << false;
    QTest::newRow("65537.0") << 65537 << 0 << false;
}

void DatabaseFileTest::formatPair() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, accepted);
    const QByteArray body =
        (major == 0 && minor == 1 ? format01(kStations, {}) : format10(kStations, {}, {})).mid(28);
    const QByteArray bytes = headerBytes(major, minor) + body;
    writeAll(m_path, bytes);

    auto db = loadOverOneFill();
    QCOMPARE(m_messages, accepted ? QStringList() : QStringList{kVersionMessage});
    QCOMPARE(db->getFillCount(), 0);
    QCOMPARE(db->getStationCount(), accepted ? 2 : 0);
}

// Every prefix of a valid file: the right message and exactly the records that arrived whole.
// A file of the header alone (length 28) is an empty database without a message.
void DatabaseFileTest::format10CutAtEveryOffset() {
    const QByteArray whole = format10(kStations, kDrivers, kFills);
    QCOMPARE(whole.size(), 860);
    for (qsizetype length = 0; length <= whole.size(); ++length) {
        writeNewFile(whole.left(length));
        m_messages.clear();
        auto db = loadOverOneFill();
        const QString at = QStringLiteral(" at length %1").arg(length);

        QString message;
        qsizetype stations = 0, drivers = 0, fills = 0;
        if (length < 28) {
            message = kHeaderMessage;
            fills = 1;
        } else if (length < 288) {
            // Counts that do not arrive are 0: nothing is promised, nothing is missing.
        } else if (length < 432) {
            message = kStationsMessage;
            stations = std::max<qsizetype>(0, length - 296) / 68;
        } else if (length < 476) {
            message = kDriversMessage;
            stations = 2;
        } else if (length < 860) {
            message = kFillsMessage;
            stations = 2;
            drivers = 1;
            fills = (length - 476) / 128;
        } else {
            stations = 2;
            drivers = 1;
            fills = 3;
        }
        QVERIFY2(m_messages == (message.isEmpty() ? QStringList() : QStringList{message}),
                 qPrintable(m_messages.join(u'|') + at));
        QVERIFY2(db->getStationCount() == stations && db->getDriverCount() == drivers &&
                     db->getFillCount() == fills,
                 qPrintable(at));
        if (length < 28)
            continue;
        for (int i = 0; i < stations; ++i)
            QCOMPARE(recordBytes(db->getStation(i)), kStations.at(i));
        for (int i = 0; i < drivers; ++i)
            QCOMPARE(recordBytes(db->getDriver(i)), kDrivers.at(i));
        for (int i = 0; i < fills; ++i)
            QCOMPARE(recordBytes(db->getFill(i)), kFills.at(i));
    }
}

void DatabaseFileTest::format01CutAtEveryOffset() {
    const QByteArray whole = format01(kStations, kLegacyFills);
    QCOMPARE(whole.size(), 544);
    for (qsizetype length = 0; length <= whole.size(); ++length) {
        writeNewFile(whole.left(length));
        m_messages.clear();
        auto db = loadOverOneFill();
        const QString at = QStringLiteral(" at length %1").arg(length);

        QString message;
        qsizetype stations = 0, fills = 0;
        if (length < 28) {
            message = kHeaderMessage;
            fills = 1;
        } else if (length < 32) {
        } else if (length < 172) {
            message = kStationsMessage;
            stations = std::max<qsizetype>(0, length - 36) / 68;
        } else if (length < 544) {
            message = kFillsMessage;
            stations = 2;
            fills = (length - 172) / 124;
        } else {
            stations = 2;
            fills = 3;
        }
        QVERIFY2(m_messages == (message.isEmpty() ? QStringList() : QStringList{message}),
                 qPrintable(m_messages.join(u'|') + at));
        QVERIFY2(db->getStationCount() == stations && db->getDriverCount() == 0 &&
                     db->getFillCount() == fills,
                 qPrintable(at));
        if (length < 28)
            continue;
        for (int i = 0; i < fills; ++i)
            QCOMPARE(recordBytes(db->getFill(i)).left(124), kLegacyFills.at(i));
    }
}

// Counts that the file cannot hold are refused before anything is allocated (a sanitizer
// build would abort on the allocation) and keep the whole records that are there.
void DatabaseFileTest::impossibleCounts_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("stations");
    QTest::addColumn<int>("drivers");
    QTest::addColumn<int>("fills");

    QTest::newRow("huge station count")
        << format10(kStations, {}, {}, Counts{INT_MAX, 0, 0}) << kStationsMessage << 2 << 0 << 0;
    QTest::newRow("negative station count")
        << format10(kStations, {}, {}, Counts{-1, 0, 0}) << kStationsMessage << 0 << 0 << 0;
    QTest::newRow("negative driver count")
        << format10(kStations, kDrivers, {}, Counts{2, 0, -5}) << kDriversMessage << 2 << 0 << 0;
    QTest::newRow("huge driver count") << format10({}, kDrivers, kFills, Counts{0, 3, 0x40000000})
                                       << kDriversMessage << 0 << (44 + 3 * 128) / 44 << 0;
    QTest::newRow("huge fill count") << format10(kStations, kDrivers, kFills, Counts{2, INT_MAX, 1})
                                     << kFillsMessage << 2 << 1 << 3;
    QTest::newRow("lowest fill count")
        << format10(kStations, kDrivers, kFills, Counts{2, INT_MIN, 1}) << kFillsMessage << 2 << 1
        << 0;
    QTest::newRow("one fill promised too many")
        << format10(kStations, kDrivers, kFills, Counts{2, 4, 1}) << kFillsMessage << 2 << 1 << 3;
    QTest::newRow("0.1 huge fill count")
        << format01(kStations, kLegacyFills, Counts{2, INT_MAX, 0}) << kFillsMessage << 2 << 0 << 3;
    QTest::newRow("0.1 negative station count")
        << format01(kStations, kLegacyFills, Counts{INT_MIN, 3, 0}) << kStationsMessage << 0 << 0
        << 0;
}

void DatabaseFileTest::impossibleCounts() {
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(int, stations);
    QFETCH(int, drivers);
    QFETCH(int, fills);
    writeAll(m_path, file);
    auto db = loadOverOneFill();
    QCOMPARE(m_messages, QStringList{message});
    QCOMPARE(db->getStationCount(), stations);
    QCOMPARE(db->getDriverCount(), drivers);
    QCOMPARE(db->getFillCount(), fills);
}

// Random files, some behind a valid header with random counts: at most one fixed message and
// never more records than the bytes after the counts hold.
void DatabaseFileTest::randomBytes() {
    const QStringList known = {kHeaderMessage, kVersionMessage, kStationsMessage, kDriversMessage,
                               kFillsMessage};
    QRandomGenerator random(20260101);
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes(random.bounded(2000), '\0');
        for (char& byte : bytes)
            byte = char(random.bounded(256));
        const int kind = random.bounded(3);
        if (kind > 0) {
            QByteArray prefix =
                kind == 1 ? headerBytes(1, 0) + QByteArray(256, '\0') : headerBytes(0, 1);
            for (int i = 0; i < 3; ++i)
                putInt(&prefix,
                       random.bounded(2) ? qint32(random.bounded(12)) : qint32(random.generate()));
            bytes.prepend(prefix);
        }
        writeNewFile(bytes);
        m_messages.clear();
        auto db = database();
        db->load();

        QVERIFY(m_messages.size() <= 1);
        QVERIFY(m_messages.isEmpty() || known.contains(m_messages.first()));
        const qsizetype tableStart = kind == 2 ? 36 : 296;
        const qsizetype fillSize = kind == 2 ? 124 : 128;
        const qsizetype used =
            68 * db->getStationCount() + 44 * db->getDriverCount() + fillSize * db->getFillCount();
        QVERIFY(used == 0 || tableStart + used <= bytes.size());
    }
}

void DatabaseFileTest::fillsSortedOnLoad() {
    writeAll(m_path, format10(kStations, kDrivers, {kFills[2], kFills[0], kFills[1]}));
    auto db = database();
    db->load();
    QCOMPARE(db->getFillCount(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(recordBytes(db->getFill(i)), kFills.at(i));
}

void DatabaseFileTest::fillsOutOfOrderAnywhereSorted_data() {
    QTest::addColumn<bool>("legacy");
    QTest::addColumn<int>("fillCount");
    QTest::addColumn<int>("swapped"); // swapped with the fill after it; -1 for none
    QTest::newRow("in order") << false << 1500 << -1;
    QTest::newRow("first two") << false << 3 << 0;
    QTest::newRow("last two") << false << 1500 << 1498;
    // The table arrives in reads of 1 024 records.
    QTest::newRow("across two reads") << false << 1500 << 1023;
    QTest::newRow("legacy format") << true << 3 << 1;
}

void DatabaseFileTest::fillsOutOfOrderAnywhereSorted() {
    QFETCH(bool, legacy);
    QFETCH(int, fillCount);
    QFETCH(int, swapped);
    QByteArrayList fills;
    for (int i = 0; i < fillCount; ++i) {
        fills << (legacy ? legacyFillBytes(0, QString(), i, quint64(i))
                         : fillBytes(0, QString(), i, quint64(i), 0));
    }
    if (swapped >= 0)
        fills.swapItemsAt(swapped, swapped + 1);
    writeAll(m_path, legacy ? format01(kStations, fills) : format10(kStations, kDrivers, fills));
    auto db = database();
    db->load();
    QCOMPARE(db->getFillCount(), fillCount);
    for (int i = 0; i < fillCount; ++i)
        QCOMPARE(db->getFill(i)->odometer, i);
}

void DatabaseFileTest::longTablesReadWhole_data() {
    QTest::addColumn<bool>("legacy");
    QTest::addColumn<int>("fillCount");
    QTest::addColumn<int>("bytesCut");
    QTest::addColumn<int>("expectedFills");

    for (const bool legacy : {false, true}) {
        const char* format = legacy ? "0.1" : "1.0";
        for (const int count : {1023, 1024, 1025, 2500}) {
            QTest::addRow("%s, %d fills", format, count) << legacy << count << 0 << count;
            QTest::addRow("%s, %d fills, the last cut", format, count)
                << legacy << count << 70 << count - 1;
        }
        QTest::addRow("%s, 2048 fills, the last two gone", format)
            << legacy << 2048 << 2 * 124 - 1 << 2046;
    }
}

// Long tables come in several reads: every record arrives once, in file order, whole.
void DatabaseFileTest::longTablesReadWhole() {
    QFETCH(bool, legacy);
    QFETCH(int, fillCount);
    QFETCH(int, bytesCut);
    QFETCH(int, expectedFills);

    QByteArrayList fills;
    for (int i = 0; i < fillCount; ++i) {
        fills << (legacy ? legacyFillBytes(i % 2, QString::number(i), i, quint64(i))
                         : fillBytes(i % 2, QString::number(i), i, quint64(i), 0));
    }
    QByteArray bytes = legacy ? format01(kStations, fills) : format10(kStations, kDrivers, fills);
    bytes.chop(bytesCut);
    writeAll(m_path, bytes);
    auto db = database();
    db->load();
    QCOMPARE(m_messages, bytesCut ? QStringList{kFillsMessage} : QStringList());
    QCOMPARE(db->getFillCount(), expectedFills);
    for (int i = 0; i < expectedFills; ++i) {
        QByteArray expected = fills.at(i);
        if (legacy)
            putInt(&expected, -1);
        QCOMPARE(recordBytes(db->getFill(i)), expected);
    }
}

// The readings go in the unit the log was created in, whatever it is shown in later; the
// settings block's byte 26 names it. A log without units chosen keeps a block of zeros, one in
// kilometres a 0 there, as before that byte existed.
void DatabaseFileTest::saveLayout_data() {
    QTest::addColumn<int>("created"); // the distance unit's code; -1 for no units chosen
    QTest::addColumn<int>("shown");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QList<int>>("odometers");
    QTest::newRow("no units") << -1 << 0 << QStringList{"1000", "1001"} << QList<int>{1000, 1001};
    QTest::newRow("km") << 0 << 0 << QStringList{"1000", "1001"} << QList<int>{1000, 1001};
    QTest::newRow("miles") << 1 << 1 << QStringList{"300", "301"} << QList<int>{300, 301};
    QTest::newRow("miles shown in km")
        << 1 << 0 << QStringList{"483", "484"} << QList<int>{300, 301};
}

void DatabaseFileTest::saveLayout() {
    QFETCH(int, created);
    QFETCH(int, shown);
    QFETCH(QStringList, typed);
    QFETCH(QList<int>, odometers);
    auto db = database();
    if (created >= 0) {
        LogUnits units;
        units.distance = DistanceUnit(created);
        db->setNewLogUnits(units);
        units.distance = DistanceUnit(shown);
        units.stored = DistanceUnit(1 - created); // no display change moves the readings
        db->setUnits(units);
    }
    const int station = db->findOrAddStation(QStringLiteral("Aral"));
    const int driver = db->findOrAddDriver(QStringLiteral("Eva"));
    for (int i = 0; i < 2; ++i) {
        FillRecord fill;
        fill.stationId = station;
        fill.driverId = driver;
        QVERIFY(readOdometer(typed.at(i), db->units(), &fill.odometer));
        fill.fuel = 40.5f;
        fill.cost = 61.25f;
        fill.dateTime = FileTime::fromValue(0x01dc000000000000ull + quint64(i));
        setFieldText(fill.notes, QStringLiteral("n%1").arg(i));
        db->insertFill(fill);
    }
    QVERIFY(db->save());

    const QByteArray bytes = readAll(m_path);
    QCOMPARE(bytes.size(), 664);
    QCOMPARE(intAt(bytes, 284), 1);
    QCOMPARE(intAt(bytes, 288), 2);
    QCOMPARE(intAt(bytes, 292), 1);
    QByteArray expected =
        format10({stationBytes(0, QStringLiteral("Aral"))}, {driverBytes(0, QStringLiteral("Eva"))},
                 {fillBytes(0, QStringLiteral("n0"), odometers.at(0), 0x01dc000000000000ull, 0),
                  fillBytes(0, QStringLiteral("n1"), odometers.at(1), 0x01dc000000000001ull, 0)});
    if (created >= 0) {
        QCOMPARE(bytes.mid(28, 4), QByteArray("TKLS"));
        QCOMPARE(int(bytes.at(28 + 6)), shown);
        QCOMPARE(int(bytes.at(28 + 26)), created);
        expected.replace(28, 256, bytes.mid(28, 256));
    }
    QCOMPARE(bytes, expected);
    QVERIFY(m_messages.isEmpty());
}

// Leftover units behind a terminator belong to the record and are written back as they were.
void DatabaseFileTest::roundTripKeepsBytes() {
    const QByteArray bytes =
        format10({stationBytes(0, QStringLiteral("Aral"), QStringLiteral("old name"))}, kDrivers,
                 {fillBytes(0, QStringLiteral("x"), 5, 7, 3, QStringLiteral("older notes"))});
    writeAll(m_path, bytes);
    auto db = database();
    db->load();
    QVERIFY(db->save());
    QCOMPARE(readAll(m_path), bytes);
}

void DatabaseFileTest::format01SavedAsFormat10() {
    // Out of time order, one note with leftovers, one filling the whole field.
    const QByteArrayList legacy = {
        legacyFillBytes(1, QStringLiteral("late"), 3000, 900, QStringLiteral("junk")),
        legacyFillBytes(0, QString(50, u'n'), 1000, 100),
        legacyFillBytes(0, QStringLiteral("mid"), 2000, 500)};
    const QByteArray old = format01(kStations, legacy);
    QCOMPARE(old.size(), 36 + 2 * 68 + 3 * 124);
    writeAll(m_path, old);
    auto db = database();
    db->load();
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(db->getStationCount(), 2);
    QCOMPARE(db->getDriverCount(), 0);
    QCOMPARE(db->getFillCount(), 3);
    QVERIFY(db->save());

    const QByteArray saved = readAll(m_path);
    QCOMPARE(saved.size(), old.size() + 256 + 4 + 3 * 4);
    QCOMPARE(saved.left(28), headerBytes(1, 0));
    QCOMPARE(saved.mid(28, 256), QByteArray(256, '\0'));
    QCOMPARE(intAt(saved, 284), 2);
    QCOMPARE(intAt(saved, 288), 3);
    QCOMPARE(intAt(saved, 292), 0);
    QCOMPARE(saved.mid(296, 136), kStations.join());
    const QByteArrayList expectedFills = {fillBytes(0, QString(49, u'n'), 1000, 100, -1),
                                          fillBytes(0, QStringLiteral("mid"), 2000, 500, -1),
                                          fillBytes(1, QStringLiteral("late"), 3000, 900, -1)};
    QCOMPARE(saved.mid(432), expectedFills.join());
}

// The file is written piece by piece straight from the tables: the same bytes as the file put
// together in memory first, and as the file they were read from.
void DatabaseFileTest::writtenFromTablesAsOneBuffer_data() {
    QTest::addColumn<QByteArray>("file");
    const QByteArrayList fills = {
        kFills[0], kFills[1],
        fillBytes(1, QStringLiteral("x"), 2500, 400, 0, QStringLiteral("old"))};
    QByteArray settled = format10(kStations, kDrivers, fills);
    for (int i = 0; i < 256; ++i)
        settled[28 + i] = char(i);
    QTest::newRow("empty log") << format10({}, {}, {});
    QTest::newRow("without per-fill section") << settled;
    QTest::newRow("with per-fill section")
        << settled + fillExtrasSection({{}, {true, false}, {false, true}}, 3);
}

void DatabaseFileTest::writtenFromTablesAsOneBuffer() {
    QFETCH(QByteArray, file);
    writeAll(m_path, file);
    DatabaseTables tables;
    FillExtrasStatus extras = FillExtrasStatus::Cut;
    QCOMPARE(readDatabaseFile(m_path, &tables, &extras), DatabaseReadStatus::Complete);
    QVERIFY(extras == FillExtrasStatus::Read || extras == FillExtrasStatus::Absent);
    DatabaseHeader header;
    std::memcpy(&header, file.constData(), sizeof header);

    const QString copy = m_dir->filePath(QStringLiteral("copy.fil"));
    QCOMPARE(writeDatabaseFile(copy, header, tables, false), DatabaseWriteStatus::Written);
    QCOMPARE(readAll(copy), file);
    QCOMPARE(databaseFileBytes(header, tables), file);
}

void DatabaseFileTest::saveWhereFolderIsFile() {
    writeAll(m_dir->filePath(QStringLiteral("plain")), "x");
    auto db = database();
    db->setFilePath(m_dir->filePath(QStringLiteral("plain/tkbase.fil")));
    db->findOrAddStation(QStringLiteral("Aral"));
    QVERIFY(!db->save());
    QCOMPARE(m_messages, QStringList{kCreateMessage});
    QCOMPARE(db->getStationCount(), 1);

    m_messages.clear();
    db->setFilePath(QString());
    QVERIFY(!db->save());
    QCOMPARE(m_messages, QStringList{kCreateMessage});
}

void DatabaseFileTest::saveOverDirectory() {
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("tkbase.fil/inside")));
    auto db = database();
    db->load();
    QVERIFY(m_messages.isEmpty());
    QVERIFY(!db->save());
    QCOMPARE(m_messages, QStringList{kCreateMessage});
    QVERIFY(QFileInfo(m_path + QStringLiteral("/inside")).isDir());
}

// The process may not grow any file past a limit, which fails a write after that many bytes
// even for root. The previous file stays whole and no temporary file is left behind.
void DatabaseFileTest::shortWriteKeepsPreviousFile_data() {
    QTest::addColumn<int>("limit");
    QTest::newRow("nothing written") << 0;
    QTest::newRow("within the header") << 100;
    QTest::newRow("within the fills") << 5000;
}

void DatabaseFileTest::shortWriteKeepsPreviousFile() {
    QFETCH(int, limit);
    const QByteArray previous = format10(kStations, kDrivers, kFills);
    writeAll(m_path, previous);
    auto db = database();
    db->load();
    for (int i = 0; i < 100; ++i) {
        FillRecord fill;
        fill.dateTime = FileTime::fromValue(quint64(1000 + i));
        db->insertFill(fill);
    }

    rlimit saved{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t(limit);
    QVERIFY(setrlimit(RLIMIT_FSIZE, &limited) == 0);
    const bool written = db->save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    QCOMPARE(m_messages, QStringList{kSaveMessage});
    QCOMPARE(readAll(m_path), previous);
    QCOMPARE(db->getFillCount(), 103);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("tkbase.fil")});
}

// The new file is flushed before it replaces the old one and its folder after; the backup is
// flushed, name and all, before that. A failed flush is never reported as written.
void DatabaseFileTest::flushes_data() {
    QTest::addColumn<bool>("unnamedFiles");
    QTest::addColumn<bool>("keepOldFile");
    QTest::addColumn<int>("failingFlush");
    QTest::addColumn<int>("error");
    QTest::addColumn<DatabaseWriteStatus>("expectedStatus");
    QTest::addColumn<QStringList>("expectedFlushes");
    QTest::addColumn<bool>("replaced");

    using S = DatabaseWriteStatus;
    const auto row = [](const char* name, bool keepOldFile, int failingFlush, int error, S status,
                        const QString& flushes, bool replaced) {
        for (const bool unnamed : {true, false}) {
            QTest::addRow("%s%s", name, unnamed ? "" : ", named temporary file")
                << unnamed << keepOldFile << failingFlush << error << status << flushes.split(u' ')
                << replaced;
        }
    };
    row("written", false, 0, 0, S::Written, "file folder", true);
    row("written with a backup", true, 0, 0, S::Written, "file file folder folder", true);
    row("file flush fails", false, 1, EIO, S::WriteFailed, "file", false);
    row("folder flush fails", false, 2, EIO, S::WriteFailed, "file folder", true);
    row("no flushing on this file system", false, -1, EINVAL, S::Written, "file folder", true);
    row("backup flush fails", true, 2, ENOSPC, S::BackupFailed, "file file", false);
}

void DatabaseFileTest::flushes() {
    QFETCH(bool, unnamedFiles);
    QFETCH(bool, keepOldFile);
    QFETCH(int, failingFlush);
    QFETCH(int, error);
    QFETCH(DatabaseWriteStatus, expectedStatus);
    QFETCH(QStringList, expectedFlushes);
    QFETCH(bool, replaced);
    const QByteArray old = format10(kStations, {}, {});
    const QByteArray bytes = format10(kStations, kDrivers, kFills);
    writeAll(m_path, old);

    FileStamp placed;
    placed.size = -1;
    g_flushes.clear();
    g_failingFlush = failingFlush;
    g_flushError = error;
    g_noUnnamedFiles = !unnamedFiles;
    const DatabaseWriteStatus status = writeDatabaseBytes(m_path, bytes, keepOldFile, &placed);
    g_failingFlush = 0;
    g_noUnnamedFiles = false;

    QCOMPARE(status, expectedStatus);
    QCOMPARE(g_flushes, expectedFlushes);
    QCOMPARE(readAll(m_path), replaced ? bytes : old);
    QVERIFY(replaced ? placed == fileStamp(m_path) : placed.size == -1);
    QStringList files = {QStringLiteral("tkbase.fil")};
    if (keepOldFile) {
        files << QStringLiteral("tkbase.fil.bak");
        QCOMPARE(readAll(m_path + QStringLiteral(".bak")), old);
    }
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), files);
}

// A disk with no room left fails the write at once or in the middle of the fill table; either
// way the previous file stays whole, and nothing of the new one is left beside it.
void DatabaseFileTest::fullDiskKeepsPreviousFile_data() {
    QTest::addColumn<int>("fills");
    QTest::newRow("small log") << 3;
    QTest::newRow("log larger than the disk") << 2000;
}

void DatabaseFileTest::fullDiskKeepsPreviousFile() {
    QFETCH(int, fills);
    const QString folder = m_dir->filePath(QStringLiteral("full"));
    const FullFileSystem full(folder);
    REQUIRE_MOUNTED(full);
    const QString path = folder + QStringLiteral("/tkbase.fil");
    const QByteArray previous = format10(kStations, kDrivers, kFills);
    writeAll(path, previous);
    QVERIFY(full.fill());

    DatabaseTables tables;
    QCOMPARE(readDatabaseFile(path, &tables), DatabaseReadStatus::Complete);
    for (int i = 0; i < fills; ++i) {
        FillRecord fill;
        fill.dateTime = FileTime::fromValue(quint64(1000 + i));
        tables.fills.push_back(fill);
    }
    tables.fillFlags.assign(tables.fills.size(), {true, false});
    QCOMPARE(writeDatabaseFile(path, DatabaseHeader(), tables, false),
             DatabaseWriteStatus::WriteFailed);
    QCOMPARE(readAll(path), previous);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("filler"), QStringLiteral("tkbase.fil")}));
}

void DatabaseFileTest::removesOnlyStaleTemporaryFiles_data() {
    QTest::addColumn<bool>("unnamedFiles");
    QTest::newRow("unnamed temporary file") << true;
    QTest::newRow("named temporary file") << false;
}

// What a crash in the middle of a save left beside the log goes with the next save; backups,
// other logs' temporary files, and one newer than this save (another save's) stay.
void DatabaseFileTest::removesOnlyStaleTemporaryFiles() {
    QFETCH(bool, unnamedFiles);
    const QStringList stale = {".tkbase.fil.tkm-1x2y", ".tkbase.fil.tkm-0"};
    const QStringList kept = {".tkbase.fil.tkm-zz", "tkbase.fil",        "tkbase.fil.bak",
                              "tkbase.fil.bak1",    "tkbase.fil.1x2y",   "tkbase.fil.tkm-abc",
                              ".tkbase.fil.tkm-",   ".tkbase.fil.tkm-A", ".other.fil.tkm-abc"};
    for (const QString& name : stale + kept) {
        writeAll(m_dir->filePath(name), "x");
        // The first kept one is newer than this save: another save's.
        const timespec time = {::time(nullptr) + (name == kept.first() ? 3600 : -3600), 0};
        const timespec times[2] = {time, time};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(m_dir->filePath(name)).constData(), times,
                            0) == 0);
    }
    g_noUnnamedFiles = !unnamedFiles;
    const DatabaseWriteStatus status = writeDatabaseBytes(m_path, format10({}, {}, {}), false);
    g_noUnnamedFiles = false;
    QCOMPARE(status, DatabaseWriteStatus::Written);
    QStringList left = kept;
    left.sort();
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), left);
}

void DatabaseFileTest::copyRenamedAtTheLastMomentStays_data() {
    QTest::addColumn<bool>("logBefore"); // the write expects a log, or none
    QTest::newRow("over the log") << true;
    QTest::newRow("where there was none") << false;
}

// Another program's copy renamed over the log between a write's last look at the file and the
// new file's rename is neither replaced nor removed: the write says Changed and leaves no file.
void DatabaseFileTest::copyRenamedAtTheLastMomentStays() {
    QFETCH(bool, logBefore);
    if (logBefore)
        writeAll(m_path, format10({}, {}, {}));
    const FileStamp expected = fileStamp(m_path);
    const QByteArray theirs = format10({stationBytes(0, QStringLiteral("Theirs"))}, {}, {});
    g_foreignCopy = theirs;
    g_foreignTarget = QFile::encodeName(m_path);
    FileStamp placed;
    const DatabaseWriteStatus status =
        writeDatabaseBytes(m_path, format10({}, {}, {}), false, &placed, &expected);
    QVERIFY(g_foreignCopy.isEmpty());
    QCOMPARE(status, DatabaseWriteStatus::Changed);
    QCOMPARE(readAll(m_path), theirs);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QFileInfo(m_path).fileName()});
}

// A file system that cannot swap two names still gets the log written, over a log or new.
void DatabaseFileTest::writtenWhereNamesCannotBeSwapped() {
    const QByteArray ours = format10({stationBytes(0, QStringLiteral("Ours"))}, {}, {});
    g_noNameSwaps = true;
    // First where there is no log, then over the one just written.
    for (int write = 0; write < 2; ++write) {
        const FileStamp expected = fileStamp(m_path);
        QCOMPARE(writeDatabaseBytes(m_path, ours, false, nullptr, &expected),
                 DatabaseWriteStatus::Written);
    }
    g_noNameSwaps = false;
    QCOMPARE(readAll(m_path), ours);
}

// The export's new name reaches the disk with its folder; a failed flush is no success.
void DatabaseFileTest::csvExportFlushesItsFolder() {
    const QString path = m_dir->filePath(QStringLiteral("out.csv"));
    g_flushes.clear();
    QVERIFY(writeCsvFile(path, CFuelDatabase()));
    QCOMPARE(g_flushes.value(g_flushes.size() - 1), QStringLiteral("folder"));
    g_flushError = EIO;
    g_failingFlush = -1;
    const bool written = writeCsvFile(path, CFuelDatabase());
    g_failingFlush = 0;
    QVERIFY(!written);
}

// A symbolic link to the log stays a link, also before its file exists, and the file keeps
// its permissions. What is not a regular file is never replaced, nor read (a pipe would block).
void DatabaseFileTest::replacesOnlyRegularFiles() {
    const QString target = m_dir->filePath(QStringLiteral("real.fil"));
    QVERIFY(QFile::link(target, m_path));
    const QByteArray bytes = format10(kStations, kDrivers, kFills);
    QCOMPARE(writeDatabaseBytes(m_path, {}, false), DatabaseWriteStatus::Written);
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0604) == 0);
    QCOMPARE(writeDatabaseBytes(m_path, bytes, false), DatabaseWriteStatus::Written);
    QVERIFY(QFileInfo(m_path).isSymLink());
    QCOMPARE(readAll(target), bytes);
    QCOMPARE(QFileInfo(target).permissions(), QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ReadUser | QFile::WriteUser |
                                                  QFile::ReadOther);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             (QStringList{QStringLiteral("real.fil"), QStringLiteral("tkbase.fil")}));

    const QByteArray pipe = QFile::encodeName(m_dir->filePath(QStringLiteral("pipe")));
    QVERIFY(::mkfifo(pipe.constData(), 0600) == 0);
    for (const QString& other : {QFile::decodeName(pipe), m_dir->path()})
        QCOMPARE(writeDatabaseBytes(other, bytes, false), DatabaseWriteStatus::CreateFailed);
    struct stat status;
    QVERIFY(::lstat(pipe.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
    DatabaseTables tables;
    tables.stations = {StationRecord()};
    QCOMPARE(readDatabaseFile(QFile::decodeName(pipe), &tables), DatabaseReadStatus::Unopenable);
    QVERIFY(tables.stations.empty());
}

// Another program's write shows in the stamp: in place (1 ns later, then grown at the same time,
// then the same size with the time set back) or as a new file renamed over the old one (same size
// and time).
void DatabaseFileTest::stampTellsVersionsApart() {
    const auto write = [](const QString& path, QIODevice::OpenMode mode, long nanoseconds) {
        QFile file(path);
        QVERIFY(file.open(mode) && file.write("12345678", mode & QIODevice::Append ? 1 : 8) &&
                file.flush());
        const timespec times[2] = {{1700000000, nanoseconds}, {1700000000, nanoseconds}};
        QVERIFY(::futimens(file.handle(), times) == 0);
    };
    write(m_path, QIODevice::WriteOnly, 5);
    FileStamp stamp = fileStamp(m_path);
    QVERIFY(stamp.exists && stamp.size == 8 && stamp.modifiedNs == 1700000000000000005);
    QVERIFY(fileStamp(m_path) == stamp);
    const QString other = m_path + QStringLiteral(".new");
    write(other, QIODevice::WriteOnly, 5);
    QVERIFY(QFile::remove(m_path) && QFile::rename(other, m_path));
    QVERIFY(fileStamp(m_path) != stamp);
    for (const QIODevice::OpenMode mode :
         {QIODevice::ReadWrite, QIODevice::Append, QIODevice::ReadWrite}) {
        stamp = fileStamp(m_path);
        write(m_path, mode, 6);
        QVERIFY(fileStamp(m_path) != stamp);
    }
    QVERIFY(QFile::remove(m_path) && fileStamp(m_path) == FileStamp());
}

void DatabaseFileTest::unreadFileBackedUpOnFirstSave_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("short header") << headerBytes(1, 0).left(27);
    QTest::newRow("wrong magic") << format10(kStations, {}, {}).replace(0, 2, "XX");
    QTest::newRow("unknown format") << format10(kStations, {}, {}).replace(20, 1, "\x07");
    QTest::newRow("short table") << format10(kStations, kDrivers, kFills).chopped(1);
    QTest::newRow("impossible count") << format10(kStations, {}, {}, Counts{2, -1, 0});
}

void DatabaseFileTest::unreadFileBackedUpOnFirstSave() {
    QFETCH(QByteArray, file);
    writeAll(m_path, file);
    auto db = database();
    db->load();
    QCOMPARE(m_messages.size(), 1);
    db->findOrAddStation(QStringLiteral("Neu"));
    QVERIFY(db->save());
    QCOMPARE(readAll(m_path + QStringLiteral(".bak")), file);

    auto reloaded = database();
    reloaded->load();
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(reloaded->getStationCount(), db->getStationCount());

    QVERIFY(db->save());
    QVERIFY(!QFileInfo::exists(m_path + QStringLiteral(".bak1")));
}

void DatabaseFileTest::backupNumbering() {
    writeAll(m_path + QStringLiteral(".bak"), "first");
    writeAll(m_path + QStringLiteral(".bak1"), "second");
    writeAll(m_path, "TX");
    auto db = database();
    db->load();
    QVERIFY(db->save());
    QCOMPARE(readAll(m_path + QStringLiteral(".bak")), QByteArray("first"));
    QCOMPARE(readAll(m_path + QStringLiteral(".bak1")), QByteArray("second"));
    QCOMPARE(readAll(m_path + QStringLiteral(".bak2")), QByteArray("TX"));
}

void DatabaseFileTest::noBackupWithoutSave() {
    writeAll(m_path, format10(kStations, {}, {}, Counts{3, 0, 0}));
    database()->load();
    writeAll(m_dir->filePath(QStringLiteral("other.fil")), format10(kStations, {}, {}));
    auto db = database();
    db->load();
    db->setFilePath(m_dir->filePath(QStringLiteral("other.fil")));
    QVERIFY(db->save());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("other.fil"), QStringLiteral("tkbase.fil")}));
}

QTEST_GUILESS_MAIN(DatabaseFileTest)
#include "tst_databasefile.moc"
