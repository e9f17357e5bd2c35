#include "db/databasefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>
#include <type_traits>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

constexpr qint64 kReservedBlockSize = 256;
constexpr qint64 kPrefixSize = qint64(sizeof(DatabaseHeader)) + kReservedBlockSize + 12;

// A fill of format 0.1: the first 124 bytes of a FillRecord, without driverId.
struct LegacyFillRecord {
    qint32 stationId;
    char16_t notes[kNotesUnits];
    qint32 odometer;
    float fuel;
    float cost;
    FileTime dateTime;
};
static_assert(sizeof(LegacyFillRecord) == 124);
static_assert(offsetof(LegacyFillRecord, dateTime) == offsetof(FillRecord, dateTime));

// Reads until size bytes have arrived or the file gives no more; returns the bytes read.
qint64 readUpTo(QFile& file, void* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(static_cast<char*>(data) + done, size - done);
        if (got <= 0)
            break;
        done += got;
    }
    return done;
}

// A count whose four bytes do not all arrive counts as 0.
qint32 readCount(QFile& file) {
    qint32 count = 0;
    return readUpTo(file, &count, sizeof count) == qint64(sizeof count) ? count : 0;
}

// A large table is filled at once after its allocation. On Linux, huge pages let that first
// touch cost one page fault per 2 MiB instead of one per 4 KiB: most of a large load's time.
void adviseHugePages(const void* data, std::size_t bytes) {
#ifdef __linux__
    constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;
    const std::uintptr_t first = (std::uintptr_t(data) + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (std::uintptr_t(data) + bytes) & ~(kHugePage - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

// Reads count records as stored in the file and keeps each as convert makes it. Only as many
// records as the rest of the file can hold are reserved, and only records that arrived whole
// are kept. They come through a small buffer, so that the table is touched once, as it is
// filled, and is the only large memory a load takes. True when all count records came.
template <typename Stored, typename Record, typename Convert>
bool readTable(QFile& file, qint32 count, std::vector<Record>* table, Convert convert) {
    table->clear();
    if (count == 0)
        return true;
    const qint64 storedSize = qint64(sizeof(Stored));
    const qint64 rest = std::max<qint64>(0, file.size() - file.pos());
    const qint64 fitting = count < 0 ? 0 : std::min<qint64>(count, rest / storedSize);
    try {
        table->reserve(std::size_t(fitting));
    } catch (const std::bad_alloc&) {
        // A file larger than memory: refused like a short table instead of ending the program.
        return false;
    }
    adviseHugePages(table->data(), table->capacity() * sizeof(Record));
    std::vector<Stored> buffer(std::size_t(std::min<qint64>(fitting, 1024)));
    while (qint64(table->size()) < fitting) {
        const qint64 wanted =
            std::min<qint64>(qint64(buffer.size()), fitting - qint64(table->size()));
        const qint64 arrived = readUpTo(file, buffer.data(), wanted * storedSize) / storedSize;
        if constexpr (std::is_same_v<Stored, Record>)
            table->insert(table->end(), buffer.begin(), buffer.begin() + arrived);
        else
            std::transform(buffer.begin(), buffer.begin() + arrived, std::back_inserter(*table),
                           convert);
        if (arrived < wanted)
            break;
    }
    return qint64(table->size()) == count;
}

template <typename Record> bool readTable(QFile& file, qint32 count, std::vector<Record>* table) {
    return readTable<Record>(file, count, table, [](const Record& record) { return record; });
}

FillRecord convertLegacyFill(const LegacyFillRecord& legacy) {
    FillRecord fill;
    fill.stationId = legacy.stationId;
    setFieldText(fill.notes, fieldText(legacy.notes));
    fill.odometer = legacy.odometer;
    fill.fuel = legacy.fuel;
    fill.cost = legacy.cost;
    fill.dateTime = legacy.dateTime;
    fill.driverId = -1;
    return fill;
}

bool isTkMagic(const char16_t (&magic)[2]) {
    return (magic[0] == u'T' || magic[0] == u't') && (magic[1] == u'K' || magic[1] == u'k');
}

DatabaseReadStatus readFormat10(QFile& file, DatabaseTables* tables) {
    char reserved[kReservedBlockSize];
    readUpTo(file, reserved, kReservedBlockSize);
    const qint32 stationCount = readCount(file);
    const qint32 fillCount = readCount(file);
    const qint32 driverCount = readCount(file);
    if (!readTable(file, stationCount, &tables->stations))
        return DatabaseReadStatus::ShortStations;
    if (!readTable(file, driverCount, &tables->drivers))
        return DatabaseReadStatus::ShortDrivers;
    if (!readTable(file, fillCount, &tables->fills))
        return DatabaseReadStatus::ShortFills;
    return DatabaseReadStatus::Complete;
}

DatabaseReadStatus readFormat01(QFile& file, DatabaseTables* tables) {
    const qint32 stationCount = readCount(file);
    const qint32 fillCount = readCount(file);
    if (!readTable(file, stationCount, &tables->stations))
        return DatabaseReadStatus::ShortStations;
    const bool whole =
        readTable<LegacyFillRecord>(file, fillCount, &tables->fills, convertLegacyFill);
    return whole ? DatabaseReadStatus::Complete : DatabaseReadStatus::ShortFills;
}

bool writeWhole(QSaveFile& file, const void* data, qint64 size) {
    return size == 0 || file.write(static_cast<const char*>(data), size) == size;
}

template <typename Record> bool writeTable(QSaveFile& file, const std::vector<Record>& table) {
    return writeWhole(file, table.data(), qint64(table.size()) * qint64(sizeof(Record)));
}

} // namespace

DatabaseReadStatus readDatabaseFile(const QString& path, DatabaseTables* tables) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        *tables = {};
        return QFileInfo::exists(path) ? DatabaseReadStatus::Unopenable
                                       : DatabaseReadStatus::NoFile;
    }
    DatabaseHeader header;
    if (readUpTo(file, &header, sizeof header) != qint64(sizeof header) || !isTkMagic(header.magic))
        return DatabaseReadStatus::BadHeader;

    DatabaseTables read;
    DatabaseReadStatus status = DatabaseReadStatus::UnknownFormat;
    if (header.formatMajor == 1 && header.formatMinor == 0)
        status = readFormat10(file, &read);
    else if (header.formatMajor == 0 && header.formatMinor == 1)
        status = readFormat01(file, &read);
    *tables = std::move(read);
    return status;
}

