#include "csv/otherlogvalues.h"

#include "csv/knownfills.h"
#include "db/calendar.h"
#include "db/fueldatabase.h"
#include "stats/costs.h"

#include <QDate>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

qsizetype skipSpaces(const QString& text, qsizetype i) {
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return i;
}

bool isGroupSeparator(QChar c, QChar decimal) {
    return c == (decimal == u',' ? u'.' : u',') || c == u' ' || c == u'\'' || c == u'\u00a0' ||
           c == u'\u202f';
}

// The date numbers and whatever follows them (a time of day).
struct DateText {
    QString numbers[3];
    QString rest;
};

std::optional<DateText> splitDateText(QStringView text) {
    static const QRegularExpression pattern(QStringLiteral(
        "^\\s*(\\d{1,4})\\s*([./-])\\s*(\\d{1,2})\\s*\\2\\s*(\\d{1,4})\\.?(?:(?:T|\\s+)(.*))?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return DateText{{match.captured(1), match.captured(3), match.captured(4)}, match.captured(5)};
}

bool storeDate(const DateText& date, DateOrder order, SystemTime* parts) {
    int year = 0;
    int month = 0;
    int day = 0;
    const auto number = [&date](int i) { return date.numbers[i].toInt(); };
    if (date.numbers[0].size() >= 3 || order == DateOrder::YearMonthDay) {
        year = number(0);
        month = number(1);
        day = number(2);
    } else if (order == DateOrder::DayMonthYear) {
        day = number(0);
        month = number(1);
        year = number(2);
    } else {
        month = number(0);
        day = number(1);
        year = number(2);
    }
    const int yearDigits = date.numbers[order == DateOrder::YearMonthDay ? 0 : 2].size();
    if (date.numbers[0].size() < 3 && yearDigits <= 2)
        year += 2000;
    parts->year = quint16(year);
    parts->month = quint16(month);
    parts->day = quint16(day);
    return year >= 1601 && year <= 9999;
}

// "15:04", "15:04:05", "3:04 PM", "3:04:05 p.m."; blank is midnight.
bool storeTime(QStringView text, SystemTime* parts) {
    if (text.trimmed().isEmpty())
        return true;
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})(?::(\\d{2})(?:[.,]\\d+)?)?\\s*(?:([AaPp])\\.?"
                       "\\s*[Mm]\\.?)?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    int hour = match.captured(1).toInt();
    const QString halfDay = match.captured(4).toLower();
    if (!halfDay.isEmpty()) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (halfDay == u"p" ? 12 : 0);
    }
    parts->hour = quint16(hour);
    parts->minute = quint16(match.captured(2).toInt());
    parts->second = quint16(match.captured(3).toInt());
    return true;
}

// The unit in the unit column of a row, else the unit of the settings. A gallon of unknown
// kind is the kind the settings name, a US gallon unless they name imperial gallons.
DistanceUnit rowDistanceUnit(const QStringList& row, const OtherLogSettings& settings) {
    return distanceUnitNamed(otherLogCell(row, settings, OtherLogColumn::DistanceUnit))
        .value_or(settings.distanceUnit);
}

VolumeUnit rowVolumeUnit(const QStringList& row, const OtherLogSettings& settings) {
    const QString cell = otherLogCell(row, settings, OtherLogColumn::VolumeUnit);
    const VolumeUnit unit = volumeUnitNamed(cell).value_or(settings.volumeUnit);
    const bool kindUnknown =
        unit == VolumeUnit::UsGallons && !cell.contains(u"us", Qt::CaseInsensitive);
    return kindUnknown && settings.volumeUnit == VolumeUnit::ImperialGallons
               ? VolumeUnit::ImperialGallons
               : unit;
}

// The fuel type of a row as a code of the exporting app; -1 when it gives none.
int fuelCode(const QStringList& row, const OtherLogSettings& settings) {
    bool ok = false;
    const int code = otherLogCell(row, settings, OtherLogColumn::FuelType).toInt(&ok);
    return ok ? code : -1;
}

// Fuelio's codes of electricity are the group of 500; Spritmonitor's is 19.
bool isElectricity(const QStringList& row, const OtherLogSettings& settings) {
    const int code = fuelCode(row, settings);
    if (settings.format == OtherLogFormat::Fuelio)
        return code >= 500 && code < 600;
    return settings.format == OtherLogFormat::Spritmonitor && code == 19;
}

