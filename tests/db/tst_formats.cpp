#include "db/calendar.h"
#include "db/formats.h"
#include "db/regional.h"
#include "testtime.h"

#include <QLocale>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

const RegionalSettings kGerman{u',', QStringLiteral("."), 1};
const RegionalSettings kUnitedStates{u'.', QStringLiteral("/"), 0};
const RegionalSettings kIso{u'.', QStringLiteral("-"), 2};

// An amount or number that does not read.
constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
constexpr qint64 kNoNumber = std::numeric_limits<qint64>::min();

} // namespace

Q_DECLARE_METATYPE(RegionalSettings)
Q_DECLARE_METATYPE(FileTime)
Q_DECLARE_METATYPE(DateTimePart)

class FormatsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setRegionalSettingsOverride(std::nullopt); }

    void regionalSettingsFromLocale_data();
    void regionalSettingsFromLocale();
    void overrideReplacesSystemSettings();

    void amountsRead_data();
    void amountsRead();
    void amountsReadInEveryLocale_data();
    void amountsReadInEveryLocale();
    void amountsFormat_data();
    void amountsFormat();
    void formatAmountRoundsLikePrintf();

    void wholeNumbersRead_data();
    void wholeNumbersRead();

    void checkedDatesAndTimesRead_data();
    void checkedDatesAndTimesRead();
    void dateOrders_data();
    void dateOrders();
    void datesWithLongSeparators_data();
    void datesWithLongSeparators();
    void formattedTimesParseBack_data();
    void formattedTimesParseBack();
    void timesFormat_data();
    void timesFormat();
    void unconvertibleTimesGiveEmptyTexts();

    void periodDays_data();
    void periodDays();
    void daysInPeriodIgnoresTimeOfDay();
};

void FormatsTest::regionalSettingsFromLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("order");
    QTest::newRow("German") << "de_DE"
                            << ","
                            << "." << 1;
    QTest::newRow("US") << "en_US"
                        << "."
                        << "/" << 0;
    QTest::newRow("Japanese") << "ja_JP"
                              << "."
                              << "/" << 2;
    QTest::newRow("Slovak, blank after the dot") << "sk_SK"
                                                 << ","
                                                 << ". " << 1;
    QTest::newRow("Hungarian") << "hu_HU"
                               << ","
                               << ". " << 2;
    QTest::newRow("Bulgarian, quoted suffix") << "bg_BG"
                                              << ","
                                              << "." << 1;
    QTest::newRow("Arabic, direction marks dropped")
        << "ar_EG" << QString(QChar(0x066b)) << "/" << 1;
    QTest::newRow("C, month by name") << "C"
                                      << "."
                                      << "-" << 2;
}

void FormatsTest::regionalSettingsFromLocale() {
    QFETCH(QString, locale);
    QFETCH(QString, decimal);
    QFETCH(QString, separator);
    QFETCH(int, order);
    const RegionalSettings settings = regionalSettingsFor(QLocale(locale));
    QCOMPARE(QString(settings.decimal), decimal);
    QCOMPARE(settings.dateSeparator, separator);
    QCOMPARE(settings.dateOrder, order);
}

void FormatsTest::overrideReplacesSystemSettings() {
    setRegionalSettingsOverride(kGerman);
    QCOMPARE(currentRegionalSettings().dateSeparator, QStringLiteral("."));
    QCOMPARE(formatAmount(12.5f), QStringLiteral("12,50"));
    setRegionalSettingsOverride(std::nullopt);
    const RegionalSettings system = regionalSettingsFor(QLocale::system());
    QCOMPARE(currentRegionalSettings().decimal, system.decimal);
    QCOMPARE(currentRegionalSettings().dateSeparator, system.dateSeparator);
    QCOMPARE(currentRegionalSettings().dateOrder, system.dateOrder);
}

