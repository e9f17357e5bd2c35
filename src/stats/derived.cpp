#include "stats/derived.h"

#include "db/formats.h"
#include "localisation/language.h"

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

} // namespace

float fillConsumption(const FillRecord* fill, const FillRecord* previous, FillingMethod method) {
    if (!fill || !previous)
        return -1.0f;
    const Basis basis = basisOf(*fill, *previous, method);
    return basis.fuel / basis.distance * 100.0f;
}

float fillCostOfDist(const FillRecord* fill, const FillRecord* previous, FillingMethod method) {
    if (!fill || !previous)
        return -1.0f;
    const Basis basis = basisOf(*fill, *previous, method);
    return basis.cost / basis.distance * 100.0f;
}

float fillEndurance(const FillRecord* fill, const FillRecord* previous, FillingMethod method) {
    if (!fill || !previous)
        return -1.0f;
    const Basis basis = basisOf(*fill, *previous, method);
    return basis.distance / basis.fuel;
}

qint32 fillDistance(const FillRecord& fill, const FillRecord& previous) {
    // Unsigned subtraction: odometers at opposite ends of the range wrap instead of overflowing.
    return qint32(quint32(fill.odometer) - quint32(previous.odometer));
}

float fillUnitCost(const FillRecord& fill) {
    return fill.cost / fill.fuel;
}

QString listCellText(float value) {
    return listCellShows(value) ? formatAmount(value) : QString();
}

bool listCellShows(float value) {
    // A negative zero (zero fuel over a lower odometer) is a negative result too.
    return !std::signbit(value) && std::isfinite(value);
}

QString dialogValueText(float value) {
    if (!std::isfinite(value))
        return notAvailableText();
    return formatAmount(value);
}

QString notAvailableText() {
    return translate(Text::Units_NA);
}
