#include "stats/derived.h"

#include "db/formats.h"
#include "db/fueldatabase.h"
#include "db/regional.h"
#include "db/units.h"
#include "localisation/language.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

struct Basis {
    float distance;
    float fuel;
    float cost;
};

Basis basisOf(const FillRecord& fill, const FillRecord& previous, FillingMethod method) {
    const FillRecord& charged = method == FillingMethod::ToEmptyTank ? previous : fill;
    return {float(fillDistance(fill, previous)), charged.fuel, charged.cost};
}

// The charged fuel and cost summed in index order, starting from the first fill's own values.
// The charged fuel and cost summed in index order (0 + x is x: a log of one energy keeps its
// rounding).
Basis runBasis(const CFuelDatabase& database, const FillRun& run, FillingMethod method) {
    const auto [first, last] = chargedFills(run, method);
    Basis basis{float(fillDistance(*database.getFill(run.end), *database.getFill(run.start))), 0.0f,
                0.0f};
    for (int i = first; i <= last; ++i) {
        if (!chargedTo(database, run, i))
            continue;
        basis.fuel += database.getFill(i)->fuel;
        basis.cost += database.getFill(i)->cost;
    }
    return basis;
}

float consumptionOf(const Basis& basis) {
    return basis.fuel / basis.distance * 100.0f;
}

float costOfDistOf(const Basis& basis) {
    return basis.cost / basis.distance * 100.0f;
}

float enduranceOf(const Basis& basis) {
    return basis.distance / basis.fuel;
}

template <typename Figure>
float pairFigure(const FillRecord* fill, const FillRecord* previous, FillingMethod method,
                 Figure figure) {
    return fill && previous ? figure(basisOf(*fill, *previous, method)) : -1.0f;
}

template <typename Figure>
float runFigure(const CFuelDatabase& database, int index, FillingMethod method, Figure figure) {
    FillRun run;
    if (fillRun(database, index, &run) != FillRunStatus::Figure)
        return kNoFigure;
    return figure(runBasis(database, run, method));
}

} // namespace

float fillConsumption(const FillRecord* fill, const FillRecord* previous, FillingMethod method) {
    return pairFigure(fill, previous, method, consumptionOf);
}

float fillCostOfDist(const FillRecord* fill, const FillRecord* previous, FillingMethod method) {
    return pairFigure(fill, previous, method, costOfDistOf);
}

float fillEndurance(const FillRecord* fill, const FillRecord* previous, FillingMethod method) {
    return pairFigure(fill, previous, method, enduranceOf);
}

FillRunStatus fillRun(const CFuelDatabase& database, int index, FillRun* run) {
    if (index < 0 || index >= database.getFillCount())
        return FillRunStatus::NoFill;
    const FillFlags flags = database.getFillFlags(index);
    if (flags.partial)
        return FillRunStatus::Partial;
    if (flags.missedBefore)
        return FillRunStatus::MissedBefore;
    // Only the fills of the same energy begin or break the run.
    bool earlier = false;
    int start = index - 1;
    for (; start >= 0; --start) {
        const FillFlags before = database.getFillFlags(start);
        if (before.charge != flags.charge)
            continue;
        earlier = true;
        if (!before.partial)
            break;
        if (before.missedBefore)
            return FillRunStatus::MissedInRun;
    }
    if (start < 0)
        return earlier ? FillRunStatus::NoStart : FillRunStatus::FirstFill;
    *run = {start, index};
    return FillRunStatus::Figure;
}

std::pair<int, int> chargedFills(const FillRun& run, FillingMethod method) {
    if (method == FillingMethod::ToEmptyTank)
        return {run.start, run.end - 1};
    return {run.start + 1, run.end};
}

float fillConsumption(const CFuelDatabase& database, int index, FillingMethod method) {
    return runFigure(database, index, method, consumptionOf);
}

float fillCostOfDist(const CFuelDatabase& database, int index, FillingMethod method) {
    return runFigure(database, index, method, costOfDistOf);
}

float fillEndurance(const CFuelDatabase& database, int index, FillingMethod method) {
    return runFigure(database, index, method, enduranceOf);
}

bool isChargeFill(const CFuelDatabase& database, int index) {
    return database.getFillFlags(index).charge;
}

int lastFillDependingOn(const CFuelDatabase& database, int index) {
    const int last = database.getFillCount() - 1;
    // A changed fill may have changed its energy: the runs of both energies around it change.
    // Only a log that may hold both looks for the other energy (a fuel log would look to its end).
    const bool both = database.units().energy == VehicleEnergy::PlugInHybrid;
    bool found[2] = {false, !both};
    int next = std::max(index + 1, 0);
    for (; next < last; ++next) {
        const FillFlags flags = database.getFillFlags(next);
        if (!flags.partial)
            found[both && flags.charge ? 1 : 0] = true;
        if (found[0] && found[1])
            break;
    }
    return std::min(next, last);
}

float chargeCapacity(const FillRecord& fill, FillFlags flags) {
    if (!flags.charge || flags.chargeBefore == kNoChargeLevel ||
        flags.chargeAfter == kNoChargeLevel || flags.chargeAfter <= flags.chargeBefore)
        return kNoFigure;
    return fill.fuel / (float(flags.chargeAfter - flags.chargeBefore) / 100.0f);
}

qint32 fillDistance(const FillRecord& fill, const FillRecord& previous) {
    // Unsigned subtraction: odometers at opposite ends of the range wrap instead of overflowing.
    return qint32(quint32(fill.odometer) - quint32(previous.odometer));
}

float fillUnitCost(const FillRecord& fill) {
    return fill.cost / fill.fuel;
}

QString listCellText(float value) {
    return listCellText(value, currentRegionalSettings());
}

QString listCellText(float value, const RegionalSettings& regional) {
    return listCellShows(value) ? formatAmount(value, regional) : QString();
}

bool listCellShows(float value) {
    // A negative zero (zero fuel over a lower odometer) is a negative result too.
    return !std::signbit(value) && isPlausibleAmount(value);
}

QString dialogValueText(float value) {
    return formatAmount(value);
}

QString notAvailableText() {
    return translate(Text::Units_NA);
}

QString fillFlagsText(FillFlags flags) {
    QStringList texts;
    if (flags.partial)
        texts.append(translate(Text::fill_partial));
    if (flags.missedBefore)
        texts.append(translate(Text::fill_missed));
    if (flags.atHome)
        texts.append(translate(Text::fill_athome));
    if (flags.chargeBefore != kNoChargeLevel || flags.chargeAfter != kNoChargeLevel) {
        const auto level = [](qint8 percent) {
            return percent == kNoChargeLevel ? QStringLiteral("?") : QString::number(percent);
        };
        texts.append(translate(Text::fill_chargeLevels)
                         .arg(level(flags.chargeBefore), level(flags.chargeAfter)));
    }
    return texts.join(QStringLiteral(", "));
}

QString fillFlagsMark(FillFlags flags) {
    // A half-full circle for a tank not filled up, a gap for a fill not logged before.
    QString mark;
    if (flags.missedBefore)
        mark += u'\u22EF';
    if (flags.partial)
        mark += u'\u25D0';
    return mark;
}
