#pragma once

// The text forms of amounts, odometer readings, dates and times, following the user's regional
// settings (decimal character, date separator and order), and the day count of a period.

#include "db/records.h"

#include <QString>

// An amount as typed: the first decimal character of the user counts as ".", then the leading
// decimal number is read (blanks, sign, digits, fraction, exponent) up to the first character
// that does not fit. No number gives 0.
float parseAmount(const QString& text);

// Whether a stored or derived amount can be one of a real fill: finite and below a billion in
// size. A damaged file can hold any float (nan, inf, 3.4e38); no tank, price or distance comes
// near the bound.
inline constexpr float kLargestPlausibleAmount = 1.0e9f;
bool isPlausibleAmount(float value);

// "%0.2f" with the user's decimal character (fill list, fill dialog); the not-available text for
// an amount that is not plausible.
QString formatAmount(float value);

// "%0.2f" with "." whatever the locale (CSV, statistics dialogs).
QString formatAmountWithPoint(float value);

// Leading blanks, an optional sign and decimal digits up to the first other character; no
// digits give 0, values beyond the 32-bit range are clamped to it.
qint32 parseWholeNumber(const QString& text);

// For input that must not be stored when it does not read (the CSV import): true when the text
// starts with a number as parseAmount / parseWholeNumber read it, which then goes to *out. An
// amount beyond the float range and a whole number beyond the 32-bit range do not read.
bool readAmount(const QString& text, float* out);
bool readWholeNumber(const QString& text, qint32* out);

// For input that must not be stored when it does not read (the fill dialog, the CSV import): the
// fill time of date and time in *out, or the part that does not read (*out unchanged). The date
// is three whole numbers in the user's order and separator naming a real day; the time "h:m" or
// "h:m:s" in range; a null or blank time is midnight.
enum class DateTimePart { None, Date, Time };
DateTimePart readDateTime(const QString& date, const QString& time, FileTime* out);

// "18.5.2004" in the user's order and separator; empty for a value that cannot be converted.
QString formatDate(const FileTime& time);

// "7:05:09"; empty for a value that cannot be converted.
QString formatTime(const FileTime& time);

// Calendar days from the date of first to the date of last, both included, or -1 when first is
// later than last (or either cannot be converted).
qint32 daysInPeriod(const FileTime& first, const FileTime& last);
