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
constexpr quint16 kLogSettingsVersion = 1;

// The units stored in the block, or none (nothing chosen) for all zeros, another tag or a bad
// checksum. A code this version does not know reads as that field's default, and a currency
// text cut short by its length reads up to there.
std::optional<LogUnits> readLogSettings(const LogSettingsBlock& block);

// The block with the units stored in it. A block that reads (this version or a later one) keeps
// its version and every byte this version does not write; any other becomes a new block.
LogSettingsBlock writeLogSettings(const LogSettingsBlock& block, const LogUnits& units);
