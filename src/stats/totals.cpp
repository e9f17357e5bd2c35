#include "stats/totals.h"

#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/plausibility.h"

#include <QList>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kDaysInMonth = 30;

// In the order of TotalsRow.
constexpr const TextId* kRowLabels[] = {
    &Text::stats_distance,
    &Text::stats_fuel,
    &Text::stats_cost,
    &Text::stats_Period,
    &Text::stats_consumption,
    &Text::stats_CostOfDist,
    &Text::stats_MonthlyCost,
    &Text::stats_MonthlyDistance,
    &Text::stats_endurance,
    &Text::stats_Electricity,
    &Text::stats_ElectricConsumption,
    &Text::stats_FuelCostOfDist,
    &Text::stats_ElectricCostOfDist,
    &Text::stats_Capacity,
    &Text::stats_ElectricShare,
};
static_assert(std::size(kRowLabels) == kTotalsRowCount);

// Adds a half in double precision and cuts toward zero; none where the result is no whole
// number the totals can hold.
std::optional<qint64> roundedWhole(float value) {
    const double rounded = std::trunc(double(value) + 0.5);
    if (!std::isfinite(rounded) || std::fabs(rounded) >= 9.0e18)
        return std::nullopt;
    return qint64(rounded);
}

QString wholeText(const std::optional<qint64>& value) {
    return value ? QString::number(*value) : notAvailableText();
}

} // namespace

void visitRuns(const CFuelDatabase& database, FillingMethod method, int first, int last,
               const std::function<void(const RunVisit&)>& visit) {
    const bool fullTank = method != FillingMethod::ToEmptyTank;
    // By energy: the last fill from `first` on that is not partial.
    int previous[2] = {-1, -1};
    bool seen[2] = {false, false};
    int lastOf[2] = {last, last}; // the last fill of each energy
    for (int end = first; end <= last; ++end) {
        const FillFlags flags = database.getFillFlags(end);
        const bool firstOfEnergy = !seen[flags.charge ? 1 : 0];
        seen[flags.charge ? 1 : 0] = true;
        lastOf[flags.charge ? 1 : 0] = end;
        if (flags.partial)
            continue;
        int& before = previous[flags.charge ? 1 : 0];
        RunVisit visited;
        visited.charge = flags.charge;
        visited.end = end;
        visited.firstOfEnergy = firstOfEnergy;
        visited.from = fullTank ? std::max(before, first) + 1 : std::max(before, first);
        visited.to = fullTank ? end : end - 1;
        FillRun run;
        const FillRunStatus status = fillRun(database, end, &run);
        visited.counted = status == FillRunStatus::Figure && run.start >= first;
        visited.missed =
            status == FillRunStatus::MissedBefore || status == FillRunStatus::MissedInRun;
        if (visited.counted) {
            visited.start = run.start;
            visited.distance = qint64(database.getFill(end)->odometer) -
                               qint64(database.getFill(run.start)->odometer);
        }
        visit(visited);
        before = end;
    }
    // Partial fills at the end wait for the fill that closes their run.
    for (const bool charge : {false, true}) {
        if (!seen[charge ? 1 : 0] && (charge || seen[1]))
            continue;
        const int before = previous[charge ? 1 : 0];
        RunVisit open;
        open.charge = charge;
        open.from = fullTank ? std::max(before, first) + 1 : std::max(before, first);
        // Driven empty, the energy's last fill waits for the run it will be charged to.
        open.to = fullTank ? last : lastOf[charge ? 1 : 0] - 1;
        visit(open);
    }
}

