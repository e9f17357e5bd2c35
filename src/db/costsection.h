#pragma once

// The costs, categories and reminders of a log in the database file: one section after the fill
// table and after the per-fill section when there is one (docs/file-format.md, "Costs and
// reminders (extension section)"). The handheld's reader never looks at it.

#include "db/costs.h"

#include <QByteArray>
#include <QByteArrayView>

enum class CostSectionStatus {
    Read,       // the section was read whole
    Absent,     // nothing follows the fill table (and the per-fill section)
    Cut,        // the section ends before its length
    UnknownTag, // what follows is no section of ours
    UnknownVersion,
    BadLength,   // the length does not fit the records it counts
    BadChecksum, //
    BadRecord,   // a record holds a value no log can have (a date out of range, a NaN amount)
};

// The bytes of the section's head: what a reader needs to learn the section's length.
inline constexpr qint64 kCostSectionHeadSize = 24;

// The whole length of the section whose head (at least kCostSectionHeadSize bytes) starts bytes;
// 0 when bytes start no section of ours.
qint64 costSectionLength(QByteArrayView bytes);

// Where the section starts in what follows the fill table: after the per-fill section when that
// comes first (its own length says where it ends), at once otherwise. -1 when neither section
// starts there (nothing follows, or something that is not ours).
qint64 costSectionOffset(QByteArrayView afterFills);

// Reads the section at the start of bytes. Only a section that is whole and sound gives costs;
// otherwise *costs is emptied.
CostSectionStatus readCostSection(QByteArrayView bytes, VehicleCosts* costs);

// The section of costs, or nothing when the log has none (the file then ends as it always has).
QByteArray costSection(const VehicleCosts& costs);

// One line for the debug log about a section that was ignored; empty for Read and Absent.
QByteArray costSectionStatusText(CostSectionStatus status);
