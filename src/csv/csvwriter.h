#pragma once

// The CSV export: a header line and one line per fill in database order, fields separated by
// ';'. Written as UTF-8 without a byte-order mark, every line ending in "\n".

#include <QString>

class CFuelDatabase;

inline constexpr char16_t kCsvHeader[] = u"station;odometer;fuel;cost;date;time;driver;notes";
// Added to the header, and a "1" or nothing to every line, when some fill of the log is flagged.
inline constexpr char16_t kCsvFlagColumns[] = u";partial;missed";
// Added after those when the log holds a charge: "fuel" or "electricity" (the amount of a charge
// is its kWh), the states of charge before and after in percent (empty when not given), and a
// "1" for a charge at home.
inline constexpr char16_t kCsvChargeColumns[] = u";energy;charge before;charge after;home";
inline constexpr char16_t kCsvFuelEnergy[] = u"fuel";
inline constexpr char16_t kCsvElectricEnergy[] = u"electricity";

// A field as the file holds it: in double quotes with inner quotes doubled when it contains a
// ';', a '"' or a line break, so that it reads back whole; otherwise as it is.
QString csvField(const QString& text);

// A station, driver or notes text as the export writes it: one "'" before a text that a
// spreadsheet would run as a formula (one starting with '=', '+', '-', '@', tab or CR), and
// before such a text that already starts with "'", so that the import of the export can drop
// exactly one "'" again.
QString csvGuardedText(const QString& text);
// The text that csvGuardedText gave `guarded`.
QString csvUnguardedText(const QString& guarded);

// The whole export text of the database, odometer and fuel in its units.
QString csvExportText(const CFuelDatabase& database);

// Writes the export to path, replacing a file there only when the new one was written whole
// (commitSaveFile). False when the file could not be written; the old file, if any, is then
// left as it was.
bool writeCsvFile(const QString& path, const CFuelDatabase& database);