namespace {

// The sums of one energy over its runs that have figures, and the fills they leave out.
struct RunSums {
    qint64 distance = 0;
    float fuel = 0.0f;
    float cost = 0.0f;
    bool any = false;
    int leftOutMissed = 0;
    int leftOutPartial = 0;
};

void runSums(const CFuelDatabase& database, FillingMethod method, int first, int last,
             RunSums (&sums)[2]) {
    visitRuns(database, method, first, last, [&](const RunVisit& run) {
        RunSums& energy = sums[run.charge ? 1 : 0];
        int charged = 0;
        for (int i = run.from; i <= run.to; ++i) {
            if (isChargeFill(database, i) != run.charge)
                continue;
            ++charged;
            if (run.counted) {
                energy.fuel += database.getFill(i)->fuel;
                energy.cost += database.getFill(i)->cost;
            }
        }
        if (run.counted) {
            energy.any = true;
            energy.distance += run.distance;
        } else if (!run.firstOfEnergy) {
            (run.missed ? energy.leftOutMissed : energy.leftOutPartial) += charged;
        }
    });
}

// The fills of the energy among first..last and what is charged to their distance: under
// FullTank all but the first of them, under ToEmptyTank all but the last.
void chargedSums(const CFuelDatabase& database, FillingMethod method, int first, int last,
                 bool charge, EnergyTotals* totals) {
    int firstOfEnergy = -1;
    int lastOfEnergy = -1;
    for (int i = first; i <= last; ++i) {
        if (isChargeFill(database, i) != charge)
            continue;
        ++totals->fills;
        if (firstOfEnergy < 0)
            firstOfEnergy = i;
        lastOfEnergy = i;
    }
    if (totals->fills == 0)
        return;
    const bool toEmpty = method == FillingMethod::ToEmptyTank;
    float amount = 0.0f;
    float cost = 0.0f;
    for (int i = firstOfEnergy; i <= lastOfEnergy; ++i) {
        if (isChargeFill(database, i) != charge || i == (toEmpty ? lastOfEnergy : firstOfEnergy))
            continue;
        amount += database.getFill(i)->fuel;
        cost += database.getFill(i)->cost;
    }
    totals->amount = amount;
    totals->cost = cost;
}

} // namespace

FillTotals computeTotals(const CFuelDatabase& database, FillingMethod method, int first, int last) {
    FillTotals totals;
    first = std::max(first, 0);
    last = std::min(last, database.getFillCount() - 1);
    if (last - first < 1)
        return totals;
    const FillRecord& firstFill = *database.getFill(first);
    const FillRecord& lastFill = *database.getFill(last);
    const VehicleEnergy energy = database.units().energy;

    // In 64 bits: odometers at opposite ends of their range are still this far apart.
    const qint64 distance = qint64(lastFill.odometer) - qint64(firstFill.odometer);
    totals.distance = distance;

    RunSums runs[2];
    runSums(database, method, first, last, runs);
    for (const int part : {0, 1}) {
        EnergyTotals& figures = totals.energies[part];
        chargedSums(database, method, first, last, part == 1, &figures);
        figures.leftOutMissed = runs[part].leftOutMissed;
        figures.leftOutPartial = runs[part].leftOutPartial;
        if (runs[part].any) {
            const float inverse = 1.0f / float(runs[part].distance);
            figures.consumption = consumptionOver(runs[part].distance, runs[part].fuel);
            figures.costOfDist = inverse * runs[part].cost * 100.0f;
            figures.endurance = float(runs[part].distance) / runs[part].fuel;
        }
    }

    // The log's own energy first; the other one's cost and cost per distance added where it has
    // any (a log of one energy keeps its figures bit for bit).
    totals.charges = energy == VehicleEnergy::Electric;
    const EnergyTotals& own = totals.energies[totals.charges ? 1 : 0];
    const EnergyTotals& other = totals.energies[totals.charges ? 0 : 1];
    totals.fuel = own.fills > 0 ? own.amount : 0.0f;
    totals.cost = own.fills > 0 ? own.cost : 0.0f;
    if (other.fills > 0)
        totals.cost += other.cost;
    totals.consumption = own.consumption;
    totals.endurance = own.endurance;
    totals.costOfDist = own.costOfDist;
    if (std::isnan(totals.costOfDist))
        totals.costOfDist = other.costOfDist;
    else if (!std::isnan(other.costOfDist))
        totals.costOfDist += other.costOfDist;
    totals.leftOutMissed = own.leftOutMissed + other.leftOutMissed;
    totals.leftOutPartial = own.leftOutPartial + other.leftOutPartial;

    float kwh = 0.0f;
    float gained = 0.0f;
    for (int i = first; i <= last; ++i) {
        const FillFlags flags = database.getFillFlags(i);
        if (std::isnan(chargeCapacity(*database.getFill(i), flags)))
            continue;
        ++totals.capacityCharges;
        kwh += database.getFill(i)->fuel;
        gained += float(flags.chargeAfter - flags.chargeBefore);
    }
    // Total kWh over total percent gained, not the mean of each charge's estimate: a short
    // charge's few percent (rounded to whole ones) weigh as little as the kWh they measure.
    if (totals.capacityCharges >= kCapacityCharges)
        totals.capacity = kwh / (gained / 100.0f);
    if (energy == VehicleEnergy::PlugInHybrid)
        totals.electricShare = electricShare(database, first, last, totals.capacity);

    // Fills out of time order (a damaged file) have no period and so no monthly figures.
    const qint32 period = daysInPeriod(firstFill.dateTime, lastFill.dateTime);
    if (period > 0) {
        totals.period = period;
        totals.monthlyCost = roundedWhole(totals.cost * float(kDaysInMonth) / float(period));
        totals.monthlyDistance = distance * kDaysInMonth / period;
    }
    return totals;
}

