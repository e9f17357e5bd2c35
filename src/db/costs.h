#pragma once

// What the vehicle costs beyond its fills: costs in categories (once, or recurring every few
// months), and reminders of work that falls due at a date or an odometer reading. They live in
// memory beside the fill table and in the database file in a section after the fill table, which
// the handheld's reader never looks at (docs/file-format.md, "Costs and reminders").

#include <QDate>
#include <QString>
#include <QtGlobal>
#include <vector>

// An odometer reading that was not given.
constexpr qint32 kNoReading = -1;

// The categories every log starts with, by id. Their names come from the translation table until
// the user renames one; categories the user adds take the ids after them.
enum class DefaultCostCategory {
    Service,
    Repair,
    Tyres,
    Insurance,
    TaxAndRegistration,
    Parking,
    Tolls,
    Care, // washing and care
    Other,
};
constexpr int kDefaultCostCategoryCount = 9;

struct CostCategory {
    int id = 0;   // what costs refer to; never reused in a log
    QString name; // empty: the default category's name in the current language
    friend bool operator==(const CostCategory&, const CostCategory&) = default;
};

struct CostEntry {
    QDate date;                   // of the cost, or of the first occurrence of a recurring one
    qint32 odometer = kNoReading; // in the log's stored distance unit
    int categoryId = 0;
    double amount = 0; // in the log's currency
    QString notes;
    // A recurring cost occurs every intervalMonths months from date (0: only once), up to and
    // including endDate (null: no end). Only the occurrences up to today count.
    int intervalMonths = 0;
    QDate endDate;
    friend bool operator==(const CostEntry&, const CostEntry&) = default;
};

// Work that falls due at a date, at an odometer reading, or at whichever comes first when both
// are given; a repeating one is due again every repeatMonths months and/or repeatDistance
// distance units from when it was last done.
struct Reminder {
    quint32 id = 0; // stable for the reminder's life (the calendar export's UID)
    QString title;
    QDate dueDate;                   // null: not due by date
    qint32 dueOdometer = kNoReading; // in the log's stored distance unit
    int repeatMonths = 0;            // 0: not repeated by date
    qint32 repeatDistance = 0;       // 0: not repeated by distance
    QDate lastDone;                  // null: never done
    qint32 lastDoneOdometer = kNoReading;
    friend bool operator==(const Reminder&, const Reminder&) = default;
};

struct VehicleCosts {
    // Empty: the default categories under their translated names.
    std::vector<CostCategory> categories;
    std::vector<CostEntry> costs; // in ascending date order
    std::vector<Reminder> reminders;

    bool empty() const { return categories.empty() && costs.empty() && reminders.empty(); }
    friend bool operator==(const VehicleCosts&, const VehicleCosts&) = default;
};

// The log's categories: the default ones (ids 0 to 8, names empty) while it has none of its own.
std::vector<CostCategory> costCategories(const VehicleCosts& costs);

// The category with the id among the log's categories; null when there is none.
const CostCategory* findCostCategory(const VehicleCosts& costs, int id);

// Where a cost of the date goes among costs in date order: after every cost of that date or
// earlier.
std::size_t costInsertionIndex(const std::vector<CostEntry>& costs, const QDate& date);
