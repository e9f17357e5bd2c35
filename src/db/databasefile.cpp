#include "db/databasefile.h"

#include "db/filewrite.h"
#include "db/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>
#include <numeric>
#include <span>
#include <type_traits>
#include <utility>

#ifdef Q_OS_UNIX
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
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

// Reads count records as stored in the file and keeps each as convert makes it. Only as many
// records as the rest of the file can hold are reserved, and only records that arrived whole
// are kept. They come through a small buffer, so that the table is touched once, as it is
// filled, and is the only large memory a load takes. True when all count records came.
// *inTimeOrder, when given, stays true while the fills arrive in time order: they are looked
// at while they are still in the cache, not in another pass over the whole table.
template <typename Stored, typename Record, typename Convert>
bool readTable(QFile& file, qint32 count, std::vector<Record>* table, Convert convert,
               bool* inTimeOrder = nullptr) {
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
        if constexpr (std::is_same_v<Record, FillRecord>) {
            if (inTimeOrder && *inTimeOrder) {
                // From the last fill of the reads before, if any.
                const auto from = table->end() - arrived - (qint64(table->size()) > arrived);
                *inTimeOrder = std::is_sorted(from, table->end(), [](const auto& a, const auto& b) {
                    return compareFileTime(a.dateTime, b.dateTime) < 0;
                });
            }
        }
        if (arrived < wanted)
            break;
    }
    return qint64(table->size()) == count;
}