void FormatsTest::amountsRead_data() {
    QTest::addColumn<RegionalSettings>("regional");
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("expected");
    QTest::newRow("comma") << kGerman << "12,50" << 12.5f;
    QTest::newRow("point under a comma locale") << kGerman << "12.5" << 12.5f;
    QTest::newRow("two commas") << kGerman << "1,234,5" << kNone;
    QTest::newRow("blanks at the ends") << kGerman << " 7 " << 7.0f;
    QTest::newRow("comma and exponent") << kGerman << "1,5e1" << 15.0f;
    QTest::newRow("comma under a point locale") << kUnitedStates << "12,5" << kNone;
    QTest::newRow("point") << kUnitedStates << "12.5" << 12.5f;
    QTest::newRow("blanks of all kinds") << kUnitedStates << "\t\n 3\r\n" << 3.0f;
    QTest::newRow("negative") << kUnitedStates << "-3.5" << -3.5f;
    QTest::newRow("plus sign") << kUnitedStates << "+2" << 2.0f;
    QTest::newRow("two signs") << kUnitedStates << "+-1" << kNone;
    QTest::newRow("fraction only") << kUnitedStates << ".5" << 0.5f;
    QTest::newRow("trailing point") << kUnitedStates << "5." << 5.0f;
    QTest::newRow("trailing text") << kUnitedStates << "40 l" << kNone;
    QTest::newRow("letter for a digit") << kUnitedStates << "4O.5" << kNone;
    QTest::newRow("NUL inside") << kUnitedStates
                                << QString::fromLatin1("15\0"
                                                       "00",
                                                       5)
                                << kNone;
    QTest::newRow("exponent") << kUnitedStates << "1e2" << 100.0f;
    QTest::newRow("negative exponent") << kUnitedStates << "25E-1" << 2.5f;
    QTest::newRow("exponent without digits") << kUnitedStates << "1e" << kNone;
    QTest::newRow("exponent sign without digits") << kUnitedStates << "1e+x" << kNone;
    QTest::newRow("empty") << kUnitedStates << "" << kNone;
    QTest::newRow("blank") << kUnitedStates << "  " << kNone;
    QTest::newRow("null") << kUnitedStates << QString() << kNone;
    QTest::newRow("letters") << kUnitedStates << "abc" << kNone;
    QTest::newRow("point alone") << kUnitedStates << "." << kNone;
    QTest::newRow("no infinity word") << kUnitedStates << "inf" << kNone;
    QTest::newRow("no NaN word") << kUnitedStates << "nan" << kNone;
    QTest::newRow("no hexadecimal") << kUnitedStates << "0x10" << kNone;
    QTest::newRow("non-ASCII digits")
        << kUnitedStates << QString::fromUtf8("\uff11\uff12") << kNone;
    QTest::newRow("overflow") << kUnitedStates << "1e39" << kNone;
    QTest::newRow("negative overflow") << kUnitedStates << "-1e39" << kNone;
    QTest::newRow("overflow without exponent") << kUnitedStates << "1" + QString(60, u'0') << kNone;
    QTest::newRow("huge exponent") << kUnitedStates << "1e99999999999" << kNone;
    QTest::newRow("underflow") << kUnitedStates << "1e-50" << 0.0f;
    QTest::newRow("underflow without exponent")
        << kUnitedStates << "0." + QString(60, u'0') + "1" << 0.0f;
    QTest::newRow("many digits, in range")
        << kUnitedStates << "0." + QString(60, u'0') + "1e62" << 10.0f;
}

void FormatsTest::amountsRead() {
    QFETCH(RegionalSettings, regional);
    QFETCH(QString, text);
    QFETCH(float, expected);
    setRegionalSettingsOverride(regional);
    float actual = -99.0f;
    QCOMPARE(readAmount(text, &actual), !std::isnan(expected));
    if (std::isnan(expected))
        QCOMPARE(actual, -99.0f);
    else
        QCOMPARE(actual, expected);
}

// What the export writes reads everywhere; thousands separators only where they stand as the
// locale writes them; a text that reads leniently as the user meant still reads.
void FormatsTest::amountsReadInEveryLocale_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("enUS");
    QTest::addColumn<float>("deDE");
    QTest::addColumn<float>("c");
    QTest::newRow("export") << "12.50" << 12.5f << 12.5f << 12.5f;
    QTest::newRow("decimal comma") << "12,50" << kNone << 12.5f << kNone;
    QTest::newRow("blanks") << " 40.5\t" << 40.5f << 40.5f << 40.5f;
    QTest::newRow("English grouping") << "1,234.50" << 1234.5f << kNone << 1234.5f;
    QTest::newRow("German grouping") << "1.234,50" << kNone << 1234.5f << kNone;
    QTest::newRow("one group, no decimals") << "1,234" << 1234.0f << 1.234f << 1234.0f;
    QTest::newRow("a lone point is a decimal point") << "1.234" << 1.234f << 1.234f << 1.234f;
    QTest::newRow("two groups") << "1.234.567" << kNone << 1234567.0f << kNone;
    QTest::newRow("negative grouped") << "-12,345.6" << -12345.6f << kNone << -12345.6f;
    QTest::newRow("group of two") << "12,34,567" << kNone << kNone << kNone;
    QTest::newRow("group of four") << "1,2345" << kNone << 1.2345f << kNone;
    QTest::newRow("four leading digits") << "1234,567.5" << kNone << kNone << kNone;
    QTest::newRow("separator first") << ",123" << kNone << 0.123f << kNone;
    QTest::newRow("separator in the fraction") << "1.234,5" << kNone << 1234.5f << kNone;
    QTest::newRow("grouped fraction") << "1.2,345" << kNone << kNone << kNone;
    QTest::newRow("letter") << "4O.5" << kNone << kNone << kNone;
}

