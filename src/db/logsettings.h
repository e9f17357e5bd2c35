#pragma once

// The log's own settings (its units and currency), kept in the 256-byte block after the header
// of the database file, which the handheld skips on reading and writes as zeros. Layout in
// docs/file-format.md.

#include "db/units.h"

#include <array>
#include <optional>

constexpr int kLogSettingsSize = 256;
using LogSettingsBlock = std::array<quint8, kLogSettingsSize>;

// The version of the block this program writes; a block of a later version keeps its number.
// Version 2 added the vehicle's energy, the electricity consumption unit and the home price per
// kWh, which read as a fuel vehicle in a version 1 block (zeros there).
constexpr quint16 kLogSettingsVersion = 2;

// The version of a block that holds the vehicle's name. A block without a name keeps its version
// (a log nobody named stays byte for byte as before names existed).
constexpr quint16 kLogSettingsNameVersion = 3;
// Longest vehicle name kept, in UTF-16 units.
constexpr int kMaxVehicleNameUnits = 40;

// The units stored in the block, or none (nothing chosen) for all zeros, another tag or a bad
// checksum. A code this version does not know reads as that field's default (an electricity
// consumption unit that does not go with the distance unit as kWh per 100 of it), a currency
// text cut short by its length reads up to there, and a home price that is no price as none.
std::optional<LogUnits> readLogSettings(const LogSettingsBlock& block);

// The block with the units stored in it. A block that reads keeps every byte this version does
// not write and a later version's number (an earlier one's is raised to this version); any other
// becomes a new block.
LogSettingsBlock writeLogSettings(const LogSettingsBlock& block, const LogUnits& units);

// A vehicle name as the log keeps it: trimmed, control characters as blanks, at most
// kMaxVehicleNameUnits units, never half a surrogate pair.
QString fittedVehicleName(const QString& text);
// The vehicle's name stored in the block; empty when the block holds none (or does not count).
QString readVehicleName(const LogSettingsBlock& block);
// The block with the name stored in it (an empty name removes it). A block that counts keeps every
// other byte and is raised to kLogSettingsNameVersion for a name; any other block becomes a new
// block with the units nothing was chosen for and the name, or stays as it is for no name.
LogSettingsBlock writeVehicleName(const LogSettingsBlock& block, const QString& name);
