#include "db/calendar.h"
#include "testtime.h"

#include <QDateTime>
#include <QTest>

namespace {

constexpr quint64 kTicksPerDay = 864'000'000'000;
constexpr quint64 kFirstUnconvertible = quint64(1) << 63;

} // namespace

Q_DECLARE_METATYPE(SystemTime)

class CalendarTest : public QObject {
    Q_OBJECT
private slots:
    void knownTimesConvertBothWays_data();
    void knownTimesConvertBothWays();
    void refusesImpossibleTimes_data();
    void refusesImpossibleTimes();
    void dayOfWeekIsIgnoredOnInput();
    void everyDayAgreesWithQDate();
    void refusesValuesFromTwoToThe63();
    void currentTimeIsLocalWholeSeconds();
};

void CalendarTest::knownTimesConvertBothWays_data() {
    QTest::addColumn<SystemTime>("time");
    QTest::addColumn<quint64>("ticks");
    QTest::addColumn<int>("dayOfWeek");
    QTest::newRow("first day") << systemTimeOf(1601, 1, 1) << quint64(0) << 1;
    QTest::newRow("unix epoch") << systemTimeOf(1970, 1, 1) << quint64(116444736000000000) << 4;
    QTest::newRow("fill time") << systemTimeOf(2004, 5, 18, 10, 30, 15)
                               << quint64(127293498150000000) << 2;
    QTest::newRow("leap day") << systemTimeOf(2000, 2, 29) << quint64(125962560000000000) << 2;
    QTest::newRow("milliseconds") << systemTimeOf(1601, 1, 1, 0, 0, 1, 250) << quint64(12'500'000)
                                  << 1;
    QTest::newRow("last convertible millisecond")
        << systemTimeOf(30828, 9, 14, 2, 48, 5, 477) << quint64(0x7fffffffffffffff - 5807) << 4;
}

void CalendarTest::knownTimesConvertBothWays() {
    QFETCH(SystemTime, time);
    QFETCH(quint64, ticks);
    QFETCH(int, dayOfWeek);

    FileTime fileTime;
    QVERIFY(systemTimeToFileTime(time, &fileTime));
    QCOMPARE(fileTime.value(), ticks);

    SystemTime back;
    QVERIFY(fileTimeToSystemTime(fileTime, &back));
    QCOMPARE(back.year, time.year);
    QCOMPARE(back.month, time.month);
    QCOMPARE(back.day, time.day);
    QCOMPARE(back.hour, time.hour);
    QCOMPARE(back.minute, time.minute);
    QCOMPARE(back.second, time.second);
    QCOMPARE(back.milliseconds, time.milliseconds);
    QCOMPARE(int(back.dayOfWeek), dayOfWeek);
}

void CalendarTest::refusesImpossibleTimes_data() {
    QTest::addColumn<SystemTime>("time");
    QTest::newRow("before 1601") << systemTimeOf(1600, 12, 31, 23, 59, 59);
    QTest::newRow("year 0") << systemTimeOf(0, 1, 1);
    QTest::newRow("month 0") << systemTimeOf(2004, 0, 1);
    QTest::newRow("month 13") << systemTimeOf(2004, 13, 1);
    QTest::newRow("day 0") << systemTimeOf(2004, 5, 0);
    QTest::newRow("31 April") << systemTimeOf(2004, 4, 31);
    QTest::newRow("30 February of a leap year") << systemTimeOf(2004, 2, 30);
    QTest::newRow("29 February 2003") << systemTimeOf(2003, 2, 29);
    QTest::newRow("29 February 1900, a century") << systemTimeOf(1900, 2, 29);
    QTest::newRow("32 January") << systemTimeOf(2004, 1, 32);
    QTest::newRow("hour 24") << systemTimeOf(2004, 5, 18, 24);
    QTest::newRow("minute 60") << systemTimeOf(2004, 5, 18, 10, 60);
    QTest::newRow("second 60") << systemTimeOf(2004, 5, 18, 10, 30, 60);
    QTest::newRow("millisecond 1000") << systemTimeOf(2004, 5, 18, 10, 30, 15, 1000);
    QTest::newRow("past 2^63 the same day") << systemTimeOf(30828, 9, 14, 2, 48, 6);
    QTest::newRow("the next day") << systemTimeOf(30828, 9, 15);
    QTest::newRow("largest year") << systemTimeOf(65535, 12, 31, 23, 59, 59, 999);
}