// Spritmonitor's AdBlue (21) is bought at the pump and logged like a fuel.
bool isNoFuel(const QStringList& row, const OtherLogSettings& settings) {
    return settings.format == OtherLogFormat::Spritmonitor && fuelCode(row, settings) == 21;
}

// Spritmonitor's fill types: 1 full, 2 partial, 3 the first fill (nothing before it to measure
// from), 0 a fill the user marked invalid for the consumption. Both of the last break the chain
// of fills as a missed fill does; a code it does not write is taken the same way, so that no
// consumption is made up from it.
void readFillType(const QStringList& row, const OtherLogSettings& settings, OtherLogRow* out) {
    const QString cell = otherLogCell(row, settings, OtherLogColumn::FillType);
    if (cell.isNull())
        return;
    out->partial = cell == u"2";
    out->missed = cell != u"1" && cell != u"2";
}

bool fitsFloat(double value) {
    return std::isfinite(value) && std::abs(value) <= double(std::numeric_limits<float>::max());
}

// Takes `marker` off the start of *notes when it stands there whole, with its separator.
bool takeMarker(QString* notes, const QString& marker) {
    static const QString separator = QStringLiteral("; ");
    if (marker.isEmpty() || !notes->startsWith(marker))
        return false;
    const QStringView rest = QStringView(*notes).mid(marker.size());
    if (rest.isEmpty()) {
        notes->clear();
        return true;
    }
    if (!rest.startsWith(separator))
        return false;
    *notes = rest.mid(separator.size()).toString();
    return true;
}

// Reads the values of one row; the first value that does not read names the skip reason.
// The odometer goes into the log's stored unit from the unit the row is in.
OtherLogRow convertRow(const QStringList& cells, const OtherLogSettings& settings, LogUnits units) {
    OtherLogRow row;
    const auto cell = [&](OtherLogColumn which) { return otherLogCell(cells, settings, which); };

    const auto skip = [&row](OtherLogSkip reason, const QString& text) {
        row.skip = reason;
        row.unreadText = text;
        return row;
    };

    if (isNoFuel(cells, settings))
        return skip(OtherLogSkip::NotFuel, cell(OtherLogColumn::FuelType));
    if (!readOtherLogDateTime(cell(OtherLogColumn::Date), cell(OtherLogColumn::Time), settings,
                              &row.dateTime))
        return skip(OtherLogSkip::Date,
                    QStringList{cell(OtherLogColumn::Date), cell(OtherLogColumn::Time)}
                        .join(u' ')
                        .trimmed());

    double odometer = 0.0;
    if (readOtherLogNumber(cell(OtherLogColumn::Odometer), settings.decimal, &odometer) !=
        NumberRead::Read)
        return skip(OtherLogSkip::Odometer, cell(OtherLogColumn::Odometer));
    if (settings.format == OtherLogFormat::Drivvo && odometer == 0.0)
        return skip(OtherLogSkip::OdometerNotRecorded, QString());
    units.distance = rowDistanceUnit(cells, settings);
    if (!storedDistanceFrom(units, odometer, &row.odometer) || row.odometer < 0)
        return skip(OtherLogSkip::Odometer, cell(OtherLogColumn::Odometer));

    row.charge = units.energy == VehicleEnergy::Electric || isElectricity(cells, settings);
    const double perUnit = row.charge ? 1.0 : litresPerUnit(rowVolumeUnit(cells, settings));
    double volume = 0.0;
    if (readOtherLogNumber(cell(OtherLogColumn::Volume), settings.decimal, &volume) !=
            NumberRead::Read ||
        volume < 0.0 || !fitsFloat(volume * perUnit)) {
        return skip(OtherLogSkip::Volume, cell(OtherLogColumn::Volume));
    }
    row.litres = float(volume * perUnit);

    // The total wins; a price per unit is for the volume in the file's own unit.
    double cost = 0.0;
    const NumberRead total =
        readOtherLogNumber(cell(OtherLogColumn::TotalCost), settings.decimal, &cost);
    if (total == NumberRead::Empty) {
        double price = 0.0;
        if (readOtherLogNumber(cell(OtherLogColumn::UnitPrice), settings.decimal, &price) ==
            NumberRead::Read)
            cost = std::round(price * volume * 100.0) / 100.0;
        else
            cost = std::numeric_limits<double>::quiet_NaN();
    } else if (total == NumberRead::Bad) {
        cost = std::numeric_limits<double>::quiet_NaN();
    }
    if (!fitsFloat(cost)) {
        const QString total = cell(OtherLogColumn::TotalCost);
        return skip(OtherLogSkip::Cost, total.isEmpty() ? cell(OtherLogColumn::UnitPrice) : total);
    }
    row.cost = float(cost);

    QString station = cell(OtherLogColumn::Station);
    if (station.isEmpty())
        station = cell(OtherLogColumn::StationAddress);
    row.station = fieldFit(station, kStationNameUnits);
    row.driver = fieldFit(cell(OtherLogColumn::Driver), kDriverNameUnits);
    if (settings.column(OtherLogColumn::FullTank) >= 0)
        row.partial = !readOtherLogFlag(cell(OtherLogColumn::FullTank));
    row.partial = row.partial || readOtherLogFlag(cell(OtherLogColumn::Partial));
    row.missed = readOtherLogFlag(cell(OtherLogColumn::Missed));
    readFillType(cells, settings, &row);
    row.notes = fieldFit(cell(OtherLogColumn::Notes), kNotesUnits);
    return row;
}

} // namespace

