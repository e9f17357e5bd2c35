#include "stats/graphseries.h"

#include "db/fueldatabase.h"

QList<float> buildSeries(const CFuelDatabase& database, GraphKind kind, int startIndex,
                         FillingMethod method) {
    QList<float> series;
    const int count = database.getFillCount();
    if (startIndex < 0 || startIndex >= count)
        return series;
    const bool perFill = kind == GraphKind::FillCost || kind == GraphKind::UnitCost;
    const int end = perFill ? count : count - 1;
    series.reserve(end - startIndex);
    const LogUnits units = database.units();
    for (int i = startIndex; i < end; ++i) {
        const FillRecord* fill = database.getFill(i);
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
        }
    }
    return series;
}
