#pragma once

// The graph's worked example: fills of 40, 35 and 30 l for 1000, 900 and 800 at odometers
// 1000, 1500 and 1900, on three days in a row.

#include "db/fueldatabase.h"

inline void addThreeFills(CFuelDatabase& database) {
    const qint32 odometers[] = {1000, 1500, 1900};
    const float fuels[] = {40.0f, 35.0f, 30.0f};
    const float costs[] = {1000.0f, 900.0f, 800.0f};
    for (int i = 0; i < 3; ++i) {
        FillRecord fill;
        fill.odometer = odometers[i];
        fill.fuel = fuels[i];
        fill.cost = costs[i];
        fill.dateTime = FileTime::fromValue(quint64(155000 + i) * 864000000000ull);
        database.insertFill(fill);
    }
}