NumberRead readOtherLogNumber(QStringView text, QChar decimal, double* value) {
    QString plain;
    for (const QChar c : text) {
        if (c.category() != QChar::Symbol_Currency)
            plain += c;
    }
    plain = plain.trimmed();
    if (plain.isEmpty())
        return NumberRead::Empty;

    std::string ascii;
    qsizetype i = 0;
    if (plain.at(0) == u'-' || plain.at(0) == u'+') {
        if (plain.at(0) == u'-')
            ascii += '-';
        i = skipSpaces(plain, 1);
    }
    // Integer digits, in groups of three after the first when separated.
    int groupDigits = 0;
    int integerDigits = 0;
    bool grouped = false;
    for (; i < plain.size(); ++i) {
        const QChar c = plain.at(i);
        if (c >= u'0' && c <= u'9') {
            ascii += char(c.unicode());
            ++groupDigits;
            ++integerDigits;
        } else if (c != decimal && isGroupSeparator(c, decimal)) {
            if (groupDigits == 0 || (grouped && groupDigits != 3) || (!grouped && groupDigits > 3))
                return NumberRead::Bad;
            grouped = true;
            groupDigits = 0;
        } else {
            break;
        }
    }
    if (grouped && groupDigits != 3)
        return NumberRead::Bad;
    int fractionDigits = 0;
    if (i < plain.size() && plain.at(i) == decimal) {
        ascii += '.';
        for (++i; i < plain.size() && plain.at(i) >= u'0' && plain.at(i) <= u'9'; ++i) {
            ascii += char(plain.at(i).unicode());
            ++fractionDigits;
        }
    }
    if (i != plain.size() || integerDigits + fractionDigits == 0)
        return NumberRead::Bad;
    double result = 0.0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), result);
    if (error != std::errc() || end != ascii.data() + ascii.size())
        return NumberRead::Bad;
    *value = result;
    return NumberRead::Read;
}

std::optional<QChar> detectDecimal(const QStringList& numbers) {
    int commaVotes = 0;
    int pointVotes = 0;
    for (const QString& number : numbers) {
        const qsizetype lastComma = number.lastIndexOf(u',');
        const qsizetype lastPoint = number.lastIndexOf(u'.');
        if (lastComma >= 0 && lastPoint >= 0) {
            (lastComma > lastPoint ? commaVotes : pointVotes) += 1;
            continue;
        }
        const qsizetype last = std::max(lastComma, lastPoint);
        if (last < 0)
            continue;
        const QChar mark = number.at(last);
        int digitsAfter = 0;
        for (qsizetype i = last + 1; i < number.size() && number.at(i).isDigit(); ++i)
            ++digitsAfter;
        int& markVotes = mark == u',' ? commaVotes : pointVotes;
        int& otherVotes = mark == u',' ? pointVotes : commaVotes;
        if (number.count(mark) > 1)
            ++otherVotes; // a thousands separator, so the decimal character is the other one
        else if (digitsAfter != 3)
            ++markVotes;
    }
    if (commaVotes == pointVotes)
        return std::nullopt;
    return commaVotes > pointVotes ? QChar(u',') : QChar(u'.');
}