void FormatsTest::amountsReadInEveryLocale() {
    QFETCH(QString, text);
    QFETCH(float, enUS);
    QFETCH(float, deDE);
    QFETCH(float, c);
    const std::pair<const char*, float> locales[] = {{"en_US", enUS}, {"de_DE", deDE}, {"C", c}};
    for (const auto& [locale, expected] : locales) {
        setRegionalSettingsOverride(regionalSettingsFor(QLocale(QString::fromLatin1(locale))));
        float actual = 0.0f;
        const bool read = readAmount(text, &actual);
        QVERIFY2(read == !std::isnan(expected), locale);
        if (read)
            QVERIFY2(actual == expected,
                     qPrintable(QStringLiteral("%1: %2").arg(locale).arg(actual)));
    }
}

void FormatsTest::amountsFormat_data() {
    QTest::addColumn<RegionalSettings>("regional");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("withPoint"); // empty: text with "." for ","
    QTest::newRow("comma") << kGerman << 7.0f << "7,00"
                           << "";
    QTest::newRow("no grouping") << kGerman << 1234.5f << "1234,50"
                                 << "";
    QTest::newRow("point") << kUnitedStates << 12.5f << "12.50"
                           << "";
    QTest::newRow("rounded") << kUnitedStates << 900.0f / 35.0f << "25.71"
                             << "";
    QTest::newRow("negative") << kGerman << -3.0f << "-3,00"
                              << "";
    QTest::newRow("just below a billion") << kGerman << 999999936.0f << "999999936,00"
                                          << "";
    // What a damaged file can hold is no fill's amount; the point form (CSV) keeps the value.
    QTest::newRow("largest float") << kUnitedStates << std::numeric_limits<float>::max() << "N/A"
                                   << "340282346638528859811704183484516925440.00";
    QTest::newRow("a billion") << kGerman << 1.0e9f << "N/A"
                               << "1000000000.00";
    QTest::newRow("minus a billion") << kGerman << -1.0e9f << "N/A"
                                     << "-1000000000.00";
    QTest::newRow("infinity") << kGerman << std::numeric_limits<float>::infinity() << "N/A"
                              << "inf";
    QTest::newRow("NaN") << kGerman << std::numeric_limits<float>::quiet_NaN() << "N/A"
                         << "nan";
}

void FormatsTest::amountsFormat() {
    QFETCH(RegionalSettings, regional);
    QFETCH(float, value);
    QFETCH(QString, text);
    QFETCH(QString, withPoint);
    setRegionalSettingsOverride(regional);
    QCOMPARE(formatAmount(value), text);
    QCOMPARE(formatAmountWithPoint(value),
             withPoint.isEmpty() ? QString(text).replace(u',', u'.') : withPoint);
}

// Two decimals as the C runtime prints them: the rounding of the float's exact binary value,
// halfway cases to even.
void FormatsTest::formatAmountRoundsLikePrintf() {
    setRegionalSettingsOverride(kUnitedStates);
    for (const float value : {0.125f, 0.375f, 2.675f, 1.005f, 0.005f, -0.125f, 1e-3f, 99.995f,
                              16777216.0f, 123456.789f, 0.0f, -0.0f}) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%0.2f", double(value));
        QCOMPARE(formatAmount(value), QString::fromLatin1(expected));
    }
}