void CalendarTest::refusesImpossibleTimes() {
    QFETCH(SystemTime, time);
    FileTime untouched = FileTime::fromValue(42);
    QVERIFY(!systemTimeToFileTime(time, &untouched));
    QCOMPARE(untouched.value(), quint64(42));
}

void CalendarTest::dayOfWeekIsIgnoredOnInput() {
    SystemTime time = systemTimeOf(2004, 5, 18);
    FileTime plain;
    QVERIFY(systemTimeToFileTime(time, &plain));
    time.dayOfWeek = 6;
    FileTime withWrongDay;
    QVERIFY(systemTimeToFileTime(time, &withWrongDay));
    QCOMPARE(withWrongDay.value(), plain.value());
}

// QDate is an independent Gregorian calendar: every day of eight centuries, then a sample of
// days up to the end of the range, must agree with it in both directions.
void CalendarTest::everyDayAgreesWithQDate() {
    const QDate origin(1601, 1, 1);
    const auto check = [&origin](qint64 dayNumber) {
        const QDate expected = origin.addDays(dayNumber);
        SystemTime time;
        const quint64 ticks = quint64(dayNumber) * kTicksPerDay + 36'000'000'000ull;
        if (!fileTimeToSystemTime(FileTime::fromValue(ticks), &time))
            return false;
        if (time.year != expected.year() || time.month != expected.month() ||
            time.day != expected.day() || time.hour != 1 ||
            time.dayOfWeek != expected.dayOfWeek() % 7)
            return false;
        FileTime back;
        return systemTimeToFileTime(time, &back) && back.value() == ticks;
    };
    const qint64 days400Years = origin.daysTo(QDate(2401, 1, 1));
    for (qint64 day = 0; day < days400Years * 2; ++day)
        QVERIFY2(check(day), qPrintable(origin.addDays(day).toString(Qt::ISODate)));
    const qint64 lastDay = qint64((kFirstUnconvertible - 1) / kTicksPerDay) - 1;
    for (qint64 day = days400Years * 2; day < lastDay; day += 997)
        QVERIFY2(check(day), qPrintable(origin.addDays(day).toString(Qt::ISODate)));
    QVERIFY(check(lastDay));
}

void CalendarTest::refusesValuesFromTwoToThe63() {
    SystemTime untouched = systemTimeOf(2004, 5, 18);
    for (const quint64 value : {kFirstUnconvertible, kFirstUnconvertible + 1, ~quint64(0)})
        QVERIFY(!fileTimeToSystemTime(FileTime::fromValue(value), &untouched));
    QCOMPARE(untouched.year, quint16(2004));

    SystemTime last;
    QVERIFY(fileTimeToSystemTime(FileTime::fromValue(kFirstUnconvertible - 1), &last));
    QCOMPARE(last.year, quint16(30828));
}

void CalendarTest::currentTimeIsLocalWholeSeconds() {
    const auto ticksOf = [](const QDateTime& moment) {
        const QDate date = moment.date();
        const QTime clock = moment.time();
        FileTime fileTime;
        systemTimeToFileTime(systemTimeOf(date.year(), date.month(), date.day(), clock.hour(),
                                          clock.minute(), clock.second()),
                             &fileTime);
        return fileTime.value();
    };
    const quint64 before = ticksOf(QDateTime::currentDateTime());
    const quint64 now = currentLocalFileTime().value();
    const quint64 after = ticksOf(QDateTime::currentDateTime());
    QVERIFY(before <= now && now <= after);
    QCOMPARE(now % 10'000'000, quint64(0));
}

QTEST_GUILESS_MAIN(CalendarTest)
#include "tst_calendar.moc"
