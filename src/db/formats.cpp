#include "db/formats.h"

#include "db/calendar.h"
#include "db/regional.h"
#include "localisation/language.h"

#include <QList>
#include <QStringView>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

qsizetype skipBlanks(QStringView text, qsizetype i) {
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return i;
}

// The decimal number at the start of text, as "%f" reads it, copied into plain ASCII.
struct ScannedNumber {
    std::string text;
    int order = 0;     // the power of ten of its first significant digit, plus one
    qsizetype end = 0; // where the number ends in the text scanned
};

std::optional<ScannedNumber> scanDecimal(QStringView text) {
    ScannedNumber number;
    qsizetype i = skipBlanks(text, 0);
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        if (text.at(i) == u'-')
            number.text += '-';
        ++i;
    }
    int digits = 0;
    int significantIntegerDigits = 0;
    int leadingFractionZeros = 0;
    bool significant = false;
    for (; i < text.size() && isAsciiDigit(text.at(i)); ++i, ++digits) {
        significant = significant || text.at(i) != u'0';
        significantIntegerDigits += significant ? 1 : 0;
        number.text += char(text.at(i).unicode());
    }
    if (i < text.size() && text.at(i) == u'.') {
        number.text += '.';
        for (++i; i < text.size() && isAsciiDigit(text.at(i)); ++i, ++digits) {
            significant = significant || text.at(i) != u'0';
            leadingFractionZeros += significant ? 0 : 1;
            number.text += char(text.at(i).unicode());
        }
    }
    if (digits == 0)
        return std::nullopt;

    // An exponent counts only when at least one digit follows the "e" and its sign.
    qsizetype e = i + 1;
    if (e < text.size() && (text.at(e) == u'+' || text.at(e) == u'-'))
        ++e;
    int exponent = 0;
    if (i < text.size() && (text.at(i) == u'e' || text.at(i) == u'E') && e < text.size() &&
        isAsciiDigit(text.at(e))) {
        const bool negative = text.at(e - 1) == u'-';
        number.text += 'e';
        if (negative)
            number.text += '-';
        for (; e < text.size() && isAsciiDigit(text.at(e)); ++e) {
            number.text += char(text.at(e).unicode());
            exponent = std::min(exponent * 10 + (text.at(e).unicode() - u'0'), 1'000'000);
        }
        if (negative)
            exponent = -exponent;
        i = e;
    }
    number.end = i;
    number.order =
        (significantIntegerDigits > 0 ? significantIntegerDigits : -leadingFractionZeros) +
        exponent;
    return number;
}

// Beyond the float range the value becomes infinite, below it zero, as the C runtime does.
float readFloat(const ScannedNumber& number) {
    const char* first = number.text.data();
    float value = 0.0f;
    const auto [end, error] = std::from_chars(first, first + number.text.size(), value);
    if (error == std::errc::result_out_of_range) {
        const bool negative = number.text.front() == '-';
        value = number.order > 0 ? std::numeric_limits<float>::infinity() : 0.0f;
        if (negative)
            value = -value;
    }
    return value;
}

// The number when it is the whole text, blanks at its ends aside.
std::optional<ScannedNumber> scanWhole(QStringView text) {
    std::optional<ScannedNumber> number = scanDecimal(text);
    if (number && skipBlanks(text, number->end) != text.size())
        return std::nullopt;
    return number;
}

// The first decimal character of the user counts as "."; a "." already there stays one, so
// that the export's amounts read in every locale.
QString withPoint(const QString& text, QChar decimal) {
    QString copy = text;
    const qsizetype at = copy.indexOf(decimal);
    if (at >= 0)
        copy[at] = u'.';
    return copy;
}

// The text without its thousands separators when they group the integer digits as the locale
// writes them (one to three digits, then groups of three), the decimal character as "."; empty
// when the text holds no separator or one out of place.
QString withoutGrouping(QStringView text, const RegionalSettings& regional) {
    const QChar group = regional.group;
    text = text.trimmed();
    if (group.isNull() || group == regional.decimal || !text.contains(group))
        return {};
    QString plain;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        plain += text.front();
        text = text.sliced(1);
    }
    const qsizetype decimal = text.indexOf(regional.decimal);
    const QStringView integer = decimal < 0 ? text : text.first(decimal);
    const QList<QStringView> groups = integer.split(group);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QStringView digits = groups.at(i);
        const bool sized = i == 0 ? digits.size() >= 1 && digits.size() <= 3 : digits.size() == 3;
        if (!sized || !std::all_of(digits.begin(), digits.end(), isAsciiDigit))
            return {};
        plain += digits;
    }
    if (decimal >= 0) {
        plain += u'.';
        plain += text.sliced(decimal + 1);
    }
    return plain;
}

QString printFixed(float value, int decimals) {
    std::array<char, 64> buffer; // the widest float has 39 integer digits
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                            double(value), std::chars_format::fixed, decimals);
    if (error != std::errc())
        return {};
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