void FormatsTest::wholeNumbersRead_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("digits") << "1500" << qint64(1500);
    QTest::newRow("blanks at the ends") << " \t42 \n" << qint64(42);
    QTest::newRow("unit") << "42km" << kNoNumber;
    QTest::newRow("negative") << "-17" << qint64(-17);
    QTest::newRow("plus") << "+8" << qint64(8);
    QTest::newRow("blank inside") << "12 34" << kNoNumber;
    QTest::newRow("point") << "41.230" << kNoNumber;
    QTest::newRow("comma") << "41,230" << kNoNumber;
    QTest::newRow("NUL inside") << QString::fromLatin1("15\0"
                                                       "00",
                                                       5)
                                << kNoNumber;
    QTest::newRow("empty") << "" << kNoNumber;
    QTest::newRow("letters") << "abc" << kNoNumber;
    QTest::newRow("sign without digits") << "- 5" << kNoNumber;
    QTest::newRow("sign alone") << "-" << kNoNumber;
    QTest::newRow("largest") << "2147483647" << qint64(std::numeric_limits<qint32>::max());
    QTest::newRow("one above largest") << "2147483648" << kNoNumber;
    QTest::newRow("smallest") << "-2147483648" << qint64(std::numeric_limits<qint32>::min());
    QTest::newRow("one below smallest") << "-2147483649" << kNoNumber;
    QTest::newRow("many digits") << "99999999999999999999999" << kNoNumber;
}

void FormatsTest::wholeNumbersRead() {
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    qint32 actual = 7;
    QCOMPARE(readWholeNumber(text, &actual), expected != kNoNumber);
    QCOMPARE(qint64(actual), expected == kNoNumber ? 7 : expected);
}

void FormatsTest::checkedDatesAndTimesRead_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<DateTimePart>("failed");
    QTest::addColumn<FileTime>("expected");
    const FileTime none;
    QTest::newRow("date and time")
        << "18.5.2004"
        << "10:30:15" << DateTimePart::None << fileTimeOf(2004, 5, 18, 10, 30, 15);
    QTest::newRow("hours and minutes")
        << "18.5.2004"
        << "10:30" << DateTimePart::None << fileTimeOf(2004, 5, 18, 10, 30);
    QTest::newRow("blank time is midnight") << " 8. 05. 2004 "
                                            << " " << DateTimePart::None << fileTimeOf(2004, 5, 8);
    QTest::newRow("30 February") << "30.2.2004"
                                 << "10:30" << DateTimePart::Date << none;
    QTest::newRow("letters as date") << "heute"
                                     << "10:30" << DateTimePart::Date << none;
    QTest::newRow("text after the year") << "18.5.2004 Tue"
                                         << "" << DateTimePart::Date << none;
    QTest::newRow("empty date") << ""
                                << "10:30" << DateTimePart::Date << none;
    QTest::newRow("year 1600") << "31.12.1600"
                               << "" << DateTimePart::Date << none;
    QTest::newRow("hour 25") << "18.5.2004"
                             << "25:00:00" << DateTimePart::Time << none;
    QTest::newRow("letters as time") << "18.5.2004"
                                     << "noon" << DateTimePart::Time << none;
    QTest::newRow("hour alone") << "18.5.2004"
                                << "10" << DateTimePart::Time << none;
    QTest::newRow("four parts") << "18.5.2004"
                                << "1:2:3:4" << DateTimePart::Time << none;
    QTest::newRow("two-digit year") << "18.5.04"
                                    << "" << DateTimePart::Date << none;
    QTest::newRow("other separator") << "18-5-2004"
                                     << "" << DateTimePart::Date << none;
    QTest::newRow("ISO date") << " 2004-05-18 "
                              << "10:30" << DateTimePart::None << fileTimeOf(2004, 5, 18, 10, 30);
    QTest::newRow("ISO date of no day") << "2003-02-29"
                                        << "" << DateTimePart::Date << none;
    QTest::newRow("ISO date, short year") << "04-05-18"
                                          << "" << DateTimePart::Date << none;
    QTest::newRow("one separator") << "18.5"
                                   << "10:30:15" << DateTimePart::Date << none;
    QTest::newRow("31 February") << "31.2.2004"
                                 << "" << DateTimePart::Date << none;
    QTest::newRow("29 February of a leap year")
        << "29.2.2004"
        << "" << DateTimePart::None << fileTimeOf(2004, 2, 29);
    QTest::newRow("29 February 2003") << "29.2.2003"
                                      << "" << DateTimePart::Date << none;
    QTest::newRow("29 February 1900") << "29.2.1900"
                                      << "" << DateTimePart::Date << none;
    QTest::newRow("29 February 2000") << "29.2.2000"
                                      << "" << DateTimePart::None << fileTimeOf(2000, 2, 29);
    QTest::newRow("hour 24") << "18.5.2004"
                             << "24:00:00" << DateTimePart::Time << none;
    QTest::newRow("minute 60") << "18.5.2004"
                               << "10:60:00" << DateTimePart::Time << none;
    QTest::newRow("negative second") << "18.5.2004"
                                     << "10:30:-1" << DateTimePart::Time << none;
    QTest::newRow("year 1601") << "2.1.1601"
                               << "0:00:00" << DateTimePart::None << fileTimeOf(1601, 1, 2);
    // A number beyond 16 bits must not wrap around onto a valid value (67540 = 2004 + 65536).
    QTest::newRow("year beyond 16 bits") << "18.5.67540"
                                         << "" << DateTimePart::Date << none;
    QTest::newRow("hour beyond 16 bits") << "18.5.2004"
                                         << "65546:00:00" << DateTimePart::Time << none;
}