std::optional<DateOrder> detectDateOrder(const QStringList& dates) {
    bool dayFirst = false;
    bool monthFirst = false;
    bool yearFirst = false;
    for (const QString& date : dates) {
        const std::optional<DateText> parts = splitDateText(date);
        if (!parts)
            continue;
        if (parts->numbers[0].size() >= 3) {
            yearFirst = true;
            continue;
        }
        const int first = parts->numbers[0].toInt();
        const int second = parts->numbers[1].toInt();
        dayFirst = dayFirst || (first > 12 && second <= 12);
        monthFirst = monthFirst || (second > 12 && first <= 12);
    }
    if (dayFirst != monthFirst)
        return dayFirst ? DateOrder::DayMonthYear : DateOrder::MonthDayYear;
    if (yearFirst && !dayFirst)
        return DateOrder::YearMonthDay;
    return std::nullopt;
}

bool readOtherLogDateTime(QStringView date, QStringView time, const OtherLogSettings& settings,
                          FileTime* out) {
    SystemTime parts;
    QString timeInDate;
    // A format of the exporting app that names the month ("MMM d, yyyy") is read as it says.
    const QDate named = settings.dateFormat.isEmpty()
                            ? QDate()
                            : QDate::fromString(date.trimmed().toString(), settings.dateFormat);
    if (named.isValid() && settings.dateFormat.contains(QStringLiteral("MMM"))) {
        parts.year = quint16(named.year());
        parts.month = quint16(named.month());
        parts.day = quint16(named.day());
    } else {
        const std::optional<DateText> text = splitDateText(date);
        if (!text || !storeDate(*text, settings.dateOrder, &parts))
            return false;
        timeInDate = text->rest;
    }
    if (!storeTime(time.trimmed().isEmpty() ? QStringView(timeInDate) : time, &parts))
        return false;
    return systemTimeToFileTime(parts, out);
}

bool readOtherLogFlag(QStringView text) {
    static const QSet<QString> yes = {QStringLiteral("1"),       QStringLiteral("true"),
                                      QStringLiteral("yes"),     QStringLiteral("y"),
                                      QStringLiteral("x"),       QStringLiteral("ja"),
                                      QStringLiteral("oui"),     QStringLiteral("si"),
                                      QStringLiteral("s\u00ed"), QStringLiteral("sim"),
                                      QStringLiteral("tak"),     QStringLiteral("ano"),
                                      QStringLiteral("da"),      QStringLiteral("\u0434\u0430"),
                                      QStringLiteral("igen"),    QStringLiteral("kyll\u00e4")};
    return yes.contains(text.trimmed().toString().toLower());
}

QList<OtherLogRow> convertOtherLog(const OtherLogFile& file, const OtherLogSettings& settings,
                                   const CFuelDatabase& log) {
    CKnownFills known(log);
    const bool oneVehicle =
        settings.column(OtherLogColumn::Vehicle) >= 0 && !settings.vehicle.isEmpty();
    QList<OtherLogRow> rows;
    for (qsizetype i = 0; i < file.table.rows.size(); ++i) {
        const QStringList& cells = file.table.rows.at(i);
        if (oneVehicle &&
            otherLogCell(cells, settings, OtherLogColumn::Vehicle) != settings.vehicle)
            continue;
        OtherLogRow row = convertRow(cells, settings, log.units());
        row.sourceRow = int(i);
        if (row.skip == OtherLogSkip::None && !known.addNew(row.dateTime, row.odometer, row.litres))
            row.skip = OtherLogSkip::AlreadyInLog;
        rows.append(row);
    }
    return rows;
}

int OtherLogSummary::unreadable() const {
    int count = 0;
    for (std::size_t i = 1; i < skipped.size(); ++i)
        count += OtherLogSkip(i) == OtherLogSkip::AlreadyInLog ? 0 : skipped[i];
    return count;
}

OtherLogSummary summariseOtherLog(const QList<OtherLogRow>& rows) {
    OtherLogSummary summary;
    for (const OtherLogRow& row : rows) {
        if (row.skip != OtherLogSkip::None) {
            ++summary.skipped[std::size_t(row.skip)];
            continue;
        }
        ++summary.added;
        summary.partial += row.partial ? 1 : 0;
        summary.missed += row.missed ? 1 : 0;
    }
    return summary;
}

