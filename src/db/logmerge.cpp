#include "db/logmerge.h"

#include <QHash>
#include <algorithm>
#include <compare>
#include <cstring>
#include <iterator>
#include <utility>

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

namespace {

// A fill as the three-way merge compares it: the record with its station and driver ids replaced
// by numbers of their names (common to the three tables), the notes cleared after their end, and
// the flags. It has no padding, so it is compared and hashed as bytes.
struct MergeKey {
    FillRecord record;
    quint32 flags;
};
static_assert(sizeof(MergeKey) == sizeof(FillRecord) + sizeof(quint32));

// Names numbered as the station lookup tells them apart: as their field stores them when added
// (a name filling the whole field loses its last unit), whole, ignoring case.
class NameNumbers {
public:
    int number(const QString& name, qsizetype fieldUnits) {
        const QString folded = fieldFit(name, fieldUnits).toCaseFolded();
        auto it = m_numbers.constFind(folded);
        if (it == m_numbers.cend())
            it = m_numbers.insert(folded, int(m_numbers.size()));
        return *it;
    }

private:
    QHash<QString, int> m_numbers;
};

template <typename Record>
std::vector<int> nameNumbers(NameNumbers& names, const std::vector<Record>& records) {
    std::vector<int> numbers(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        numbers[i] = names.number(fieldText(records[i].name), std::size(records[i].name));
    return numbers;
}

std::vector<MergeKey> mergeKeys(const DatabaseTables& tables, NameNumbers& stationNames,
                                NameNumbers& driverNames) {
    const std::vector<int> stations = nameNumbers(stationNames, tables.stations);
    const std::vector<int> drivers = nameNumbers(driverNames, tables.drivers);
    const int noStation = stationNames.number(QString(), kStationNameUnits);
    std::vector<MergeKey> keys(tables.fills.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        MergeKey& key = keys[i];
        key.record = tables.fills[i];
        FillRecord& record = key.record;
        const qsizetype notes = fieldView(record.notes).size();
        std::fill(std::begin(record.notes) + notes, std::end(record.notes), u'\0');
        const auto station = std::size_t(record.stationId);
        record.stationId =
            record.stationId >= 0 && station < stations.size() ? stations[station] : noStation;
        const auto driver = std::size_t(record.driverId);
        record.driverId = record.driverId >= 0 && driver < drivers.size() ? drivers[driver] : -1;
        const FillFlags flags = flagsAt(tables.fillFlags, int(i));
        key.flags = (flags.partial ? 1u : 0u) | (flags.missedBefore ? 2u : 0u) |
                    (flags.charge ? 4u : 0u) | (flags.atHome ? 8u : 0u) |
                    quint32(quint8(flags.chargeBefore)) << 8 |
                    quint32(quint8(flags.chargeAfter)) << 16;
    }
    return keys;
}

enum Side { Base, Ours, Theirs };

struct MergeEntry {
    quint64 time;
    std::size_t hash;
    Side side;
    int index;
};

// How many of a fill the result holds: base's count with the change of either side; when both
// changed it the same way, the larger change (equal fills on both sides are the same fill).
int mergedCount(int base, int ours, int theirs) {
    const int oursChange = ours - base;
    const int theirChange = theirs - base;
    if (oursChange >= 0 && theirChange >= 0)
        return base + std::max(oursChange, theirChange);
    if (oursChange <= 0 && theirChange <= 0)
        return base + std::min(oursChange, theirChange);
    return base + oursChange + theirChange;
}

// How many fields two fills of one time share, of odometer, amount, cost, notes, station,
// driver and flags.
int sharedFields(const MergeKey& a, const MergeKey& b) {
    const FillRecord& x = a.record;
    const FillRecord& y = b.record;
    return int(x.odometer == y.odometer) + int(std::memcmp(&x.fuel, &y.fuel, sizeof x.fuel) == 0) +
           int(std::memcmp(&x.cost, &y.cost, sizeof x.cost) == 0) +
           int(std::memcmp(x.notes, y.notes, sizeof x.notes) == 0) +
           int(x.stationId == y.stationId) + int(x.driverId == y.driverId) +
           int(a.flags == b.flags);
}

// Above this many candidate pairs in one time, fills pair in table order alone.
constexpr std::size_t kMostComparedPairs = 4096;

// Pairs fills taken out with fills put in at one time, as edits: each fill taken out (in the
// order given) with the one put in that shares the most fields with it, the first of those in
// the order given. Returns, for each fill taken out, the index of its partner or -1.
std::vector<int> pairEdits(const std::vector<const MergeKey*>& out,
                           const std::vector<const MergeKey*>& in) {
    std::vector<int> partners(out.size(), -1);
    std::vector<bool> taken(in.size(), false);
    const bool compare = out.size() * in.size() <= kMostComparedPairs;
    std::size_t nextInOrder = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (!compare) {
            if (nextInOrder < in.size())
                partners[i] = int(nextInOrder++);
            continue;
        }
        int bestShared = -1;
        for (std::size_t j = 0; j < in.size(); ++j) {
            if (taken[j])
                continue;
            if (const int shared = sharedFields(*out[i], *in[j]); shared > bestShared) {
                bestShared = shared;
                partners[i] = int(j);
            }
        }
        if (partners[i] >= 0)
            taken[std::size_t(partners[i])] = true;
    }
    return partners;
}

// Fills of one time: their positions in their table, their keys and the groups of equal fills
// they belong to.
struct TimeFills {
    struct Fill {
        int position;
        const MergeKey* key;
        int group;
    };
    std::vector<Fill> fills;

