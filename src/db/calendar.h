#pragma once

// Conversion between a FileTime and its calendar date and time of day (proleptic Gregorian
// calendar from 1 January 1601, no time zones: both sides are local wall-clock time).

#include "db/records.h"

#include <QtGlobal>

struct SystemTime {
    quint16 year = 0;
    quint16 month = 0;     // 1-12
    quint16 dayOfWeek = 0; // 0 Sunday - 6 Saturday; ignored by systemTimeToFileTime
    quint16 day = 0;
    quint16 hour = 0;
    quint16 minute = 0;
    quint16 second = 0;
    quint16 milliseconds = 0;
};

// False (and *out unchanged) unless the date exists, from 1 January 1601 on, with hours 0-23,
// minutes and seconds 0-59, milliseconds 0-999, and the result is below 2^63.
bool systemTimeToFileTime(const SystemTime& time, FileTime* out);

// False (and *out unchanged) for values of 2^63 and above. Ticks below a millisecond are dropped.
bool fileTimeToSystemTime(const FileTime& time, SystemTime* out);

// Whole days from 1 January 1601 to the date of time; the time of day plays no part.
qint64 fileTimeDayNumber(const FileTime& time);

// The local wall-clock time now, in whole seconds.
FileTime currentLocalFileTime();