std::vector<FillRecord> otherLogFills(const QList<OtherLogRow>& rows, CFuelDatabase* log,
                                      std::vector<FillFlags>* flags) {
    QList<const OtherLogRow*> accepted;
    for (const OtherLogRow& row : rows) {
        if (row.skip == OtherLogSkip::None)
            accepted.append(&row);
    }
    // Files that list the newest fill first, or several fills of one day without a time, give
    // the same log as files in time order: by time, then by odometer.
    std::stable_sort(accepted.begin(), accepted.end(),
                     [](const OtherLogRow* a, const OtherLogRow* b) {
                         const int order = compareFileTime(a->dateTime, b->dateTime);
                         return order != 0 ? order < 0 : a->odometer < b->odometer;
                     });
    std::vector<FillRecord> fills;
    fills.reserve(std::size_t(accepted.size()));
    for (const OtherLogRow* row : accepted) {
        FillRecord fill;
        fill.stationId = log->findOrAddStation(row->station);
        fill.driverId = row->driver.isEmpty() ? -1 : log->findOrAddDriver(row->driver);
        setFieldText(fill.notes, row->notes);
        fill.odometer = row->odometer;
        fill.fuel = row->litres;
        fill.cost = row->cost;
        fill.dateTime = row->dateTime;
        fills.push_back(fill);
        if (flags)
            flags->push_back({row->partial, row->missed, row->charge});
    }
    return fills;
}

OtherLogSummary importOtherLog(const QList<OtherLogRow>& rows, CFuelDatabase* log,
                               const QList<OtherCostRow>& costs) {
    std::vector<FillFlags> flags;
    const std::vector<FillRecord> fills = otherLogFills(rows, log, &flags);
    log->mergeFills(fills, flags);
    if (!costs.isEmpty())
        log->setCosts(withOtherLogCosts(log->costs(), costs));
    OtherLogSummary summary = summariseOtherLog(rows);
    summary.costs = summariseOtherCosts(costs);
    return summary;
}

bool takeNoteMarkers(QString* notes, FillFlags* flags, const NoteMarkers& markers) {
    for (const NoteMarker& marker : markers) {
        const bool partial = takeMarker(notes, marker.partial);
        const bool missed = takeMarker(notes, marker.missed);
        if (partial || missed) {
            flags->partial = flags->partial || partial;
            flags->missedBefore = flags->missedBefore || missed;
            return true;
        }
    }
    return false;
}