void FormatsTest::checkedDatesAndTimesRead() {
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(DateTimePart, failed);
    QFETCH(FileTime, expected);
    setRegionalSettingsOverride(kGerman);
    FileTime result;
    QCOMPARE(int(readDateTime(date, time, &result)), int(failed));
    QCOMPARE(result.value(), expected.value());
}

void FormatsTest::dateOrders_data() {
    QTest::addColumn<RegionalSettings>("regional");
    QTest::addColumn<QString>("text");
    QTest::newRow("month-day-year") << kUnitedStates << "5/18/2004";
    QTest::newRow("day-month-year") << kGerman << "18.5.2004";
    QTest::newRow("year-month-day") << kIso << "2004-5-18";
    QTest::newRow("separator with a blank")
        << RegionalSettings{u',', QStringLiteral(". "), 1} << "18. 5. 2004";
}

void FormatsTest::dateOrders() {
    QFETCH(RegionalSettings, regional);
    QFETCH(QString, text);
    setRegionalSettingsOverride(regional);
    const FileTime may18 = fileTimeOf(2004, 5, 18);
    QCOMPARE(formatDate(may18), text);
    FileTime read;
    QCOMPARE(int(readDateTime(text, QString(), &read)), int(DateTimePart::None));
    QCOMPARE(read.value(), may18.value());
}

// One- and two-digit parts between separators of more than one character, through the settings
// of the moment and through settings read once for a whole list.
void FormatsTest::datesWithLongSeparators_data() {
    QTest::addColumn<RegionalSettings>("regional");
    QTest::addColumn<FileTime>("time");
    QTest::addColumn<QString>("text");
    const RegionalSettings czech{u',', QStringLiteral(". "), 1, QChar(0x00a0)};
    QTest::newRow("Czech, one digit") << czech << fileTimeOf(2004, 5, 8) << "8. 5. 2004";
    QTest::newRow("Czech, two digits") << czech << fileTimeOf(1999, 12, 31) << "31. 12. 1999";
    QTest::newRow("three characters") << RegionalSettings{u'.', QStringLiteral(" / "), 2}
                                      << fileTimeOf(2021, 1, 30) << "2021 / 1 / 30";
}

void FormatsTest::datesWithLongSeparators() {
    QFETCH(RegionalSettings, regional);
    QFETCH(FileTime, time);
    QFETCH(QString, text);
    QCOMPARE(formatDate(time, regional), text);
    setRegionalSettingsOverride(regional);
    QCOMPARE(formatDate(time), text);
}

void FormatsTest::formattedTimesParseBack_data() {
    QTest::addColumn<RegionalSettings>("regional");
    QTest::newRow("month-day-year") << kUnitedStates;
    QTest::newRow("day-month-year") << kGerman;
    QTest::newRow("year-month-day") << kIso;
}

void FormatsTest::formattedTimesParseBack() {
    QFETCH(RegionalSettings, regional);
    setRegionalSettingsOverride(regional);
    constexpr quint64 kStep = 37 * 864'000'000'000ull + 3'723 * 10'000'000ull; // 37 d 1:02:03
    for (quint64 ticks = 0; ticks < 253'000'000'000'000'000ull; ticks += kStep) {
        const FileTime time = FileTime::fromValue(ticks);
        FileTime read;
        QCOMPARE(int(readDateTime(formatDate(time), formatTime(time), &read)),
                 int(DateTimePart::None));
        QCOMPARE(read.value(), ticks);
    }
}