qint32 wholeNumberAt(QStringView text) {
    qsizetype i = skipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    // The magnitude stops growing at 2^31, the most negative qint32; beyond that, strtol clamps.
    constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1;
    qint64 magnitude = 0;
    for (; i < text.size() && isAsciiDigit(text.at(i)); ++i)
        magnitude = std::min(magnitude * 10 + (text.at(i).unicode() - u'0'), kLimit);
    if (negative)
        return qint32(-magnitude);
    return qint32(std::min(magnitude, kLimit - 1));
}

// A date or time component goes into a 16-bit field; a number that does not fit makes the
// whole text invalid instead of wrapping around to some other, possibly valid, value.
bool storeComponent(qint32 value, quint16* field) {
    if (value < 0 || value > 0xffff)
        return false;
    *field = quint16(value);
    return true;
}

// The three numbers of "N1<sep>N2<sep>N3"; false when the text does not hold two separators.
// The numbers are read where each separator starts plus one character: further characters of
// a longer separator must be blanks.
bool splitDate(QStringView date, const QString& separator, qint32 numbers[3]) {
    if (separator.isEmpty())
        return false;
    const qsizetype first = date.indexOf(separator);
    if (first < 0)
        return false;
    const qsizetype second = date.indexOf(separator, first + 1);
    if (second < 0)
        return false;
    numbers[0] = wholeNumberAt(date.first(first));
    numbers[1] = wholeNumberAt(date.sliced(first + 1, second - first - 1));
    numbers[2] = wholeNumberAt(date.sliced(second + 1));
    return true;
}

bool readDate(QStringView date, const RegionalSettings& regional, SystemTime* time) {
    qint32 n[3];
    if (!splitDate(date, regional.dateSeparator, n))
        return true; // stays all zero, which no date accepts
    switch (regional.dateOrder) {
    case 0:
        return storeComponent(n[0], &time->month) && storeComponent(n[1], &time->day) &&
               storeComponent(n[2], &time->year);
    case 1:
        return storeComponent(n[0], &time->day) && storeComponent(n[1], &time->month) &&
               storeComponent(n[2], &time->year);
    default:
        return storeComponent(n[0], &time->year) && storeComponent(n[1], &time->month) &&
               storeComponent(n[2], &time->day);
    }
}

// "h:m:s", or "h:m" with no seconds; a text with no ':' leaves midnight.
bool readTime(QStringView clock, SystemTime* time) {
    const qsizetype first = clock.indexOf(u':');
    if (first < 0)
        return true;
    qsizetype second = clock.indexOf(u':', first + 1);
    const bool hasSeconds = second >= 0;
    if (!hasSeconds)
        second = clock.size();
    return storeComponent(wholeNumberAt(clock.first(first)), &time->hour) &&
           storeComponent(wholeNumberAt(clock.sliced(first + 1, second - first - 1)),
                          &time->minute) &&
           (!hasSeconds || storeComponent(wholeNumberAt(clock.sliced(second + 1)), &time->second));
}

// Blanks around one to five decimal digits and nothing else.
bool isPlainNumber(QStringView text) {
    const QStringView digits = text.trimmed();
    return !digits.isEmpty() && digits.size() <= 5 &&
           std::all_of(digits.begin(), digits.end(), isAsciiDigit);
}

bool isPlainDate(QStringView date, const QString& separator) {
    const qsizetype first = date.indexOf(separator);
    const qsizetype second = first < 0 ? -1 : date.indexOf(separator, first + separator.size());
    if (first < 0 || second < 0)
        return false;
    return isPlainNumber(date.first(first)) &&
           isPlainNumber(
               date.sliced(first + separator.size(), second - first - separator.size())) &&
           isPlainNumber(date.sliced(second + separator.size()));
}

// "2004-05-18": four digits of the year, then one or two of month and day, whatever the user's
// own order and separator, so that a date written elsewhere reads everywhere.
bool readIsoDate(QStringView date, SystemTime* time) {
    const QList<QStringView> parts = date.trimmed().split(u'-');
    if (parts.size() != 3 || parts[0].size() != 4 || parts[1].size() > 2 || parts[2].size() > 2 ||
        !std::all_of(parts.begin(), parts.end(), isPlainNumber))
        return false;
    return storeComponent(wholeNumberAt(parts[0]), &time->year) &&
           storeComponent(wholeNumberAt(parts[1]), &time->month) &&
           storeComponent(wholeNumberAt(parts[2]), &time->day);
}

bool isPlainTime(QStringView clock) {
    const QList<QStringView> parts = clock.split(u':');
    return (parts.size() == 2 || parts.size() == 3) &&
           std::all_of(parts.begin(), parts.end(), isPlainNumber);
}

} // namespace

