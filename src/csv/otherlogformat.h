#pragma once

// The exports of other fuel logs: delimited text split into records, the layout of the known
// apps' files recognised by their structure, and the settings (columns by header name, units,
// decimal character, date order) under which the fill table of such a file is read.

#include "db/units.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <utility>

enum class OtherLogFormat { Fuelio, Fuelly, ACar, Drivvo, LubeLogger, OtherCsv, Spritmonitor };
inline constexpr int kOtherLogFormatCount = 7;

// The values a column of the fill table can hold.
enum class OtherLogColumn {
    Date,
    Time,
    Odometer,
    Volume,
    TotalCost,
    UnitPrice,
    Station,
    Driver,
    Notes,
    // The second choice for the station when the first is empty.
    StationAddress,
    FullTank,
    Partial,
    Missed,
    Vehicle,
    DistanceUnit,
    VolumeUnit,
    // The kind of fuel of a row, as a code of the exporting app (Fuelio, Spritmonitor).
    FuelType,
    // Full, partial, first or invalid fill as a code (Spritmonitor).
    FillType,
};
inline constexpr int kOtherLogColumnCount = 18;
// The columns the user assigns by hand: Date up to Notes.
inline constexpr int kOtherLogMappedColumns = 9;

// The numbering of RegionalSettings::dateOrder.
enum class DateOrder { MonthDayYear = 0, DayMonthYear = 1, YearMonthDay = 2 };

// Splits delimited text into records of fields (RFC 4180): a field that starts with '"' runs to
// the next lone '"', may hold delimiters and line breaks, and "" inside it is one '"'. Text after
// the closing quote up to the next delimiter is kept as it stands ("Full tank" 2 reads as
// `Full tank 2`). A quote that is never closed takes the rest of the text. CR LF, LF and CR end
// a record; a final line break does not open an empty record. With an escape character (a
// backslash in Spritmonitor's files), the character after it stands for itself: `a\;b` is the
// one field `a;b`.
QList<QStringList> splitDelimitedRecords(QStringView text, QChar delimiter, QChar escape = {});

// ',', ';' or tab: the one that stands most often outside quotes in the first lines.
QChar detectDelimiter(QStringView text);

struct OtherLogTable {
    QStringList header;
    QList<QStringList> rows;
};

// What a file says of itself.
struct OtherLogFile {
    OtherLogFormat recognised = OtherLogFormat::OtherCsv;
    QChar delimiter = u',';
    // The table of fills: the section that holds them, or the whole file when it has no sections.
    OtherLogTable table;
    std::optional<DistanceUnit> distanceUnit;
    std::optional<VolumeUnit> volumeUnit;
    // A date format of the exporting app, as "M/d/yyyy".
    QString dateFormat;
    // The name of the one vehicle of a file that names it outside the fill table.
    QString vehicleName;
    // The costs beside the fills (Fuelio's Costs section), or the costs of a file that holds
    // costs only (LubeLogger's service and repair records, Spritmonitor's costs export).
    OtherLogTable costTable;
    // The file's own cost categories, as id and name (Fuelio's CostCategories section).
    QList<std::pair<QString, QString>> costCategories;
    // Sections that were there but could not be read, by name: the report names them.
    QStringList damagedSections;
};

// Another app's export is read whole; a larger file is not read (the import then reports that it
// cannot open it). Far more than any app writes for a lifetime of fills.
inline constexpr qint64 kOtherLogFileBytes = 64 * 1024 * 1024;

OtherLogFile readOtherLog(QStringView text);

// The values of a row of costs.
enum class OtherCostColumn {
    Date,
    Odometer,
    // The file's id or code of the category.
    Category,
    Title,
    Amount,
    Notes,
    // Rows that are no cost when set (Fuelio).
    Template,
    Income,
};
inline constexpr int kOtherCostColumnCount = 8;

struct OtherLogSettings {
    OtherLogFormat format = OtherLogFormat::OtherCsv;
    // Column index of each OtherLogColumn, -1 for none.
    std::array<int, kOtherLogColumnCount> columns;
    // The vehicle whose rows are read; empty reads every row.
    QString vehicle;
    DateOrder dateOrder = DateOrder::DayMonthYear;
    // True when no date of the file decides the order, so it comes from the user's locale.
    bool dateOrderGuessed = false;
    QChar decimal = u'.';
    DistanceUnit distanceUnit = DistanceUnit::Kilometres;
    VolumeUnit volumeUnit = VolumeUnit::Litres;
    // "M/d/yyyy": how the exporting app wrote its dates; empty when unknown.
    QString dateFormat;
    // Column index of each OtherCostColumn in the file's cost table, -1 for none. Costs are read
    // only from a file read as the format it was recognised as.
    std::array<int, kOtherCostColumnCount> costColumns = {-1, -1, -1, -1, -1, -1, -1, -1};
    // The log's category of the costs of a file that does not name theirs (LubeLogger's
    // records, which are service or repair records by the export they came from).
    int costCategory = 0;

    int costColumn(OtherCostColumn which) const { return costColumns[std::size_t(which)]; }

    int column(OtherLogColumn which) const { return columns[std::size_t(which)]; }
    void setColumn(OtherLogColumn which, int index) { columns[std::size_t(which)] = index; }
};

// How a file is read as the given format: columns found by their header names, the units the
// file names, the decimal character and date order its values show. The user's date order and
// decimal character decide only where the file leaves them open.
OtherLogSettings guessOtherLogSettings(const OtherLogFile& file, OtherLogFormat format,
                                       DateOrder userDateOrder, QChar userDecimal);

// The vehicle names of the table, in order of their first row; empty without a vehicle column.
QStringList otherLogVehicles(const OtherLogFile& file, const OtherLogSettings& settings);

// The cell of a row, trimmed, or a null string when the column is not assigned or not in the row.
QString otherLogCell(const QStringList& row, const OtherLogSettings& settings,
                     OtherLogColumn which);

// The unit a column name or a cell names: "Odo (mi)", "miles", "km"; "Fuel (us gallons)",
// "gal", "L". A gallon of unknown kind is a US gallon. None when the text names no unit.
std::optional<DistanceUnit> distanceUnitNamed(QStringView text);
std::optional<VolumeUnit> volumeUnitNamed(QStringView text);