    void add(int position, const MergeKey* key, int group = -1) {
        fills.push_back({position, key, group});
    }
    // Sorts the fills by position; returns their keys in that order.
    std::vector<const MergeKey*> sortedKeys() {
        std::sort(fills.begin(), fills.end(),
                  [](const Fill& a, const Fill& b) { return a.position < b.position; });
        std::vector<const MergeKey*> keys(fills.size());
        for (std::size_t i = 0; i < fills.size(); ++i)
            keys[i] = fills[i].key;
        return keys;
    }
};

// What one side did to the base fills of one time: for each base fill it lacks, by base position,
// that position and the group of the fill it became (-1: removed).
std::vector<std::pair<int, int>> sideFates(TimeFills& removed, TimeFills& added) {
    const std::vector<const MergeKey*> out = removed.sortedKeys();
    const std::vector<const MergeKey*> in = added.sortedKeys();
    const std::vector<int> partners = pairEdits(out, in);
    std::vector<std::pair<int, int>> fates(out.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        fates[i] = {removed.fills[i].position,
                    partners[i] < 0 ? -1 : added.fills[std::size_t(partners[i])].group};
    }
    return fates;
}

// Base fills of one time that both sides changed, to different results.
int conflictsOf(const std::vector<std::pair<int, int>>& ours,
                const std::vector<std::pair<int, int>>& theirs) {
    int conflicts = 0;
    auto o = ours.begin();
    for (const auto& [position, became] : theirs) {
        while (o != ours.end() && o->first < position)
            ++o;
        if (o != ours.end() && o->first == position && o->second != became)
            ++conflicts;
    }
    return conflicts;
}

MergedFill mergedFill(const DatabaseTables& tables, int index) {
    MergedFill merged;
    merged.fill = tables.fills[std::size_t(index)];
    merged.flags = flagsAt(tables.fillFlags, index);
    const auto station = std::size_t(merged.fill.stationId);
    if (merged.fill.stationId >= 0 && station < tables.stations.size())
        merged.station = fieldText(tables.stations[station].name);
    const auto driver = std::size_t(merged.fill.driverId);
    if (merged.fill.driverId >= 0 && driver < tables.drivers.size())
        merged.driver = fieldText(tables.drivers[driver].name);
    return merged;
}

} // namespace