void FormatsTest::timesFormat_data() {
    QTest::addColumn<FileTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("padded minutes and seconds") << fileTimeOf(2004, 5, 18, 9, 5, 3) << "9:05:03";
    QTest::newRow("midnight") << fileTimeOf(2004, 5, 18) << "0:00:00";
    QTest::newRow("last second") << fileTimeOf(2004, 5, 18, 23, 59, 59) << "23:59:59";
    QTest::newRow("unparsed time") << FileTime() << "0:00:00";
}

void FormatsTest::timesFormat() {
    QFETCH(FileTime, time);
    QFETCH(QString, text);
    QCOMPARE(formatTime(time), text);
}

void FormatsTest::unconvertibleTimesGiveEmptyTexts() {
    setRegionalSettingsOverride(kGerman);
    for (const quint64 value : {quint64(1) << 63, ~quint64(0)}) {
        QVERIFY(formatDate(FileTime::fromValue(value)).isEmpty());
        QVERIFY(formatTime(FileTime::fromValue(value)).isEmpty());
    }
    QCOMPARE(formatDate(FileTime::fromValue((quint64(1) << 63) - 1)), QStringLiteral("14.9.30828"));
    QCOMPARE(formatDate(FileTime()), QStringLiteral("1.1.1601"));
}

void FormatsTest::periodDays_data() {
    QTest::addColumn<FileTime>("first");
    QTest::addColumn<FileTime>("last");
    QTest::addColumn<qint32>("days");
    const FileTime may18 = fileTimeOf(2004, 5, 18, 10, 30, 15);
    QTest::newRow("same time") << may18 << may18 << 1;
    QTest::newRow("next month") << fileTimeOf(2004, 1, 31) << fileTimeOf(2004, 2, 1) << 2;
    QTest::newRow("whole January") << fileTimeOf(2004, 1, 1) << fileTimeOf(2004, 1, 31) << 31;
    QTest::newRow("over 29 February") << fileTimeOf(2004, 2, 28) << fileTimeOf(2004, 3, 1) << 3;
    QTest::newRow("no 29 February in 2003")
        << fileTimeOf(2003, 2, 28) << fileTimeOf(2003, 3, 1) << 2;
    QTest::newRow("from 29 February") << fileTimeOf(2004, 2, 29) << fileTimeOf(2005, 1, 1) << 308;
    QTest::newRow("two years") << fileTimeOf(2003, 1, 1) << fileTimeOf(2005, 1, 1) << 732;
    QTest::newRow("over new year") << fileTimeOf(2003, 12, 20) << fileTimeOf(2004, 1, 10) << 22;
    QTest::newRow("January to March of a leap year")
        << fileTimeOf(2004, 1, 10) << fileTimeOf(2004, 3, 10) << 61;
    QTest::newRow("almost two years") << fileTimeOf(2003, 3, 15) << fileTimeOf(2005, 2, 10) << 699;
    QTest::newRow("eight years") << fileTimeOf(2001, 6, 1) << fileTimeOf(2009, 6, 1) << 2923;
    QTest::newRow("a century, 1900 not leap, 2000 leap")
        << fileTimeOf(1900, 3, 1) << fileTimeOf(2000, 3, 1) << 36526;
    QTest::newRow("first later") << fileTimeOf(2004, 5, 19) << fileTimeOf(2004, 5, 18) << -1;
    QTest::newRow("later the same day")
        << fileTimeOf(2004, 5, 18, 10) << fileTimeOf(2004, 5, 18, 9) << -1;
    QTest::newRow("unconvertible last") << may18 << FileTime::fromValue(quint64(1) << 63) << -1;
    QTest::newRow("whole range") << FileTime() << FileTime::fromValue((quint64(1) << 63) - 1)
                                 << 10675200;
}

void FormatsTest::periodDays() {
    QFETCH(FileTime, first);
    QFETCH(FileTime, last);
    QFETCH(qint32, days);
    QCOMPARE(daysInPeriod(first, last), days);
}

void FormatsTest::daysInPeriodIgnoresTimeOfDay() {
    QCOMPARE(daysInPeriod(fileTimeOf(2004, 5, 18, 23, 59, 59), fileTimeOf(2004, 5, 19, 0, 0, 0)),
             2);
    QCOMPARE(daysInPeriod(fileTimeOf(2004, 5, 18, 0, 0, 0), fileTimeOf(2004, 5, 18, 23, 59, 59)),
             1);
}

QTEST_GUILESS_MAIN(FormatsTest)
#include "tst_formats.moc"