namespace {

// The names other apps give, in English, German and Czech, to the categories every log starts
// with, in the order of DefaultCostCategory.
const std::initializer_list<const char16_t*> kDefaultCategoryNames[kDefaultCostCategoryCount] = {
    {u"service", u"maintenance", u"inspection", u"wartung", u"inspektion", u"servis", u"údržba"},
    {u"repair", u"repairs", u"spare parts", u"reparatur", u"ersatzteile", u"oprava", u"opravy"},
    {u"tyres", u"tires", u"change tires", u"reifen", u"reifenwechsel", u"pneumatiky"},
    {u"insurance", u"versicherung", u"pojištění"},
    {u"tax and registration", u"tax", u"registration", u"steuer", u"kfz-steuer", u"zulassung",
     u"daň", u"registrace"},
    {u"parking", u"parken", u"parkování", u"parkovné"},
    {u"tolls", u"toll", u"maut", u"vignette", u"mýto", u"dálniční známka"},
    {u"washing and care", u"wash", u"washing", u"car wash", u"care", u"wäsche", u"pflege", u"mytí"},
    {u"other", u"others", u"miscellaneous", u"sonstiges", u"ostatní"},
};

// The log's category of a name: the name it shows first (its own, or the default's in the current
// language), then the names other apps give the default categories.
std::optional<int> categoryNamed(const VehicleCosts& costs, const QString& name) {
    const QString wanted = name.trimmed().toCaseFolded();
    for (const CostCategory& category : costCategories(costs)) {
        if (costCategoryName(category).trimmed().toCaseFolded() == wanted)
            return category.id;
    }
    for (int id = 0; id < kDefaultCostCategoryCount; ++id) {
        for (const char16_t* known : kDefaultCategoryNames[id]) {
            if (wanted == QStringView(known))
                return id;
        }
    }
    return std::nullopt;
}

// Spritmonitor's cost types by code (0 is none), as the log's categories; -1: no running cost
// (the purchase price and a refund).
constexpr int kSpritmonitorCategories[] = {
    int(DefaultCostCategory::Other),              // 0
    int(DefaultCostCategory::Service),            // 1 maintenance
    int(DefaultCostCategory::Repair),             // 2 repair
    int(DefaultCostCategory::Tyres),              // 3 change of tyres
    int(DefaultCostCategory::Service),            // 4 change of oil
    int(DefaultCostCategory::Insurance),          // 5 insurance
    int(DefaultCostCategory::TaxAndRegistration), // 6 tax
    int(DefaultCostCategory::Service),            // 7 inspection
    int(DefaultCostCategory::Other),              // 8 tuning
    int(DefaultCostCategory::Other),              // 9 accessories
    -1,                                           // 10 purchase price
    int(DefaultCostCategory::Other),              // 11 miscellaneous
    int(DefaultCostCategory::Care),               // 12 care
    int(DefaultCostCategory::Other),              // 13 payment
    int(DefaultCostCategory::TaxAndRegistration), // 14 registration
    int(DefaultCostCategory::Other),              // 15 financing
    -1,                                           // 16 refund
    int(DefaultCostCategory::Other),              // 17 fine
    int(DefaultCostCategory::Parking),            // 18 parking
    int(DefaultCostCategory::Tolls),              // 19 toll
    int(DefaultCostCategory::Repair),             // 20 spare parts
};

using CostKey = std::tuple<qint64, qint32, QString, qint64, QString>;

CostKey costKey(const CostEntry& cost, const QString& newCategory) {
    const QString category =
        cost.categoryId >= 0 ? QString::number(cost.categoryId) : u'+' + newCategory.toCaseFolded();
    return {cost.date.toJulianDay(), cost.odometer, category, std::llround(cost.amount * 100.0),
            cost.notes};
}

// Reads one cost row; the category is left to the caller.
OtherCostRow convertCostRow(const QStringList& cells, const OtherLogSettings& settings,
                            LogUnits units) {
    OtherCostRow row;
    const auto cell = [&](OtherCostColumn which) {
        const int index = settings.costColumn(which);
        return index >= 0 && index < cells.size() ? cells.at(index).trimmed() : QString();
    };
    const auto skip = [&row](OtherCostSkip reason, const QString& text) {
        row.skip = reason;
        row.unreadText = text;
        return row;
    };
    if (readOtherLogFlag(cell(OtherCostColumn::Template)) ||
        readOtherLogFlag(cell(OtherCostColumn::Income)))
        return skip(OtherCostSkip::NotACost, cell(OtherCostColumn::Title));

    FileTime time;
    if (!readOtherLogDateTime(cell(OtherCostColumn::Date), {}, settings, &time))
        return skip(OtherCostSkip::Date, cell(OtherCostColumn::Date));
    SystemTime parts;
    fileTimeToSystemTime(time, &parts);
    row.cost.date = QDate(parts.year, parts.month, parts.day);

    // A reading that is not given, or given as 0, is none.
    double odometer = 0.0;
    units.distance = settings.distanceUnit;
    if (readOtherLogNumber(cell(OtherCostColumn::Odometer), settings.decimal, &odometer) ==
            NumberRead::Read &&
        odometer > 0.0 && !storedDistanceFrom(units, odometer, &row.cost.odometer))
        row.cost.odometer = kNoReading;

    double amount = 0.0;
    if (readOtherLogNumber(cell(OtherCostColumn::Amount), settings.decimal, &amount) !=
            NumberRead::Read ||
        !std::isfinite(amount) || std::abs(amount) > 1e12)
        return skip(OtherCostSkip::Amount, cell(OtherCostColumn::Amount));
    // A credit is no cost of the vehicle.
    if (amount < 0.0)
        return skip(OtherCostSkip::NotACost, cell(OtherCostColumn::Amount));
    row.cost.amount = amount;

    const QString title = cell(OtherCostColumn::Title);
    const QString notes = cell(OtherCostColumn::Notes);
    row.cost.notes =
        title.isEmpty() || notes.isEmpty() ? title + notes : title + QStringLiteral("; ") + notes;
    return row;
}

} // namespace