template <typename Record>
bool readTable(QFile& file, qint32 count, std::vector<Record>* table, bool* inTimeOrder = nullptr) {
    return readTable<Record>(
        file, count, table, [](const Record& record) { return record; }, inTimeOrder);
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

// What follows the fill table: the per-fill section, the section of costs, either, both (in that
// order) or neither. Each is read alone, so one that does not match leaves the other.
void readSections(QFile& file, qint64 fillCount, DatabaseTables* tables, FillExtrasStatus* extras,
                  CostSectionStatus* costs) {
    const qint64 start = file.pos();
    const QByteArray rest = file.read(fillExtrasSectionSize(fillCount) + kCostSectionHeadSize);
    const qint64 offset = costSectionOffset(rest);
    *extras = readFillExtras(offset < 0 ? QByteArrayView(rest) : QByteArrayView(rest).first(offset),
                             fillCount, &tables->fillFlags);
    *costs = CostSectionStatus::Absent;
    if (offset < 0 || offset == rest.size())
        return;
    // The section's length is checked against the file before it is read.
    const qint64 length = costSectionLength(QByteArrayView(rest).sliced(offset));
    QByteArray section = rest.sliced(offset);
    if (length > section.size() && length <= file.size() - (start + offset) &&
        file.seek(start + offset))
        section = file.read(length);
    *costs = readCostSection(section, &tables->costs);
}

DatabaseReadStatus readFormat10(QFile& file, DatabaseTables* tables, FillExtrasStatus* extras,
                                CostSectionStatus* costs, bool* fillsInTimeOrder) {
    static_assert(sizeof tables->settings == kReservedBlockSize);
    readUpTo(file, tables->settings.data(), kReservedBlockSize);
    const qint32 stationCount = readCount(file);
    const qint32 fillCount = readCount(file);
    const qint32 driverCount = readCount(file);
    if (!readTable(file, stationCount, &tables->stations))
        return DatabaseReadStatus::ShortStations;
    if (!readTable(file, driverCount, &tables->drivers))
        return DatabaseReadStatus::ShortDrivers;
    *fillsInTimeOrder = true;
    if (!readTable(file, fillCount, &tables->fills, fillsInTimeOrder))
        return DatabaseReadStatus::ShortFills;
    readSections(file, fillCount, tables, extras, costs);
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

template <typename Record> QByteArrayView tableBytes(const std::vector<Record>& table) {
    return {reinterpret_cast<const char*>(table.data()), qsizetype(table.size() * sizeof(Record))};
}

#ifdef Q_OS_UNIX
bool writeAll(int descriptor, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t done =
            ::write(descriptor, data, std::size_t(std::min<qint64>(size, 1 << 30)));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= done;
    }
    return true;
}

// The new file beside the target, invisible under the target's name until it replaces it at
// once. Where the system can, it has no name at all until then, so that a crash leaves
// nothing behind; otherwise its name is ".<target>.tkm-" and a free random part, a pattern of
// its own: removeStale clears what a crash left, and nothing else can match it. A new file
// that never replaced the target is removed. It is readable by its owner only until it takes
// the permissions of the file it replaces.
class NewFile {
public:
    NewFile(const QByteArray& folder, const QByteArray& targetName)
        : m_folder(folder), m_target(folder + '/' + targetName),
          m_namePrefix('.' + targetName + ".tkm-") {}
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    ~NewFile() {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        if (!m_name.isEmpty())
            ::unlink(m_name.constData());
    }

    bool create() {
#ifdef O_TMPFILE
        m_descriptor = ::open(m_folder.constData(), O_RDWR | O_TMPFILE | O_CLOEXEC, 0600);
        if (m_descriptor < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return false;
#endif
        if (m_descriptor < 0) {
            const bool named = name([this](const QByteArray& name) {
                m_descriptor =
                    ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
                return m_descriptor >= 0;
            });
            if (!named)
                return false;
        }
        struct stat created;
        if (::fstat(m_descriptor, &created) == 0)
            m_created = created.st_mtim;
        return true;
    }

    int descriptor() const {
        return m_descriptor;
    }

    // Puts the new file in the target's place. With expected, another program's file that took
    // the target's place after the caller's last look is not lost: where the system can swap two
    // names at once, the file swapped out is looked at, and when it is not the expected one the
    // names are swapped back (Changed); where nothing was expected, a file made since is never
    // replaced.
    DatabaseWriteStatus replaceTarget(const FileStamp* expected) {
        if (m_name.isEmpty()) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_descriptor);
            const bool named = name([&self](const QByteArray& name) {
                return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(),
                                AT_SYMLINK_FOLLOW) == 0;
            });
            if (!named)
                return DatabaseWriteStatus::WriteFailed;
        }
#ifdef RENAME_EXCHANGE
        if (expected) {
            const unsigned flags = expected->exists ? RENAME_EXCHANGE : RENAME_NOREPLACE;
            if (::renameat2(AT_FDCWD, m_name.constData(), AT_FDCWD, m_target.constData(), flags) ==
                0) {
                if (expected->exists && !isVersion(m_name, *expected)) {
                    // Should the swap back fail, the other file keeps the new file's name
                    // rather than being removed with it.
                    if (::renameat2(AT_FDCWD, m_name.constData(), AT_FDCWD, m_target.constData(),
                                    RENAME_EXCHANGE) != 0)
                        m_name.clear();
                    return DatabaseWriteStatus::Changed;
                }
                if (expected->exists)
                    ::unlink(m_name.constData());
                m_name.clear();
                return DatabaseWriteStatus::Written;
            }
            if (errno == EEXIST || errno == ENOENT)
                return DatabaseWriteStatus::Changed;
            // Where the file system cannot swap names, a plain rename replaces the file.
            if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
                return DatabaseWriteStatus::WriteFailed;
        }
#endif
        if (::rename(m_name.constData(), m_target.constData()) != 0)
            return DatabaseWriteStatus::WriteFailed;
        m_name.clear();
        return DatabaseWriteStatus::Written;
    }

    // Removes the new files of earlier saves of the target that a crash left behind: regular
    // files of this pattern last changed before this one was made, so that the file of a save
    // running at the same time is not taken.
    void removeStale() const {
        const QString prefix = QFile::decodeName(m_namePrefix);
        const QStringList names =
            QDir(QFile::decodeName(m_folder)).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& entry : names) {
            const QStringView random = QStringView(entry).mid(prefix.size());
            const bool ours = entry.startsWith(prefix) && !random.isEmpty() &&
                              std::all_of(random.begin(), random.end(), [](QChar c) {
                                  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z');
                              });
            const QByteArray path = m_folder + '/' + QFile::encodeName(entry);
            struct stat found;
            if (ours && ::lstat(path.constData(), &found) == 0 && S_ISREG(found.st_mode) &&
                isBefore(found.st_mtim, m_created))
                ::unlink(path.constData());
        }
    }

private:
    // Whether the file named name is the version the stamp was taken of. Its change time is left
    // out: the swap of names has just set it.
    static bool isVersion(const QByteArray& name, const FileStamp& stamp) {
        const FileStamp found = fileStamp(QFile::decodeName(name));
        return found.exists && found.inode == stamp.inode && found.size == stamp.size &&
               found.modifiedNs == stamp.modifiedNs;
    }

    static bool isBefore(const timespec& one, const timespec& other) {
        return one.tv_sec < other.tv_sec ||
               (one.tv_sec == other.tv_sec && one.tv_nsec < other.tv_nsec);
    }

    template <typename Make> bool name(Make make) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray name = m_folder + '/' + m_namePrefix +
                                    QByteArray::number(QRandomGenerator::global()->generate(), 36);
            if (make(name)) {
                m_name = name;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    QByteArray m_folder;
    QByteArray m_target;
    QByteArray m_namePrefix;
    QByteArray m_name;
    timespec m_created{};
    int m_descriptor = -1;
};
#endif

