#include "csv/historyfit.h"

#include "db/fueldatabase.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kFarKilometres = 1500.0;
constexpr double kKilometresPerDay = 300.0;
constexpr double kTicksPerDay = 864'000'000'000.0;

bool earlier(const OdometerReading& a, const OdometerReading& b) {
    return compareFileTime(a.time, b.time) < 0;
}

HistorySpan spanOf(const std::vector<OdometerReading>& readings) {
    HistorySpan span;
    span.first = readings.front().time;
    span.last = readings.front().time;
    span.lowest = readings.front().odometer;
    span.highest = readings.front().odometer;
    for (const OdometerReading& reading : readings) {
        if (compareFileTime(reading.time, span.first) < 0)
            span.first = reading.time;
        if (compareFileTime(reading.time, span.last) > 0)
            span.last = reading.time;
        span.lowest = std::min(span.lowest, reading.odometer);
        span.highest = std::max(span.highest, reading.odometer);
    }
    return span;
}

} // namespace

std::vector<OdometerReading> odometerReadings(const CFuelDatabase& log) {
    std::vector<OdometerReading> readings;
    readings.reserve(std::size_t(log.getFillCount()));
    for (int i = 0; i < log.getFillCount(); ++i)
        readings.push_back({log.getFill(i)->dateTime, log.getFill(i)->odometer});
    return readings;
}

HistoryFit checkHistoryFit(const std::vector<OdometerReading>& log,
                           const std::vector<OdometerReading>& file, const LogUnits& units) {
    HistoryFit fit;
    if (log.empty() || file.empty())
        return fit;
    fit.log = spanOf(log);
    fit.file = spanOf(file);

    std::vector<OdometerReading> sorted = log;
    std::stable_sort(sorted.begin(), sorted.end(), earlier);
    // Distances compared in the units shown, so that the limits hold whatever the log stores.
    const auto shown = [&units](qint32 odometer) { return double(distanceIn(units, odometer)); };
    const double perKilometre = 1.0 / kilometresPerUnit(units.distance);
    const auto near = [&](const OdometerReading& from, const OdometerReading& to) {
        const double days =
            std::abs(double(to.time.value()) - double(from.time.value())) / kTicksPerDay;
        const double allowed = (kFarKilometres + kKilometresPerDay * days) * perKilometre;
        return std::abs(shown(to.odometer) - shown(from.odometer)) <= allowed;
    };

    int apart = 0;
    for (const OdometerReading& reading : file) {
        const auto after = std::upper_bound(sorted.begin(), sorted.end(), reading, earlier);
        bool fits = false;
        if (after == sorted.begin()) {
            fits = reading.odometer <= after->odometer && near(reading, *after);
        } else if (after == sorted.end()) {
            const OdometerReading& last = sorted.back();
            fits = reading.odometer >= last.odometer && near(last, reading);
        } else {
            const auto [low, high] = std::minmax(std::prev(after)->odometer, after->odometer);
            fits = reading.odometer >= low && reading.odometer <= high;
        }
        apart += fits ? 0 : 1;
    }
    fit.continues = apart * 2 <= int(file.size());
    return fit;
}