namespace {

// The multiset merge of records compared whole: ours, with as many of each record taken out or
// added at the end as mergedCount says.
template <typename Record>
std::vector<Record> mergeRecords(const std::vector<Record>& base, const std::vector<Record>& ours,
                                 const std::vector<Record>& theirs) {
    const auto count = [](const std::vector<Record>& records, const Record& record) {
        return int(std::count(records.begin(), records.end(), record));
    };
    std::vector<Record> merged = ours;
    std::vector<Record> seen;
    for (const std::vector<Record>* side : {&base, &ours, &theirs}) {
        for (const Record& record : *side) {
            if (std::find(seen.begin(), seen.end(), record) != seen.end())
                continue;
            seen.push_back(record);
            const int inOurs = count(ours, record);
            int change = mergedCount(count(base, record), inOurs, count(theirs, record)) - inOurs;
            for (; change > 0; --change)
                merged.push_back(record);
            for (auto it = merged.end(); change < 0 && it != merged.begin();) {
                if (*--it == record) {
                    it = merged.erase(it);
                    ++change;
                }
            }
        }
    }
    return merged;
}

const CostCategory* categoryWithId(const std::vector<CostCategory>& categories, int id) {
    const auto found = std::find_if(categories.begin(), categories.end(),
                                    [id](const CostCategory& c) { return c.id == id; });
    return found == categories.end() ? nullptr : &*found;
}

} // namespace

std::optional<VehicleCosts> mergeCosts(const VehicleCosts& base, const VehicleCosts& ours,
                                       const VehicleCosts& theirs) {
    if (theirs == base || theirs == ours)
        return std::nullopt;
    const std::vector<CostCategory> baseCategories = costCategories(base);
    const std::vector<CostCategory> theirCategories = costCategories(theirs);
    VehicleCosts merged;
    merged.categories = costCategories(ours);
    int nextId = kDefaultCostCategoryCount;
    for (const std::vector<CostCategory>* categories :
         {&baseCategories, &std::as_const(merged.categories), &theirCategories}) {
        for (const CostCategory& category : *categories)
            nextId = std::max(nextId, category.id + 1);
    }
    std::vector<CostEntry> theirCosts = theirs.costs;
    for (const CostCategory& their : theirCategories) {
        const CostCategory* before = categoryWithId(baseCategories, their.id);
        auto ourCategory =
            std::find_if(merged.categories.begin(), merged.categories.end(),
                         [&their](const CostCategory& c) { return c.id == their.id; });
        if (ourCategory == merged.categories.end()) {
            merged.categories.push_back(their);
        } else if (ourCategory->name == their.name) {
            continue;
        } else if (before && before->name == ourCategory->name) {
            ourCategory->name = their.name;
        } else if (!before) {
            // Both sides made a category of this id: theirs moves to a new one, its costs along.
            const int id = nextId++;
            merged.categories.push_back({id, their.name});
            for (CostEntry& cost : theirCosts) {
                if (cost.categoryId == their.id)
                    cost.categoryId = id;
            }
        }
    }
    if (ours.categories.empty() && merged.categories == costCategories({}))
        merged.categories.clear();

    merged.costs = mergeRecords(base.costs, ours.costs, theirCosts);
    std::stable_sort(merged.costs.begin(), merged.costs.end(),
                     [](const CostEntry& a, const CostEntry& b) { return a.date < b.date; });
    merged.reminders = mergeRecords(base.reminders, ours.reminders, theirs.reminders);
    quint32 nextReminder = 1;
    for (const Reminder& reminder : merged.reminders)
        nextReminder = std::max(nextReminder, reminder.id + 1);
    for (auto it = merged.reminders.begin(); it != merged.reminders.end(); ++it) {
        const auto sameId = [&it](const Reminder& r) { return r.id == it->id; };
        if (std::any_of(merged.reminders.begin(), it, sameId))
            it->id = nextReminder++;
    }
    if (merged == ours)
        return std::nullopt;
    return merged;
}

