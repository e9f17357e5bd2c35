#pragma once

// The values derived from a fill and the fill before it, and their text forms. Nothing derived
// is stored: every window computes these afresh, under the filling method read at that moment.

#include "db/fillextras.h"
#include "db/records.h"

#include <QString>
#include <limits>
#include <utility>

class CFuelDatabase;
struct LogUnits;
struct RegionalSettings;

// Which fill's fuel and cost belong to the distance driven since the previous fill.
enum class FillingMethod {
    FullTank = 1,    // this fill's: the tank is filled up every time
    ToEmptyTank = 2, // the previous fill's: the tank is driven empty before every fill
};

// Distances are in the log's stored unit (LogUnits::stored, kilometres or miles), and so are the
// figures per distance: units.h converts them for the screen.
// Litres per 100 stored units; -1 when either fill is missing. A zero distance or zero fuel gives
// an infinity or NaN, an odometer lower than the previous one a negative value.
float fillConsumption(const FillRecord* fill, const FillRecord* previous, FillingMethod method);
// Cost per 100 stored units, with the same rules.
float fillCostOfDist(const FillRecord* fill, const FillRecord* previous, FillingMethod method);
// Stored units per litre, with the same rules.
float fillEndurance(const FillRecord* fill, const FillRecord* previous, FillingMethod method);

// The figures of a fill in the log, with its partial and missed flags and those before it.
//
// A fill's figures cover its run: the driving from the last fill of the same energy (fuel, or a
// charge of electricity: FillFlags::charge) before it that is not partial (the run's start) to
// the fill itself (its end). The odometer is shared, so the run's distance is all the driving in
// between, whatever the vehicle ran on; the fuel (kWh) and cost charged to it are those of its
// own energy's fills only. Without partial fills the run is the step
// from the fill before. The fuel and cost charged to the run are those of the fills after the
// start up to the end under FullTank (what filled the tank up again), of the fills from the
// start up to the one before the end under ToEmptyTank (what was driven empty). A partial fill
// has no figures of its own: its fuel, cost and distance go to the run of the next fill that is
// not partial. A fill marked "missed before" has none either, since an unlogged fill lies in
// its run, and begins a new run; a partial fill marked so breaks the run it is part of.
enum class FillRunStatus {
    Figure,       // the run has figures
    NoFill,       // the index is outside the log
    FirstFill,    // nothing before the fill
    Partial,      // the fill is partial: carried to the next run
    MissedBefore, // a fill before this one was not logged
    MissedInRun,  // a partial fill of the run follows a fill that was not logged
    NoStart,      // only partial fills before it
};

struct FillRun {
    int start = -1; // the fill whose odometer begins the run
    int end = -1;   // the fill that shows the run's figures
};

// The status of the fill at index; *run is set for Figure. Looks back over the partial fills
// (and the fills of the other energy) before index only, so a whole pass over a log of one
// energy costs each fill once.
FillRunStatus fillRun(const CFuelDatabase& database, int index, FillRun* run);

// The fill's figures over its run; NaN (shown as not available, and left out of charts) when
// the fill has none. A zero distance or zero fuel gives an infinity or NaN, an odometer lower
// than the start's a negative value, as above.
inline constexpr float kNoFigure = std::numeric_limits<float>::quiet_NaN();
float fillConsumption(const CFuelDatabase& database, int index, FillingMethod method);
float fillCostOfDist(const CFuelDatabase& database, int index, FillingMethod method);
float fillEndurance(const CFuelDatabase& database, int index, FillingMethod method);

// The fills charged to a run lie in this range, first to last: those of the run's energy
// (chargedTo) among them; fills of the other energy in between are not.
std::pair<int, int> chargedFills(const FillRun& run, FillingMethod method);
// Whether the fill at index is a charge of electricity (else fuel).
bool isChargeFill(const CFuelDatabase& database, int index);
// Whether the fill at index, inside chargedFills(run), is charged to the run.
inline bool chargedTo(const CFuelDatabase& database, const FillRun& run, int index) {
    return isChargeFill(database, index) == isChargeFill(database, run.end);
}

// The last fill whose figures may change when the fill at index changes: the next one that is
// not partial (or the last fill); in a log of both energies the later of the next of each.
int lastFillDependingOn(const CFuelDatabase& database, int index);

// The usable battery capacity in kWh that a charge with both states of charge gives: its kWh
// over the share of the battery it filled. NaN for a fill that gives none (no charge, a state
// missing, no gain).
float chargeCapacity(const FillRecord& fill, FillFlags flags);

// The distance since the previous fill, in 32-bit arithmetic (wrapping like the odometer).
qint32 fillDistance(const FillRecord& fill, const FillRecord& previous);
// Cost per litre of the fill itself, whatever the filling method.
float fillUnitCost(const FillRecord& fill);

// The fill list's cell: empty for a negative (not available) or implausible (infinite, NaN)
// value, otherwise formatAmount.
QString listCellText(float value);
QString listCellText(float value, const RegionalSettings& regional);
// Whether listCellText shows the value, without making its text.
bool listCellShows(float value);
// The dialogs' value: "%0.2f" with the user's decimal character as the list has it, negative values
// as they are, the not-available text for an infinite, NaN or implausible value.
QString dialogValueText(float value);
// "N/A" in the loaded language.
QString notAvailableText();

// The flags in words ("Partial fill, Missed fill before this one"); empty for none.
QString fillFlagsText(FillFlags flags);
// The flags as the list marks them: a sign for each; empty for none.
QString fillFlagsMark(FillFlags flags);
