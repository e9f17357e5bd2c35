// The database loader on any bytes (both file formats, chosen by the header of the input).
// A load never crashes or allocates more than the file can hold; the fills come out in time
// order; the per-fill section gives flags only when it matched, the section of costs costs only
// when it matched; what was loaded is saved whole and loads back to the same tables, flags, costs
// and log settings; units stored into any settings block
// read back as stored, never change the unit the readings are stored in, and keep the bytes this
// version does not write. Two copies changed from the loaded log (removals, additions, edits of
// any field, another station table, another order, other settings) merge three-way against it
// without losing a change either side made, of fills and of costs.

#include "db/fueldatabase.h"
#include "fuzzinput.h"
#include "mergeproperty.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <random>

namespace {

bool sameBytes(const void* a, const void* b, std::size_t size) {
    return std::memcmp(a, b, size) == 0;
}

bool sameTables(const CFuelDatabase& a, const CFuelDatabase& b) {
    if (a.getStationCount() != b.getStationCount() || a.getDriverCount() != b.getDriverCount() ||
        a.getFillCount() != b.getFillCount())
        return false;
    for (int i = 0; i < a.getStationCount(); ++i) {
        if (!sameBytes(a.getStation(i), b.getStation(i), sizeof(StationRecord)))
            return false;
    }
    for (int i = 0; i < a.getDriverCount(); ++i) {
        if (!sameBytes(a.getDriver(i), b.getDriver(i), sizeof(DriverRecord)))
            return false;
    }
    for (int i = 0; i < a.getFillCount(); ++i) {
        if (!sameBytes(a.getFill(i), b.getFill(i), sizeof(FillRecord)) ||
            a.getFillFlags(i) != b.getFillFlags(i))
            return false;
    }
    return true;
}

// A change of one field of a fill, chosen by random: often to a value another change may choose
// too, so that both sides sometimes make the same edit.
void changeField(FillRecord& fill, FillFlags& flags, std::minstd_rand& random, int stations,
                 int drivers) {
    switch (random() % 8) {
    case 0:
        fill.dateTime = FileTime::fromValue(fill.dateTime.value() + random() % 3);
        break;
    case 1:
        fill.odometer += 1;
        break;
    case 2:
        fill.fuel = float(random() % 3);
        break;
    case 3:
        fill.cost = -fill.cost;
        break;
    case 4:
        // A change after the notes' end is no change.
        setFieldText(fill.notes, random() % 2 ? QStringLiteral("x") : QString());
        fill.notes[kNotesUnits - 1] = char16_t(random());
        break;
    case 5:
        fill.stationId = int(random() % unsigned(stations + 2)) - 1;
        break;
    case 6:
        fill.driverId = int(random() % unsigned(drivers + 2)) - 1;
        break;
    default:
        flags = {bool(random() % 2),
                 bool(random() % 2),
                 bool(random() % 2),
                 bool(random() % 2),
                 qint8(int(random() % 102) - 1),
                 qint8(int(random() % 102) - 1)};
    }
}

// Ours: the loaded log changed through the database, as the window changes it.
void changeOurs(CFuelDatabase& ours, std::minstd_rand& random) {
    if (random() % 4 == 0) {
        LogSettingsBlock settings = ours.tables().settings;
        settings[random() % settings.size()] ^= 1;
        ours.setSettingsBlock(settings);
    }
    for (int change = int(random() % 6); change > 0; --change) {
        const int count = ours.getFillCount();
        const int at = count > 0 ? int(random() % unsigned(count)) : -1;
        FillRecord fill = at >= 0 ? *ours.getFill(at) : FillRecord();
        FillFlags flags = ours.getFillFlags(at);
        switch (random() % 3) {
        case 0:
            ours.removeFill(at);
            break;
        case 1:
            if (random() % 2)
                changeField(fill, flags, random, ours.getStationCount(), ours.getDriverCount());
            if (fill.stationId < 0 || fill.stationId >= ours.getStationCount())
                fill.stationId = ours.findOrAddStation(QStringLiteral("Shell"));
            ours.insertFill(fill, flags);
            break;
        default:
            if (at < 0)
                break;
            changeField(fill, flags, random, ours.getStationCount(), ours.getDriverCount());
            if (fill.stationId < 0 || fill.stationId >= ours.getStationCount())
                fill.stationId = ours.findOrAddStation(QStringLiteral("shell"));
            *ours.getFill(at) = fill;
            ours.setFillFlags(at, flags);
            ours.sortFills();
        }
    }
    // An id beyond its table would name the next record added (by the merge, say): the window
    // never stores one, and one from the file means none.
    for (int i = 0; i < ours.getFillCount(); ++i) {
        FillRecord& fill = *ours.getFill(i);
        if (fill.driverId >= ours.getDriverCount())
            fill.driverId = -1;
        if (fill.stationId < 0 || fill.stationId >= ours.getStationCount())
            fill.stationId = ours.findOrAddStation(QString());
    }
}

// Theirs: the loaded tables changed as another program might leave them: any order, another
// station table, ids outside it.
void changeTheirs(DatabaseTables& theirs, std::minstd_rand& random) {
    if (random() % 4 == 0)
        theirs.settings[random() % theirs.settings.size()] ^= 1;
    theirs.fillFlags.resize(theirs.fills.size());
    for (int change = int(random() % 6); change > 0; --change) {
        const std::size_t count = theirs.fills.size();
        const std::size_t at = count > 0 ? random() % count : 0;
        switch (random() % 3) {
        case 0:
            if (count > 0) {
                theirs.fills.erase(theirs.fills.begin() + qsizetype(at));
                theirs.fillFlags.erase(theirs.fillFlags.begin() + qsizetype(at));
            }
            break;
        case 1: {
            FillRecord fill = count > 0 ? theirs.fills[at] : FillRecord();
            FillFlags flags = count > 0 ? theirs.fillFlags[at] : FillFlags();
            if (random() % 2)
                changeField(fill, flags, random, int(theirs.stations.size()),
                            int(theirs.drivers.size()));
            theirs.fills.push_back(fill);
            theirs.fillFlags.push_back(flags);
            break;
        }
        default:
            if (count > 0)
                changeField(theirs.fills[at], theirs.fillFlags[at], random,
                            int(theirs.stations.size()), int(theirs.drivers.size()));
        }
    }
    if (random() % 2) {
        std::reverse(theirs.fills.begin(), theirs.fills.end());
        std::reverse(theirs.fillFlags.begin(), theirs.fillFlags.end());
    }
    if (random() % 2) {
        // The same stations in reverse order, under their new ids.
        const int stations = int(theirs.stations.size());
        std::reverse(theirs.stations.begin(), theirs.stations.end());
        for (FillRecord& fill : theirs.fills) {
            if (fill.stationId >= 0 && fill.stationId < stations)
                fill.stationId = stations - 1 - fill.stationId;
        }
    }
}

// A few changes of costs and reminders, often to values the other side may choose too.
void changeCosts(VehicleCosts& costs, std::minstd_rand& random) {
    for (int change = int(random() % 4); change > 0; --change) {
        const std::size_t count = costs.costs.size();
        switch (random() % 5) {
        case 0:
            if (count > 0)
                costs.costs.erase(costs.costs.begin() + qsizetype(random() % count));
            break;
        case 1: {
            const CostEntry cost{QDate(2024, 1 + int(random() % 3), 1),
                                 kNoReading,
                                 int(random() % 10),
                                 double(random() % 3),
                                 {},
                                 0,
                                 {}};
            costs.costs.insert(
                costs.costs.begin() + qsizetype(costInsertionIndex(costs.costs, cost.date)), cost);
            break;
        }
        case 2:
            if (count > 0)
                costs.costs[random() % count].amount += 1;
            break;
        case 3: {
            // A category of a new id or a new name, as both sides may make one.
            costs.categories = costCategories(costs);
            const int id = kDefaultCostCategoryCount + int(random() % 2);
            const QString name = random() % 2 ? QStringLiteral("A") : QStringLiteral("B");
            const auto found = std::find_if(costs.categories.begin(), costs.categories.end(),
                                            [id](const CostCategory& c) { return c.id == id; });
            if (found == costs.categories.end())
                costs.categories.push_back({id, name});
            else
                found->name = name;
            break;
        }
        default: {
            // A new reminder takes an id the side does not have yet, as the document gives it.
            const quint32 id = quint32(1 + random() % 3);
            const auto found = std::find_if(costs.reminders.begin(), costs.reminders.end(),
                                            [id](const Reminder& r) { return r.id == id; });
            if (found != costs.reminders.end())
                found->dueOdometer += 100;
            else
                costs.reminders.push_back(
                    {id, QStringLiteral("R"), QDate(), 1000, 0, 0, QDate(), kNoReading});
        }
        }
    }
}

void checkMerge(const CFuelDatabase& loaded, const uint8_t* data, std::size_t size) {
    std::minstd_rand random(unsigned(qHashBits(data, size)));
    const DatabaseTables& base = loaded.tables();
    CFuelDatabase ours = loaded;
    changeOurs(ours, random);
    VehicleCosts ourCosts = ours.costs();
    changeCosts(ourCosts, random);
    ours.setCosts(ourCosts);
    DatabaseTables theirs = base;
    changeTheirs(theirs, random);
    changeCosts(theirs.costs, random);

    const LogMerge merge = mergeThreeWay(base, ours.tables(), theirs);
    CFuelDatabase merged = ours;
    applyLogMerge(merged, merge);
    const char* violation =
        mergeproperty::mergeViolation(base, ours.tables(), theirs, merge, merged.tables());
    fuzzCheck(!violation, violation ? violation : "");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QString input = fuzzFilePath(QStringLiteral("tkbase.fil"));
    const QString copy = fuzzFilePath(QStringLiteral("saved.fil"));
    writeFuzzFile(input, data, size);

    QStringList messages;
    const auto collect = [&messages](const QString& message) { messages << message; };
    CFuelDatabase loaded(input);
    loaded.setMessageSink(collect);
    loaded.load();
    fuzzCheck(messages.size() <= 1, "a load reports at most one message");
    fuzzCheck(qint64(loaded.getFillCount()) * 124 <= qint64(size),
              "more fills than the file holds");
    for (int i = 1; i < loaded.getFillCount(); ++i) {
        fuzzCheck(compareFileTime(loaded.getFill(i - 1)->dateTime, loaded.getFill(i)->dateTime) <=
                      0,
                  "fills out of time order after a load");
    }

    fuzzCheck(loaded.fillExtrasStatus() == FillExtrasStatus::Read || !loaded.anyFillFlagged(),
              "flags from a section that did not match");
    fuzzCheck(loaded.costSectionStatus() == CostSectionStatus::Read || loaded.costs().empty(),
              "costs from a section that did not match");
    checkMerge(loaded, data, size);

    // Saved elsewhere, so the input is never copied to a backup.
    loaded.setFilePath(copy);
    fuzzCheck(loaded.save(), "the loaded tables could not be saved");
    fuzzCheck(QFileInfo(copy).size() ==
                  296 + 68 * qint64(loaded.getStationCount()) +
                      44 * qint64(loaded.getDriverCount()) + 128 * qint64(loaded.getFillCount()) +
                      fillExtrasSection(loaded.tables().fillFlags, loaded.getFillCount()).size() +
                      costSection(loaded.costs()).size(),
              "saved file of the wrong length");
    messages.clear();
    CFuelDatabase reloaded(copy);
    reloaded.setMessageSink(collect);
    reloaded.load();
    fuzzCheck(messages.isEmpty(), "a saved file does not load without a message");
    fuzzCheck(reloaded.fillExtrasStatus() ==
                  (loaded.anyFillFlagged() ? FillExtrasStatus::Read : FillExtrasStatus::Absent),
              "a saved section does not read back");
    fuzzCheck(sameTables(loaded, reloaded), "a saved file loads to other tables");
    fuzzCheck(reloaded.costSectionStatus() ==
                  (loaded.costs().empty() ? CostSectionStatus::Absent : CostSectionStatus::Read),
              "a saved section of costs does not read back");
    fuzzCheck(loaded.costs() == reloaded.costs(), "a saved file loads other costs");
    fuzzCheck(loaded.tables().settings == reloaded.tables().settings,
              "a saved file loads to another settings block");
    fuzzCheck(loaded.chosenUnits() == reloaded.chosenUnits(), "a saved file loads other units");

    // The units the input's block holds (or the defaults) with another currency, stored back.
    // Handed in with the other stored unit, as no dialog may change it.
    LogUnits units = loaded.units();
    units.currency = QStringLiteral("US$");
    const DistanceUnit stored = units.stored;
    units.stored = stored == DistanceUnit::Miles ? DistanceUnit::Kilometres : DistanceUnit::Miles;
    const LogSettingsBlock before = loaded.tables().settings;
    const bool wasValid = loaded.chosenUnits().has_value();
    loaded.setUnits(units);
    units.stored = stored;
    fuzzCheck(loaded.chosenUnits() == units, "stored units do not read back");
    const LogSettingsBlock& after = loaded.tables().settings;
    // The codes read back as they were, so they stay; the home price is written as read.
    if (wasValid)
        fuzzCheck(std::equal(before.begin() + 26, before.begin() + 29, after.begin() + 26) &&
                      std::equal(before.begin() + 33, before.end() - 4, after.begin() + 33),
                  "storing units lost bytes of a later version");

    // A name changes nothing else of the block, and a log without one keeps its bytes.
    const LogSettingsBlock unnamed = loaded.tables().settings;
    const QString name = loaded.vehicleName();
    loaded.setVehicleName({});
    fuzzCheck(!name.isEmpty() || loaded.tables().settings == unnamed,
              "a log without a name changed without one");
    loaded.setVehicleName(QStringLiteral("Van"));
    fuzzCheck(loaded.vehicleName() == QStringLiteral("Van"), "a name does not read back");
    fuzzCheck(loaded.chosenUnits() == units, "a name changed the units");
    return 0;
}