LogMerge mergeThreeWay(const DatabaseTables& base, const DatabaseTables& ours,
                       const DatabaseTables& theirs) {
    LogMerge merge;
    if (theirs.settings != base.settings && ours.settings == base.settings)
        merge.settings = theirs.settings;
    merge.costs = mergeCosts(base.costs, ours.costs, theirs.costs);

    NameNumbers stationNames;
    NameNumbers driverNames;
    const std::vector<MergeKey> keys[] = {mergeKeys(base, stationNames, driverNames),
                                          mergeKeys(ours, stationNames, driverNames),
                                          mergeKeys(theirs, stationNames, driverNames)};
    std::vector<MergeEntry> entries;
    entries.reserve(keys[Base].size() + keys[Ours].size() + keys[Theirs].size());
    for (const Side side : {Base, Ours, Theirs}) {
        for (std::size_t i = 0; i < keys[side].size(); ++i) {
            const MergeKey& key = keys[side][i];
            entries.push_back(
                {key.record.dateTime.value(), qHashBits(&key, sizeof key), side, int(i)});
        }
    }
    // Fills of one time together, and within them equal fills together, base, ours, theirs.
    std::sort(entries.begin(), entries.end(), [&keys](const MergeEntry& a, const MergeEntry& b) {
        if (a.time != b.time)
            return a.time < b.time;
        if (a.hash != b.hash)
            return a.hash < b.hash;
        if (const int order = std::memcmp(&keys[a.side][std::size_t(a.index)],
                                          &keys[b.side][std::size_t(b.index)], sizeof(MergeKey)))
            return order < 0;
        return a.side != b.side ? a.side < b.side : a.index < b.index;
    });
    const auto sameFill = [&keys](const MergeEntry& a, const MergeEntry& b) {
        return a.time == b.time && a.hash == b.hash &&
               std::memcmp(&keys[a.side][std::size_t(a.index)], &keys[b.side][std::size_t(b.index)],
                           sizeof(MergeKey)) == 0;
    };

    // What becomes of each fill of ours: kept, removed, or replaced by a fill of theirs.
    constexpr int kKept = -1;
    constexpr int kRemoved = -2;
    std::vector<int> fates(keys[Ours].size(), kKept);
    std::vector<int> additions; // fills of theirs, in time order
    // Of one time: what the step takes out of ours and puts in from theirs, and what each side
    // removed from the base and added to it.
    TimeFills removals;
    TimeFills insertions;
    TimeFills removed[3];
    TimeFills added[3];
    int group = 0;
    for (std::size_t timeFirst = 0; timeFirst < entries.size();) {
        std::size_t timeEnd = timeFirst;
        while (timeEnd < entries.size() && entries[timeEnd].time == entries[timeFirst].time)
            ++timeEnd;
        for (std::size_t first = timeFirst; first < timeEnd; ++group) {
            std::size_t end = first;
            int count[3] = {0, 0, 0};
            while (end < timeEnd && sameFill(entries[first], entries[end]))
                ++count[entries[end++].side];
            // The group's entries of each side, in table order.
            const MergeEntry* of[3] = {&entries[first], &entries[first] + count[Base],
                                       &entries[first] + count[Base] + count[Ours]};
            const auto keyOf = [&keys](const MergeEntry& entry) {
                return &keys[entry.side][std::size_t(entry.index)];
            };
            const int result = mergedCount(count[Base], count[Ours], count[Theirs]);
            for (int i = 0; i < count[Ours] - result; ++i)
                removals.add(of[Ours][i].index, keyOf(of[Ours][i]));
            for (int i = count[Theirs] - (result - count[Ours]); i < count[Theirs]; ++i)
                insertions.add(of[Theirs][i].index, keyOf(of[Theirs][i]));
            for (const Side side : {Ours, Theirs}) {
                for (int i = count[side]; i < count[Base]; ++i)
                    removed[side].add(of[Base][i].index, keyOf(of[Base][i]));
                for (int i = count[Base]; i < count[side]; ++i)
                    added[side].add(of[side][i].index, keyOf(of[side][i]), group);
            }
            first = end;
        }
        merge.conflicts += conflictsOf(sideFates(removed[Ours], added[Ours]),
                                       sideFates(removed[Theirs], added[Theirs]));

        // What the step takes out and puts in at one time pairs up as edits of a row.
        const std::vector<int> partners = pairEdits(removals.sortedKeys(), insertions.sortedKeys());
        std::vector<bool> replacing(insertions.fills.size(), false);
        for (std::size_t i = 0; i < partners.size(); ++i) {
            int& fate = fates[std::size_t(removals.fills[i].position)];
            if (partners[i] < 0) {
                fate = kRemoved;
                ++merge.removed;
            } else {
                fate = insertions.fills[std::size_t(partners[i])].position;
                replacing[std::size_t(partners[i])] = true;
                ++merge.changed;
            }
        }
        for (std::size_t i = 0; i < replacing.size(); ++i) {
            if (!replacing[i]) {
                additions.push_back(insertions.fills[i].position);
                ++merge.added;
            }
        }
        for (TimeFills* fills : {&removals, &insertions, &removed[Ours], &removed[Theirs],
                                 &added[Ours], &added[Theirs]})
            fills->fills.clear();
        timeFirst = timeEnd;
    }

    // The rows after the step: a replaced fill keeps its row, an added one goes after every fill
    // of equal time.
    int row = 0;
    auto next = additions.cbegin();
    const auto putIn = [&merge, &theirs, &row](int index) {
        merge.insertedRows.push_back(row++);
        merge.insertedFills.push_back(mergedFill(theirs, index));
    };
    for (std::size_t i = 0; i < fates.size(); ++i) {
        if (fates[i] != kKept)
            merge.removedRows.push_back(int(i));
        if (fates[i] == kRemoved)
            continue;
        const quint64 time = ours.fills[i].dateTime.value();
        for (; next != additions.cend() && theirs.fills[std::size_t(*next)].dateTime.value() < time;
             ++next)
            putIn(*next);
        if (fates[i] == kKept)
            ++row;
        else
            putIn(fates[i]);
    }
    for (; next != additions.cend(); ++next)
        putIn(*next);
    return merge;
}

