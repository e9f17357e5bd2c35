#include "stats/reminders.h"

#include "db/fueldatabase.h"
#include "stats/periodstats.h"

#include <algorithm>
#include <cmath>

namespace {

// The recent distance per day is taken over the fills of the last 90 days up to the last fill;
// when they span less than two weeks (or show no distance), over the whole log.
constexpr int kRecentDays = 90;
constexpr int kShortestSpanDays = 14;

} // namespace

qint32 OdometerEstimate::readingOn(const QDate& day) const {
    if (!lastDate.isValid())
        return kNoReading;
    if (!day.isValid() || day <= lastDate)
        return lastReading;
    return lastReading + qint32(std::lround(perDay * double(lastDate.daysTo(day))));
}

QDate OdometerEstimate::dayOf(qint32 reading, const QDate& today) const {
    if (!lastDate.isValid())
        return {};
    // Passed by the last fill: reached on its day at the latest.
    if (reading <= lastReading)
        return lastDate;
    if (perDay <= 0)
        return {};
    const QDate day =
        lastDate.addDays(qint64(std::ceil(double(reading - lastReading) / perDay - 1e-9)));
    // A day the estimate puts before today that today's estimate has not reached yet: today.
    return day < today && readingOn(today) < reading ? today : day;
}

OdometerEstimate odometerEstimate(const CFuelDatabase& database) {
    OdometerEstimate estimate;
    const int count = database.getFillCount();
    if (count == 0)
        return estimate;
    const FillRecord& last = *database.getFill(count - 1);
    estimate.lastDate = fillDate(last);
    estimate.lastReading = last.odometer;
    const auto perDayFrom = [&](int first) {
        const FillRecord& fill = *database.getFill(first);
        const qint64 days = fillDate(fill).daysTo(estimate.lastDate);
        const qint64 distance = qint64(last.odometer) - fill.odometer;
        return days >= kShortestSpanDays && distance > 0 ? double(distance) / double(days) : 0.0;
    };
    const QDate windowStart = estimate.lastDate.addDays(-kRecentDays);
    int first = count - 1;
    while (first > 0 && fillDate(*database.getFill(first - 1)) >= windowStart)
        --first;
    estimate.perDay = perDayFrom(first);
    if (estimate.perDay <= 0)
        estimate.perDay = perDayFrom(0);
    return estimate;
}

ReminderDue reminderDue(const Reminder& reminder, const OdometerEstimate& estimate,
                        const QDate& today) {
    ReminderDue due;
    due.date = reminder.dueDate;
    due.odometer = reminder.dueOdometer < 0 ? kNoReading : reminder.dueOdometer;
    if (due.odometer != kNoReading) {
        if (const qint32 now = estimate.readingOn(today); now != kNoReading)
            due.distanceLeft = qint64(due.odometer) - now;
        due.odometerDate = estimate.dayOf(due.odometer, today);
    }
    QDate day = due.date;
    if (due.odometerDate.isValid() && (!day.isValid() || due.odometerDate < day)) {
        day = due.odometerDate;
        due.byOdometer = true;
    }
    if (day.isValid())
        due.daysLeft = today.daysTo(day);
    if (due.distanceLeft && *due.distanceLeft < 0 && !due.byOdometer) {
        // Past the reading though no day could be told: the reading comes first.
        due.byOdometer = !due.daysLeft || *due.daysLeft >= 0;
    }
    due.overdue =
        (due.daysLeft && *due.daysLeft < 0) || (due.distanceLeft && *due.distanceLeft < 0);
    due.soon = due.overdue || (due.daysLeft && *due.daysLeft <= kReminderSoonDays) ||
               (due.distanceLeft && *due.distanceLeft <= kReminderSoonDistance);
    return due;
}

std::vector<ReminderDue> remindersDueSoon(const VehicleCosts& costs,
                                          const OdometerEstimate& estimate, const QDate& today) {
    std::vector<ReminderDue> soon;
    for (std::size_t i = 0; i < costs.reminders.size(); ++i) {
        ReminderDue due = reminderDue(costs.reminders[i], estimate, today);
        due.index = int(i);
        if (due.soon)
            soon.push_back(due);
    }
    std::stable_sort(soon.begin(), soon.end(), [](const ReminderDue& a, const ReminderDue& b) {
        if (a.daysLeft.has_value() != b.daysLeft.has_value())
            return a.daysLeft.has_value();
        if (a.daysLeft)
            return *a.daysLeft < *b.daysLeft;
        return a.distanceLeft.value_or(0) < b.distanceLeft.value_or(0);
    });
    return soon;
}

Reminder reminderDoneAt(Reminder reminder, const QDate& date, qint32 reading) {
    const qint32 dueReading = reminder.dueOdometer;
    reminder.lastDone = date;
    reminder.lastDoneOdometer = reading < 0 ? kNoReading : reading;
    reminder.dueDate = reminder.repeatMonths > 0 && date.isValid()
                           ? date.addMonths(reminder.repeatMonths)
                           : QDate();
    const qint32 from = reading >= 0 ? reading : dueReading;
    reminder.dueOdometer =
        reminder.repeatDistance > 0 && from >= 0 ? from + reminder.repeatDistance : kNoReading;
    return reminder;
}
