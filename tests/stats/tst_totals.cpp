#include "db/calendar.h"
#include "db/fueldatabase.h"
#include "stats/totals.h"

#include <QDate>
#include <QTest>
#include <limits>

namespace {

struct Fill {
    const char* date; // "yyyy-mm-dd"
    qint32 odometer;
    float fuel;
    float cost;
};

FileTime dateOf(const char* text) {
    const QDate date = QDate::fromString(QString::fromLatin1(text), Qt::ISODate);
    const SystemTime time{quint16(date.year()), quint16(date.month()), 0, quint16(date.day()), 12};
    FileTime result;
    if (!systemTimeToFileTime(time, &result))
        qFatal("not a date: %s", text);
    return result;
}

// The fills are stored as given, in the order given.
FillTotals totalsOf(const QList<Fill>& fills, FillingMethod method) {
    CFuelDatabase database;
    for (const Fill& fill : fills) {
        FillRecord record;
        record.odometer = fill.odometer;
        record.fuel = fill.fuel;
        record.cost = fill.cost;
        record.dateTime = dateOf(fill.date);
        database.insertFill(record);
    }
    return computeTotals(database, method);
}

// The nine figures as shown, top to bottom.
QStringList textsOf(const FillTotals& totals) {
    QStringList texts;
    for (const TotalsRow row : kTotalsRows)
        texts.append(totalsValueText(totals, row));
    return texts;
}

QStringList texts(std::initializer_list<const char*> values) {
    QStringList list;
    for (const char* value : values)
        list.append(QString::fromUtf8(value));
    return list;
}

// The worked example: 500 km in 31 days between a fill of 40 l for 1000 and one of 35 l for 900.
const QList<Fill> kExample = {{"2004-01-01", 1000, 40.0f, 1000.0f},
                              {"2004-01-31", 1500, 35.0f, 900.0f}};

constexpr qint32 kMaxOdometer = std::numeric_limits<qint32>::max();
constexpr qint32 kMinOdometer = std::numeric_limits<qint32>::min();

} // namespace

Q_DECLARE_METATYPE(FillingMethod)
Q_DECLARE_METATYPE(QList<Fill>)

class TotalsTest : public QObject {
    Q_OBJECT
private slots:
    // Distance, fuel, cost, period, consumption, cost per 100 km, monthly cost, monthly
    // distance, endurance.
    void figures_data() {
        QTest::addColumn<QList<Fill>>("fills");
        QTest::addColumn<FillingMethod>("method");
        QTest::addColumn<QStringList>("expected");
        const auto na = "N/A";
        QTest::newRow("worked example, to empty tank")
            << kExample << FillingMethod::ToEmptyTank
            << texts({"500", "40.00", "1000.00", "31", "8.00", "200.00", "968", "483", "12.50"});
        QTest::newRow("worked example, full tank")
            << kExample << FillingMethod::FullTank
            << texts({"500", "35.00", "900.00", "31", "7.00", "180.00", "871", "483", "14.29"});
        QTest::newRow("an unknown method counts as full tank")
            << kExample << static_cast<FillingMethod>(3)
            << texts({"500", "35.00", "900.00", "31", "7.00", "180.00", "871", "483", "14.29"});

        // Only the fills the distance is driven on count: every one but the last, or but the
        // first.
        const QList<Fill> three = {{"2004-01-01", 1000, 10.0f, 100.0f},
                                   {"2004-01-10", 1100, 20.0f, 200.0f},
                                   {"2004-01-30", 1400, 40.0f, 400.0f}};
        QTest::newRow("three fills, to empty tank")
            << three << FillingMethod::ToEmptyTank
            << texts({"400", "30.00", "300.00", "30", "7.50", "75.00", "300", "400", "13.33"});
        QTest::newRow("three fills, full tank")
            << three << FillingMethod::FullTank
            << texts({"400", "60.00", "600.00", "30", "15.00", "150.00", "600", "400", "6.67"});

        const QStringList allNotAvailable = texts({na, na, na, na, na, na, na, na, na});
        QTest::newRow("no fill") << QList<Fill>() << FillingMethod::ToEmptyTank << allNotAvailable;
        QTest::newRow("one fill") << QList<Fill>{kExample.first()} << FillingMethod::FullTank
                                  << allNotAvailable;

        QTest::newRow("two fills on one day")
            << QList<Fill>{{"2004-05-01", 1000, 40.0f, 1000.0f}, {"2004-05-01", 1010, 1.0f, 30.0f}}
            << FillingMethod::FullTank
            << texts({"10", "1.00", "30.00", "1", "10.00", "300.00", "900", "300", "10.00"});
        // 308 calendar days with 29 February 2004; 307 would give 98 and 300 a month.
        QTest::newRow("from 29 February")
            << QList<Fill>{{"2004-02-29", 1000, 40.0f, 1000.0f}, {"2005-01-01", 4070, 1.0f, 1.0f}}
            << FillingMethod::ToEmptyTank
            << texts({"3070", "40.00", "1000.00", "308", "1.30", "32.57", "97", "299", "76.75"});
        QTest::newRow("zero distance")
            << QList<Fill>{{"2004-01-01", 1000, 40.0f, 1000.0f},
                           {"2004-01-31", 1000, 35.0f, 900.0f}}
            << FillingMethod::FullTank
            << texts({"0", "35.00", "900.00", "31", na, na, "871", "0", "0.00"});
        QTest::newRow("zero fuel")
            << QList<Fill>{{"2004-01-01", 1000, 40.0f, 1000.0f}, {"2004-01-31", 1500, 0.0f, 0.0f}}
            << FillingMethod::FullTank
            << texts({"500", "0.00", "0.00", "31", "0.00", "0.00", "0", "483", na});
        QTest::newRow("zero distance and zero fuel")
            << QList<Fill>{{"2004-01-01", 1000, 40.0f, 1000.0f}, {"2004-01-31", 1000, 0.0f, 0.0f}}
            << FillingMethod::FullTank << texts({"0", "0.00", "0.00", "31", na, na, "0", "0", na});
    }

