#include "csv/knownfills.h"

#include "db/formats.h"
#include "db/fueldatabase.h"

namespace {

constexpr quint64 kTicksPerSecond = 10'000'000;

} // namespace

CKnownFills::CKnownFills(const CFuelDatabase& log) : m_units(log.units()) {
    for (int i = 0; i < log.getFillCount(); ++i) {
        const FillRecord* fill = log.getFill(i);
        m_keys.insert(keyOf(fill->dateTime, fill->odometer, fill->fuel));
    }
}

bool CKnownFills::addNew(const FileTime& time, qint32 odometer, float fuel) {
    return m_keys.insert(keyOf(time, odometer, fuel)).second;
}

CKnownFills::Key CKnownFills::keyOf(const FileTime& time, qint32 odometer, float fuel) const {
    // The amount as the export writes it, so that a fill and its exported line always agree.
    return {time.value() / kTicksPerSecond, distanceIn(m_units, odometer),
            formatAmountWithPoint(volumeIn(m_units, fuel))};
}
