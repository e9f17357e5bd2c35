#include "stats/totals.h"

#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDaysInMonth = 30;

// In the order of TotalsRow.
constexpr const TextId* kRowLabels[] = {
    &Text::stats_distance,    &Text::stats_fuel,
    &Text::stats_cost,        &Text::stats_Period,
    &Text::stats_consumption, &Text::stats_CostOfDist,
    &Text::stats_MonthlyCost, &Text::stats_MonthlyDistance,
    &Text::stats_endurance,
};
static_assert(std::size(kRowLabels) == std::size(kTotalsRows));

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
    int previous = -1; // the last fill from `first` on that is not partial
    for (int end = first; end <= last; ++end) {
        if (database.getFillFlags(end).partial)
            continue;
        RunVisit visited;
        visited.end = end;
        visited.from = fullTank ? std::max(previous, first) + 1 : std::max(previous, first);
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
        previous = end;
    }
    // Partial fills at the end wait for the fill that closes their run.
    RunVisit open;
    open.from = fullTank ? std::max(previous, first) + 1 : std::max(previous, first);
    open.to = fullTank ? last : last - 1;
    visit(open);
}

namespace {

// The sums over the runs that have figures, and the fuel they leave out.
struct RunSums {
    qint64 distance = 0;
    float fuel = 0.0f;
    float cost = 0.0f;
    bool any = false;
    int leftOutMissed = 0;
    int leftOutPartial = 0;
};

RunSums runSums(const CFuelDatabase& database, FillingMethod method, int first, int last) {
    RunSums sums;
    visitRuns(database, method, first, last, [&](const RunVisit& run) {
        if (run.counted) {
            sums.any = true;
            sums.distance += run.distance;
            for (int i = run.from; i <= run.to; ++i) {
                sums.fuel += database.getFill(i)->fuel;
                sums.cost += database.getFill(i)->cost;
            }
        } else if (run.end < 0 || run.end > first) {
            (run.missed ? sums.leftOutMissed : sums.leftOutPartial) +=
                std::max(0, run.to - run.from + 1);
        }
    });
    return sums;
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

    // In 64 bits: odometers at opposite ends of their range are still this far apart.
    const qint64 distance = qint64(lastFill.odometer) - qint64(firstFill.odometer);
    totals.distance = distance;

    const int firstCharged = method == FillingMethod::ToEmptyTank ? first : first + 1;
    const int lastCharged = method == FillingMethod::ToEmptyTank ? last - 1 : last;
    float fuel = 0.0f;
    float cost = 0.0f;
    for (int i = firstCharged; i <= lastCharged; ++i) {
        fuel += database.getFill(i)->fuel;
        cost += database.getFill(i)->cost;
    }
    totals.fuel = fuel;
    totals.cost = cost;

    const RunSums runs = runSums(database, method, first, last);
    totals.leftOutMissed = runs.leftOutMissed;
    totals.leftOutPartial = runs.leftOutPartial;
    if (runs.any) {
        const float inverse = 1.0f / float(runs.distance);
        totals.consumption = consumptionOver(runs.distance, runs.fuel);
        totals.costOfDist = inverse * runs.cost * 100.0f;
        totals.endurance = float(runs.distance) / runs.fuel;
    }

    // Fills out of time order (a damaged file) have no period and so no monthly figures.
    const qint32 period = daysInPeriod(firstFill.dateTime, lastFill.dateTime);
    if (period > 0) {
        totals.period = period;
        totals.monthlyCost = roundedWhole(cost * float(kDaysInMonth) / float(period));
        totals.monthlyDistance = distance * kDaysInMonth / period;
    }
    return totals;
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

QString totalsLabel(TotalsRow row, const LogUnits& units) {
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
        return texts.volume;
    case TotalsRow::Cost:
        return texts.currency;
    case TotalsRow::Period:
        // A single day is "day", not "days".
        return translate(totals.period == 1 ? Text::units_periodone : Text::units_period);
    case TotalsRow::Consumption:
        return texts.consumption;
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
        return dialogValueText(volumeIn(units, totals.fuel));
    case TotalsRow::Cost:
        return dialogValueText(totals.cost);
    case TotalsRow::Period:
        return wholeText(totals.period);
    case TotalsRow::Consumption:
        return dialogValueText(consumptionIn(units, totals.consumption));
    case TotalsRow::CostOfDist:
        return dialogValueText(costOfDistIn(units, totals.costOfDist));
    case TotalsRow::MonthlyCost:
        return wholeText(totals.monthlyCost);
    case TotalsRow::MonthlyDistance:
        return wholeText(distance(totals.monthlyDistance));
    case TotalsRow::Endurance:
        break;
    }
    return dialogValueText(enduranceIn(units, totals.endurance));
}

bool coversAMonth(const FillTotals& totals) {
    return totals.period && *totals.period >= 30;
}
