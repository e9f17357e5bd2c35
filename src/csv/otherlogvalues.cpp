#include "csv/otherlogvalues.h"

#include "csv/knownfills.h"
#include "db/calendar.h"
#include "db/fueldatabase.h"

#include <QDate>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
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

// Fuelio files give each fill's fuel type as a code; those of electricity are the group of 500.
bool isElectricity(const QStringList& row, const OtherLogSettings& settings) {
    if (settings.format != OtherLogFormat::Fuelio)
        return false;
    bool ok = false;
    const int code = otherLogCell(row, settings, OtherLogColumn::FuelType).toInt(&ok);
    return ok && code >= 500 && code < 600;
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

OtherLogSummary importOtherLog(const QList<OtherLogRow>& rows, CFuelDatabase* log) {
    std::vector<FillFlags> flags;
    const std::vector<FillRecord> fills = otherLogFills(rows, log, &flags);
    log->mergeFills(fills, flags);
    return summariseOtherLog(rows);
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