QList<OtherCostRow> convertOtherCosts(const OtherLogFile& file, const OtherLogSettings& settings,
                                      const CFuelDatabase& log) {
    QList<OtherCostRow> rows;
    if (settings.format != file.recognised)
        return rows;
    const VehicleCosts& costs = log.costs();
    std::set<CostKey> known;
    for (const CostEntry& cost : costs.costs)
        known.insert(costKey(cost, {}));
    const int categoryColumn = settings.costColumn(OtherCostColumn::Category);
    // The category chosen for costs that do not name theirs, when the log has it.
    const std::vector<CostCategory> categories = costCategories(costs);
    const bool chosenExists =
        std::any_of(categories.begin(), categories.end(),
                    [&settings](const CostCategory& c) { return c.id == settings.costCategory; });
    const int chosen = chosenExists ? settings.costCategory : int(DefaultCostCategory::Other);
    for (qsizetype i = 0; i < file.costTable.rows.size(); ++i) {
        const QStringList& cells = file.costTable.rows.at(i);
        OtherCostRow row = convertCostRow(cells, settings, log.units());
        row.sourceRow = int(i);
        const QString code = categoryColumn >= 0 && categoryColumn < cells.size()
                                 ? cells.at(categoryColumn).trimmed()
                                 : QString();
        row.cost.categoryId = chosen;
        if (settings.format == OtherLogFormat::Spritmonitor) {
            bool ok = false;
            const int type = code.toInt(&ok);
            const bool listed = ok && type >= 0 && type < int(std::size(kSpritmonitorCategories));
            row.cost.categoryId =
                listed ? kSpritmonitorCategories[type] : int(DefaultCostCategory::Other);
            if (row.cost.categoryId < 0 && row.skip == OtherCostSkip::None) {
                row.skip = OtherCostSkip::NotACost;
                row.unreadText = code;
            }
        } else if (settings.format == OtherLogFormat::Fuelio) {
            const auto named = std::find_if(file.costCategories.begin(), file.costCategories.end(),
                                            [&code](const auto& c) { return c.first == code; });
            const QString name = named == file.costCategories.end() ? QString() : named->second;
            const std::optional<int> id = name.isEmpty()
                                              ? std::optional(int(DefaultCostCategory::Other))
                                              : categoryNamed(costs, name);
            row.cost.categoryId = id.value_or(-1);
            if (!id)
                row.newCategory = name;
        }
        if (row.skip == OtherCostSkip::None &&
            !known.insert(costKey(row.cost, row.newCategory)).second)
            row.skip = OtherCostSkip::AlreadyInLog;
        rows.append(row);
    }
    return rows;
}

int OtherCostSummary::unreadable() const {
    int count = 0;
    for (std::size_t i = 1; i < skipped.size(); ++i)
        count += OtherCostSkip(i) == OtherCostSkip::AlreadyInLog ? 0 : skipped[i];
    return count;
}

OtherCostSummary summariseOtherCosts(const QList<OtherCostRow>& rows) {
    OtherCostSummary summary;
    for (const OtherCostRow& row : rows) {
        if (row.skip == OtherCostSkip::None)
            ++summary.added;
        else
            ++summary.skipped[std::size_t(row.skip)];
    }
    return summary;
}

VehicleCosts withOtherLogCosts(const VehicleCosts& costs, const QList<OtherCostRow>& rows) {
    VehicleCosts result = costs;
    std::vector<CostEntry> added;
    for (const OtherCostRow& row : rows) {
        if (row.skip != OtherCostSkip::None)
            continue;
        CostEntry cost = row.cost;
        if (cost.categoryId < 0) {
            result.categories = costCategories(result);
            const std::optional<int> id = categoryNamed(result, row.newCategory);
            if (id) {
                cost.categoryId = *id;
            } else {
                int next = kDefaultCostCategoryCount;
                for (const CostCategory& category : result.categories)
                    next = std::max(next, category.id + 1);
                result.categories.push_back({next, row.newCategory});
                cost.categoryId = next;
            }
        }
        added.push_back(cost);
    }
    result.costs.insert(result.costs.end(), added.begin(), added.end());
    std::stable_sort(result.costs.begin(), result.costs.end(),
                     [](const CostEntry& a, const CostEntry& b) { return a.date < b.date; });
    return result;
}
