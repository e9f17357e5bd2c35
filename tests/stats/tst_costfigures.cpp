#include "db/fueldatabase.h"
#include "stats/costs.h"
#include "stats/reminders.h"
#include "testtime.h"

#include <QTest>

namespace {

QDate day(const char* iso) {
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

QString isoDates(const std::vector<QDate>& dates) {
    QStringList texts;
    for (const QDate& date : dates)
        texts << date.toString(Qt::ISODate);
    return texts.join(u' ');
}

// Fills of the given readings on the given days (the cost of each 50).
CFuelDatabase logOf(const std::vector<std::pair<const char*, qint32>>& fills) {
    CFuelDatabase database;
    for (const auto& [date, odometer] : fills) {
        const QDate d = day(date);
        FillRecord fill;
        fill.odometer = odometer;
        fill.fuel = 40;
        fill.cost = 50;
        fill.dateTime = fileTimeOf(d.year(), d.month(), d.day(), 12);
        database.insertFill(fill);
    }
    return database;
}

// 50 distance units a day for the last 90 days up to 31 March 2024, far less before.
CFuelDatabase steadyLog() {
    return logOf({{"2023-01-01", 1000},
                  {"2024-01-01", 10000},
                  {"2024-01-31", 11500},
                  {"2024-03-01", 13000},
                  {"2024-03-31", 14500}});
}

} // namespace

Q_DECLARE_METATYPE(CFuelDatabase)

class CostFiguresTest : public QObject {
    Q_OBJECT
private slots:
    // A recurring cost keeps the day of its first occurrence, on the month's last day where the
    // month is shorter, and stops at today and at its end date.
    void recurringOccurrences_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QDate>("until");
        QTest::addColumn<QString>("dates");
        QTest::newRow("once") << day("2024-03-05") << 0 << QDate() << day("2024-12-31")
                              << "2024-03-05";
        QTest::newRow("once, after today")
            << day("2024-03-05") << 0 << QDate() << day("2024-03-04") << "";
        QTest::newRow("month ends in a leap year")
            << day("2024-01-31") << 1 << QDate() << day("2024-05-01")
            << "2024-01-31 2024-02-29 2024-03-31 2024-04-30";
        QTest::newRow("month ends in another year")
            << day("2023-01-31") << 1 << QDate() << day("2023-03-31")
            << "2023-01-31 2023-02-28 2023-03-31";
        QTest::newRow("yearly from a leap day")
            << day("2024-02-29") << 12 << QDate() << day("2028-03-01")
            << "2024-02-29 2025-02-28 2026-02-28 2027-02-28 2028-02-29";
        QTest::newRow("quarterly up to its end date")
            << day("2024-01-15") << 3 << day("2024-07-15") << day("2025-12-31")
            << "2024-01-15 2024-04-15 2024-07-15";
    }
    void recurringOccurrences() {
        QFETCH(QDate, date);
        QFETCH(int, interval);
        QFETCH(QDate, end);
        QFETCH(QDate, until);
        QFETCH(QString, dates);
        const CostEntry cost{date, kNoReading, 0, 10, {}, interval, end};
        QCOMPARE(isoDates(costOccurrences(cost, until)), dates);
    }

    // Today's reading is estimated from the distance per day over the last 90 days of fills, or
    // over the whole log when those span less than two weeks.
    void odometerEstimate_data() {
        QTest::addColumn<CFuelDatabase>("log");
        QTest::addColumn<double>("perDay");
        QTest::addColumn<qint32>("inTenDays");
        QTest::newRow("recent fills") << steadyLog() << 50.0 << 15000;
        QTest::newRow("recent fills too close together")
            << logOf({{"2023-12-02", 9200}, {"2024-03-20", 13950}, {"2024-03-31", 14000}}) << 40.0
            << 14400;
        QTest::newRow("a single fill") << logOf({{"2024-03-31", 14500}}) << 0.0 << 14500;
    }
    void odometerEstimate() {
        QFETCH(CFuelDatabase, log);
        QFETCH(double, perDay);
        QFETCH(qint32, inTenDays);
        const OdometerEstimate estimate = ::odometerEstimate(log);
        QCOMPARE(estimate.perDay, perDay);
        QCOMPARE(estimate.readingOn(day("2024-04-10")), inTenDays);
    }

