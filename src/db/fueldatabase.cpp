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
    m_tables.settings = writeLogSettings(m_tables.settings, units);
}

void CFuelDatabase::setSettingsBlock(const LogSettingsBlock& block) {
    m_tables.settings = block;
}

void CFuelDatabase::load() {
    const DatabaseReadStatus status = readDatabaseFile(m_filePath, &m_tables);
    m_unreadFilePath = leavesDataUnread(status) ? m_filePath : QString();
    const QString message = readStatusMessage(status);
    if (!message.isEmpty())
        report(message);
    if (status == DatabaseReadStatus::BadHeader)
        return;
    m_header.magic[0] = u'T';
    m_header.magic[1] = u'K';
    sortFills();
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

int CFuelDatabase::insertFill(const FillRecord& fill) {
    std::vector<FillRecord>& fills = m_tables.fills;
    // The table is in time order, so the first fill later than the new one is found by
    // binary search; the new fill goes before it, after every fill of equal time.
    const auto place =
        std::partition_point(fills.begin(), fills.end(), [&fill](const FillRecord& f) {
            return timeNotAfter(f, fill.dateTime);
        });
    const int index = int(place - fills.begin());
    fills.insert(place, fill);
    return index;
}

std::vector<int> CFuelDatabase::mergeRows(std::vector<FillRecord>* newFills) const {
    const std::vector<FillRecord>& fills = m_tables.fills;
    const auto earlier = [](const FillRecord& a, const FillRecord& b) {
        return compareFileTime(a.dateTime, b.dateTime) < 0;
    };
    if (!std::is_sorted(newFills->begin(), newFills->end(), earlier))
        std::stable_sort(newFills->begin(), newFills->end(), earlier);
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

std::vector<int> CFuelDatabase::mergeFills(const std::vector<FillRecord>& newFills) {
    std::vector<FillRecord> added = newFills;
    const std::vector<int> rows = mergeRows(&added);
    insertFillsAt(rows, added);
    return rows;
}

void CFuelDatabase::insertFillAt(int index, const FillRecord& fill) {
    std::vector<FillRecord>& fills = m_tables.fills;
    fills.insert(fills.begin() + std::clamp(index, 0, int(fills.size())), fill);
}

void CFuelDatabase::insertFillsAt(const std::vector<int>& positions,
                                  const std::vector<FillRecord>& newFills) {
    std::vector<FillRecord>& fills = m_tables.fills;
    const std::size_t count = std::min(positions.size(), newFills.size());
    const int oldCount = int(fills.size());
    // The k-th of the new fills can only stand between k (all earlier ones before it) and
    // oldCount + k (all existing fills before it), behind the one before it.
    std::vector<int> places(count);
    for (std::size_t k = 0; k < count; ++k) {
        const int lowest = k == 0 ? 0 : places[k - 1] + 1;
        places[k] = std::clamp(positions[k], lowest, oldCount + int(k));
    }
    // From the back: each existing fill moves up by the number of new fills placed before it.
    std::size_t old = std::size_t(oldCount);
    std::size_t next = count;
    fills.resize(old + count);
    for (std::size_t place = old + count; next > 0;) {
        --place;
        if (int(place) == places[next - 1])
            fills[place] = newFills[--next];
        else
            fills[place] = fills[--old];
    }
}

void CFuelDatabase::removeFillsAt(const std::vector<int>& positions) {
    std::vector<FillRecord>& fills = m_tables.fills;
    const int count = int(fills.size());
    auto position = positions.begin();
    const auto skipBelow = [&](int index) {
        while (position != positions.end() && *position < index)
            ++position;
    };
    skipBelow(0);
    if (position == positions.end() || *position >= count)
        return;
    int kept = *position;
    for (int index = kept; index < count; ++index) {
        skipBelow(index);
        if (position != positions.end() && *position == index)
            continue;
        fills[std::size_t(kept++)] = fills[std::size_t(index)];
    }
    fills.resize(std::size_t(kept));
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
    if (index >= 0 && index < getFillCount())
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
    for (std::size_t start = 0; start < keys.size(); ++start) {
        if (keys[start].from == start)
            continue;
        const FillRecord held = fills[start];
        std::size_t place = start;
        while (keys[place].from != start) {
            const std::size_t from = keys[place].from;
            fills[place] = fills[from];
            keys[place].from = quint32(place);
            place = from;
        }
        fills[place] = held;
        keys[place].from = quint32(place);
    }
}
