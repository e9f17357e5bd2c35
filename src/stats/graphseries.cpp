#include "stats/graphseries.h"

#include "db/fueldatabase.h"

QList<float> buildSeries(const CFuelDatabase& database, GraphKind kind, int startIndex,
                         FillingMethod method) {
    QList<float> series;
    const int count = database.getFillCount();
    if (startIndex < 0 || startIndex >= count)
        return series;
    const bool perFill = kind == GraphKind::FillCost || kind == GraphKind::UnitCost ||
                         kind == GraphKind::EnergyUnitCost;
    const bool charges =
        kind == GraphKind::ElectricConsumption || kind == GraphKind::EnergyUnitCost;
    const int end = perFill ? count : count - 1;
    series.reserve(end - startIndex);
    const LogUnits units = database.units();
    for (int i = startIndex; i < end; ++i) {
        const FillRecord* fill = database.getFill(i);
        // The fill whose figure the point shows: the fill itself, or the later of the pair.
        if (kind != GraphKind::FillCost && isChargeFill(database, perFill ? i : i + 1) != charges) {
            series.append(kNoFigure);
            continue;
        }
        switch (kind) {
        case GraphKind::FillCost:
            series.append(fill->cost);
            break;
        case GraphKind::UnitCost:
            series.append(unitCostIn(units, fillUnitCost(*fill)));
            break;
        case GraphKind::Consumption:
            series.append(consumptionIn(units, fillConsumption(database, i + 1, method)));
            break;
        case GraphKind::Endurance:
            series.append(enduranceIn(units, fillEndurance(database, i + 1, method)));
            break;
        case GraphKind::ElectricConsumption:
            series.append(electricConsumptionIn(units, fillConsumption(database, i + 1, method)));
            break;
        case GraphKind::EnergyUnitCost:
            series.append(fillUnitCost(*fill));
            break;
        }
    }
    return series;
}

QList<GraphKind> graphKinds(VehicleEnergy energy) {
    using enum GraphKind;
    switch (energy) {
    case VehicleEnergy::Fuel:
        break;
    case VehicleEnergy::Electric:
        return {FillCost, ElectricConsumption, EnergyUnitCost};
    case VehicleEnergy::PlugInHybrid:
        return {FillCost, Consumption, UnitCost, Endurance, ElectricConsumption, EnergyUnitCost};
    }
    return {FillCost, Consumption, UnitCost, Endurance};
}
