#pragma once

// The CSV import: each record of a file whose columns the user has assigned becomes a fill,
// with its station and driver found by name or added.

#include "csv/csvreader.h"
#include "csv/historyfit.h"
#include "db/fillextras.h"
#include "db/records.h"
#include "db/units.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>
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
// in CsvValue order that is assigned its column, and to no other. A record whose time field
// holds something that does not read is unreadable (an empty time is midnight). The records'
// texts are cut to their fields. Odometer and fuel are read in the log's units; the amount of a
// charge is its kWh.
CsvLineResult parseCsvLine(const QStringList& fields, const CsvColumnMap& columns,
                           StationRecord* station, FillRecord* fill, DriverRecord* driver,
                           const LogUnits& units = {}, bool charge = false);

// The first required value that gets no field from the columns: it has none, or its column goes
// to an earlier value (sharedWith, else -1). Every record would miss it, so nothing is read.
struct CsvUnassigned {
    CsvValue value = CsvStation;
    int sharedWith = -1;
};
std::optional<CsvUnassigned> csvUnassignedValue(const CsvColumnMap& columns);

// The column each value has in a header record that names it, -1 where none does. A value is
// named by the name the export gives its column or by its name in names (the labels of the
// dialog in the user's language); letter case, blanks and a closing ':' do not count.
CsvColumnMap csvHeaderColumns(const QStringList& header,
                              const std::array<QString, kCsvValueCount>& names);

struct CsvSkippedLine {
    int lineNumber = 0;
    CsvLineResult reason;
};

// A record read as a fill, its station and driver by name.
struct CsvFill {
    FillRecord fill; // without station and driver
    QString station;
    QString driver; // empty: no driver
    FillFlags flags;
    bool alreadyInLog = false; // the log, or an earlier record, holds the fill (CKnownFills)
};

struct CsvImportResult {
    int imported = 0;                   // fills added to the log
    QList<CsvFill> read;                // the records read as fills, in file order
    int skipped = 0;                    // records that are not blank and do not read
    int alreadyInLog = 0;               // records read whose fill is in the log already
    QList<CsvSkippedLine> firstSkipped; // the first kCsvReportedSkips of the skipped records
    bool readFailed = false;            // the file could not be read to its end: nothing read
};

inline constexpr int kCsvReportedSkips = 5;

// Skips the header record, then reads the fill of every record, in the log's units, and marks
// those the log already holds. Columns whose header is "partial" or "missed" (as the export
// writes them) give the fills' flags: "1" sets a flag, as do "true" and "yes"; so does "home".
// A column "energy" makes the fills that say "electricity" charges (with their kWh in the fuel
// column; in the log of an electric vehicle every fill is one), and "charge before" and "charge
// after" give their states of charge (whole percent, 0 to 100; anything else is not given). In a
// file with the export's header, station, driver and notes lose the "'" that guards them
// (csvGuardedText). A file that cannot be read to its end gives no fills at all.
CsvImportResult readCsvImport(CCsvReader& reader, const CsvColumnMap& columns,
                              const CFuelDatabase& log);
// The readings of the fills read that the log does not hold yet.
std::vector<OdometerReading> csvNewReadings(const CsvImportResult& result);
// The fills read that the log does not hold yet, in file order, with their stations and drivers
// found or added in the log; their flags beside them in *flags.
std::vector<FillRecord> csvNewFills(const CsvImportResult& result, CFuelDatabase* log,
                                    std::vector<FillFlags>* flags);
// readCsvImport, then the new fills added all at once, in time order after existing fills of
// the same time and in file order among themselves.
CsvImportResult importCsv(CCsvReader& reader, const CsvColumnMap& columns, CFuelDatabase& database);
