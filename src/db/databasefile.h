#pragma once

// The database file: a 28-byte header, then per format the counts and the record tables.
//
// Format 1.0 (read and written):
//   0    DatabaseHeader (28)
//   28   reserved block, 256 bytes: the log's settings (db/logsettings.h), zeros when none
//   284  station count S, fill count F, driver count D (int32 each, in this order)
//   296  S x StationRecord (68), then D x DriverRecord (44), then F x FillRecord (128)
//   then, only when some fill is flagged, the per-fill section (db/fillextras.h)
//   then, only when the log has costs, categories or reminders, their section (db/costsection.h)
// Format 0.1 (read only, no drivers):
//   0    DatabaseHeader (28)
//   28   station count S, fill count F
//   36   S x StationRecord (68), then F x 124-byte fills without driverId

#include "db/costs.h"
#include "db/costsection.h"
#include "db/filestamp.h"
#include "db/fillextras.h"
#include "db/logsettings.h"
#include "db/records.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <span>
#include <vector>

struct DatabaseTables {
    std::vector<StationRecord> stations;
    std::vector<DriverRecord> drivers;
    std::vector<FillRecord> fills;
    // The reserved block as read (zeros for format 0.1 and a file cut short before it).
    LogSettingsBlock settings{};
    // Beside fills, in the same order; may be shorter (the fills beyond have no flags).
    std::vector<FillFlags> fillFlags;
    // Costs, categories and reminders (empty when the file has none).
    VehicleCosts costs;
};

// A copy of the tables, as a write on another thread takes it while the log goes on changing. The
// fill table's memory is reserved once, for exactly its records.
DatabaseTables copyOfTables(const DatabaseTables& tables);

enum class DatabaseReadStatus {
    Complete,
    NoFile,        // nothing at the path: empty tables
    Unopenable,    // something is at the path but cannot be opened: empty tables
    BadHeader,     // header short or magic not "TK": the tables are left untouched
    UnknownFormat, // empty tables
    ShortStations, // a table that ends early or whose count cannot be right: the tables keep
    ShortDrivers,  // the whole records read up to that point, and the tables after it stay
    ShortFills,    // empty
};

// Replaces *tables with the content of the file at path (except after BadHeader).
// Counts are checked against the bytes left in the file before anything is allocated.
// *extras, when given, tells what became of the per-fill section; a section that does not
// match leaves every fill without flags and does not change the status. *costs likewise tells
// what became of the section of costs; one that does not match leaves the log without costs.
// *fillsInTimeOrder, when given, is true when the fills were seen to arrive in time order
// (false when that is not known).
DatabaseReadStatus readDatabaseFile(const QString& path, DatabaseTables* tables,
                                    FillExtrasStatus* extras = nullptr,
                                    CostSectionStatus* costs = nullptr,
                                    bool* fillsInTimeOrder = nullptr);

// The settings block of the format 1.0 log at path alone (for its vehicle's name); zeros for
// anything else.
LogSettingsBlock readSettingsBlock(const QString& path);

// The fixed message for a read status, empty when there is nothing to report.
QString readStatusMessage(DatabaseReadStatus status);

// True when the status means the file at the path holds data that was not read; such a file
// is kept as a backup before anything replaces it.
bool leavesDataUnread(DatabaseReadStatus status);

enum class DatabaseWriteStatus {
    Written,
    CreateFailed,
    WriteFailed,
    BackupFailed,
    Changed, // the file at the path is no longer the one the caller expected: left as it is
};

// The file of the tables in format 1.0 as the pieces a write puts one after the other: the start
// (header, reserved block, counts), the station, driver and fill tables where they lie in memory,
// the per-fill section (empty when no fill is flagged) and the section of costs (empty when the log
// has none). Only the start and that section are
// made here, so a save takes no second copy of the tables; the pieces are valid while the tables
// are neither changed nor destroyed.
class DatabaseFileImage {
public:
    DatabaseFileImage(const DatabaseHeader& header, const DatabaseTables& tables);
    std::array<QByteArrayView, 6> pieces() const;
    qint64 size() const;

private:
    const DatabaseTables& m_tables;
    QByteArray m_start;
    QByteArray m_extras;
    QByteArray m_costs;
};

// The file of the tables in format 1.0 in one buffer, byte for byte as writeDatabaseFile writes it.
QByteArray databaseFileBytes(const DatabaseHeader& header, const DatabaseTables& tables);

// Writes bytes to a temporary file beside path, flushes it to the disk and renames it over the
// old file, then flushes the folder, so that after a crash or a power cut the path holds either
// the old bytes or the new ones, whole. Written only when all of that succeeded; a failure
// before the rename leaves the old file as it was. With keepOldFile, the old file (if any) is
// first copied to backupFilePath(path) and flushed; when that fails, the old file is not
// replaced. Through a symbolic link, the file it points at is replaced and the link stays;
// something at the path that is not a regular file is never replaced (CreateFailed). The new
// file keeps the old one's permissions; a file that is new is readable by its owner only. A
// save that succeeded removes the temporary files that earlier saves of the same path left
// behind in a crash (their names are ".<name>.tkm-" and a random part). *placed, when given,
// becomes the stamp of the new file as soon as it is in place (taken from the written file itself,
// so another program's rename cannot slip in between); it is set also when only the folder's flush
// failed afterwards, and left as it was when the old file stays. Uses no shared state: safe to call
// on any thread. With expected, the file at the path is checked against it just before the rename,
// under a lock that every write of this program takes on the folder: when another program has
// changed or replaced it since (or made it where expected says nothing was), it is left as it is
// and the status is Changed. Where the file system can swap two names at once (Linux's
// renameat2), that holds also for a copy another program renames into place between that check
// and the rename.
DatabaseWriteStatus writeDatabaseBytes(const QString& path, const QByteArray& bytes,
                                       bool keepOldFile, FileStamp* placed = nullptr,
                                       const FileStamp* expected = nullptr);

// As writeDatabaseBytes, with the file's bytes written straight from the tables
// (DatabaseFileImage).
DatabaseWriteStatus writeDatabaseFile(const QString& path, const DatabaseHeader& header,
                                      const DatabaseTables& tables, bool keepOldFile,
                                      FileStamp* placed = nullptr,
                                      const FileStamp* expected = nullptr);

// The fixed message for a write status, empty for Written.
QString writeStatusMessage(DatabaseWriteStatus status);

// The first free name of path + ".bak", ".bak1", ".bak2", ...
QString backupFilePath(const QString& path);
