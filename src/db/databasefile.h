#pragma once

// The database file: a 28-byte header, then per format the counts and the record tables.
//
// Format 1.0 (read and written):
//   0    DatabaseHeader (28)
//   28   reserved block, 256 zero bytes
//   284  station count S, fill count F, driver count D (int32 each, in this order)
//   296  S x StationRecord (68), then D x DriverRecord (44), then F x FillRecord (128)
// Format 0.1 (read only, no drivers):
//   0    DatabaseHeader (28)
//   28   station count S, fill count F
//   36   S x StationRecord (68), then F x 124-byte fills without driverId

#include "db/records.h"

#include <QString>
#include <vector>

struct DatabaseTables {
    std::vector<StationRecord> stations;
    std::vector<DriverRecord> drivers;
    std::vector<FillRecord> fills;
};

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
DatabaseReadStatus readDatabaseFile(const QString& path, DatabaseTables* tables);

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
};

// Writes the database in format 1.0 to a temporary file and puts it in place of the old file
// only when it was written whole. With keepOldFile, the old file (if any) is first copied to
// backupFilePath(path); when that copy fails, the old file is not replaced.
DatabaseWriteStatus writeDatabaseFile(const QString& path, const DatabaseHeader& header,
                                      const DatabaseTables& tables, bool keepOldFile);

// The fixed message for a write status, empty for Written.
QString writeStatusMessage(DatabaseWriteStatus status);

// The first free name of path + ".bak", ".bak1", ".bak2", ...
QString backupFilePath(const QString& path);