    void figures() {
        QFETCH(QList<Fill>, fills);
        QFETCH(FillingMethod, method);
        QFETCH(QStringList, expected);
        QCOMPARE(textsOf(totalsOf(fills, method)), expected);
    }

    // The monthly cost adds a half and cuts; the monthly distance only cuts.
    void monthlyFigures_data() {
        QTest::addColumn<qint32>("distance");
        QTest::addColumn<float>("cost");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("monthlyCost");
        QTest::addColumn<QString>("monthlyDistance");
        const auto row = [](const char* name, qint32 distance, float cost, const char* last,
                            const char* monthlyCost, const char* monthlyDistance) {
            QTest::newRow(name) << distance << cost << QString::fromLatin1(last)
                                << QString::fromLatin1(monthlyCost)
                                << QString::fromLatin1(monthlyDistance);
        };
        // 30 000 / 31 = 967.74 and 15 000 / 31 = 483.87
        row("967.74 rounds up, 483.87 is cut", 500, 1000.0f, "2004-01-31", "968", "483");
        // 7 * 30 / 60 = 3.5 exactly
        row("a half goes up", 7, 7.0f, "2004-02-29", "4", "3");
        // 1 * 30 / 61 = 0.49
        row("just below one half", 1, 1.0f, "2004-03-01", "0", "0");
    }

    void monthlyFigures() {
        QFETCH(qint32, distance);
        QFETCH(float, cost);
        QFETCH(QString, last);
        QFETCH(QString, monthlyCost);
        QFETCH(QString, monthlyDistance);
        const QByteArray lastDate = last.toLatin1();
        const FillTotals totals = totalsOf(
            {{"2004-01-01", 1000, 1.0f, 0.0f}, {lastDate.constData(), 1000 + distance, 1.0f, cost}},
            FillingMethod::FullTank);
        QCOMPARE(totalsValueText(totals, TotalsRow::MonthlyCost), monthlyCost);
        QCOMPARE(totalsValueText(totals, TotalsRow::MonthlyDistance), monthlyDistance);
    }

    // Odometers anywhere in the range a file can hold, over one day: 30 times the distance
    // is far beyond 32 bits.
    void largeOdometers_data() {
        QTest::addColumn<qint32>("first");
        QTest::addColumn<qint32>("last");
        QTest::addColumn<qint64>("distance");
        QTest::addColumn<qint64>("monthlyDistance");
        QTest::newRow("up to the largest")
            << 0 << kMaxOdometer << qint64(kMaxOdometer) << qint64(kMaxOdometer) * 30;
        QTest::newRow("whole range")
            << kMinOdometer << kMaxOdometer << qint64(0xffffffffu) << qint64(0xffffffffu) * 30;
        QTest::newRow("whole range backwards")
            << kMaxOdometer << kMinOdometer << -qint64(0xffffffffu) << -qint64(0xffffffffu) * 30;
    }

    void largeOdometers() {
        QFETCH(qint32, first);
        QFETCH(qint32, last);
        QFETCH(qint64, distance);
        QFETCH(qint64, monthlyDistance);
        const FillTotals totals =
            totalsOf({{"2010-07-01", first, 50.0f, 100.0f}, {"2010-07-01", last, 50.0f, 100.0f}},
                     FillingMethod::FullTank);
        QCOMPARE(totals.distance, std::optional<qint64>(distance));
        QCOMPARE(totals.monthlyDistance, std::optional<qint64>(monthlyDistance));
        QCOMPARE(totalsValueText(totals, TotalsRow::MonthlyDistance),
                 QString::number(monthlyDistance));
    }

    // A cost sum no whole number can hold, and fills stored out of time order (a damaged file),
    // give no monthly figure instead of an undefined one.
    void monthlyFiguresThatCannotBeComputed() {
        const FillTotals huge =
            totalsOf({{"2004-01-01", 1000, 1.0f, 0.0f}, {"2004-01-02", 2000, 1.0f, 3.0e38f}},
                     FillingMethod::FullTank);
        QCOMPARE(totalsValueText(huge, TotalsRow::MonthlyCost), QStringLiteral("N/A"));
        QCOMPARE(totalsValueText(huge, TotalsRow::MonthlyDistance), QStringLiteral("15000"));

        CFuelDatabase database;
        FillRecord fill;
        fill.dateTime = dateOf("2004-02-01");
        database.insertFill(fill);
        fill.odometer = 600;
        fill.dateTime = dateOf("2004-01-01");
        database.insertFill(fill);
        QVERIFY(compareFileTime(database.getFill(0)->dateTime, database.getFill(1)->dateTime) < 0);
        std::swap(*database.getFill(0), *database.getFill(1));
        const FillTotals outOfOrder = computeTotals(database, FillingMethod::FullTank);
        QCOMPARE(totalsValueText(outOfOrder, TotalsRow::Distance), QStringLiteral("600"));
        for (const TotalsRow row :
             {TotalsRow::Period, TotalsRow::MonthlyCost, TotalsRow::MonthlyDistance})
            QCOMPARE(totalsValueText(outOfOrder, row), QStringLiteral("N/A"));
    }
};

QTEST_GUILESS_MAIN(TotalsTest)
#include "tst_totals.moc"
