#pragma once

// The user's regional conventions for amounts and dates: the decimal character, the text that
// separates day, month and year, their order, and the thousands separator.

#include <QChar>
#include <QString>
#include <optional>

class QLocale;

struct RegionalSettings {
    QChar decimal;
    QString dateSeparator;
    int dateOrder;    // 0 month-day-year, 1 day-month-year, 2 year-month-day
    QChar group = {}; // the thousands separator; none when null
};

// The settings of QLocale::system(), read anew at every call so that a change of the regional
// settings takes effect at once; the override instead while one is set.
RegionalSettings currentRegionalSettings();

// Replaces the system's settings (tests), or restores them with std::nullopt.
void setRegionalSettingsOverride(std::optional<RegionalSettings> settings);

// The settings for many texts made one after another (a pass over the fill list): the system's
// are read once, when the pass is made, instead of for every text; an override applies at once,
// as it does everywhere.
class RegionalPass {
public:
    RegionalPass();
    const RegionalSettings& settings() const;

private:
    RegionalSettings m_system;
};

// The settings of one locale. Separator and order come from its short date format; a format
// without a numeric day, month and year (the C locale writes the month's name) gives "-" and
// year-month-day.
RegionalSettings regionalSettingsFor(const QLocale& locale);
