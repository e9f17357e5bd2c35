#include "stats/totals.h"

#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/texts.h"

#include <cmath>

namespace {

constexpr int kDaysInMonth = 30;

struct RowTexts {
    const TextId* label;
    const TextId* unit;
};

// In the order of TotalsRow.
constexpr RowTexts kRowTexts[] = {
    {&Text::stats_distance, &Text::units_odometer},
    {&Text::stats_fuel, &Text::units_fuel},
    {&Text::stats_cost, &Text::units_cost},
    {&Text::stats_Period, &Text::units_period},
    {&Text::stats_consumption, &Text::units_consumption},
    {&Text::stats_CostOfDist, &Text::units_CostOfDist},
    {&Text::stats_MonthlyCost, &Text::units_MonthlyCost},
    {&Text::stats_MonthlyDistance, &Text::units_MonthlyDistance},
    {&Text::stats_endurance, &Text::units_endurance},
};
static_assert(std::size(kRowTexts) == std::size(kTotalsRows));

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

FillTotals computeTotals(const CFuelDatabase& database, FillingMethod method) {
    FillTotals totals;
    const int count = database.getFillCount();
    if (count < 2)
        return totals;
    const FillRecord& first = *database.getFill(0);
    const FillRecord& last = *database.getFill(count - 1);

    // In 64 bits: odometers at opposite ends of their range are still this far apart.
    const qint64 distance = qint64(last.odometer) - qint64(first.odometer);
    totals.distance = distance;

    const int firstCharged = method == FillingMethod::ToEmptyTank ? 0 : 1;
    const int lastCharged = method == FillingMethod::ToEmptyTank ? count - 2 : count - 1;
    float fuel = 0.0f;
    float cost = 0.0f;
    for (int i = firstCharged; i <= lastCharged; ++i) {
        fuel += database.getFill(i)->fuel;
        cost += database.getFill(i)->cost;
    }
    totals.fuel = fuel;
    totals.cost = cost;

    const float inverse = 1.0f / float(distance);
    totals.consumption = inverse * fuel * 100.0f;
    totals.costOfDist = inverse * cost * 100.0f;
    totals.endurance = float(distance) / fuel;

    // Fills out of time order (a damaged file) have no period and so no monthly figures.
    const qint32 period = daysInPeriod(first.dateTime, last.dateTime);
    if (period > 0) {
        totals.period = period;
        totals.monthlyCost = roundedWhole(cost * float(kDaysInMonth) / float(period));
        totals.monthlyDistance = distance * kDaysInMonth / period;
    }
    return totals;
}

const TextId& totalsLabel(TotalsRow row) {
    return *kRowTexts[int(row)].label;
}

const TextId& totalsUnit(TotalsRow row) {
    return *kRowTexts[int(row)].unit;
}

QString totalsValueText(const FillTotals& totals, TotalsRow row) {
    switch (row) {
    case TotalsRow::Distance:
        return wholeText(totals.distance);
    case TotalsRow::Fuel:
        return dialogValueText(totals.fuel);
    case TotalsRow::Cost:
        return dialogValueText(totals.cost);
    case TotalsRow::Period:
        return wholeText(totals.period);
    case TotalsRow::Consumption:
        return dialogValueText(totals.consumption);
    case TotalsRow::CostOfDist:
        return dialogValueText(totals.costOfDist);
    case TotalsRow::MonthlyCost:
        return wholeText(totals.monthlyCost);
    case TotalsRow::MonthlyDistance:
        return wholeText(totals.monthlyDistance);
    case TotalsRow::Endurance:
        break;
    }
    return dialogValueText(totals.endurance);
}

const TextId& totalsUnit(const FillTotals& totals, TotalsRow row) {
    if (row == TotalsRow::Period && totals.period == 1)
        return Text::units_periodone;
    return totalsUnit(row);
}

bool coversAMonth(const FillTotals& totals) {
    return totals.period && *totals.period >= 30;
}
