#pragma once

// The figures over the whole fill history: distance, the fuel and cost charged to it under the
// filling method, averages per 100 distance units and per month, the period and the endurance.
// Plain computation over one database, so that any window (or a comparison of several logs) can
// show them.

#include "db/units.h"
#include "stats/derived.h"

#include <QList>
#include <QString>
#include <functional>
#include <limits>
#include <optional>

class CFuelDatabase;
struct TextId;

// The figures of one energy (fuel in litres, or electricity in kWh) over the runs of its own
// fills, each over all the distance of its runs.
struct EnergyTotals {
    static constexpr float kNone = std::numeric_limits<float>::quiet_NaN();

    int fills = 0;             // the fills of the energy among the fills
    float amount = kNone;      // litres or kWh charged to the distance
    float cost = kNone;        // their cost
    float consumption = kNone; // litres or kWh per 100 distance units
    float costOfDist = kNone;  // cost per 100 distance units
    float endurance = kNone;   // distance per litre or kWh
    int leftOutMissed = 0;
    int leftOutPartial = 0;
};

// A float that is infinite or NaN and a whole number without a value are not available. With
// fewer than two fills nothing is. Distances are in the log's stored unit (see derived.h).
//
// The amount, consumption and endurance are those of the log's energy: of the charges in an
// electric log, of the fuel otherwise. The cost, its figures per distance and per month are of
// both energies: the cost per distance adds each energy's cost over its own runs' distance, all
// of them over the same odometer.
struct FillTotals {
    static constexpr float kNone = std::numeric_limits<float>::quiet_NaN();

    std::optional<qint64> distance;        // from the first fill to the last
    float fuel = kNone;                    // litres charged to the distance
    float cost = kNone;                    // cost charged to the distance
    std::optional<qint32> period;          // calendar days, both end days included
    float consumption = kNone;             // litres per 100 distance units
    float costOfDist = kNone;              // cost per 100 distance units
    std::optional<qint64> monthlyCost;     // per 30 days, rounded
    std::optional<qint64> monthlyDistance; // distance per 30 days, truncated
    float endurance = kNone;               // distance per litre
    // The fills whose fuel the averages leave out, by reason (see computeTotals).
    int leftOutMissed = 0;  // in a run with a fill that was not logged
    int leftOutPartial = 0; // in a run that partial fills leave open

    // Each energy on its own (fuel: [0], electricity: [1]).
    EnergyTotals energies[2];
    // The log's figures are of the charges (an electric log).
    bool charges = false;
    // The usable battery capacity in kWh estimated from the charges with both states of charge
    // (see chargeCapacity), from kCapacityCharges charges on; and how many charges give one.
    float capacity = kNone;
    int capacityCharges = 0;
    // A plug-in hybrid's share of the distance driven on electricity, 0 to 1 (see
    // electricShare); NaN where the states of charge cannot split it.
    float electricShare = kNone;

    const EnergyTotals& fuelPart() const { return energies[0]; }
    const EnergyTotals& chargePart() const { return energies[1]; }
};

// The fewest charges whose capacity estimate the windows show.
inline constexpr int kCapacityCharges = 3;

// The figures of the fills first to last (the whole log by default), as if the log held only
// them. Distance, fuel and cost are the sums over them: the fuel and cost charged to the
// distance are those of every fill but the last under ToEmptyTank, of every fill but the first
// under FullTank. Consumption, cost per distance and endurance are over the runs (see fillRun)
// that have figures and lie inside the fills, total fuel over total distance; the fuel of the
// other fills is left out of them, and counted.
FillTotals computeTotals(const CFuelDatabase& database, FillingMethod method, int first = 0,
                         int last = std::numeric_limits<int>::max());
// The consumption of runs of this total distance charged with this much fuel, as the totals
// work it out.
float consumptionOver(qint64 distance, float fuel);

