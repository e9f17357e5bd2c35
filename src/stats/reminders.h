#pragma once

// When reminders fall due: at their date, at their odometer reading (reached on a day estimated
// from the log's recent distance per day), or at whichever comes first; which of them to show
// now, most urgent first; and what being done makes of one.

#include "db/costs.h"

#include <QDate>
#include <optional>
#include <vector>

class CFuelDatabase;

// A reminder shows when it is overdue or due within this many days or distance units (in the
// log's stored unit).
inline constexpr int kReminderSoonDays = 30;
inline constexpr qint32 kReminderSoonDistance = 1000;

// The log's odometer as it is estimated for a day after its last fill.
struct OdometerEstimate {
    QDate lastDate;                  // of the last fill; null: the log has no fill
    qint32 lastReading = kNoReading; // its reading
    double perDay = 0;               // recent distance per day; 0 when the log cannot tell

    // The reading estimated for the day (the last reading on that day or before it).
    qint32 readingOn(const QDate& day) const;
    // The day the reading is estimated to be reached; null when it cannot be told.
    QDate dayOf(qint32 reading, const QDate& today) const;
};

OdometerEstimate odometerEstimate(const CFuelDatabase& database);

// Where a reminder stands on a day.
struct ReminderDue {
    int index = -1;                     // in the log's reminders
    QDate date;                         // due by date (null: not)
    qint32 odometer = kNoReading;       // due by reading (kNoReading: not)
    QDate odometerDate;                 // the day the reading is estimated to be reached
    std::optional<qint64> daysLeft;     // to the earlier due day (negative: overdue)
    std::optional<qint64> distanceLeft; // to the due reading from today's estimate
    bool byOdometer = false;            // the reading comes first
    bool overdue = false;
    bool soon = false; // overdue, or due within kReminderSoonDays or kReminderSoonDistance

    bool due() const { return date.isValid() || odometer != kNoReading; }
};

ReminderDue reminderDue(const Reminder& reminder, const OdometerEstimate& estimate,
                        const QDate& today);

// The reminders that are overdue or due soon, most urgent first: by the day they fall due (the
// earlier of the date and the day the reading is estimated to be reached), then those due by a
// reading whose day cannot be estimated, by the distance left.
std::vector<ReminderDue> remindersDueSoon(const VehicleCosts& costs,
                                          const OdometerEstimate& estimate, const QDate& today);

// The reminder once done on the date at the reading (kNoReading: not given). A repeating one
// falls due again repeatMonths after the date and repeatDistance after the reading (or after its
// former due reading when no reading is given); a due point that does not repeat is cleared, so
// a reminder that does not repeat is due no more.
Reminder reminderDoneAt(Reminder reminder, const QDate& date, qint32 reading);
