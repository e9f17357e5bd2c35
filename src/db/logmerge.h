#pragma once

// Folding another copy of the log into the open one, as when a sync tool put a copy written
// elsewhere in place of the file while it was open.

#include "db/databasefile.h"
#include "db/fueldatabase.h"

#include <vector>

// Adds to ours every fill of theirs that ours does not have, and returns their positions as
// mergeFills does. A fill is the same fill when its time, odometer and fuel (the stored float
// bits) are equal; a fill that theirs has more often than ours is added as many times more.
// An added fill keeps every field of theirs, except that its station and driver become those
// of ours with the same name (added when ours has none); an id outside their tables means the
// station of empty name, and no driver. It brings its flags along; a fill both have keeps
// ours (a copy saved by the handheld has lost every flag). Fills only ours has stay. An edited fill
// (same time, other fuel) is therefore in the result twice, its old and its new version.
std::vector<int> mergeOtherCopy(CFuelDatabase& ours, const DatabaseTables& theirs);
