#pragma once

// The values the graph dialog plots, one per fill from a start fill on, in database order.

#include "db/units.h"
#include "stats/derived.h"

#include <QList>

class CFuelDatabase;

// The number each entry of the graph dialog's lists carries.
enum class GraphKind {
    FillCost = 1,
    Consumption = 2,
    UnitCost = 3,
    Endurance = 4,
    ElectricConsumption = 5, // of the charges, in the log's electricity consumption unit
    EnergyUnitCost = 6,      // the price of a kWh of each charge
};

// The kinds the graph dialog offers for a log of the vehicle's energy: each energy's own
// series (fuel: consumption, unit cost, endurance; electricity: consumption, price of a kWh)
// and the cost of every fill.
QList<GraphKind> graphKinds(VehicleEnergy energy);

// Fill cost and unit cost: one value for every fill from startIndex to the last.
// Consumption and endurance: the value of the later fill of each pair from (startIndex,
// startIndex + 1) on, under the given filling method; the start fill's own value against the
// fill before it is not part of the series, so the series is one shorter. A fill without a
// figure (partial, after a missed fill) gives NaN, which the chart leaves out.
// The series of one energy have NaN at the fills of the other (fuel: Consumption, UnitCost and
// Endurance; charges: ElectricConsumption and EnergyUnitCost).
// A start index outside the fills gives an empty series. Values are in the log's units.
QList<float> buildSeries(const CFuelDatabase& database, GraphKind kind, int startIndex,
                         FillingMethod method);
