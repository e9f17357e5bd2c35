#pragma once

// The fills the database benchmarks store: a day apart, 600 km apart, with notes.

#include "db/records.h"

#include <QString>

inline constexpr quint64 kBenchFirstTime = 0x01d0000000000000ull;
inline constexpr quint64 kBenchDay = 864000000000ull; // 100 ns units

inline FillRecord makeBenchFill(int i, int station, int driver) {
    FillRecord fill;
    fill.stationId = station;
    fill.driverId = driver;
    setFieldText(fill.notes, QStringLiteral("motorway, tyres checked"));
    fill.odometer = 600 * i;
    fill.fuel = 40.0f + float(i % 20);
    fill.cost = 1.6f * fill.fuel;
    fill.dateTime = FileTime::fromValue(kBenchFirstTime + quint64(i) * kBenchDay);
    return fill;
}
