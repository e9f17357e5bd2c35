#pragma once

// What a three-way merge of the log must give, checked against the tables themselves rather than
// the merge's own workings: shared by the database fuzz target and the merge's unit test.

#include "db/logmerge.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <cstddef>

namespace mergeproperty {

// A name as the station and driver lookup compares it: as the field stores it, ignoring case.
template <std::size_t N> QByteArray foldedName(const char16_t (&name)[N]) {
    return fieldFit(fieldText(name), qsizetype(N)).toCaseFolded().toUtf8();
}

// A fill's content as text: its record with names in place of ids, notes up to their end, flags.
inline QByteArray fillContent(const DatabaseTables& tables, std::size_t index) {
    const FillRecord& fill = tables.fills[index];
    QByteArray bytes(reinterpret_cast<const char*>(&fill.odometer),
                     sizeof fill - offsetof(FillRecord, odometer) - sizeof fill.driverId);
    bytes += fieldView(fill.notes).toUtf8() + '\0';
    const auto station = std::size_t(fill.stationId);
    if (fill.stationId >= 0 && station < tables.stations.size())
        bytes += foldedName(tables.stations[station].name);
    bytes += '\0';
    const auto driver = std::size_t(fill.driverId);
    if (fill.driverId >= 0 && driver < tables.drivers.size())
        bytes += 'd' + foldedName(tables.drivers[driver].name);
    const FillFlags flags = flagsAt(tables.fillFlags, int(index));
    bytes += '\0' +
             QByteArray::number(int(flags.partial) + 2 * int(flags.missedBefore) +
                                4 * int(flags.charge) + 8 * int(flags.atHome)) +
             '/' + QByteArray::number(flags.chargeBefore) + '/' +
             QByteArray::number(flags.chargeAfter);
    return bytes;
}

// A cost's content as text, without its category (a category both sides made under one id moves
// theirs to another), and a reminder's, without its id (two versions of one get two ids).
inline QByteArray costContent(const CostEntry& cost) {
    return (QStringList{cost.date.toString(Qt::ISODate), QString::number(cost.odometer),
                        QString::number(cost.amount, 'g', 17), cost.notes,
                        QString::number(cost.intervalMonths), cost.endDate.toString(Qt::ISODate)}
                .join(u'\x1F'))
        .toUtf8();
}
inline QByteArray reminderContent(const Reminder& r) {
    return (QStringList{r.title, r.dueDate.toString(Qt::ISODate), QString::number(r.dueOdometer),
                        QString::number(r.repeatMonths), QString::number(r.repeatDistance),
                        r.lastDone.toString(Qt::ISODate), QString::number(r.lastDoneOdometer)}
                .join(u'\x1F'))
        .toUtf8();
}

// The rules of the fills below, for costs and reminders; and the costs in date order, the
// reminders' ids told apart, every cost in a category the merged log has or in one its side
// named already.
inline const char* costsViolation(const VehicleCosts& base, const VehicleCosts& ours,
                                  const VehicleCosts& theirs, const VehicleCosts& merged) {
    QHash<QByteArray, std::array<int, 4>> counts;
    const VehicleCosts* sides[] = {&base, &ours, &theirs, &merged};
    for (std::size_t side = 0; side < 4; ++side) {
        for (const CostEntry& cost : sides[side]->costs)
            ++counts['c' + costContent(cost)][side];
        for (const Reminder& reminder : sides[side]->reminders)
            ++counts['r' + reminderContent(reminder)][side];
    }
    for (const auto& [b, o, t, m] : counts) {
        if (m < o - b || m < t - b)
            return "a cost or reminder one side added or changed is lost";
        if (t == b && m != o)
            return "a change of costs made in ours only did not stay";
        if (o == b && m != t)
            return "a change of costs made in theirs only was not taken";
    }
    if (!std::is_sorted(merged.costs.begin(), merged.costs.end(),
                        [](const CostEntry& a, const CostEntry& b) { return a.date < b.date; }))
        return "the merged costs are out of date order";
    for (std::size_t i = 0; i < merged.reminders.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (merged.reminders[i].id == merged.reminders[j].id)
                return "two merged reminders have one id";
        }
    }
    return nullptr;
}

// Null when the merged tables (ours after the merge was applied) keep to the rules, else what
// they break: every fill either side added or changed is there at least as often as that side
// added it; where theirs did not change a fill, ours' count of it stays, and where ours did not,
// theirs' count is taken; ours in time order stays so; the counts describe the rows.
inline const char* mergeViolation(const DatabaseTables& base, const DatabaseTables& ours,
                                  const DatabaseTables& theirs, const LogMerge& merge,
                                  const DatabaseTables& merged) {
    QHash<QByteArray, std::array<int, 4>> counts;
    const DatabaseTables* tables[] = {&base, &ours, &theirs, &merged};
    for (std::size_t side = 0; side < 4; ++side) {
        for (std::size_t i = 0; i < tables[side]->fills.size(); ++i)
            ++counts[fillContent(*tables[side], i)][side];
    }
    for (const auto& [b, o, t, m] : counts) {
        if (m < o - b || m < t - b)
            return "a fill one side added or changed is lost";
        if (t == b && m != o)
            return "a change made in ours only did not stay";
        if (o == b && m != t)
            return "a change made in theirs only was not taken";
    }
    const auto inOrder = [](const DatabaseTables& tables) {
        return std::is_sorted(tables.fills.begin(), tables.fills.end(),
                              [](const FillRecord& a, const FillRecord& b) {
                                  return compareFileTime(a.dateTime, b.dateTime) < 0;
                              });
    };
    if (inOrder(ours) && !inOrder(merged))
        return "the merged fills are out of time order";
    if (merge.removed + merge.changed != int(merge.removedRows.size()) ||
        merge.added + merge.changed != int(merge.insertedRows.size()))
        return "the counts do not describe the rows";
    if (merge.settings.value_or(ours.settings) != merged.settings ||
        (ours.settings == base.settings && merged.settings != theirs.settings) ||
        (theirs.settings == base.settings && merged.settings != ours.settings))
        return "the settings do not follow the rule";
    return costsViolation(base.costs, ours.costs, theirs.costs, merged.costs);
}

} // namespace mergeproperty