float electricShare(const CFuelDatabase& database, int first, int last, float capacity) {
    // A plug-in hybrid drives on its battery until it is empty, then on fuel. Between two
    // consecutive charges with states of charge the battery gave (after the earlier - before the
    // later) percent of its capacity. An interval that ended with charge left (before > 0) was
    // driven on electricity throughout: these intervals give the percent used per distance. An
    // interval that ended empty drove (percent given / that rate) on electricity, the rest on
    // fuel. The capacity cancels out, so the share needs no estimate of it. Intervals whose
    // battery gave nothing, that have no distance, or an unlogged charge inside are left out.
    struct Interval {
        qint64 distance;
        int given;
    };
    QList<Interval> empty;
    qint64 fullDistance = 0; // of the intervals that ended with charge left
    qint64 fullGiven = 0;
    int previous = -1;
    for (int i = std::max(first, 0); i <= last; ++i) {
        const FillFlags flags = database.getFillFlags(i);
        if (!flags.charge)
            continue;
        if (previous >= 0 && !flags.missedBefore) {
            const FillFlags earlier = database.getFillFlags(previous);
            const qint64 distance =
                qint64(database.getFill(i)->odometer) - database.getFill(previous)->odometer;
            const int given = earlier.chargeAfter - flags.chargeBefore;
            if (earlier.chargeAfter != kNoChargeLevel && flags.chargeBefore != kNoChargeLevel &&
                given > 0 && distance > 0) {
                if (flags.chargeBefore > 0) {
                    fullDistance += distance;
                    fullGiven += given;
                } else {
                    empty.append({distance, given});
                }
            }
        }
        previous = i;
    }
    if (fullDistance == 0)
        return FillTotals::kNone;
    // A hybrid mode that burns fuel while the battery still holds charge breaks the assumption;
    // it shows as a battery that seems to drive further per kWh than any electric car does.
    const double kilometres = double(fullDistance) * kilometresPerUnit(database.units().stored);
    const double kwhPer100Km = double(fullGiven) / 100.0 * double(capacity) / kilometres * 100.0;
    if (kwhPer100Km < double(kLowestPlausibleElectricConsumption))
        return FillTotals::kNone;
    double electric = double(fullDistance);
    qint64 total = fullDistance;
    for (const Interval& interval : empty) {
        const double driven = double(interval.given) * double(fullDistance) / double(fullGiven);
        electric += std::min(driven, double(interval.distance));
        total += interval.distance;
    }
    return float(electric / double(total));
}

float consumptionOver(qint64 distance, float fuel) {
    return 1.0f / float(distance) * fuel * 100.0f;
}

QString totalsLeftOutText(const FillTotals& totals) {
    const int count = totals.leftOutMissed + totals.leftOutPartial;
    if (count == 0)
        return {};
    const TextId& text = totals.leftOutPartial == 0  ? Text::stats_LeftOutMissed
                         : totals.leftOutMissed == 0 ? Text::stats_LeftOutPartial
                                                     : Text::stats_LeftOutBoth;
    return translate(text).arg(count);
}

QList<TotalsRow> totalsRows(VehicleEnergy energy) {
    using enum TotalsRow;
    switch (energy) {
    case VehicleEnergy::Fuel:
        break;
    case VehicleEnergy::Electric:
        // Distance per kWh is one of the consumption units: no endurance row.
        return {Distance,        Fuel,           Cost, Period, Consumption, CostOfDist, MonthlyCost,
                MonthlyDistance, BatteryCapacity};
    case VehicleEnergy::PlugInHybrid:
        return {Distance,
                Fuel,
                Electricity,
                Cost,
                Period,
                Consumption,
                ElectricConsumption,
                FuelCostOfDist,
                ElectricCostOfDist,
                CostOfDist,
                MonthlyCost,
                MonthlyDistance,
                Endurance,
                BatteryCapacity,
                ElectricShare};
    }
    return QList<TotalsRow>(std::begin(kTotalsRows), std::end(kTotalsRows));
}

