#include "db/fueldatabase.h"

#include <QStringView>
#include <algorithm>
#include <cstdio>
#include <type_traits>
#include <utility>

namespace {

template <typename Record> Record* recordAt(std::vector<Record>& table, int index) {
    return index >= 0 && std::size_t(index) < table.size() ? &table[std::size_t(index)] : nullptr;
}

template <typename Record> const Record* recordAt(const std::vector<Record>& table, int index) {
    return index >= 0 && std::size_t(index) < table.size() ? &table[std::size_t(index)] : nullptr;
}

template <typename Record> QString storedName(const QString& name) {
    return fieldFit(name, qsizetype(std::extent_v<decltype(Record::name)>));
}

template <typename Record> int findNamed(const std::vector<Record>& table, const QString& name) {
    const QString stored = storedName<Record>(name);
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (fieldView(table[i].name).compare(stored, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

template <typename Record> int findOrAddNamed(std::vector<Record>& table, const QString& name) {
    if (const int found = findNamed(table, name); found >= 0)
        return found;
    const QString stored = storedName<Record>(name);
    Record record;
    record.id = int(table.size());
    setFieldText(record.name, stored);
    table.push_back(record);
    return record.id;
}

bool timeNotAfter(const FillRecord& fill, const FileTime& time) {
    return compareFileTime(fill.dateTime, time) <= 0;
}

// Puts item(k) at places[k] (ascending indices of the grown table) and moves the rest up, from
// the back, in one pass: each stretch of records between two new places moves as one block.
template <typename Record, typename Item>
void spreadInto(std::vector<Record>& table, const std::vector<int>& places, Item item) {
    std::size_t old = table.size();
    table.resize(old + places.size());
    for (std::size_t k = places.size(); k > 0; --k) {
        // The old records from `from` on lie behind the k-th new one.
        const std::size_t place = std::size_t(places[k - 1]);
        const std::size_t from = place - (k - 1);
        std::move_backward(table.begin() + std::ptrdiff_t(from),
                           table.begin() + std::ptrdiff_t(old),
                           table.begin() + std::ptrdiff_t(old + k));
        table[place] = item(k - 1);
        old = from;
    }
}

// Sorts fills stably, and flags so that each stays with its fill.
template <typename Earlier>
void sortTogether(std::vector<FillRecord>* fills, std::vector<FillFlags>* flags, Earlier earlier) {
    std::vector<std::size_t> order(fills->size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return earlier((*fills)[a], (*fills)[b]);
    });
    std::vector<FillRecord> sortedFills;
    std::vector<FillFlags> sortedFlags;
    sortedFills.reserve(order.size());
    sortedFlags.reserve(order.size());
    for (const std::size_t from : order) {
        sortedFills.push_back((*fills)[from]);
        sortedFlags.push_back(flagsAt(*flags, int(from)));
    }
    *fills = std::move(sortedFills);
    *flags = std::move(sortedFlags);
}

// Removes the records at the ascending positions; one outside the table, repeated or out of
// order is skipped. The records kept between two removed ones move as one block.
template <typename Record>
void removeAt(std::vector<Record>& table, const std::vector<int>& positions) {
    const auto at = [&table](std::size_t index) { return table.begin() + std::ptrdiff_t(index); };
    const int count = int(table.size());
    std::size_t kept = 0; // the end of the records kept so far
    std::size_t next = 0; // the first record not yet looked at
    bool removed = false;
    for (const int position : positions) {
        if (position < int(next) || position >= count)
            continue;
        const auto index = std::size_t(position);
        kept =
            removed ? std::size_t(std::move(at(next), at(index), at(kept)) - table.begin()) : index;
        next = index + 1;
        removed = true;
    }
    if (!removed)
        return;
    kept = std::size_t(std::move(at(next), table.end(), at(kept)) - table.begin());
    table.resize(kept);
}

} // namespace

CFuelDatabase::CFuelDatabase(QString filePath) : m_filePath(std::move(filePath)) {}

CFuelDatabase::~CFuelDatabase() = default;

void CFuelDatabase::setFilePath(const QString& filePath) {
    m_filePath = filePath;
}

QString CFuelDatabase::filePath() const {
    return m_filePath;
}

void CFuelDatabase::setMessageSink(MessageSink sink) {
    m_messageSink = std::move(sink);
}

void CFuelDatabase::report(const QString& message) const {
    if (m_messageSink)
        m_messageSink(message);
    else
        std::fprintf(stderr, "Tankometer: %s\n", message.toLocal8Bit().constData());
}

LogUnits CFuelDatabase::units() const {
    return chosenUnits().value_or(LogUnits{});
}

std::optional<LogUnits> CFuelDatabase::chosenUnits() const {
    return readLogSettings(m_tables.settings);
}

void CFuelDatabase::setUnits(const LogUnits& units) {
    LogUnits shown = units;
    shown.stored = this->units().stored;
    m_tables.settings = writeLogSettings(m_tables.settings, shown);
}

void CFuelDatabase::setNewLogUnits(const LogUnits& units) {
    LogUnits chosen = units;
    chosen.stored = units.distance;
    m_tables.settings = writeLogSettings(m_tables.settings, chosen);
}

QString CFuelDatabase::vehicleName() const {
    return readVehicleName(m_tables.settings);
}

void CFuelDatabase::setVehicleName(const QString& name) {
    m_tables.settings = writeVehicleName(m_tables.settings, name);
}

void CFuelDatabase::setSettingsBlock(const LogSettingsBlock& block) {
    m_tables.settings = block;
}

DatabaseReadStatus CFuelDatabase::load() {
    bool inTimeOrder = false;
    const DatabaseReadStatus status = readDatabaseFile(m_filePath, &m_tables, &m_fillExtrasStatus,
                                                       &m_costSectionStatus, &inTimeOrder);
    // A section after the fill table that could not be read (damaged, or written by a later
    // version) is dropped by the next save: the file is kept as a backup first.
    const bool sectionIgnored = (m_fillExtrasStatus != FillExtrasStatus::Read &&
                                 m_fillExtrasStatus != FillExtrasStatus::Absent) ||
                                (m_costSectionStatus != CostSectionStatus::Read &&
                                 m_costSectionStatus != CostSectionStatus::Absent);
    m_unreadFilePath = leavesDataUnread(status) || sectionIgnored ? m_filePath : QString();
    const QString message = readStatusMessage(status);
    if (!message.isEmpty())
        report(message);
    if (status == DatabaseReadStatus::BadHeader)
        return status;
    m_header.magic[0] = u'T';
    m_header.magic[1] = u'K';
    // Every file this program writes is in time order; the read has looked already.
    if (!inTimeOrder)
        sortFills();
    return status;
}

bool CFuelDatabase::save() {
    const bool keepOldFile = mustKeepOldFile();
    const DatabaseWriteStatus status =
        writeDatabaseFile(m_filePath, m_header, m_tables, keepOldFile);
    if (status != DatabaseWriteStatus::Written) {
        report(writeStatusMessage(status));
        return false;
    }
    if (keepOldFile)
        oldFileKept();
    return true;
}

const DatabaseHeader& CFuelDatabase::header() const {
    return m_header;
}

const DatabaseTables& CFuelDatabase::tables() const {
    return m_tables;
}

bool CFuelDatabase::mustKeepOldFile() const {
    return !m_unreadFilePath.isEmpty() && m_unreadFilePath == m_filePath;
}

void CFuelDatabase::oldFileKept() {
    m_unreadFilePath.clear();
}

int CFuelDatabase::findStation(const QString& name) const {
    return findNamed(m_tables.stations, name);
}

int CFuelDatabase::findDriver(const QString& name) const {
    return findNamed(m_tables.drivers, name);
}

int CFuelDatabase::findOrAddStation(const QString& name) {
    return findOrAddNamed(m_tables.stations, name);
}

int CFuelDatabase::findOrAddDriver(const QString& name) {
    return findOrAddNamed(m_tables.drivers, name);
}

bool CFuelDatabase::flagsFollow(bool anyNew) {
    std::vector<FillFlags>& flags = m_tables.fillFlags;
    if (flags.empty() && !anyNew)
        return false;
    flags.resize(m_tables.fills.size());
    return true;
}

void CFuelDatabase::setFillFlags(int index, FillFlags flags) {
    if (index < 0 || index >= getFillCount() || !flagsFollow(flags.any()))
        return;
    m_tables.fillFlags[std::size_t(index)] = flags;
}

int CFuelDatabase::insertFill(const FillRecord& fill, FillFlags flags) {
    const bool follow = flagsFollow(flags.any());
    std::vector<FillRecord>& fills = m_tables.fills;
    // The table is in time order, so the first fill later than the new one is found by
    // binary search; the new fill goes before it, after every fill of equal time.
    const auto place =
        std::partition_point(fills.begin(), fills.end(), [&fill](const FillRecord& f) {
            return timeNotAfter(f, fill.dateTime);
        });
    const int index = int(place - fills.begin());
    fills.insert(place, fill);
    if (follow)
        m_tables.fillFlags.insert(m_tables.fillFlags.begin() + index, flags);
    return index;
}

std::vector<int> CFuelDatabase::mergeRows(std::vector<FillRecord>* newFills,
                                          std::vector<FillFlags>* newFlags) const {
    const std::vector<FillRecord>& fills = m_tables.fills;
    const auto earlier = [](const FillRecord& a, const FillRecord& b) {
        return compareFileTime(a.dateTime, b.dateTime) < 0;
    };
    if (!std::is_sorted(newFills->begin(), newFills->end(), earlier)) {
        if (newFlags && !newFlags->empty())
            sortTogether(newFills, newFlags, earlier);
        else
            std::stable_sort(newFills->begin(), newFills->end(), earlier);
    }
    // The k-th new fill goes behind the k before it and behind every existing fill of its time
    // or earlier.
    std::vector<int> rows;
    rows.reserve(newFills->size());
    for (const FillRecord& fill : *newFills) {
        const auto place =
            std::partition_point(fills.begin(), fills.end(), [&fill](const FillRecord& f) {
                return timeNotAfter(f, fill.dateTime);
            });
        rows.push_back(int(place - fills.begin()) + int(rows.size()));
    }
    return rows;
}

std::vector<int> CFuelDatabase::mergeFills(const std::vector<FillRecord>& newFills,
                                           const std::vector<FillFlags>& newFlags) {
    std::vector<FillRecord> added = newFills;
    std::vector<FillFlags> addedFlags = newFlags;
    const std::vector<int> rows = mergeRows(&added, &addedFlags);
    insertFillsAt(rows, added, addedFlags);
    return rows;
}

void CFuelDatabase::insertFillAt(int index, const FillRecord& fill, FillFlags flags) {
    const bool follow = flagsFollow(flags.any());
    std::vector<FillRecord>& fills = m_tables.fills;
    index = std::clamp(index, 0, int(fills.size()));
    fills.insert(fills.begin() + index, fill);
    if (follow)
        m_tables.fillFlags.insert(m_tables.fillFlags.begin() + index, flags);
}

void CFuelDatabase::insertFillsAt(const std::vector<int>& positions,
                                  const std::vector<FillRecord>& newFills,
                                  const std::vector<FillFlags>& newFlags) {
    const std::size_t count = std::min(positions.size(), newFills.size());
    const int oldCount = getFillCount();
    // The k-th of the new fills can only stand between k (all earlier ones before it) and
    // oldCount + k (all existing fills before it), behind the one before it.
    std::vector<int> places(count);
    for (std::size_t k = 0; k < count; ++k) {
        const int lowest = k == 0 ? 0 : places[k - 1] + 1;
        places[k] = std::clamp(positions[k], lowest, oldCount + int(k));
    }
    if (flagsFollow(::anyFillFlagged(newFlags)))
        spreadInto(m_tables.fillFlags, places,
                   [&newFlags](std::size_t k) { return flagsAt(newFlags, int(k)); });
    spreadInto(m_tables.fills, places, [&newFills](std::size_t k) { return newFills[k]; });
}

void CFuelDatabase::moveFill(int from, int to, const FillRecord& fill, FillFlags flags) {
    const int count = getFillCount();
    if (from < 0 || from >= count)
        return;
    to = std::clamp(to, 0, count - 1);
    const auto move = [from, to](auto& table) {
        const auto at = [&table](int index) { return table.begin() + index; };
        if (to > from)
            std::move(at(from + 1), at(to + 1), at(from));
        else
            std::move_backward(at(to), at(from), at(from + 1));
    };
    if (flagsFollow(flags.any())) {
        move(m_tables.fillFlags);
        m_tables.fillFlags[std::size_t(to)] = flags;
    }
    move(m_tables.fills);
    m_tables.fills[std::size_t(to)] = fill;
}

void CFuelDatabase::removeFillsAt(const std::vector<int>& positions) {
    if (flagsFollow(false))
        removeAt(m_tables.fillFlags, positions);
    removeAt(m_tables.fills, positions);
}

int CFuelDatabase::rowForTime(int index, const FileTime& time) const {
    const std::vector<FillRecord>& fills = m_tables.fills;
    const int count = int(fills.size());
    if (index < 0 || index >= count)
        return -1;
    const bool afterPrevious = index == 0 || timeNotAfter(fills[std::size_t(index - 1)], time);
    const bool beforeNext =
        index == count - 1 || compareFileTime(time, fills[std::size_t(index + 1)].dateTime) <= 0;
    if (afterPrevious && beforeNext)
        return index;
    // Without the fill the table is in time order: it goes after the others not after `time`.
    const auto notAfter = [&time](const FillRecord& f) { return timeNotAfter(f, time); };
    const auto at = fills.begin() + index;
    return int(std::partition_point(fills.begin(), at, notAfter) - fills.begin()) +
           int(std::partition_point(at + 1, fills.end(), notAfter) - (at + 1));
}

void CFuelDatabase::removeFill(int index) {
    if (index < 0 || index >= getFillCount())
        return;
    if (flagsFollow(false))
        m_tables.fillFlags.erase(m_tables.fillFlags.begin() + index);
    m_tables.fills.erase(m_tables.fills.begin() + index);
}

FillRecord* CFuelDatabase::getFill(int index) {
    return recordAt(m_tables.fills, index);
}

const FillRecord* CFuelDatabase::getFill(int index) const {
    return recordAt(m_tables.fills, index);
}

StationRecord* CFuelDatabase::getStation(int id) {
    return recordAt(m_tables.stations, id);
}

const StationRecord* CFuelDatabase::getStation(int id) const {
    return recordAt(m_tables.stations, id);
}

DriverRecord* CFuelDatabase::getDriver(int id) {
    return recordAt(m_tables.drivers, id);
}

const DriverRecord* CFuelDatabase::getDriver(int id) const {
    return recordAt(m_tables.drivers, id);
}

void CFuelDatabase::setStation(int id, const StationRecord& station) {
    if (StationRecord* record = recordAt(m_tables.stations, id))
        *record = station;
}

void CFuelDatabase::setDriver(int id, const DriverRecord& driver) {
    if (DriverRecord* record = recordAt(m_tables.drivers, id))
        *record = driver;
}

int CFuelDatabase::getFillCount() const {
    return int(m_tables.fills.size());
}

int CFuelDatabase::getStationCount() const {
    return int(m_tables.stations.size());
}

int CFuelDatabase::getDriverCount() const {
    return int(m_tables.drivers.size());
}

void CFuelDatabase::sortFills() {
    std::vector<FillRecord>& fills = m_tables.fills;
    const auto earlier = [](const FillRecord& a, const FillRecord& b) {
        return compareFileTime(a.dateTime, b.dateTime) < 0;
    };
    if (std::is_sorted(fills.begin(), fills.end(), earlier))
        return;
    // A stable sort of the records themselves would take a scratch buffer as large as the
    // table. Sorting small (time, position) keys instead keeps fills of equal time in their
    // file order, and the records are then moved in place along the cycles of the order.
    struct SortKey {
        quint64 time;
        quint32 from;
    };
    std::vector<SortKey> keys(fills.size());
    for (std::size_t i = 0; i < fills.size(); ++i)
        keys[i] = {fills[i].dateTime.value(), quint32(i)};
    std::sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
        return a.time != b.time ? a.time < b.time : a.from < b.from;
    });
    // keys[i].from is where the record for place i stands now; a done place points at itself.
    // The flags take the same moves.
    std::vector<FillFlags>* flags = flagsFollow(false) ? &m_tables.fillFlags : nullptr;
    for (std::size_t start = 0; start < keys.size(); ++start) {
        if (keys[start].from == start)
            continue;
        const FillRecord held = fills[start];
        const FillFlags heldFlags = flags ? (*flags)[start] : FillFlags();
        std::size_t place = start;
        while (keys[place].from != start) {
            const std::size_t from = keys[place].from;
            fills[place] = fills[from];
            if (flags)
                (*flags)[place] = (*flags)[from];
            keys[place].from = quint32(place);
            place = from;
        }
        fills[place] = held;
        if (flags)
            (*flags)[place] = heldFlags;
        keys[place].from = quint32(place);
    }
}