QString readStatusMessage(DatabaseReadStatus status) {
    switch (status) {
    case DatabaseReadStatus::BadHeader:
        return QStringLiteral("Error loading database header!");
    case DatabaseReadStatus::UnknownFormat:
        return QStringLiteral("Unknown database version!\nNo data will be loaded.");
    case DatabaseReadStatus::ShortStations:
        return QStringLiteral("Error loading database of stations!");
    case DatabaseReadStatus::ShortDrivers:
        return QStringLiteral("Error loading database of drivers!");
    case DatabaseReadStatus::ShortFills:
        return QStringLiteral("Error loading database of fills!");
    case DatabaseReadStatus::Complete:
    case DatabaseReadStatus::NoFile:
    case DatabaseReadStatus::Unopenable:
        break;
    }
    return {};
}

bool leavesDataUnread(DatabaseReadStatus status) {
    return status != DatabaseReadStatus::Complete && status != DatabaseReadStatus::NoFile;
}

DatabaseWriteStatus writeDatabaseFile(const QString& path, const DatabaseHeader& header,
                                      const DatabaseTables& tables, bool keepOldFile) {
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return DatabaseWriteStatus::CreateFailed;

    // Header, zeroed reserved block, then the counts in the order stations, fills, drivers.
    char prefix[kPrefixSize] = {};
    std::memcpy(prefix, &header, sizeof header);
    const qint32 counts[3] = {qint32(tables.stations.size()), qint32(tables.fills.size()),
                              qint32(tables.drivers.size())};
    std::memcpy(prefix + sizeof header + kReservedBlockSize, counts, sizeof counts);

    const bool whole = writeWhole(file, prefix, kPrefixSize) && writeTable(file, tables.stations) &&
                       writeTable(file, tables.drivers) && writeTable(file, tables.fills);
    if (!whole)
        return DatabaseWriteStatus::WriteFailed;
    if (keepOldFile && QFileInfo::exists(path) && !QFile::copy(path, backupFilePath(path)))
        return DatabaseWriteStatus::BackupFailed;
    return file.commit() ? DatabaseWriteStatus::Written : DatabaseWriteStatus::WriteFailed;
}

QString writeStatusMessage(DatabaseWriteStatus status) {
    switch (status) {
    case DatabaseWriteStatus::CreateFailed:
    case DatabaseWriteStatus::BackupFailed:
        return QStringLiteral("Could not create the file!");
    case DatabaseWriteStatus::WriteFailed:
        return QStringLiteral("Error saving data!");
    case DatabaseWriteStatus::Written:
        break;
    }
    return {};
}

QString backupFilePath(const QString& path) {
    const QString base = path + QStringLiteral(".bak");
    QString candidate = base;
    for (int number = 1; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++number)
        candidate = base + QString::number(number);
    return candidate;
}
