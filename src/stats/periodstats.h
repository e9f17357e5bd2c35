#pragma once

// The figures of the fills over a period of calendar days: by month, by year, by station and
// by driver, and the dated series the statistics window charts. Plain computation over one
// database, in the log's stored units (see derived.h); the windows convert them for the screen.
// Fuel, cost and distance follow the same run rule as the totals (see computeTotals and
// fillRun): a run's figures belong to the bucket of the fill that ends it, so the months of a
// year add up to the year and the buckets of a period to the period.

#include "db/units.h"
#include "stats/derived.h"

#include <QDate>
#include <QList>
#include <QString>
#include <span>
#include <utility>

class CFuelDatabase;

// --- Periods ----------------------------------------------------------------------------------

enum class PeriodChoice {
    All,          // the whole log
    ThisYear,     // 1 January of today's year to today
    Last12Months, // the day after the same day a year ago to today
    Year,         // one calendar year (StatsPeriod::year)
    Range,        // from..to, both days included
};

struct StatsPeriod {
    PeriodChoice choice = PeriodChoice::All;
    int year = 0; // for Year
    QDate from;   // for Range
    QDate to;     // for Range
};

// Both days included; invalid (null) dates for a period that holds no day (an empty log under
// All, a range whose end lies before its start).
struct DayRange {
    QDate first;
    QDate last;
    bool isEmpty() const { return !first.isValid() || !last.isValid() || last < first; }
};

// The days of the period; All spans the first fill's day to the last fill's.
DayRange periodDays(const StatsPeriod& period, const CFuelDatabase& database, QDate today);

// The calendar years that hold fills, ascending (for the period picker).
QList<int> yearsWithFills(const CFuelDatabase& database);

// The indices [first, last] of the fills whose day lies in the range (fills are in time
// order, so a binary search); first > last when none does.
std::pair<int, int> fillsInDays(const CFuelDatabase& database, const DayRange& days);

// The calendar day of a fill's time.
QDate fillDate(const FillRecord& fill);

// --- Figures of a bucket ------------------------------------------------------------------------

// The sums of one bucket (a month, a year, a station, a driver, the whole period). A fill counts
// in the bucket of its own day; the distance of a fill is the distance since the fill before it
// (none for the first fill of the log); the figures per distance are over the runs that end in
// the bucket, as the totals have them.
struct BucketSums {
    int fills = 0;
    qint64 distance = 0;    // driven up to the bucket's fills, stored units
    double fuel = 0.0;      // litres bought
    double cost = 0.0;      // cost of what was bought
    int runs = 0;           // the runs with figures that end in the bucket
    qint64 runDistance = 0; // their distance
    double runFuel = 0.0;   // the fuel and cost charged to those runs
    double runCost = 0.0;
    double pricedFuel = 0.0; // fills with fuel and cost above 0, for the average unit price
    double pricedCost = 0.0;
    // The charges of electricity: fuel, runs, runFuel, runCost and the priced sums above are
    // of the fuel fills; fills, distance and cost of both energies.
    double kwh = 0.0; // bought
    int chargeRuns = 0;
    qint64 chargeRunDistance = 0;
    double runKwh = 0.0;
    double chargeRunCost = 0.0;
    double pricedKwh = 0.0;
    double pricedKwhCost = 0.0;

    BucketSums& operator+=(const BucketSums& other);
};

// A figure of a bucket: NaN where it has none (no run, no priced fill).
float bucketConsumption(const BucketSums& sums);         // litres per 100 stored units
float bucketElectricConsumption(const BucketSums& sums); // kWh per 100 stored units
float bucketCostOfDist(const BucketSums& sums);          // both energies, per 100 stored units
float bucketUnitPrice(const BucketSums& sums);           // cost per litre
float bucketKwhPrice(const BucketSums& sums);            // cost per kWh

// The columns of the month and year table, left to right. A new kind of entry (other costs,
// charging) adds a sum to BucketSums and a column here.
enum class StatsColumn {
    Fills,
    Distance,
    Fuel,
    Cost,
    Consumption,
    CostOfDist,
    UnitPrice,
    Energy,              // kWh charged
    ElectricConsumption, // of the charges
    EnergyUnitPrice,     // average price of a kWh
};
// The columns of a fuel log.
inline constexpr StatsColumn kStatsColumns[] = {
    StatsColumn::Fills,       StatsColumn::Distance,   StatsColumn::Fuel,     StatsColumn::Cost,
    StatsColumn::Consumption, StatsColumn::CostOfDist, StatsColumn::UnitPrice};
