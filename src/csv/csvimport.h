#pragma once

// The CSV import: each record of a file whose columns the user has assigned becomes a fill,
// with its station and driver found by name or added.

#include "csv/csvreader.h"
#include "db/fillextras.h"
#include "db/records.h"
#include "db/units.h"

#include <QList>
#include <QString>
#include <array>
#include <vector>

class CFuelDatabase;

// The values of a fill in the order in which a column goes to the first of them that wants it.
enum CsvValue { CsvStation, CsvOdometer, CsvFuel, CsvCost, CsvNotes, CsvDate, CsvTime, CsvDriver };
inline constexpr int kCsvValueCount = 8;

// The 0-based column of each value; -1 for none.
using CsvColumnMap = std::array<int, kCsvValueCount>;

enum class CsvLineStatus {
    Read,
    MissingColumn, // a required value has no field in the record
    Unreadable,    // a required value's field does not read
};

struct CsvLineResult {
    CsvLineStatus status = CsvLineStatus::Read;
    CsvValue value = CsvStation; // the value missing or unreadable
    QString text;                // the field that does not read
};

// The station name, the fill and the driver name of one record. Station, odometer, fuel, cost
// and date are required; notes, time and driver are optional. A field goes to the first value
// in CsvValue order that is assigned its column, and to no other. A time that does not read
// gives midnight of the record's date. The records' texts are cut to their fields. Odometer and
// fuel are read in the log's units (the odometer rounded to whole kilometres).
CsvLineResult parseCsvLine(const QStringList& fields, const CsvColumnMap& columns,
                           StationRecord* station, FillRecord* fill, DriverRecord* driver,
                           const LogUnits& units = {});

struct CsvSkippedLine {
    int lineNumber = 0;
    CsvLineResult reason;
};

struct CsvImportResult {
    int imported = 0;
    std::vector<FillRecord> fills;      // the fills read, in file order (readCsvImport)
    std::vector<FillFlags> flags;       // beside fills
    int skipped = 0;                    // records that are not blank and did not become fills
    QList<CsvSkippedLine> firstSkipped; // the first kCsvReportedSkips of them
    bool readFailed = false;            // the file could not be read to its end: nothing read
};

inline constexpr int kCsvReportedSkips = 5;

// Skips the header record, then reads the fill of every record that reads into result.fills,
// finding or adding its station and driver in the database; the fills are not added. Values are
// read in the database's units. Columns whose header is "partial" or "missed" (as the export
// writes them) give the fills' flags: "1" sets a flag, as do "true" and "yes". In a file with the
// export's header, station, driver and notes lose the "'" that guards them (csvGuardedText). A
// file that cannot be read to its end gives no fills at all.
CsvImportResult readCsvImport(CCsvReader& reader, const CsvColumnMap& columns,
                              CFuelDatabase& database);
// readCsvImport, then the fills added all at once, in time order after existing fills of the
// same time and in file order among themselves.
CsvImportResult importCsv(CCsvReader& reader, const CsvColumnMap& columns, CFuelDatabase& database);
