#pragma once

// The text forms of amounts, odometer readings, dates and times, following the user's regional
// settings (decimal character, date separator and order), and the day count of a period.

#include "db/records.h"
#include "db/regional.h"
#include "db/units.h"

#include <QString>

// Whether a stored or derived amount can be one of a real fill: finite and below a billion in
// size. A damaged file can hold any float (nan, inf, 3.4e38); no tank, price or distance comes
// near the bound.
inline constexpr float kLargestPlausibleAmount = 1.0e9f;
bool isPlausibleAmount(float value);

// "%0.2f" with the user's decimal character (fill list, fill dialog); the not-available text for
// an amount that is not plausible. A unit price shows three decimals, as pumps show it.
QString formatAmount(float value, int decimals = 2);
// The same in the regional settings given (read once for many texts).
QString formatAmount(float value, const RegionalSettings& regional, int decimals = 2);

// "%0.2f" with "." whatever the locale (CSV, statistics dialogs).
QString formatAmountWithPoint(float value);

// The strict reads of what the user types or imports (fill dialog, CSV import): true when the
// whole text, blanks at its ends aside, is one number, which then goes to *out; false leaves
// *out as it was.
// An amount: an optional sign, decimal digits with a fraction after the user's decimal character
// or a "." (the CSV export writes "." in every locale), an optional exponent. The user's
// thousands separator may group the integer digits as the locale writes them ("1,234.50",
// "1.234,50"); a lone "." with no decimal character is a decimal point ("1.234" in German is
// 1.234). An amount beyond the float range does not read.
bool readAmount(const QString& text, float* out);
// A whole number: an optional sign and decimal digits only, within the 32-bit range.
bool readWholeNumber(const QString& text, qint32* out);
// The same reads in a log's units: an odometer reading to whole stored units (see
// LogUnits::stored), a volume to litres; false also when the value has no stored reading or
// litres within range.
bool readOdometer(const QString& text, const LogUnits& units, qint32* stored);
bool readVolume(const QString& text, const LogUnits& units, float* litres);

// For input that must not be stored when it does not read (the fill dialog, the CSV import): the
// fill time of date and time in *out, or the part that does not read (*out unchanged). The date
// is three whole numbers in the user's order and separator naming a real day, or an ISO date
// ("2004-05-18") in every locale; the time "h:m" or "h:m:s" in range; a null or blank time is
// midnight.
enum class DateTimePart { None, Date, Time };
DateTimePart readDateTime(const QString& date, const QString& time, FileTime* out);

// "18.5.2004" in the user's order and separator; empty for a value that cannot be converted.
QString formatDate(const FileTime& time);
QString formatDate(const FileTime& time, const RegionalSettings& regional);

// A date in the user's order and separator for messages that name the expected form
// ("3/19/2005", "19.3.2005").
QString exampleDateText();

// "7:05:09"; empty for a value that cannot be converted.
QString formatTime(const FileTime& time);

// Calendar days from the date of first to the date of last, both included, or -1 when first is
// later than last (or either cannot be converted).
qint32 daysInPeriod(const FileTime& first, const FileTime& last);
