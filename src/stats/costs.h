#pragma once

// The figures of what the vehicle costs: its fuel (from the fills) and its other costs by
// category, with the occurrences of recurring costs up to today, over a period or over its whole
// life. Plain computation over one database, so that the totals, the comparison of vehicles and
// the statistics over time show the same figures.

#include "db/costs.h"
#include "db/units.h"
#include "stats/periodstats.h"

#include <QDate>
#include <QString>
#include <limits>
#include <vector>

class CFuelDatabase;

// The dates a cost occurs on up to and including `until`: its date for a cost entered once; for
// a recurring one every intervalMonths months from its date, on that day of the month (the
// month's last day in a shorter month: the 31st of January gives the 28th or 29th of February,
// then the 31st of March), up to and including its end date.
std::vector<QDate> costOccurrences(const CostEntry& cost, const QDate& until);

// One occurrence of a cost of the log.
struct CostOccurrence {
    QDate date;
    int index = -1; // in the log's costs
    friend bool operator==(const CostOccurrence&, const CostOccurrence&) = default;
};

// The occurrences of the log's costs in the days (a null day: open on that side) and up to
// today, by date (costs of one date in the order of the log).
std::vector<CostOccurrence> costOccurrencesIn(const VehicleCosts& costs, const DayRange& days,
                                              const QDate& today);

// The name of a category in the current language: its own, or the default one's translated name
// while the user has not renamed it.
QString costCategoryName(const CostCategory& category);
// The name of the log's category with the id; "Other" for an id the log has no category of.
QString costCategoryName(const VehicleCosts& costs, int id);

struct CategoryCosts {
    int categoryId = 0;
    double amount = 0;
    int count = 0; // occurrences
};

// What the vehicle cost over a period, in the log's currency and stored distance unit.
struct CostFigures {
    static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

    DayRange days;   // both days included
    double fuel = 0; // the fills' cost (fuel and electricity)
    // Each category of the log in its order, then any category that costs name but the log
    // lacks.
    std::vector<CategoryCosts> categories;
    double costs = 0;        // every category together
    double total = 0;        // fuel and costs
    qint64 distance = 0;     // driven over the fills of the period
    double months = kNone;   // the period's length in months of an average calendar
    double perMonth = kNone; // total per month
    double per100 = kNone;   // total per 100 distance units

    // The sum of the category with the id (0 when it has none).
    double categoryAmount(int id) const;
};

// The figures of the days, counting the occurrences of recurring costs up to today.
CostFigures costFigures(const CFuelDatabase& database, const DayRange& days, const QDate& today);

// The total cost of ownership: from the first entry (fill or cost) to today.
CostFigures ownershipFigures(const CFuelDatabase& database, const QDate& today);