    // Where a reminder stands, with the log going 50 a day and 15 000 on the odometer today:
    // by date, by reading (and the day that reading is reached), whichever comes first.
    void dueReminders_data() {
        QTest::addColumn<QDate>("dueDate");
        QTest::addColumn<qint32>("dueOdometer");
        QTest::addColumn<int>("daysLeft"); // -999: none
        QTest::addColumn<bool>("byOdometer");
        QTest::addColumn<bool>("overdue");
        QTest::addColumn<bool>("soon");
        QTest::newRow("date in ten days")
            << day("2024-04-20") << kNoReading << 10 << false << false << true;
        QTest::newRow("date in forty days")
            << day("2024-05-20") << kNoReading << 40 << false << false << false;
        QTest::newRow("date yesterday")
            << day("2024-04-09") << kNoReading << -1 << false << true << true;
        QTest::newRow("reading in about three weeks")
            << QDate() << 16050 << 21 << true << false << true;
        QTest::newRow("reading far off") << QDate() << 20000 << 100 << true << false << false;
        QTest::newRow("reading passed") << QDate() << 14900 << -2 << true << true << true;
        QTest::newRow("both, the reading first")
            << day("2024-06-09") << 15500 << 10 << true << false << true;
        QTest::newRow("both, the date first")
            << day("2024-04-15") << 17000 << 5 << false << false << true;
        QTest::newRow("not due") << QDate() << kNoReading << -999 << false << false << false;
    }
    void dueReminders() {
        QFETCH(QDate, dueDate);
        QFETCH(qint32, dueOdometer);
        QFETCH(int, daysLeft);
        QFETCH(bool, byOdometer);
        QFETCH(bool, overdue);
        QFETCH(bool, soon);
        const OdometerEstimate estimate = ::odometerEstimate(steadyLog());
        Reminder reminder;
        reminder.dueDate = dueDate;
        reminder.dueOdometer = dueOdometer;
        const ReminderDue due = reminderDue(reminder, estimate, day("2024-04-10"));
        QCOMPARE(due.daysLeft.value_or(-999), daysLeft);
        QCOMPARE(due.byOdometer, byOdometer);
        QCOMPARE(due.overdue, overdue);
        QCOMPARE(due.soon, soon);
    }

    // Only what is overdue or due soon is listed, the most urgent first; a reading whose day
    // cannot be told comes after every dated one.
    void dueSoonMostUrgentFirst() {
        VehicleCosts costs;
        const auto add = [&costs](const char* title, QDate date, qint32 reading) {
            Reminder reminder;
            reminder.title = QString::fromLatin1(title);
            reminder.dueDate = date;
            reminder.dueOdometer = reading;
            costs.reminders.push_back(reminder);
        };
        add("far", day("2024-09-01"), kNoReading);
        add("by reading", QDate(), 15100);
        add("overdue", day("2024-04-01"), kNoReading);
        add("in 5 days", day("2024-04-15"), kNoReading);
        OdometerEstimate estimate = ::odometerEstimate(steadyLog());
        QStringList order;
        for (const ReminderDue& due : remindersDueSoon(costs, estimate, day("2024-04-10")))
            order << costs.reminders[std::size_t(due.index)].title;
        QCOMPARE(order.join(u','), QStringLiteral("overdue,by reading,in 5 days"));

        estimate.perDay = 0;
        order.clear();
        for (const ReminderDue& due : remindersDueSoon(costs, estimate, day("2024-04-10")))
            order << costs.reminders[std::size_t(due.index)].title;
        QCOMPARE(order.join(u','), QStringLiteral("overdue,in 5 days,by reading"));
    }