QString totalsLabel(TotalsRow row, const LogUnits& units) {
    const bool hybrid = units.energy == VehicleEnergy::PlugInHybrid;
    if (row == TotalsRow::Fuel && units.energy == VehicleEnergy::Electric)
        return translate(Text::stats_Electricity);
    if (row == TotalsRow::Consumption && hybrid)
        return translate(Text::stats_FuelConsumption);
    if (row == TotalsRow::CostOfDist && hybrid)
        return translate(Text::stats_CombinedCostOfDist);
    // The language file's label of the cost per distance may name kilometres.
    if (row == TotalsRow::CostOfDist && units.distance != DistanceUnit::Kilometres)
        return translate(Text::main_CostOfDistMi);
    return translate(*kRowLabels[int(row)]);
}

QString totalsUnit(const FillTotals& totals, TotalsRow row, const LogUnits& units) {
    const UnitTexts texts = unitTexts(units);
    switch (row) {
    case TotalsRow::Distance:
        return texts.odometer;
    case TotalsRow::Fuel:
        return amountUnit(texts, totals.charges);
    case TotalsRow::Electricity:
    case TotalsRow::BatteryCapacity:
        return texts.energy;
    case TotalsRow::ElectricConsumption:
        return texts.electricConsumption;
    case TotalsRow::FuelCostOfDist:
    case TotalsRow::ElectricCostOfDist:
        return texts.costOfDist;
    case TotalsRow::ElectricShare:
        return std::isnan(totals.electricShare) ? QString() : translate(Text::units_Percent);
    case TotalsRow::Cost:
        return texts.currency;
    case TotalsRow::Period:
        // A single day is "day", not "days".
        return translate(totals.period == 1 ? Text::units_periodone : Text::units_period);
    case TotalsRow::Consumption:
        return totals.charges ? texts.electricConsumption : texts.consumption;
    case TotalsRow::CostOfDist:
        return texts.costOfDist;
    case TotalsRow::MonthlyCost:
        return texts.monthlyCost;
    case TotalsRow::MonthlyDistance:
        return texts.monthlyDistance;
    case TotalsRow::Endurance:
        break;
    }
    return texts.endurance;
}

QString totalsValueText(const FillTotals& totals, TotalsRow row, const LogUnits& units) {
    const auto distance = [&units](const std::optional<qint64>& stored) {
        return stored ? std::optional(distanceIn(units, *stored)) : std::nullopt;
    };
    switch (row) {
    case TotalsRow::Distance:
        return wholeText(distance(totals.distance));
    case TotalsRow::Fuel:
        return dialogValueText(amountIn(units, totals.charges, totals.fuel));
    case TotalsRow::Electricity:
        return dialogValueText(totals.chargePart().amount);
    case TotalsRow::Cost:
        return dialogValueText(totals.cost);
    case TotalsRow::Period:
        return wholeText(totals.period);
    case TotalsRow::Consumption:
        return dialogValueText(shownConsumption(totals, units));
    case TotalsRow::ElectricConsumption:
        return dialogValueText(electricConsumptionIn(units, totals.chargePart().consumption));
    case TotalsRow::FuelCostOfDist:
        return dialogValueText(costOfDistIn(units, totals.fuelPart().costOfDist));
    case TotalsRow::ElectricCostOfDist:
        return dialogValueText(costOfDistIn(units, totals.chargePart().costOfDist));
    case TotalsRow::BatteryCapacity:
        return dialogValueText(totals.capacity);
    case TotalsRow::ElectricShare:
        return std::isnan(totals.electricShare) ? translate(Text::stats_CannotSplit)
                                                : dialogValueText(totals.electricShare * 100.0f);
    case TotalsRow::CostOfDist:
        return dialogValueText(costOfDistIn(units, totals.costOfDist));
    case TotalsRow::MonthlyCost:
        return wholeText(totals.monthlyCost);
    case TotalsRow::MonthlyDistance:
        return wholeText(distance(totals.monthlyDistance));
    case TotalsRow::Endurance:
        break;
    }
    // The distance per kWh of an electric log is shown as its consumption unit.
    return totals.charges ? notAvailableText()
                          : dialogValueText(enduranceIn(units, totals.endurance));
}

float shownConsumption(const FillTotals& totals, const LogUnits& units) {
    return totals.charges ? electricConsumptionIn(units, totals.consumption)
                          : consumptionIn(units, totals.consumption);
}

bool coversAMonth(const FillTotals& totals) {
    return totals.period && *totals.period >= 30;
}
