#pragma once

// The values of another fuel log's fill table as Tankometer stores them: numbers with their
// decimal character, thousands separators and currency signs, dates in any order with 12- or
// 24-hour times, miles and gallons converted, the cost from a price per unit, and the rows that
// are skipped with the reason why.

#include "csv/otherlogformat.h"
#include "db/costs.h"
#include "db/fillextras.h"
#include "db/records.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class CFuelDatabase;

enum class NumberRead { Empty, Bad, Read };

// A number as another app writes it: blanks and currency signs around it are ignored; groups of
// three digits may be separated by blanks, an apostrophe or whichever of ',' and '.' is not the
// decimal character. Anything else does not read.
NumberRead readOtherLogNumber(QStringView text, QChar decimal, double* value);

// The decimal character the numbers of the given texts show: '.' or ','; none when no text
// decides ("1,234" and "1.234" read both ways).
std::optional<QChar> detectDecimal(const QStringList& numbers);

// The date order that the dates of the given texts show: a day above 12 decides; dates that
// start with their year are year-month-day. None when no date decides.
std::optional<DateOrder> detectDateOrder(const QStringList& dates);

// The fill time of a date ("2023-05-01", "1/5/23", "1.5.2023", also followed by a time) and a
// time ("15:04", "3:04 PM", with or without seconds; blank is the time in the date text, else
// midnight). A date that starts with a four-digit year is year-month-day whatever the order; a
// two-digit year is in 2000-2099. False when the text does not name a real date and time.
bool readOtherLogDateTime(QStringView date, QStringView time, const OtherLogSettings& settings,
                          FileTime* out);

// Yes, true, 1 and their common translations.
bool readOtherLogFlag(QStringView text);

enum class OtherLogSkip {
    None,
    Date,
    Odometer,
    Volume,
    Cost,
    OdometerNotRecorded,
    AlreadyInLog,
    // Bought at the pump but no fuel (Spritmonitor's AdBlue).
    NotFuel,
};
inline constexpr int kOtherLogSkipCount = 8;

// One row of the fill table as it will be stored, or why it will not be.
struct OtherLogRow {
    int sourceRow = 0; // index in OtherLogTable::rows
    OtherLogSkip skip = OtherLogSkip::None;
    FileTime dateTime;
    qint32 odometer = 0; // in the log's stored distance unit
    float litres = 0.0f;
    float cost = 0.0f;
    // Cut to their fields.
    QString station;
    QString driver;
    QString notes;
    bool partial = false;
    bool missed = false;
    // Electricity bought: litres holds its kWh.
    bool charge = false;
    // The file's text of the value that does not read.
    QString unreadText;
};

// The rows of the chosen vehicle (every row without a vehicle column), in file order. A row with
// the fill of one in the log, or of an earlier row (CKnownFills), is already in the log. A row is
// a charge, its amount kWh whatever the volume unit, when its fuel type is electricity (Fuelio's
// codes 500 to 599, AC and DC charging; Spritmonitor's 19), and every row is one in the log of an
// electric vehicle
// (where LubeLogger's fuel records of an electric vehicle go: they are kWh, which its file does
// not say).
QList<OtherLogRow> convertOtherLog(const OtherLogFile& file, const OtherLogSettings& settings,
                                   const CFuelDatabase& log);

enum class OtherCostSkip {
    None,
    Date,
    Amount,
    // Income, a refund, the purchase price, or a template for costs to come.
    NotACost,
    AlreadyInLog,
};
inline constexpr int kOtherCostSkipCount = 5;

// One row of the costs of a file as it will be stored, or why it will not be.
struct OtherCostRow {
    int sourceRow = 0; // index in OtherLogFile::costTable.rows
    OtherCostSkip skip = OtherCostSkip::None;
    // Its category is one of the log's, or -1 for the category newCategory, which the import
    // adds.
    CostEntry cost;
    QString newCategory;
    QString unreadText;
};

// The cost rows of a file read as the format it was recognised as, in file order. A category is
// the log's of the same name (letter case ignored; the names other apps give the categories every
// log starts with count too), or a new one of the file's name; codes of a format with fixed
// categories go to the log's categories of their kind. A cost with the date, reading, category,
// amount to the cent and notes of one in the log or of an earlier row is already in the log.
QList<OtherCostRow> convertOtherCosts(const OtherLogFile& file, const OtherLogSettings& settings,
                                      const CFuelDatabase& log);

struct OtherCostSummary {
    int added = 0;
    std::array<int, kOtherCostSkipCount> skipped = {};

    int alreadyInLog() const { return skipped[std::size_t(OtherCostSkip::AlreadyInLog)]; }
    int unreadable() const;
};

OtherCostSummary summariseOtherCosts(const QList<OtherCostRow>& rows);

// The log's costs with the costs of the rows not skipped, and the new categories they name added
// once each; the costs stay in date order.
VehicleCosts withOtherLogCosts(const VehicleCosts& costs, const QList<OtherCostRow>& rows);

struct OtherLogSummary {
    int added = 0;
    // Among the added fills.
    int partial = 0;
    int missed = 0;
    // Counted by reason; AlreadyInLog counts the rows already in the log.
    std::array<int, kOtherLogSkipCount> skipped = {};
    // Of the costs brought along.
    OtherCostSummary costs;

    int alreadyInLog() const { return skipped[std::size_t(OtherLogSkip::AlreadyInLog)]; }
    // Rows skipped for a reason other than being in the log already.
    int unreadable() const;
};

OtherLogSummary summariseOtherLog(const QList<OtherLogRow>& rows);

// The fills of the rows not skipped, by time and then odometer, with their stations and
// drivers found or added in the log by name (no driver when the name is empty), and into
// *flags, when given, their partial and missed flags and charge marks in the same order.
std::vector<FillRecord> otherLogFills(const QList<OtherLogRow>& rows, CFuelDatabase* log,
                                      std::vector<FillFlags>* flags = nullptr);

// Adds the fills of the rows not skipped to the log in one step, finding or adding their
// stations and drivers by name (no driver when the name is empty), and the costs of the cost rows
// not skipped with their new categories.
OtherLogSummary importOtherLog(const QList<OtherLogRow>& rows, CFuelDatabase* log,
                               const QList<OtherCostRow>& costs = {});

// The words with which imports of earlier versions marked partial fills and fills after missed
// ones at the start of the notes (Text::OtherLog_markerpartial and _markermissed), as one
// language file gives them.
struct NoteMarker {
    QString partial;
    QString missed;
};
using NoteMarkers = QList<NoteMarker>;

// Takes such markers off the start of *notes (as the import wrote them: "partial fill; after
// missed fills; notes") and sets the flags they stand for in *flags; false when the notes begin
// with none of them.
bool takeNoteMarkers(QString* notes, FillFlags* flags, const NoteMarkers& markers);