    // Done, a repeating reminder falls due again from then; a due point that does not repeat
    // goes.
    void doneSetsTheNextDuePoint_data() {
        QTest::addColumn<int>("months");
        QTest::addColumn<qint32>("distance");
        QTest::addColumn<qint32>("reading");
        QTest::addColumn<QDate>("nextDate");
        QTest::addColumn<qint32>("nextReading");
        QTest::newRow("every year or 15 000") << 12 << 15000 << 18000 << day("2025-05-20") << 33000;
        QTest::newRow("by months only") << 6 << 0 << 18000 << day("2024-11-20") << kNoReading;
        QTest::newRow("no reading given") << 0 << 15000 << kNoReading << QDate() << 35000;
        QTest::newRow("once") << 0 << 0 << 18000 << QDate() << kNoReading;
    }
    void doneSetsTheNextDuePoint() {
        QFETCH(int, months);
        QFETCH(qint32, distance);
        QFETCH(qint32, reading);
        QFETCH(QDate, nextDate);
        QFETCH(qint32, nextReading);
        const Reminder before{
            1,         QStringLiteral("Service"), day("2024-06-01"), 20000, months, distance, {},
            kNoReading};
        const Reminder after = reminderDoneAt(before, day("2024-05-20"), reading);
        QCOMPARE(after.dueDate, nextDate);
        QCOMPARE(after.dueOdometer, nextReading);
        QCOMPARE(after.lastDone, day("2024-05-20"));
        QCOMPARE(after.lastDoneOdometer, reading);
    }

    // Fuel and costs over a period and over the vehicle's life: recurring costs count up to
    // today, per month over the period's length, per 100 over the distance of its fills.
    void figures_data() {
        QTest::addColumn<QDate>("from"); // null: the whole life
        QTest::addColumn<QDate>("to");
        QTest::addColumn<double>("fuel");
        QTest::addColumn<QString>("categories"); // id:amount of those with costs
        QTest::addColumn<double>("total");
        QTest::addColumn<double>("per100");
        QTest::addColumn<double>("perMonth");
        QTest::newRow("the first quarter")
            << day("2024-01-01") << day("2024-03-31") << 150.0 << "0:150 5:40" << 340.0 << 17.0
            << 340 / (91 / (365.2425 / 12));
        QTest::newRow("February") << day("2024-02-01") << day("2024-02-29") << 0.0 << "0:150 5:20"
                                  << 170.0 << qQNaN() << 170 / (29 / (365.2425 / 12));
        QTest::newRow("ownership") << QDate() << QDate() << 150.0 << "0:150 3:600 5:40 9:30"
                                   << 970.0 << 48.5 << 970 / (259 / (365.2425 / 12));
    }
    void figures() {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(double, fuel);
        QFETCH(QString, categories);
        QFETCH(double, total);
        QFETCH(double, per100);
        QFETCH(double, perMonth);
        CFuelDatabase log =
            logOf({{"2024-01-01", 10000}, {"2024-01-31", 11000}, {"2024-03-01", 12000}});
        VehicleCosts costs;
        costs.categories = costCategories({});
        costs.categories.push_back({9, QStringLiteral("Loan")});
        costs.costs = {{day("2023-07-01"), kNoReading, 3, 600, {}, 12, {}},
                       {day("2023-08-01"), kNoReading, 9, 30, {}, 0, {}},
                       {day("2024-01-31"), kNoReading, 5, 20, {}, 1, {}},
                       {day("2024-02-10"), 11500, 0, 150, {}, 0, {}}};
        log.setCosts(costs);
        const QDate today = day("2024-03-15");
        const CostFigures figures =
            from.isValid() ? costFigures(log, {from, to}, today) : ownershipFigures(log, today);
        QCOMPARE(figures.fuel, fuel);
        QStringList sums;
        for (const CategoryCosts& category : figures.categories) {
            if (category.count > 0)
                sums << QStringLiteral("%1:%2").arg(category.categoryId).arg(category.amount);
        }
        QCOMPARE(sums.join(u' '), categories);
        QCOMPARE(figures.total, total);
        QCOMPARE(figures.costs, total - fuel);
        if (qIsNaN(per100))
            QVERIFY(qIsNaN(figures.per100));
        else
            QCOMPARE(figures.per100, per100);
        QCOMPARE(figures.perMonth, perMonth);
    }
};

QTEST_GUILESS_MAIN(CostFiguresTest)
#include "tst_costfigures.moc"