// The columns of a log of the vehicle's energy: each energy its own, the cost per distance of
// both.
QList<StatsColumn> statsColumns(VehicleEnergy energy);

// The column's heading with its unit in the loaded language, for a log in the given units.
QString statsColumnTitle(StatsColumn column, const LogUnits& units);
// The value converted to the given units, for sorting and for charts (NaN where there is none).
double statsColumnValue(const BucketSums& sums, StatsColumn column, const LogUnits& units);
// The cell text: whole numbers for fills and distance, formatAmount for the rest, empty where
// there is no value (as the fill list has it).
QString statsColumnText(const BucketSums& sums, StatsColumn column, const LogUnits& units);

// --- Months and years -------------------------------------------------------------------------

struct MonthSums {
    int year = 0;
    int month = 0; // 1-12; 0 in the rows of a table by year
    BucketSums sums;
};

enum class StatsGrouping { ByMonth, ByYear };

// One row per calendar month (or year) of the range, oldest first, empty months (years)
// included with zero sums, in one pass over the fills of the range. A run that begins before
// the range but ends in it counts in full, as the totals of those fills would count it.
QList<MonthSums> sumsByCalendar(const CFuelDatabase& database, FillingMethod method,
                                const DayRange& days, StatsGrouping grouping);

// The whole range in one bucket.
BucketSums sumsOfDays(const CFuelDatabase& database, FillingMethod method, const DayRange& days);

// --- Stations and drivers ---------------------------------------------------------------------

struct NamedSums {
    QString name; // the station's or driver's name; "" for fills without a driver
    BucketSums sums;
    double share = 0.0; // of the cost of all rows, 0 to 1 (0 when they cost nothing)
};

// One row per station (driver) with fills in the range, by falling cost; no run figures.
QList<NamedSums> sumsByStation(const CFuelDatabase& database, const DayRange& days);
QList<NamedSums> sumsByDriver(const CFuelDatabase& database, const DayRange& days);

// --- Series over time -------------------------------------------------------------------------

struct DatedValue {
    QDate date;
    double value = 0.0;
};

enum class StatsSeries {
    Consumption, // one value per run with figures, dated at the fill that ends it
    UnitPrice,   // one value per fill with fuel and cost above 0
    MonthlyCost, // one value per month of the range, dated at the month's first day
    MonthlyDistance,
    ElectricConsumption, // as Consumption and UnitPrice, of the charges
    EnergyUnitPrice,
};
// The series of a log of the vehicle's energy (Consumption and UnitPrice are the fuel's).
QList<StatsSeries> statsSeriesOf(VehicleEnergy energy);

// The series over the range in the given units (consumption in the log's consumption unit,
// unit price per volume unit, distance in the distance unit), oldest first, without the values
// that are not finite.
QList<DatedValue> statsSeries(const CFuelDatabase& database, FillingMethod method,
                              const DayRange& days, StatsSeries series, const LogUnits& units);

// The trailing mean over the last `window` values (fewer at the start), one per value.
QList<DatedValue> movingAverage(std::span<const DatedValue> values, int window);

// The average of a series over the range as the totals compute it (total fuel over total
// distance, not the mean of the points); NaN where there is none.
double statsSeriesAverage(const CFuelDatabase& database, FillingMethod method, const DayRange& days,
                          StatsSeries series, const LogUnits& units);

// --- The date axis ------------------------------------------------------------------------------

// Ticks on the first day of a month or a year, every `step` of them, chosen so that at most
// maxTicks fall in the range (at least one step of 1 month); labels are "MMM yyyy" for months
// (the locale's short month names) and "yyyy" for years.
struct DateTicks {
    enum Unit { Months, Years } unit = Months;
    int step = 1; // 1, 2, 3 or 6 months; 1, 2, 5, 10, ... years
    QList<QDate> dates;
};
DateTicks chooseDateTicks(const DayRange& days, int maxTicks);
QString dateTickLabel(const DateTicks& ticks, QDate date, const QLocale& locale);