// A run of the fills first..last as the totals count it. Every fill that may be charged is
// charged to the run of the next fill that is not partial: under FullTank the fills after the
// last such fill up to it, under ToEmptyTank the fills from the last such fill up to the one
// before it.
struct RunVisit {
    bool charge = false; // the run's energy: only its fills in from..to are charged to it
    int end = -1;        // the fill that ends the run; -1 for the partial fills at the end
                         // that wait for the fill that closes their run
    int from = 0;        // the fills charged to the run, from..to (none when from > to)
    int to = -1;
    bool counted = false; // the run has figures (see fillRun) and begins at `first` or later
    bool missed = false;  // it has none because a fill before it was not logged
    // The run ends at the first fill of its energy from `first` on: nothing is charged to it
    // that the figures leave out.
    bool firstOfEnergy = false;
    int start = -1;      // counted runs: the fill whose odometer begins the run
    qint64 distance = 0; // counted runs: from the start's odometer to the end's
};

// Calls visit for each run that ends among the fills first..last (valid indices), in order,
// and last, once per energy, for the partial fills after the last run of that energy.
void visitRuns(const CFuelDatabase& database, FillingMethod method, int first, int last,
               const std::function<void(const RunVisit&)>& visit);

// The share of the distance between the charges first..last of a plug-in hybrid that it drove
// on electricity, 0 to 1; NaN when no pair of consecutive charges allows it (see totals.cpp), or
// when the battery's capacity (kWh, NaN when unknown) shows that the intervals taken as driven
// on electricity throughout used too little of it for that.
float electricShare(const CFuelDatabase& database, int first, int last, float capacity);

// The one-line note under the totals that says which fills the averages leave out and why;
// empty when they leave out none.
QString totalsLeftOutText(const FillTotals& totals);

// The rows of the totals, top to bottom.
enum class TotalsRow {
    Distance,
    Fuel,
    Cost,
    Period,
    Consumption,
    CostOfDist,
    MonthlyCost,
    MonthlyDistance,
    Endurance,
    // The rows of a log with charges. Fuel, Consumption and Endurance are those of the log's
    // energy (kWh in an electric log), CostOfDist of both energies together.
    Electricity,         // kWh charged, beside the fuel of a plug-in hybrid
    ElectricConsumption, // beside the fuel's
    FuelCostOfDist,      // each energy's own
    ElectricCostOfDist,
    BatteryCapacity,
    ElectricShare, // the share of the distance driven on electricity, or that it cannot be split
};
// The rows of a fuel log.
inline constexpr TotalsRow kTotalsRows[] = {TotalsRow::Distance,    TotalsRow::Fuel,
                                            TotalsRow::Cost,        TotalsRow::Period,
                                            TotalsRow::Consumption, TotalsRow::CostOfDist,
                                            TotalsRow::MonthlyCost, TotalsRow::MonthlyDistance,
                                            TotalsRow::Endurance};
inline constexpr int kTotalsRowCount = int(TotalsRow::ElectricShare) + 1;
// The rows of a log of the vehicle's energy, top to bottom.
QList<TotalsRow> totalsRows(VehicleEnergy energy);

// The row's label and unit in the loaded language, for a log in the given units (the period of a
// single day is "day", not "days").
QString totalsLabel(TotalsRow row, const LogUnits& units);
QString totalsUnit(const FillTotals& totals, TotalsRow row, const LogUnits& units);
// The value in the given units: "%d" or "%0.2f" with the user's decimal character; the
// not-available text where there is no value.
QString totalsValueText(const FillTotals& totals, TotalsRow row, const LogUnits& units = {});

// The consumption of the log's energy in the log's units (of fuel, or of electricity).
float shownConsumption(const FillTotals& totals, const LogUnits& units);

// True when the period holds at least one month of 30 days: the monthly figures of a shorter
// period are an extrapolation that a comparison of vehicles leaves out.
bool coversAMonth(const FillTotals& totals);