DateTimePart readDateTime(const QString& date, const QString& time, FileTime* out) {
    const RegionalSettings regional = currentRegionalSettings();
    SystemTime parts;
    if (!readIsoDate(date, &parts) &&
        (!isPlainDate(date, regional.dateSeparator) || !readDate(date, regional, &parts)))
        return DateTimePart::Date;
    FileTime day;
    if (!systemTimeToFileTime(parts, &day))
        return DateTimePart::Date;
    const bool noTime = time.trimmed().isEmpty();
    if (!noTime && (!isPlainTime(time) || !readTime(time, &parts)))
        return DateTimePart::Time;
    FileTime result;
    if (!systemTimeToFileTime(parts, &result))
        return DateTimePart::Time;
    *out = result;
    return DateTimePart::None;
}

bool isPlausibleAmount(float value) {
    return std::fabs(value) < kLargestPlausibleAmount;
}

QString formatAmount(float value, int decimals) {
    return formatAmount(value, currentRegionalSettings(), decimals);
}

QString formatAmount(float value, const RegionalSettings& regional, int decimals) {
    if (!isPlausibleAmount(value))
        return translate(Text::Units_NA);
    QString text = printFixed(value, decimals);
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0)
        text[point] = regional.decimal;
    return text;
}

QString formatAmountWithPoint(float value) {
    return printFixed(value, 2);
}

bool readAmount(const QString& text, float* out) {
    const RegionalSettings regional = currentRegionalSettings();
    std::optional<ScannedNumber> number = scanWhole(withPoint(text, regional.decimal));
    if (!number)
        number = scanWhole(withoutGrouping(text, regional));
    if (!number)
        return false;
    const float value = readFloat(*number);
    if (!std::isfinite(value))
        return false;
    *out = value;
    return true;
}

bool readWholeNumber(const QString& text, qint32* out) {
    const QStringView view = QStringView(text).trimmed();
    qsizetype i = 0;
    const bool negative = i < view.size() && view.at(i) == u'-';
    if (i < view.size() && (negative || view.at(i) == u'+'))
        ++i;
    if (i >= view.size())
        return false;
    constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1;
    qint64 magnitude = 0;
    for (; i < view.size(); ++i) {
        if (!isAsciiDigit(view.at(i)))
            return false;
        magnitude = magnitude * 10 + (view.at(i).unicode() - u'0');
        if (magnitude > kLimit)
            return false;
    }
    if (!negative && magnitude == kLimit)
        return false;
    *out = qint32(negative ? -magnitude : magnitude);
    return true;
}

bool readOdometer(const QString& text, const LogUnits& units, qint32* stored) {
    qint32 distance = 0;
    return readWholeNumber(text, &distance) && storedDistanceFrom(units, distance, stored);
}

bool readVolume(const QString& text, const LogUnits& units, float* litres) {
    float volume = 0.0f;
    if (!readAmount(text, &volume) || !std::isfinite(litresFrom(units, volume)))
        return false;
    *litres = litresFrom(units, volume);
    return true;
}

QString formatDate(const FileTime& time) {
    return formatDate(time, currentRegionalSettings());
}

QString formatDate(const FileTime& time, const RegionalSettings& regional) {
    SystemTime parts;
    if (!fileTimeToSystemTime(time, &parts))
        return {};
    // Made in one string: a list shows one date per row.
    const QString& separator = regional.dateSeparator;
    const auto join = [&separator](int a, int b, int c) {
        std::array<char, 16> digits[3];
        const char* ends[3];
        const int numbers[3] = {a, b, c};
        qsizetype size = 2 * separator.size();
        for (int i = 0; i < 3; ++i) {
            ends[i] =
                std::to_chars(digits[i].data(), digits[i].data() + digits[i].size(), numbers[i])
                    .ptr;
            size += ends[i] - digits[i].data();
        }
        QString text;
        text.reserve(size);
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                text += separator;
            text += QLatin1StringView(digits[i].data(), ends[i]);
        }
        return text;
    };
    switch (regional.dateOrder) {
    case 0:
        return join(parts.month, parts.day, parts.year);
    case 1:
        return join(parts.day, parts.month, parts.year);
    default:
        return join(parts.year, parts.month, parts.day);
    }
}

QString exampleDateText() {
    SystemTime example;
    example.year = 2005;
    example.month = 3;
    example.day = 19;
    FileTime time;
    systemTimeToFileTime(example, &time);
    return formatDate(time);
}

QString formatTime(const FileTime& time) {
    SystemTime parts;
    if (!fileTimeToSystemTime(time, &parts))
        return {};
    return QString::asprintf("%d:%02d:%02d", parts.hour, parts.minute, parts.second);
}

qint32 daysInPeriod(const FileTime& first, const FileTime& last) {
    SystemTime unused;
    if (compareFileTime(first, last) > 0 || !fileTimeToSystemTime(last, &unused))
        return -1;
    return qint32(fileTimeDayNumber(last) - fileTimeDayNumber(first) + 1);
}