#ifdef Q_OS_UNIX
// An exclusive lock on a folder while it is held (none where the folder cannot be opened).
class FolderLock {
public:
    explicit FolderLock(const QByteArray& folder)
        : m_descriptor(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (m_descriptor >= 0)
            while (::flock(m_descriptor, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock() {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }

private:
    int m_descriptor;
};
#endif

// The copy of the old file is on the disk, data and name, before the file it keeps is replaced.
bool keepBackup(const QString& path) {
    const QString backup = backupFilePath(path);
    if (!QFile::copy(path, backup))
        return false;
#ifdef Q_OS_UNIX
    return flushPath(QFile::encodeName(backup), O_RDONLY) &&
           flushFolder(QFile::encodeName(QFileInfo(backup).absolutePath()));
#else
    return true;
#endif
}

} // namespace

DatabaseTables copyOfTables(const DatabaseTables& tables) {
    std::vector<FillRecord> fills;
    fills.reserve(tables.fills.size());
    fills.assign(tables.fills.begin(), tables.fills.end());
    return {tables.stations, tables.drivers,   std::move(fills),
            tables.settings, tables.fillFlags, tables.costs};
}

DatabaseReadStatus readDatabaseFile(const QString& path, DatabaseTables* tables,
                                    FillExtrasStatus* extras, CostSectionStatus* costs,
                                    bool* fillsInTimeOrder) {
    bool inTimeOrder = false;
    if (fillsInTimeOrder)
        *fillsInTimeOrder = inTimeOrder;
    FillExtrasStatus extrasRead = FillExtrasStatus::Absent;
    CostSectionStatus costsRead = CostSectionStatus::Absent;
    if (extras)
        *extras = extrasRead;
    if (costs)
        *costs = costsRead;
    QFile file;
    const bool opened = openRegularFile(&file, path);
    if (!opened) {
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
        status = readFormat10(file, &read, &extrasRead, &costsRead, &inTimeOrder);
    else if (header.formatMajor == 0 && header.formatMinor == 1)
        status = readFormat01(file, &read);
    *tables = std::move(read);
    if (extras)
        *extras = extrasRead;
    if (costs)
        *costs = costsRead;
    if (fillsInTimeOrder)
        *fillsInTimeOrder = inTimeOrder;
    return status;
}

LogSettingsBlock readSettingsBlock(const QString& path) {
    QFile file;
    DatabaseHeader header;
    LogSettingsBlock block{};
    if (!openRegularFile(&file, path) ||
        readUpTo(file, &header, sizeof header) != qint64(sizeof header) ||
        !isTkMagic(header.magic) || header.formatMajor != 1 || header.formatMinor != 0 ||
        readUpTo(file, block.data(), kLogSettingsSize) != kLogSettingsSize)
        return {};
    return block;
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

DatabaseFileImage::DatabaseFileImage(const DatabaseHeader& header, const DatabaseTables& tables)
    : m_tables(tables), m_extras(fillExtrasSection(tables.fillFlags, qint64(tables.fills.size()))),
      m_costs(costSection(tables.costs)) {
    // Header, the reserved block, then the counts in the order stations, fills, drivers.
    static_assert(sizeof tables.settings == kReservedBlockSize);
    const qint32 counts[3] = {qint32(tables.stations.size()), qint32(tables.fills.size()),
                              qint32(tables.drivers.size())};
    m_start.reserve(kPrefixSize);
    m_start.append(reinterpret_cast<const char*>(&header), sizeof header);
    m_start.append(reinterpret_cast<const char*>(tables.settings.data()), kReservedBlockSize);
    m_start.append(reinterpret_cast<const char*>(counts), sizeof counts);
}

std::array<QByteArrayView, 6> DatabaseFileImage::pieces() const {
    return {m_start,
            tableBytes(m_tables.stations),
            tableBytes(m_tables.drivers),
            tableBytes(m_tables.fills),
            m_extras,
            m_costs};
}

qint64 DatabaseFileImage::size() const {
    const auto all = pieces();
    return std::accumulate(all.begin(), all.end(), qint64(0),
                           [](qint64 sum, QByteArrayView piece) { return sum + piece.size(); });
}

QByteArray databaseFileBytes(const DatabaseHeader& header, const DatabaseTables& tables) {
    const DatabaseFileImage image(header, tables);
    QByteArray bytes;
    bytes.reserve(image.size());
    for (const QByteArrayView piece : image.pieces())
        bytes.append(piece);
    return bytes;
}

namespace {

// QSaveFile is not used on Unix: its commit flushes the file but ignores a failed flush, and a
// flush of our own on top of it costs a second wait for the disk.
DatabaseWriteStatus writePieces(const QString& path, std::span<const QByteArrayView> pieces,
                                bool keepOldFile, FileStamp* placed, const FileStamp* expected) {
    if (path.isEmpty())
        return DatabaseWriteStatus::CreateFailed;
#ifdef Q_OS_UNIX
    // Through a symbolic link, the file it points at is replaced (or made) and the link stays.
    QFileInfo target(path);
    for (int links = 0; target.isSymLink() && links < 40; ++links)
        target.setFile(target.symLinkTarget());
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    struct stat old;
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return DatabaseWriteStatus::CreateFailed;
    NewFile file(folder, QFile::encodeName(target.fileName()));
    if (!file.create())
        return DatabaseWriteStatus::CreateFailed;
    // The new file has the old one's permissions; a failure leaves the default ones.
    if (exists)
        static_cast<void>(::fchmod(file.descriptor(), old.st_mode & 07777));
    const bool written = std::all_of(pieces.begin(), pieces.end(), [&file](QByteArrayView piece) {
        return writeAll(file.descriptor(), piece.data(), piece.size());
    });
    if (!written || !flushDescriptor(file.descriptor()))
        return DatabaseWriteStatus::WriteFailed;
    {
        // The file is checked once more just before it is replaced, under a lock on the folder
        // that every write of this program takes, so that two of them never replace each other's
        // file unseen.
        const FolderLock lock(folder);
        if (expected && fileStamp(path) != *expected)
            return DatabaseWriteStatus::Changed;
        if (keepOldFile && exists && !keepBackup(path))
            return DatabaseWriteStatus::BackupFailed;
        if (const DatabaseWriteStatus replaced = file.replaceTarget(expected);
            replaced != DatabaseWriteStatus::Written)
            return replaced;
        // Taken after the rename, which sets the file's change time.
        if (placed)
            *placed = descriptorStamp(file.descriptor());
    }
    file.removeStale();
    return flushFolder(folder) ? DatabaseWriteStatus::Written : DatabaseWriteStatus::WriteFailed;
#else
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return DatabaseWriteStatus::CreateFailed;
    bool backupFailed = false;
    bool changed = false;
    const bool written = commitSaveFile(file, pieces, [&] {
        changed = expected && fileStamp(path) != *expected;
        backupFailed = !changed && keepOldFile && QFileInfo::exists(path) && !keepBackup(path);
        return !changed && !backupFailed;
    });
    if (changed)
        return DatabaseWriteStatus::Changed;
    if (!written)
        return backupFailed ? DatabaseWriteStatus::BackupFailed : DatabaseWriteStatus::WriteFailed;
    if (placed)
        *placed = fileStamp(path);
    return DatabaseWriteStatus::Written;
#endif
}

} // namespace

DatabaseWriteStatus writeDatabaseBytes(const QString& path, const QByteArray& bytes,
                                       bool keepOldFile, FileStamp* placed,
                                       const FileStamp* expected) {
    const QByteArrayView whole[] = {bytes};
    return writePieces(path, whole, keepOldFile, placed, expected);
}

DatabaseWriteStatus writeDatabaseFile(const QString& path, const DatabaseHeader& header,
                                      const DatabaseTables& tables, bool keepOldFile,
                                      FileStamp* placed, const FileStamp* expected) {
    const DatabaseFileImage image(header, tables);
    return writePieces(path, image.pieces(), keepOldFile, placed, expected);
}

QString writeStatusMessage(DatabaseWriteStatus status) {
    switch (status) {
    case DatabaseWriteStatus::CreateFailed:
    case DatabaseWriteStatus::BackupFailed:
        return QStringLiteral("Could not create the file!");
    case DatabaseWriteStatus::WriteFailed:
    case DatabaseWriteStatus::Changed:
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
