#include "stats/periodstats.h"

#include "db/formats.h"
#include "db/fueldatabase.h"
#include "db/units.h"
#include "localisation/language.h"
#include "stats/totals.h"

#include <QHash>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr quint64 kTicksPerDay = 864'000'000'000ull;
// Times from here on name no calendar day (see fileTimeToSystemTime).
constexpr quint64 kFirstUnconvertible = quint64(1) << 63;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

qint64 firstFileTimeJulianDay() {
    static const qint64 day = QDate(1601, 1, 1).toJulianDay();
    return day;
}

// The time at which the day begins, clamped to the times a fill's day can be read from.
quint64 dayStart(QDate date) {
    const qint64 days = date.toJulianDay() - firstFileTimeJulianDay();
    if (days <= 0)
        return 0;
    if (quint64(days) >= kFirstUnconvertible / kTicksPerDay)
        return kFirstUnconvertible;
    return quint64(days) * kTicksPerDay;
}

quint64 fillTime(const CFuelDatabase& database, int index) {
    return database.getFill(index)->dateTime.value();
}

// The first fill from index `low` on whose time is `time` or later; the count when none is.
int firstFillFrom(const CFuelDatabase& database, quint64 time, int low = 0) {
    int high = database.getFillCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (fillTime(database, middle) < time)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// The fill at index counted in the bucket: what it bought and the distance driven up to it.
void addFill(BucketSums& sums, const CFuelDatabase& database, int index) {
    const FillRecord& fill = *database.getFill(index);
    ++sums.fills;
    sums.cost += fill.cost;
    if (index > 0)
        sums.distance += qint64(fill.odometer) - qint64(database.getFill(index - 1)->odometer);
    const bool charge = isChargeFill(database, index);
    (charge ? sums.kwh : sums.fuel) += fill.fuel;
    if (fill.fuel > 0.0f && fill.cost > 0.0f) {
        (charge ? sums.pricedKwh : sums.pricedFuel) += fill.fuel;
        (charge ? sums.pricedKwhCost : sums.pricedCost) += fill.cost;
    }
}

// The fills first..last, each in the bucket bucketOf(index) gives, then the runs with figures
// that end among them in the bucket of their end fill, whole even where they begin before
// `first`. bucketOf is called with ascending indices in each of the two passes.
template <typename BucketOf>
void addFillsAndRuns(const CFuelDatabase& database, FillingMethod method, int first, int last,
                     BucketOf&& bucketOf) {
    if (first > last)
        return;
    for (int i = first; i <= last; ++i)
        addFill(bucketOf(i), database, i);
    // The runs are visited from the last fill before `first` that is not partial, where the
    // run of the first end fill in the range begins.
    // In a log of both energies, from the earlier of the two such fills.
    const bool both = database.units().energy == VehicleEnergy::PlugInHybrid;
    bool found[2] = {false, !both};
    int begin = first - 1;
    for (; begin > 0; --begin) {
        const FillFlags flags = database.getFillFlags(begin);
        if (!flags.partial)
            found[both && flags.charge ? 1 : 0] = true;
        if (found[0] && found[1])
            break;
    }
    visitRuns(database, method, std::max(begin, 0), last, [&](const RunVisit& run) {
        if (!run.counted || run.end < first)
            return;
        BucketSums& sums = bucketOf(run.end);
        ++(run.charge ? sums.chargeRuns : sums.runs);
        (run.charge ? sums.chargeRunDistance : sums.runDistance) += run.distance;
        for (int i = run.from; i <= run.to; ++i) {
            if (isChargeFill(database, i) != run.charge)
                continue;
            (run.charge ? sums.runKwh : sums.runFuel) += database.getFill(i)->fuel;
            (run.charge ? sums.chargeRunCost : sums.runCost) += database.getFill(i)->cost;
        }
    });
}

// The rows of a table by month or year with the time each row ends, and a cursor that finds
// the row of ascending times.
struct CalendarRows {
    QList<MonthSums> rows;
    std::vector<quint64> ends;
    qsizetype cursor = 0;

    CalendarRows(const DayRange& days, StatsGrouping grouping) {
        if (days.isEmpty())
            return;
        const bool byMonth = grouping == StatsGrouping::ByMonth;
        QDate start(days.first.year(), byMonth ? days.first.month() : 1, 1);
        while (start.isValid() && start <= days.last) {
            const QDate next = byMonth ? start.addMonths(1) : start.addYears(1);
            rows.append({start.year(), byMonth ? start.month() : 0, {}});
            ends.push_back(next.isValid() ? dayStart(next) : kFirstUnconvertible);
            start = next;
        }
    }

    BucketSums& at(quint64 time) {
        while (cursor + 1 < rows.size() && time >= ends[size_t(cursor)])
            ++cursor;
        return rows[cursor].sums;
    }
};

double finiteOrNone(double value) {
    return std::isfinite(value) ? value : kNone;
}

QString columnHeading(const QString& title, const QString& unit) {
    return QStringLiteral("%1 (%2)").arg(title, unit);
}

template <typename IdOf, typename NameOf>
QList<NamedSums> sumsByName(const CFuelDatabase& database, const DayRange& days, IdOf idOf,
                            NameOf nameOf) {
    QList<NamedSums> rows;
    QHash<qint32, qsizetype> rowOfId;
    const auto [first, last] = fillsInDays(database, days);
    for (int i = first; i <= last; ++i) {
        const qint32 id = idOf(*database.getFill(i));
        auto row = rowOfId.constFind(id);
        if (row == rowOfId.cend()) {
            row = rowOfId.insert(id, rows.size());
            rows.append({nameOf(id), {}, 0.0});
        }
        addFill(rows[*row].sums, database, i);
    }
    double total = 0.0;
    for (const NamedSums& row : rows)
        total += row.sums.cost;
    for (NamedSums& row : rows)
        row.share = total > 0.0 ? row.sums.cost / total : 0.0;
    std::stable_sort(rows.begin(), rows.end(), [](const NamedSums& a, const NamedSums& b) {
        return a.sums.cost != b.sums.cost ? a.sums.cost > b.sums.cost
                                          : a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return rows;
}

} // namespace

// --- Periods ----------------------------------------------------------------------------------

QDate fillDate(const FillRecord& fill) {
    const quint64 time = fill.dateTime.value();
    if (time >= kFirstUnconvertible)
        return {};
    return QDate::fromJulianDay(firstFileTimeJulianDay() + qint64(time / kTicksPerDay));
}

DayRange periodDays(const StatsPeriod& period, const CFuelDatabase& database, QDate today) {
    switch (period.choice) {
    case PeriodChoice::All: {
        // Fills with a time past the calendar sort last; the period ends at the last one with
        // a day.
        const int end = firstFillFrom(database, kFirstUnconvertible);
        if (end == 0)
            return {};
        return {fillDate(*database.getFill(0)), fillDate(*database.getFill(end - 1))};
    }
    case PeriodChoice::ThisYear:
        return {QDate(today.year(), 1, 1), today};
    case PeriodChoice::Last12Months:
        return {today.addYears(-1).addDays(1), today};
    case PeriodChoice::Year:
        return {QDate(period.year, 1, 1), QDate(period.year, 12, 31)};
    case PeriodChoice::Range:
        break;
    }
    return {period.from, period.to};
}

QList<int> yearsWithFills(const CFuelDatabase& database) {
    QList<int> years;
    for (int i = 0; i < database.getFillCount();) {
        const QDate date = fillDate(*database.getFill(i));
        if (!date.isValid())
            break;
        years.append(date.year());
        i = firstFillFrom(database, dayStart(QDate(date.year() + 1, 1, 1)), i + 1);
    }
    return years;
}

std::pair<int, int> fillsInDays(const CFuelDatabase& database, const DayRange& days) {
    if (days.isEmpty())
        return {0, -1};
    const int first = firstFillFrom(database, dayStart(days.first));
    const int end = firstFillFrom(database, dayStart(days.last.addDays(1)), first);
    return {first, end - 1};
}

// --- Figures of a bucket ------------------------------------------------------------------------

BucketSums& BucketSums::operator+=(const BucketSums& other) {
    fills += other.fills;
    distance += other.distance;
    fuel += other.fuel;
    cost += other.cost;
    runs += other.runs;
    runDistance += other.runDistance;
    runFuel += other.runFuel;
    runCost += other.runCost;
    pricedFuel += other.pricedFuel;
    pricedCost += other.pricedCost;
    kwh += other.kwh;
    chargeRuns += other.chargeRuns;
    chargeRunDistance += other.chargeRunDistance;
    runKwh += other.runKwh;
    chargeRunCost += other.chargeRunCost;
    pricedKwh += other.pricedKwh;
    pricedKwhCost += other.pricedKwhCost;
    return *this;
}

float bucketConsumption(const BucketSums& sums) {
    return sums.runs > 0 ? float(sums.runFuel / double(sums.runDistance) * 100.0) : kNoFigure;
}

float bucketElectricConsumption(const BucketSums& sums) {
    return sums.chargeRuns > 0 ? float(sums.runKwh / double(sums.chargeRunDistance) * 100.0)
                               : kNoFigure;
}

float bucketCostOfDist(const BucketSums& sums) {
    // Each energy's cost over its own runs' distance, added: both cover the same driving.
    double costOfDist = 0.0;
    if (sums.runs > 0)
        costOfDist += sums.runCost / double(sums.runDistance) * 100.0;
    if (sums.chargeRuns > 0)
        costOfDist += sums.chargeRunCost / double(sums.chargeRunDistance) * 100.0;
    return sums.runs > 0 || sums.chargeRuns > 0 ? float(costOfDist) : kNoFigure;
}

float bucketUnitPrice(const BucketSums& sums) {
    return sums.pricedFuel > 0.0 ? float(sums.pricedCost / sums.pricedFuel) : kNoFigure;
}

float bucketKwhPrice(const BucketSums& sums) {
    return sums.pricedKwh > 0.0 ? float(sums.pricedKwhCost / sums.pricedKwh) : kNoFigure;
}

QString statsColumnTitle(StatsColumn column, const LogUnits& units) {
    const UnitTexts texts = unitTexts(units);
    switch (column) {
    case StatsColumn::Fills:
        return translate(Text::stats_ColumnFills);
    case StatsColumn::Distance:
        return columnHeading(translate(Text::stats_ColumnDistance), texts.distance);
    case StatsColumn::Fuel:
        return columnHeading(translate(Text::FillList_Fuel), texts.volume);
    case StatsColumn::Cost:
        return columnHeading(translate(Text::FillList_Cost), texts.currency);
    case StatsColumn::Consumption:
        return columnHeading(translate(Text::FillList_Consumption), texts.consumption);
    case StatsColumn::CostOfDist:
        return columnHeading(translate(Text::stats_ColumnCostOfDist), texts.costOfDist);
    case StatsColumn::Energy:
        return columnHeading(translate(Text::stats_ColumnEnergy), texts.energy);
    case StatsColumn::ElectricConsumption:
        return columnHeading(translate(Text::FillList_Consumption), texts.electricConsumption);
    case StatsColumn::EnergyUnitPrice:
        return columnHeading(translate(Text::stats_ColumnUnitPrice), texts.energyCost);
    case StatsColumn::UnitPrice:
        break;
    }
    return columnHeading(translate(Text::stats_ColumnUnitPrice), texts.unitCost);
}

QList<StatsColumn> statsColumns(VehicleEnergy energy) {
    using enum StatsColumn;
    switch (energy) {
    case VehicleEnergy::Fuel:
        break;
    case VehicleEnergy::Electric:
        return {Fills, Distance, Energy, Cost, ElectricConsumption, CostOfDist, EnergyUnitPrice};
    case VehicleEnergy::PlugInHybrid:
        return {
            Fills,      Distance,  Fuel,           Energy, Cost, Consumption, ElectricConsumption,
            CostOfDist, UnitPrice, EnergyUnitPrice};
    }
    return QList<StatsColumn>(std::begin(kStatsColumns), std::end(kStatsColumns));
}

double statsColumnValue(const BucketSums& sums, StatsColumn column, const LogUnits& units) {
    switch (column) {
    case StatsColumn::Fills:
        return sums.fills;
    case StatsColumn::Distance:
        return double(distanceIn(units, sums.distance));
    case StatsColumn::Fuel:
        return finiteOrNone(volumeIn(units, float(sums.fuel)));
    case StatsColumn::Cost:
        return finiteOrNone(sums.cost);
    case StatsColumn::Consumption:
        return finiteOrNone(consumptionIn(units, bucketConsumption(sums)));
    case StatsColumn::CostOfDist:
        return finiteOrNone(costOfDistIn(units, bucketCostOfDist(sums)));
    case StatsColumn::Energy:
        return finiteOrNone(sums.kwh);
    case StatsColumn::ElectricConsumption:
        return finiteOrNone(electricConsumptionIn(units, bucketElectricConsumption(sums)));
    case StatsColumn::EnergyUnitPrice:
        return finiteOrNone(bucketKwhPrice(sums));
    case StatsColumn::UnitPrice:
        break;
    }
    return finiteOrNone(unitCostIn(units, bucketUnitPrice(sums)));
}

QString statsColumnText(const BucketSums& sums, StatsColumn column, const LogUnits& units) {
    switch (column) {
    case StatsColumn::Fills:
        return QString::number(sums.fills);
    case StatsColumn::Distance:
        return QString::number(distanceIn(units, sums.distance));
    case StatsColumn::UnitPrice:
    case StatsColumn::EnergyUnitPrice: {
        // Three decimals, as pumps show a unit price.
        const float value = float(statsColumnValue(sums, column, units));
        return listCellShows(value) ? formatAmount(value, 3) : QString();
    }
    default:
        break;
    }
    return listCellText(float(statsColumnValue(sums, column, units)));
}

// --- Months and years -------------------------------------------------------------------------

QList<MonthSums> sumsByCalendar(const CFuelDatabase& database, FillingMethod method,
                                const DayRange& days, StatsGrouping grouping) {
    CalendarRows table(days, grouping);
    if (table.rows.isEmpty())
        return {};
    const auto [first, last] = fillsInDays(database, days);
    addFillsAndRuns(database, method, first, last,
                    [&, previous = first](int index) mutable -> BucketSums& {
                        // The fills come twice in ascending order: once on their own, once as ends
                        // of runs.
                        if (index < previous)
                            table.cursor = 0;
                        previous = index;
                        return table.at(fillTime(database, index));
                    });
    return table.rows;
}

BucketSums sumsOfDays(const CFuelDatabase& database, FillingMethod method, const DayRange& days) {
    BucketSums sums;
    const auto [first, last] = fillsInDays(database, days);
    addFillsAndRuns(database, method, first, last, [&sums](int) -> BucketSums& { return sums; });
    return sums;
}

// --- Stations and drivers ---------------------------------------------------------------------

QList<NamedSums> sumsByStation(const CFuelDatabase& database, const DayRange& days) {
    return sumsByName(
        database, days, [](const FillRecord& fill) { return fill.stationId; },
        [&database](qint32 id) {
            const StationRecord* station = database.getStation(id);
            return station ? fieldText(station->name) : QString();
        });
}

QList<NamedSums> sumsByDriver(const CFuelDatabase& database, const DayRange& days) {
    return sumsByName(
        database, days, [](const FillRecord& fill) { return fill.driverId; },
        [&database](qint32 id) {
            const DriverRecord* driver = database.getDriver(id);
            return driver ? fieldText(driver->name) : QString();
        });
}

// --- Series over time -------------------------------------------------------------------------

QList<DatedValue> statsSeries(const CFuelDatabase& database, FillingMethod method,
                              const DayRange& days, StatsSeries series, const LogUnits& units) {
    QList<DatedValue> values;
    const auto add = [&values](QDate date, double value) {
        if (std::isfinite(value))
            values.append({date, value});
    };
    if (series == StatsSeries::MonthlyCost || series == StatsSeries::MonthlyDistance) {
        const StatsColumn column =
            series == StatsSeries::MonthlyCost ? StatsColumn::Cost : StatsColumn::Distance;
        for (const MonthSums& month :
             sumsByCalendar(database, method, days, StatsGrouping::ByMonth))
            add(QDate(month.year, month.month, 1), statsColumnValue(month.sums, column, units));
        return values;
    }
    // Each energy's series of its own fills.
    const bool charges =
        series == StatsSeries::ElectricConsumption || series == StatsSeries::EnergyUnitPrice;
    const auto [first, last] = fillsInDays(database, days);
    for (int i = first; i <= last; ++i) {
        const FillRecord& fill = *database.getFill(i);
        if (isChargeFill(database, i) != charges)
            continue;
        if (series == StatsSeries::Consumption)
            add(fillDate(fill), consumptionIn(units, fillConsumption(database, i, method)));
        else if (series == StatsSeries::ElectricConsumption)
            add(fillDate(fill), electricConsumptionIn(units, fillConsumption(database, i, method)));
        else if (fill.fuel > 0.0f && fill.cost > 0.0f)
            add(fillDate(fill),
                charges ? fillUnitCost(fill) : unitCostIn(units, fillUnitCost(fill)));
    }
    return values;
}

QList<StatsSeries> statsSeriesOf(VehicleEnergy energy) {
    using enum StatsSeries;
    switch (energy) {
    case VehicleEnergy::Fuel:
        break;
    case VehicleEnergy::Electric:
        return {ElectricConsumption, EnergyUnitPrice, MonthlyCost, MonthlyDistance};
    case VehicleEnergy::PlugInHybrid:
        return {Consumption,     ElectricConsumption, UnitPrice,
                EnergyUnitPrice, MonthlyCost,         MonthlyDistance};
    }
    return {Consumption, UnitPrice, MonthlyCost, MonthlyDistance};
}

QList<DatedValue> movingAverage(std::span<const DatedValue> values, int window) {
    window = std::max(window, 1);
    QList<DatedValue> averages;
    averages.reserve(qsizetype(values.size()));
    double sum = 0.0;
    for (size_t i = 0; i < values.size(); ++i) {
        sum += values[i].value;
        if (i >= size_t(window))
            sum -= values[i - size_t(window)].value;
        const size_t count = std::min(i + 1, size_t(window));
        averages.append({values[i].date, sum / double(count)});
    }
    return averages;
}

double statsSeriesAverage(const CFuelDatabase& database, FillingMethod method, const DayRange& days,
                          StatsSeries series, const LogUnits& units) {
    switch (series) {
    case StatsSeries::Consumption:
        return statsColumnValue(sumsOfDays(database, method, days), StatsColumn::Consumption,
                                units);
    case StatsSeries::UnitPrice:
        return statsColumnValue(sumsOfDays(database, method, days), StatsColumn::UnitPrice, units);
    case StatsSeries::ElectricConsumption:
        return statsColumnValue(sumsOfDays(database, method, days),
                                StatsColumn::ElectricConsumption, units);
    case StatsSeries::EnergyUnitPrice:
        return statsColumnValue(sumsOfDays(database, method, days), StatsColumn::EnergyUnitPrice,
                                units);
    case StatsSeries::MonthlyCost:
    case StatsSeries::MonthlyDistance:
        break;
    }
    // The mean of the months, empty ones included, as the chart has one point for each.
    const QList<MonthSums> months = sumsByCalendar(database, method, days, StatsGrouping::ByMonth);
    if (months.isEmpty())
        return kNone;
    BucketSums total;
    for (const MonthSums& month : months)
        total += month.sums;
    const StatsColumn column =
        series == StatsSeries::MonthlyCost ? StatsColumn::Cost : StatsColumn::Distance;
    return finiteOrNone(statsColumnValue(total, column, units) / double(months.size()));
}

// --- The date axis ------------------------------------------------------------------------------

namespace {

// Months counted from year 0, so that steps fall on the same months every year.
qint64 monthIndex(QDate date) {
    return qint64(date.year()) * 12 + date.month() - 1;
}

// How many ticks a step puts in the range, and the first of them, in months or years from 0.
std::pair<qint64, qint64> ticksOf(qint64 first, qint64 last, qint64 step) {
    const qint64 firstTick = (first + step - 1) / step * step;
    return {firstTick, firstTick > last ? 0 : (last - firstTick) / step + 1};
}

} // namespace

DateTicks chooseDateTicks(const DayRange& days, int maxTicks) {
    DateTicks ticks;
    if (days.isEmpty())
        return ticks;
    maxTicks = std::max(maxTicks, 1);
    // A tick falls on a month's (year's) first day: a range that begins later in it begins
    // after that tick.
    const qint64 firstMonth = monthIndex(days.first) + (days.first.day() > 1 ? 1 : 0);
    const qint64 lastMonth = monthIndex(days.last);
    for (const int step : {1, 2, 3, 6}) {
        const auto [firstTick, count] = ticksOf(firstMonth, lastMonth, step);
        if (count <= maxTicks) {
            ticks.step = step;
            for (qint64 m = firstTick; m <= lastMonth; m += step)
                ticks.dates.append(QDate(int(m / 12), int(m % 12) + 1, 1));
            return ticks;
        }
    }
    ticks.unit = DateTicks::Years;
    const qint64 firstYear = days.first.year() + (days.first.dayOfYear() > 1 ? 1 : 0);
    const qint64 lastYear = days.last.year();
    // 1, 2, 5, 10, 20, 50, ... years: a step of the span's length holds at most one tick.
    for (qint64 scale = 1;; scale *= 10) {
        for (const qint64 factor : {1, 2, 5}) {
            const qint64 step = scale * factor;
            const auto [firstTick, count] = ticksOf(firstYear, lastYear, step);
            if (count <= maxTicks) {
                ticks.step = int(step);
                for (qint64 y = firstTick; y <= lastYear; y += step)
                    ticks.dates.append(QDate(int(y), 1, 1));
                return ticks;
            }
        }
    }
}

QString dateTickLabel(const DateTicks& ticks, QDate date, const QLocale& locale) {
    return locale.toString(date, ticks.unit == DateTicks::Months ? QStringLiteral("MMM yyyy")
                                                                 : QStringLiteral("yyyy"));
}
