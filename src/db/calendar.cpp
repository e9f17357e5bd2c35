#include "db/calendar.h"

#include <QDateTime>
#include <algorithm>

namespace {

constexpr quint64 kTicksPerMillisecond = 10'000;
constexpr quint64 kTicksPerSecond = 1'000 * kTicksPerMillisecond;
constexpr quint64 kTicksPerDay = 86'400 * kTicksPerSecond;
constexpr quint64 kFirstUnconvertible = quint64(1) << 63;
constexpr quint64 kLastConvertibleDay = (kFirstUnconvertible - 1) / kTicksPerDay;

// 1601 is the first year of a 400-year Gregorian cycle, which keeps the day counts simple.
constexpr int kFirstYear = 1601;
constexpr qint64 kDaysPer400Years = 146'097;
constexpr qint64 kDaysPer100Years = 36'524;
constexpr qint64 kDaysPer4Years = 1'461;
constexpr qint64 kDaysPerYear = 365;

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kLengths[month - 1];
}

qint64 daysBeforeYear(int year) {
    const qint64 years = year - kFirstYear;
    return years * kDaysPerYear + years / 4 - years / 100 + years / 400;
}

bool isValid(const SystemTime& t) {
    return t.year >= kFirstYear && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= daysInMonth(t.year, t.month) && t.hour <= 23 && t.minute <= 59 &&
           t.second <= 59 && t.milliseconds <= 999;
}

} // namespace

bool systemTimeToFileTime(const SystemTime& time, FileTime* out) {
    if (!isValid(time))
        return false;
    quint64 days = quint64(daysBeforeYear(time.year));
    for (int month = 1; month < time.month; ++month)
        days += quint64(daysInMonth(time.year, month));
    days += time.day - 1u;
    if (days > kLastConvertibleDay)
        return false;
    const quint64 seconds = time.hour * 3'600u + time.minute * 60u + time.second;
    const quint64 ticks =
        days * kTicksPerDay + seconds * kTicksPerSecond + time.milliseconds * kTicksPerMillisecond;
    if (ticks >= kFirstUnconvertible)
        return false;
    *out = FileTime::fromValue(ticks);
    return true;
}

bool fileTimeToSystemTime(const FileTime& time, SystemTime* out) {
    const quint64 ticks = time.value();
    if (ticks >= kFirstUnconvertible)
        return false;
    const qint64 dayNumber = fileTimeDayNumber(time);
    const quint64 tickOfDay = ticks % kTicksPerDay;

    // Peel off whole cycles; the last year of a 100- or 4-year cycle is the one with the
    // extra day, hence the caps at 3.
    qint64 days = dayNumber;
    const qint64 cycles400 = days / kDaysPer400Years;
    days %= kDaysPer400Years;
    const qint64 cycles100 = std::min<qint64>(days / kDaysPer100Years, 3);
    days -= cycles100 * kDaysPer100Years;
    const qint64 cycles4 = days / kDaysPer4Years;
    days %= kDaysPer4Years;
    const qint64 years = std::min<qint64>(days / kDaysPerYear, 3);
    days -= years * kDaysPerYear;

    SystemTime result;
    result.year = quint16(kFirstYear + 400 * cycles400 + 100 * cycles100 + 4 * cycles4 + years);
    result.month = 1;
    while (days >= daysInMonth(result.year, result.month)) {
        days -= daysInMonth(result.year, result.month);
        ++result.month;
    }
    result.day = quint16(days + 1);
    result.dayOfWeek = quint16((dayNumber + 1) % 7); // 1 January 1601 was a Monday
    const quint64 milliseconds = tickOfDay / kTicksPerMillisecond;
    result.hour = quint16(milliseconds / 3'600'000);
    result.minute = quint16(milliseconds / 60'000 % 60);
    result.second = quint16(milliseconds / 1'000 % 60);
    result.milliseconds = quint16(milliseconds % 1'000);
    *out = result;
    return true;
}

qint64 fileTimeDayNumber(const FileTime& time) {
    return qint64(time.value() / kTicksPerDay);
}

FileTime currentLocalFileTime() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime clock = now.time();
    SystemTime time;
    time.year = quint16(date.year());
    time.month = quint16(date.month());
    time.day = quint16(date.day());
    time.hour = quint16(clock.hour());
    time.minute = quint16(clock.minute());
    time.second = quint16(clock.second());
    FileTime result;
    systemTimeToFileTime(time, &result);
    return result;
}
