#include "db/calendar.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/periodstats.h"
#include "stats/totals.h"

#include <QLocale>
#include <QTest>
#include <cmath>

namespace {

struct Fill {
    const char* time; // "yyyy-MM-dd hh:mm"
    qint32 odometer;
    float fuel;
    float cost;
    const char* station;
    const char* driver; // "" for none
    FillFlags flags = {};
};

// Thirty months from October 2023 to March 2026: a fill on 31 December late at night and a
// partial one on 1 January just after midnight, a fill on 29 February 2024, empty months and the
// empty year 2025, and a fill after one that was not logged.
const Fill kHistory[] = {
    {"2023-10-05 12:00", 10000, 40, 60, "Aral", "Eva"},
    {"2023-10-25 12:00", 10500, 30, 45, "Aral", ""},
    {"2023-12-31 23:59", 11000, 35, 70, "Aral", "Eva"},
    {"2024-01-01 00:00", 11100, 10, 20, "Shell", "", {true, false}},
    {"2024-02-29 12:00", 11600, 30, 60, "Aral", "Eva"},
    {"2024-06-10 12:00", 12200, 36, 54, "Shell", ""},
    {"2026-01-15 12:00", 12800, 40, 80, "Shell", "Eva", {false, true}},
    {"2026-02-15 12:00", 13400, 30, 60, "OMV", ""},
    {"2026-03-20 12:00", 14000, 45, 90, "OMV", "Eva"},
};

FileTime timeOf(const char* text) {
    const QDateTime time = QDateTime::fromString(QString::fromLatin1(text), "yyyy-MM-dd hh:mm");
    const SystemTime system{
        quint16(time.date().year()), quint16(time.date().month()), 0,
        quint16(time.date().day()),  quint16(time.time().hour()),  quint16(time.time().minute())};
    FileTime result;
    if (!systemTimeToFileTime(system, &result))
        qFatal("not a time: %s", text);
    return result;
}

void addHistory(CFuelDatabase& database) {
    for (const Fill& fill : kHistory) {
        FillRecord record;
        record.odometer = fill.odometer;
        record.fuel = fill.fuel;
        record.cost = fill.cost;
        record.dateTime = timeOf(fill.time);
        record.stationId = database.findOrAddStation(QString::fromLatin1(fill.station));
        if (*fill.driver)
            record.driverId = database.findOrAddDriver(QString::fromLatin1(fill.driver));
        database.insertFill(record, fill.flags);
    }
}

QDate day(const char* text) {
    return QDate::fromString(QString::fromLatin1(text), Qt::ISODate);
}

DayRange days(const char* first, const char* last) {
    return {day(first), day(last)};
}

// "2024-02: 1 500 30.00 60.00 6.67 13.33 2.000": the row's month (or year) and its cells in the
// order of the columns, "-" for an empty cell.
QString rowText(int year, int month, const BucketSums& sums, const LogUnits& units = {}) {
    QString text = month ? QStringLiteral("%1-%2:").arg(year).arg(month, 2, 10, QLatin1Char('0'))
                         : QStringLiteral("%1:").arg(year);
    for (const StatsColumn column : kStatsColumns) {
        const QString cell = statsColumnText(sums, column, units);
        text += u' ';
        text += cell.isEmpty() ? QStringLiteral("-") : cell;
    }
    return text;
}

QStringList rowTexts(const QList<MonthSums>& rows) {
    QStringList texts;
    for (const MonthSums& row : rows)
        texts.append(rowText(row.year, row.month, row.sums));
    return texts;
}

StatsPeriod period(PeriodChoice choice, int year = 0, QDate from = {}, QDate to = {}) {
    StatsPeriod result;
    result.choice = choice;
    result.year = year;
    result.from = from;
    result.to = to;
    return result;
}

const DayRange kWholeHistory = days("2023-10-05", "2026-03-20");

} // namespace

Q_DECLARE_METATYPE(FillingMethod)
Q_DECLARE_METATYPE(DayRange)
Q_DECLARE_METATYPE(StatsPeriod)

class PeriodStatsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { addHistory(m_database); }
    void init() { language().clear(); }

    // Worked out by hand, full tank: a run's fuel and cost are those of the fills after its
    // start up to its end, in the month of its end. The partial fill of 1 January goes to the
    // run that ends on 29 February (600 km, 40 l, 80); the fill after the missed one has no run.
    void monthRows() {
        const QHash<QString, QString> filled = {
            {"2023-10", "2 500 70.00 105.00 6.00 9.00 1.500"},
            {"2023-12", "1 500 35.00 70.00 7.00 14.00 2.000"},
            {"2024-01", "1 100 10.00 20.00 - - 2.000"},
            {"2024-02", "1 500 30.00 60.00 6.67 13.33 2.000"},
            {"2024-06", "1 600 36.00 54.00 6.00 9.00 1.500"},
            {"2026-01", "1 600 40.00 80.00 - - 2.000"},
            {"2026-02", "1 600 30.00 60.00 5.00 10.00 2.000"},
            {"2026-03", "1 600 45.00 90.00 7.50 15.00 2.000"},
        };
        QStringList expected;
        for (QDate month(2023, 10, 1); month <= QDate(2026, 3, 1); month = month.addMonths(1)) {
            const QString key = month.toString("yyyy-MM");
            expected.append(key + QStringLiteral(": ") + filled.value(key, "0 0 0.00 0.00 - - -"));
        }
        QCOMPARE(expected.size(), 30);
        const QList<MonthSums> months = sumsByCalendar(m_database, FillingMethod::FullTank,
                                                       kWholeHistory, StatsGrouping::ByMonth);
        QCOMPARE(rowTexts(months), expected);

        const QStringList years = {
            "2023: 3 1000 105.00 175.00 6.50 11.50 1.667",
            "2024: 3 1200 76.00 134.00 6.33 11.17 1.763",
            "2025: 0 0 0.00 0.00 - - -",
            "2026: 3 1800 115.00 230.00 6.25 12.50 2.000",
        };
        QCOMPARE(rowTexts(sumsByCalendar(m_database, FillingMethod::FullTank, kWholeHistory,
                                         StatsGrouping::ByYear)),
                 years);
        QCOMPARE(yearsWithFills(m_database), (QList<int>{2023, 2024, 2026}));
    }

    // A log kept in kilometres and litres shown in miles, US gallons and mpg: 500 km, 70 l for
    // 105, 6 l / 100 km, 9 per 100 km, 1.5 a litre.
    void unitsOfTheLog() {
        LogUnits units;
        units.distance = DistanceUnit::Miles;
        units.volume = VolumeUnit::UsGallons;
        units.consumption = ConsumptionUnit::MpgUs;
        const QList<MonthSums> months = sumsByCalendar(m_database, FillingMethod::FullTank,
                                                       kWholeHistory, StatsGrouping::ByMonth);
        QCOMPARE(rowText(2023, 10, months.first().sums, units),
                 "2023-10: 2 311 18.49 105.00 39.20 14.48 5.678");
    }

    // The months of a year add up to the year and the years to the whole range, under both
    // methods; the whole log's runs are those of the totals.
    void bucketsAddUp_data() {
        QTest::addColumn<FillingMethod>("method");
        QTest::newRow("full tank") << FillingMethod::FullTank;
        QTest::newRow("to empty tank") << FillingMethod::ToEmptyTank;
    }
    void bucketsAddUp() {
        QFETCH(FillingMethod, method);
        const auto rows = [&](StatsGrouping grouping) {
            return sumsByCalendar(m_database, method, kWholeHistory, grouping);
        };
        QHash<int, BucketSums> byYear;
        for (const MonthSums& month : rows(StatsGrouping::ByMonth))
            byYear[month.year] += month.sums;
        BucketSums whole;
        for (const MonthSums& year : rows(StatsGrouping::ByYear)) {
            QCOMPARE(rowText(year.year, 0, byYear.value(year.year)),
                     rowText(year.year, 0, year.sums));
            whole += year.sums;
        }
        const BucketSums all = sumsOfDays(m_database, method, kWholeHistory);
        QCOMPARE(rowText(0, 0, whole), rowText(0, 0, all));

        const FillTotals totals = computeTotals(m_database, method);
        QCOMPARE(all.distance, *totals.distance);
        QCOMPARE(bucketConsumption(all), totals.consumption);
        QCOMPARE(bucketCostOfDist(all), totals.costOfDist);
    }

    // A range that begins inside a run counts the run whole; one with only a partial fill or
    // only a fill after a missed one has no consumption.
    void runsAtTheRangeEdges_data() {
        QTest::addColumn<FillingMethod>("method");
        QTest::addColumn<DayRange>("range");
        QTest::addColumn<QString>("expected");
        // To empty tank the run that ends on 29 February is charged the fills of 31 December
        // and 1 January: 600 km, 45 l, 90.
        QTest::newRow("2024, to empty tank")
            << FillingMethod::ToEmptyTank << days("2024-01-01", "2024-12-31")
            << "0: 3 1200 76.00 134.00 6.25 12.50 1.763";
        // The run that ends on 29 February begins on 31 December, with the partial fill of
        // 1 January in it.
        QTest::newRow("from 29 February, full tank")
            << FillingMethod::FullTank << days("2024-02-29", "2024-06-10")
            << "0: 2 1100 66.00 114.00 6.33 11.17 1.727";
        QTest::newRow("the partial fill alone")
            << FillingMethod::FullTank << days("2024-01-01", "2024-02-28")
            << "0: 1 100 10.00 20.00 - - 2.000";
        QTest::newRow("the fill after a missed one alone")
            << FillingMethod::ToEmptyTank << days("2025-06-01", "2026-01-31")
            << "0: 1 600 40.00 80.00 - - 2.000";
        QTest::newRow("no fill") << FillingMethod::FullTank << days("2024-03-01", "2024-05-31")
                                 << "0: 0 0 0.00 0.00 - - -";
    }
    void runsAtTheRangeEdges() {
        QFETCH(FillingMethod, method);
        QFETCH(DayRange, range);
        QFETCH(QString, expected);
        QCOMPARE(rowText(0, 0, sumsOfDays(m_database, method, range)), expected);
    }

    void periodDays_data() {
        QTest::addColumn<StatsPeriod>("period");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<DayRange>("expected");
        const QDate leapDay = day("2024-02-29");
        QTest::newRow("all") << StatsPeriod{} << leapDay << kWholeHistory;
        QTest::newRow("this year")
            << period(PeriodChoice::ThisYear) << leapDay << days("2024-01-01", "2024-02-29");
        QTest::newRow("last 12 months to a leap day")
            << period(PeriodChoice::Last12Months) << leapDay << days("2023-03-01", "2024-02-29");
        QTest::newRow("last 12 months over a leap day")
            << period(PeriodChoice::Last12Months) << day("2025-02-28")
            << days("2024-02-29", "2025-02-28");
        QTest::newRow("a year") << period(PeriodChoice::Year, 2024) << leapDay
                                << days("2024-01-01", "2024-12-31");
        QTest::newRow("a range") << period(PeriodChoice::Range, 0, day("2024-02-01"),
                                           day("2024-03-01"))
                                 << leapDay << days("2024-02-01", "2024-03-01");
    }
    void periodDays() {
        QFETCH(StatsPeriod, period);
        QFETCH(QDate, today);
        QFETCH(DayRange, expected);
        const DayRange range = ::periodDays(period, m_database, today);
        QCOMPARE(range.first, expected.first);
        QCOMPARE(range.last, expected.last);
    }

    void emptyPeriods() {
        QVERIFY(::periodDays({}, CFuelDatabase(), day("2024-02-29")).isEmpty());
        const StatsPeriod backwards =
            period(PeriodChoice::Range, 0, day("2024-03-01"), day("2024-02-01"));
        const DayRange range = ::periodDays(backwards, m_database, day("2024-02-29"));
        QVERIFY(range.isEmpty());
        QVERIFY(sumsByCalendar(m_database, FillingMethod::FullTank, range, StatsGrouping::ByMonth)
                    .isEmpty());
        const auto [first, last] = ::fillsInDays(m_database, range);
        QVERIFY(first > last);
    }

    // The fills of 31 December 23:59 and 1 January 00:00 fall on their own days.
    void fillsInDays_data() {
        QTest::addColumn<DayRange>("range");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("31 December") << days("2023-12-31", "2023-12-31") << 2 << 2;
        QTest::newRow("1 January") << days("2024-01-01", "2024-01-01") << 3 << 3;
        QTest::newRow("both") << days("2023-12-31", "2024-01-01") << 2 << 3;
        QTest::newRow("before and up to the first") << days("1990-01-01", "2023-10-05") << 0 << 0;
        QTest::newRow("from the last on") << days("2026-03-20", "2099-12-31") << 8 << 8;
        QTest::newRow("after the last") << days("2026-03-21", "2099-12-31") << 9 << 8;
        QTest::newRow("between fills") << days("2024-03-01", "2024-05-31") << 5 << 4;
    }
    void fillsInDays() {
        QFETCH(DayRange, range);
        QFETCH(int, first);
        QFETCH(int, last);
        QCOMPARE(::fillsInDays(m_database, range), std::make_pair(first, last));
    }

    // Fills, fuel, cost, unit price and share of the cost, by falling cost.
    void stationsAndDrivers() {
        const auto texts = [](const QList<NamedSums>& rows) {
            QStringList list;
            for (const NamedSums& row : rows)
                list.append(QStringLiteral("%1: %2 %3 %4 %5 %6%")
                                .arg(row.name, statsColumnText(row.sums, StatsColumn::Fills, {}),
                                     statsColumnText(row.sums, StatsColumn::Fuel, {}),
                                     statsColumnText(row.sums, StatsColumn::Cost, {}),
                                     statsColumnText(row.sums, StatsColumn::UnitPrice, {}))
                                .arg(row.share * 100.0, 0, 'f', 1));
            return list;
        };
        QCOMPARE(
            texts(sumsByStation(m_database, kWholeHistory)),
            (QStringList{"Aral: 4 135.00 235.00 1.741 43.6%", "Shell: 3 86.00 154.00 1.791 28.6%",
                         "OMV: 2 75.00 150.00 2.000 27.8%"}));
        QCOMPARE(
            texts(sumsByStation(m_database, days("2024-01-01", "2024-12-31"))),
            (QStringList{"Shell: 2 46.00 74.00 1.609 55.2%", "Aral: 1 30.00 60.00 2.000 44.8%"}));
        QCOMPARE(
            texts(sumsByDriver(m_database, kWholeHistory)),
            (QStringList{"Eva: 5 190.00 360.00 1.895 66.8%", ": 4 106.00 179.00 1.689 33.2%"}));
        QVERIFY(sumsByDriver(m_database, days("2025-01-01", "2025-12-31")).isEmpty());
    }

    // The step is the smallest that keeps the ticks at or under the most allowed, on the first
    // of a month (1, 2, 3 or 6 months) or of a year (1, 2, 5, 10 ... years).
    void dateTicks_data() {
        QTest::addColumn<DayRange>("range");
        QTest::addColumn<int>("maxTicks");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("2 weeks over a month's end")
            << days("2024-02-20", "2024-03-05") << 8 << QStringList{"Mar 2024"};
        QTest::newRow("2 weeks inside a month")
            << days("2024-03-05", "2024-03-19") << 8 << QStringList{};
        QTest::newRow("5 months") << days("2024-01-15", "2024-06-14") << 8
                                  << QStringList{"Feb 2024", "Mar 2024", "Apr 2024", "May 2024",
                                                 "Jun 2024"};
        QTest::newRow("5 months, 3 ticks")
            << days("2024-01-15", "2024-06-14") << 3 << QStringList{"Mar 2024", "May 2024"};
        QTest::newRow("30 months")
            << kWholeHistory << 8
            << QStringList{"Jan 2024", "Jul 2024", "Jan 2025", "Jul 2025", "Jan 2026"};
        QTest::newRow("30 months, 12 ticks")
            << kWholeHistory << 12
            << QStringList{"Jan 2024", "Apr 2024", "Jul 2024", "Oct 2024", "Jan 2025",
                           "Apr 2025", "Jul 2025", "Oct 2025", "Jan 2026"};
        QTest::newRow("20 years") << days("2005-06-01", "2025-05-31") << 8
                                  << QStringList{"2010", "2015", "2020", "2025"};
        QTest::newRow("20 years, 1 tick")
            << days("2005-06-01", "2025-05-31") << 1 << QStringList{"2020"};
        QTest::newRow("from 1 January")
            << days("2020-01-01", "2025-05-31") << 8
            << QStringList{"2020", "2021", "2022", "2023", "2024", "2025"};
    }
    void dateTicks() {
        QFETCH(DayRange, range);
        QFETCH(int, maxTicks);
        QFETCH(QStringList, expected);
        const DateTicks ticks = chooseDateTicks(range, maxTicks);
        QStringList labels;
        for (const QDate date : ticks.dates) {
            QVERIFY(date >= range.first && date <= range.last);
            labels.append(dateTickLabel(ticks, date, QLocale::c()));
        }
        QCOMPARE(labels, expected);
    }

    void movingAverage_data() {
        QTest::addColumn<int>("window");
        QTest::addColumn<QList<double>>("expected");
        QTest::newRow("3") << 3 << QList<double>{1, 1.5, 2, 3, 4, 3};
        QTest::newRow("1") << 1 << QList<double>{1, 2, 3, 4, 5, 0};
        QTest::newRow("0 counts as 1") << 0 << QList<double>{1, 2, 3, 4, 5, 0};
        QTest::newRow("longer than the values") << 10 << QList<double>{1, 1.5, 2, 2.5, 3, 2.5};
    }
    void movingAverage() {
        QFETCH(int, window);
        QFETCH(QList<double>, expected);
        QList<DatedValue> values;
        for (const double value : {1, 2, 3, 4, 5, 0})
            values.append({QDate(2024, 1, 1).addDays(values.size()), value});
        const QList<DatedValue> averages = ::movingAverage(values, window);
        QList<double> got;
        for (qsizetype i = 0; i < averages.size(); ++i) {
            QCOMPARE(averages[i].date, values[i].date);
            got.append(averages[i].value);
        }
        QCOMPARE(got, expected);
    }

    // One consumption per run with figures at its end fill's day, one price per fill, one cost
    // per month; the average of consumption and price is over the sums, not over the points.
    void series() {
        const auto texts = [this](StatsSeries series) {
            QStringList list;
            for (const DatedValue& value : statsSeries(m_database, FillingMethod::FullTank,
                                                       kWholeHistory, series, LogUnits{}))
                if (value.value != 0.0)
                    list.append(value.date.toString("yyyy-MM-dd ") +
                                QString::number(value.value, 'f', 2));
            list.append(QString::number(statsSeriesAverage(m_database, FillingMethod::FullTank,
                                                           kWholeHistory, series, LogUnits{}),
                                        'f', 2));
            return list;
        };
        QCOMPARE(texts(StatsSeries::Consumption),
                 (QStringList{"2023-10-25 6.00", "2023-12-31 7.00", "2024-02-29 6.67",
                              "2024-06-10 6.00", "2026-02-15 5.00", "2026-03-20 7.50", "6.35"}));
        QCOMPARE(texts(StatsSeries::MonthlyCost),
                 (QStringList{"2023-10-01 105.00", "2023-12-01 70.00", "2024-01-01 20.00",
                              "2024-02-01 60.00", "2024-06-01 54.00", "2026-01-01 80.00",
                              "2026-02-01 60.00", "2026-03-01 90.00", "17.97"}));
        QCOMPARE(statsSeries(m_database, FillingMethod::FullTank, kWholeHistory,
                             StatsSeries::MonthlyDistance, LogUnits{})
                     .size(),
                 30);
        QCOMPARE(texts(StatsSeries::UnitPrice).last(), "1.82");
    }

private:
    CFuelDatabase m_database;
};

QTEST_GUILESS_MAIN(PeriodStatsTest)
#include "tst_periodstats.moc"
