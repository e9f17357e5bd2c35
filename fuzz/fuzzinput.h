#pragma once

// What the fuzz targets share: a private file for the input of each run, the input read as
// lines of text, and a check that stops the run with a message when an expectation fails.

#include "db/regional.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

// The path of a file named name in a folder of this process's own, created on first use.
QString fuzzFolder();
QString fuzzFilePath(const QString& name);

// Replaces the file at path with the given bytes; aborts when it cannot be written.
void writeFuzzFile(const QString& path, const uint8_t* data, std::size_t size);

// The input as UTF-8 text, cut at line feeds into at most count lines (the last keeps the
// rest of the input, line feeds included). Lines the input does not reach are null strings.
QStringList fuzzLines(const uint8_t* data, std::size_t size, int count);

// Regional settings from a line of text: the date order digit (0, 1 or 2; another character
// counts by its code), the decimal character, then the date separator. Missing parts give
// day-month-year, '.' and no separator. The thousands separator is '.' beside a decimal comma,
// ',' otherwise.
RegionalSettings fuzzRegionalSettings(const QString& line);

// Whether amounts and dates printed under these settings can only read back as themselves: a
// decimal character that no number holds (not a digit, sign or exponent) and a date separator
// without digits. No locale has other settings; under them the parses only have to be safe.
bool fuzzPrintsReadBack(const RegionalSettings& regional);

// Ends the run with the message when condition is false, so libFuzzer keeps the input.
void fuzzCheck(bool condition, const char* message);
