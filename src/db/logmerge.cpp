#include "db/logmerge.h"

#include <algorithm>
#include <compare>
#include <cstring>

namespace {

struct FillKey {
    quint64 time;
    qint32 odometer;
    quint32 fuelBits;

    auto operator<=>(const FillKey&) const = default;
};

FillKey keyOf(const FillRecord& fill) {
    quint32 bits;
    std::memcpy(&bits, &fill.fuel, sizeof bits);
    return {fill.dateTime.value(), fill.odometer, bits};
}

// Their id of a station or driver to ours, looked up by name once per id. Ids are turned into
// ours only for the fills that are added, so a station that no added fill uses is not added.
template <typename Record> class IdMap {
public:
    using FindOrAdd = int (CFuelDatabase::*)(const QString&);

    IdMap(CFuelDatabase& ours, FindOrAdd findOrAdd, const std::vector<Record>& theirs, int outside)
        : m_ours(ours), m_findOrAdd(findOrAdd), m_theirs(theirs), m_ids(theirs.size(), kUnknown),
          m_outside(outside) {}

    int operator()(qint32 id) {
        if (id < 0 || std::size_t(id) >= m_theirs.size()) {
            if (m_outside == kUnknown)
                m_outside = (m_ours.*m_findOrAdd)(QString());
            return m_outside;
        }
        int& ours = m_ids[std::size_t(id)];
        if (ours == kUnknown)
            ours = (m_ours.*m_findOrAdd)(fieldText(m_theirs[std::size_t(id)].name));
        return ours;
    }

    static constexpr int kUnknown = -2;

private:
    CFuelDatabase& m_ours;
    FindOrAdd m_findOrAdd;
    const std::vector<Record>& m_theirs;
    std::vector<int> m_ids;
    int m_outside;
};

} // namespace

std::vector<int> mergeOtherCopy(CFuelDatabase& ours, const DatabaseTables& theirs) {
    std::vector<FillKey> ourKeys(std::size_t(ours.getFillCount()));
    for (std::size_t i = 0; i < ourKeys.size(); ++i)
        ourKeys[i] = keyOf(*ours.getFill(int(i)));
    std::sort(ourKeys.begin(), ourKeys.end());
    // For each run of equal keys, at its first index: how many of their fills it has matched.
    std::vector<int> matched(ourKeys.size(), 0);

    IdMap<StationRecord> station(ours, &CFuelDatabase::findOrAddStation, theirs.stations,
                                 IdMap<StationRecord>::kUnknown);
    IdMap<DriverRecord> driver(ours, &CFuelDatabase::findOrAddDriver, theirs.drivers, -1);
    std::vector<FillRecord> added;
    std::vector<FillFlags> addedFlags;
    for (std::size_t i = 0; i < theirs.fills.size(); ++i) {
        const FillRecord& fill = theirs.fills[i];
        const FillKey key = keyOf(fill);
        const auto [first, last] = std::equal_range(ourKeys.begin(), ourKeys.end(), key);
        if (first != last) {
            int& used = matched[std::size_t(first - ourKeys.begin())];
            if (used < last - first) {
                ++used;
                continue;
            }
        }
        FillRecord copy = fill;
        copy.stationId = station(fill.stationId);
        copy.driverId = driver(fill.driverId);
        added.push_back(copy);
        addedFlags.push_back(flagsAt(theirs.fillFlags, int(i)));
    }
    return ours.mergeFills(added, addedFlags);
}
