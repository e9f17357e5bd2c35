#pragma once

// Calendar times for tests, built from their parts.

#include "db/calendar.h"

#include <QtGlobal>

inline SystemTime systemTimeOf(int year, int month, int day, int hour = 0, int minute = 0,
                               int second = 0, int milliseconds = 0) {
    SystemTime time;
    time.year = quint16(year);
    time.month = quint16(month);
    time.day = quint16(day);
    time.hour = quint16(hour);
    time.minute = quint16(minute);
    time.second = quint16(second);
    time.milliseconds = quint16(milliseconds);
    return time;
}

// The file time of a moment that exists; a test naming one that does not stops at once.
inline FileTime fileTimeOf(int year, int month, int day, int hour = 0, int minute = 0,
                           int second = 0) {
    FileTime time;
    if (!systemTimeToFileTime(systemTimeOf(year, month, day, hour, minute, second), &time))
        qFatal("test time %d-%d-%d does not exist", year, month, day);
    return time;
}
