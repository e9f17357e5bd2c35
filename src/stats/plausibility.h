#pragma once

// The doubts a fill raises before it is stored: a reading out of order with the fills around it
// in time, a distance far beyond any so far, a consumption or unit price no real fill has, a date
// well ahead. Each is a question only: the user may store the fill anyway.

#include "db/fillextras.h"
#include "db/records.h"
#include "db/units.h"
#include "stats/derived.h"

#include <QList>
#include <QString>

class CFuelDatabase;

enum class DoubtKind {
    OdometerNotAbovePrevious, // value: the fill's reading; reference: the previous fill's
    OdometerNotBelowNext,     // value: the fill's reading; reference: the next fill's
    DistanceJump,             // value: the distance since the previous fill; reference: the longest
    Consumption,              // value: litres per 100 stored distance units of a run it changes
    UnitPrice,                // value: cost per litre; reference: the average of the fills before
    FutureDate,               // date: the fill's time
};

// Readings and distances are stored values, volumes litres.
struct FillDoubt {
    explicit FillDoubt(DoubtKind kind = DoubtKind::FutureDate, double value = 0.0,
                       double reference = 0.0, FileTime date = {})
        : kind(kind), value(value), reference(reference), date(date) {}

    DoubtKind kind;
    double value;
    double reference;
    FileTime date;
    // About a charge: the consumption in kWh per 100 stored distance units, the price per kWh.
    bool charge = false;
};

// A fill about to be stored: a new one (editedIndex -1) or the one at editedIndex changed.
struct FillCandidate {
    FillRecord fill;
    FillFlags flags;
    int editedIndex = -1;
};

// Consumption outside this range (litres per 100 km, whatever the units) is doubted.
inline constexpr float kLowestPlausibleConsumption = 2.0f;
inline constexpr float kHighestPlausibleConsumption = 30.0f;
// The same for a charge, in kWh per 100 km.
inline constexpr float kLowestPlausibleElectricConsumption = 8.0f;
inline constexpr float kHighestPlausibleElectricConsumption = 40.0f;

// The doubts about the candidate placed in the log where storing it would put it, in the order
// of the fields they concern. Checks that compare with a previous fill are skipped when there is
// none; the consumption follows the runs of the partial and missed flags under the method, and
// the consumption and unit price compare with the fills of the candidate's own energy.
QList<FillDoubt> fillDoubts(const CFuelDatabase& database, const FillCandidate& candidate,
                            FillingMethod method, const FileTime& now);

// The doubt in words, its numbers in the log's units.
QString doubtText(const FillDoubt& doubt, const LogUnits& units);
