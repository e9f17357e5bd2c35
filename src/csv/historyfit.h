#pragma once

// Whether the readings of an imported file continue the open log's history, or belong to
// another vehicle: its odometers run through the log's over the same dates, or lie far before
// or after them.

#include "db/records.h"
#include "db/units.h"

#include <vector>

struct OdometerReading {
    FileTime time;
    qint32 odometer = 0; // as the log stores it
};

class CFuelDatabase;

// The readings of the log's fills.
std::vector<OdometerReading> odometerReadings(const CFuelDatabase& log);

// The first and last date and the lowest and highest odometer of some readings.
struct HistorySpan {
    FileTime first;
    FileTime last;
    qint32 lowest = 0;
    qint32 highest = 0;
};

struct HistoryFit {
    bool continues = true;
    HistorySpan log;
    HistorySpan file;
};

// A reading dated within the log's dates continues it when it lies between the readings of the
// log's fills before and after it. One dated before (after) the log's first (last) fill does when
// it is not above (below) that fill's reading and not further from it than 1 500 km and 300 km a
// day between them allow. The file continues the log unless most of its readings do not; a log
// or a file without readings is always continued.
HistoryFit checkHistoryFit(const std::vector<OdometerReading>& log,
                           const std::vector<OdometerReading>& file, const LogUnits& units);
