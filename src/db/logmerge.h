#pragma once

// Folding another copy of the log into the open one, as when a sync tool put a copy written
// elsewhere in place of the file while it was open.

#include "db/databasefile.h"
#include "db/fueldatabase.h"

#include <QString>
#include <optional>
#include <vector>

// A fill that a merge puts into the open log. Its stationId and driverId are those of the copy
// it comes from; what counts is the names (resolveMergedFills turns them into the open log's ids).
struct MergedFill {
    FillRecord fill;
    FillFlags flags;
    QString station;               // an id outside the copy's table: the station of empty name
    std::optional<QString> driver; // none: the fill has no driver
};

// What a three-way merge changes in the open log (ours), as one step: take out removedRows, then
// put insertedFills[k] in at insertedRows[k]. Both row lists are ascending; insertedRows are rows
// of the table after the step (CFuelDatabase::removeFillsAt, then insertFillsAt, gives it; undo is
// the same backwards). A fill edited on the other side at the same time keeps its row: when every
// change is such an edit, removedRows == insertedRows. Added fills go after every fill of equal
// time, as insertFill puts them.
struct LogMerge {
    std::vector<int> removedRows;
    std::vector<int> insertedRows;
    std::vector<MergedFill> insertedFills;
    // The other copy's settings block, when the open log is to take it over.
    std::optional<LogSettingsBlock> settings;
    // The costs, categories and reminders the open log is to have, when they change.
    std::optional<VehicleCosts> costs;

    // For the message: fills put in without one taken out at the same time (added), taken out
    // without one put in (removed), and fills replaced by another version of the same time
    // (changed). Conflicts: fills of the base that both sides changed, differently; both versions
    // are in the result.
    int added = 0;
    int removed = 0;
    int changed = 0;
    int conflicts = 0;

    // True when the step changes nothing (neither fills nor settings nor costs).
    bool isEmpty() const {
        return removedRows.empty() && insertedRows.empty() && !settings && !costs;
    }
};

// The three-way merge of the open log (ours) with another copy (theirs), against base: the tables
// last read from or written to the file. Ours must be in time order, as CFuelDatabase keeps it;
// base and theirs may be in any order.
//
// A fill is its content: time, odometer, amount, cost (the stored float bits), notes up to their
// end, flags, and the names of its station and driver (compared as the station lookup compares
// them: as their field stores them when added, whole and ignoring case; ids differ between
// copies). Equal fills are the same fill, and
// the tables are multisets: a fill present twice counts twice. For every such fill the result
// holds as many as base has, plus the change of one side; when both sides added (or both removed)
// copies of it, the larger change, since equal fills on both sides are the same fill. So:
//  - a fill added, removed or edited on theirs only is added, removed or replaced in ours;
//  - a change in ours only stays, and so does a change both sides made alike;
//  - a base fill that both sides changed differently is in the result in both versions (removed
//    on one side and edited on the other: the edited version), and counts as a conflict.
// Nothing either side added or changed is ever lost: the result holds at least as many of each
// fill as either side added.
//
// An edit is a base fill missing from a copy together with a fill of that copy not in the base
// with the same time (a change of time is therefore a removal and an addition). When one time
// has several such fills on a side, they are paired in table order (the order in which fills of
// equal time were added); the pairing decides only what counts as changed and what as a
// conflict, never which fills the result holds.
//
// Settings: theirs are taken when only theirs differ from the base; ours stay when only ours
// changed them or both did.
//
// Costs and reminders merge as fills do: a record is its content (every field), the lists are
// multisets, and each holds base's count with the change of either side (see mergedCount); costs
// stay in date order. A category is its id: a name changed on one side only is taken; a new
// category both sides gave the same id under different names keeps ours, and theirs (with the
// costs of theirs in it) takes a new id; a category both renamed differently keeps our name.
// Reminders that end up with the same id (both sides edited one differently) are told apart by
// new ids for the later ones.
//
// Runs in O(n log n) in the number of fills of the three tables.
LogMerge mergeThreeWay(const DatabaseTables& base, const DatabaseTables& ours,
                       const DatabaseTables& theirs);

// The merge's fills with db's ids for their stations and drivers (names db lacks are added to
// it, each looked up once), and their flags beside them.
void resolveMergedFills(CFuelDatabase& db, const LogMerge& merge, std::vector<FillRecord>* fills,
                        std::vector<FillFlags>* flags);

// Applies the merge to db (the open log it was worked out for) in one go, without an undo step.
void applyLogMerge(CFuelDatabase& db, const LogMerge& merge);

// The two-way merge that came before: adds to ours every fill of theirs that ours does not have,
// and returns their positions as mergeFills does. A fill is the same fill when its time, odometer
// and fuel (the stored float bits) are equal; a fill that theirs has more often than ours is
// added as many times more. An added fill keeps every field of theirs, except that its station
// and driver become those of ours with the same name (added when ours has none); an id outside
// their tables means the station of empty name, and no driver. It brings its flags along; a fill
// both have keeps ours. Fills only ours has stay. An edited fill (same time, other fuel) is
// therefore in the result twice, its old and its new version.
std::vector<int> mergeOtherCopy(CFuelDatabase& ours, const DatabaseTables& theirs);

// The three-way merge of the costs alone (see mergeThreeWay); none when the result is ours.
std::optional<VehicleCosts> mergeCosts(const VehicleCosts& base, const VehicleCosts& ours,
                                       const VehicleCosts& theirs);
