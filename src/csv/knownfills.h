#pragma once

// Whether an imported fill is one the log already holds: the same time to the second, the same
// odometer reading and the same amount to the hundredth, each in the log's units (as the list
// shows them and the CSV export writes them). Both imports skip such fills, so that importing a
// file again never doubles a log.

#include "db/records.h"
#include "db/units.h"

#include <QString>
#include <set>
#include <tuple>

class CFuelDatabase;

class CKnownFills {
public:
    explicit CKnownFills(const CFuelDatabase& log);

    // False when the log, or an earlier call, has a fill of this time, reading and amount;
    // otherwise the fill is remembered and the answer is true.
    bool addNew(const FileTime& time, qint32 odometer, float fuel);

private:
    using Key = std::tuple<quint64, qint64, QString>;
    Key keyOf(const FileTime& time, qint32 odometer, float fuel) const;

    LogUnits m_units;
    std::set<Key> m_keys;
};
