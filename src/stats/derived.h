#pragma once

// The values derived from a fill and the fill before it, and their text forms. Nothing derived
// is stored: every window computes these afresh, under the filling method read at that moment.

#include "db/records.h"

#include <QString>

// Which fill's fuel and cost belong to the distance driven since the previous fill.
enum class FillingMethod {
    FullTank = 1,    // this fill's: the tank is filled up every time
    ToEmptyTank = 2, // the previous fill's: the tank is driven empty before every fill
};

// Litres per 100 km; -1 when either fill is missing. A zero distance or zero fuel gives an
// infinity or NaN, an odometer lower than the previous one a negative value.
float fillConsumption(const FillRecord* fill, const FillRecord* previous, FillingMethod method);
// Cost per 100 km, with the same rules.
float fillCostOfDist(const FillRecord* fill, const FillRecord* previous, FillingMethod method);
// Kilometres per litre, with the same rules.
float fillEndurance(const FillRecord* fill, const FillRecord* previous, FillingMethod method);

// The kilometres since the previous fill, in 32-bit arithmetic (wrapping like the odometer).
qint32 fillDistance(const FillRecord& fill, const FillRecord& previous);
// Cost per litre of the fill itself, whatever the filling method.
float fillUnitCost(const FillRecord& fill);

// The fill list's cell: empty for a negative (not available), infinite or NaN value, otherwise
// formatAmount.
QString listCellText(float value);
// Whether listCellText shows the value, without making its text.
bool listCellShows(float value);
// The dialogs' value: "%0.2f" with the user's decimal character as the list has it, negative values
// as they are, the not-available text for an infinite or NaN value.
QString dialogValueText(float value);
// "N/A" in the loaded language.
QString notAvailableText();