void resolveMergedFills(CFuelDatabase& db, const LogMerge& merge, std::vector<FillRecord>* fills,
                        std::vector<FillFlags>* flags) {
    QHash<QString, int> stations;
    QHash<QString, int> drivers;
    fills->clear();
    flags->clear();
    for (const MergedFill& merged : merge.insertedFills) {
        FillRecord& fill = fills->emplace_back(merged.fill);
        auto station = stations.constFind(merged.station);
        if (station == stations.cend())
            station = stations.insert(merged.station, db.findOrAddStation(merged.station));
        fill.stationId = *station;
        fill.driverId = -1;
        if (merged.driver) {
            auto driver = drivers.constFind(*merged.driver);
            if (driver == drivers.cend())
                driver = drivers.insert(*merged.driver, db.findOrAddDriver(*merged.driver));
            fill.driverId = *driver;
        }
        flags->push_back(merged.flags);
    }
}

void applyLogMerge(CFuelDatabase& db, const LogMerge& merge) {
    if (merge.settings)
        db.setSettingsBlock(*merge.settings);
    if (merge.costs)
        db.setCosts(*merge.costs);
    std::vector<FillRecord> fills;
    std::vector<FillFlags> flags;
    resolveMergedFills(db, merge, &fills, &flags);
    db.removeFillsAt(merge.removedRows);
    db.insertFillsAt(merge.insertedRows, fills, flags);
}
