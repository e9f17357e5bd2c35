#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/averageconsumption.h"
#include "stats/graphseries.h"
#include "stats/totals.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>
#include <cstring>

namespace {

// A history in a line: "1000:40 p1300:15 pm1700:20" is a fill at 1000 km of 40 l, a partial
// one at 1300 km, and one at 1700 km that is partial and follows a missed fill; "c" marks a
// charge of electricity (the log is then a plug-in hybrid's). Every fill costs twice its
// litres; fills are a day apart.
FillRecord fillOf(QString item, int day, FillFlags* flags) {
    *flags = {};
    for (; item.front().isLetter(); item.remove(0, 1)) {
        const QChar letter = item.front();
        (letter == u'p'   ? flags->partial
         : letter == u'c' ? flags->charge
                          : flags->missedBefore) = true;
    }
    const QStringList parts = item.split(u':');
    FillRecord fill;
    fill.odometer = parts.at(0).toInt();
    fill.fuel = parts.at(1).toFloat();
    fill.cost = 2.0f * fill.fuel;
    fill.dateTime = FileTime::fromValue(quint64(155000 + day) * 864000000000ull);
    return fill;
}

CFuelDatabase history(const QString& text) {
    CFuelDatabase database;
    if (text.contains(u'c')) {
        LogUnits units;
        units.energy = VehicleEnergy::PlugInHybrid;
        database.setUnits(units);
    }
    int day = 0;
    for (const QString& item : text.split(u' ', Qt::SkipEmptyParts)) {
        FillFlags flags;
        const FillRecord fill = fillOf(item, day++, &flags);
        database.insertFill(fill, flags);
    }
    return database;
}

// One change of a history, as the open log makes it: "+2:p1250:7" inserts that fill at row 2,
// "=2:1250:7" puts it in place of row 2, "-2" removes row 2 and "-2-4" rows 2 to 4.
void change(CFuelDatabase& database, CAverageConsumption& average, const QString& step) {
    const QString rest = step.mid(1);
    const int row = rest.section(u':', 0, 0).section(u'-', 0, 0).toInt();
    if (step.front() == u'-') {
        const int last = rest.contains(u'-') ? rest.section(u'-', 1).toInt() : row;
        for (int i = last; i >= row; --i)
            database.removeFill(i);
        average.fillsRemoved(row, last);
        return;
    }
    FillFlags flags;
    const FillRecord fill = fillOf(rest.section(u':', 1), row, &flags);
    if (step.front() == u'+') {
        database.insertFillAt(row, fill, flags);
        average.fillsInserted(row, row);
    } else {
        *database.getFill(row) = fill;
        database.setFillFlags(row, flags);
        average.fillsChanged(row, row);
    }
}

// A history of the given length and changes of it at random places, in the forms above.
std::pair<QString, QString> randomChanges(int fills, int steps, bool charges = false) {
    QRandomGenerator random(34);
    const auto item = [&random, charges] {
        const char* const flags[] = {"", "", "", "p", "p", "m", "pm"};
        const bool charge = charges && random.bounded(2) == 1;
        return QStringLiteral("%1%2%3:%4")
            .arg(QLatin1String(charge ? "c" : ""))
            .arg(QLatin1String(flags[random.bounded(7)]))
            .arg(1000 + random.bounded(100000))
            .arg(random.bounded(1, 8000) / 100.0);
    };
    QStringList history;
    for (int i = 0; i < fills; ++i)
        history << item();
    QStringList changes;
    for (int i = 0; i < steps; ++i) {
        const int row = random.bounded(fills);
        switch (fills < 3 ? 0 : random.bounded(3)) {
        case 0:
            changes << QStringLiteral("+%1:").arg(random.bounded(fills + 1)) + item();
            ++fills;
            break;
        case 1:
            changes << QStringLiteral("=%1:").arg(row) + item();
            break;
        default:
            changes << QStringLiteral("-%1").arg(row);
            --fills;
        }
    }
    return {history.join(u' '), changes.join(u' ')};
}

QString texts(const CFuelDatabase& database, FillingMethod method,
              float (*figure)(const CFuelDatabase&, int, FillingMethod)) {
    QStringList values;
    for (int i = 0; i < database.getFillCount(); ++i)
        values.append(dialogValueText(figure(database, i, method)));
    return values.join(u' ');
}

// The partial run of one, two and three fills, a missed fill inside a partial run, a first fill
// that is partial, equal odometers, a missed fill before a full one.
const char* const kLengthOne = "1000:40 p1300:15 1600:21";
const char* const kLengthTwo = "1000:40 p1200:10 p1500:12 1800:26";
const char* const kLengthThree = "1000:40 p1100:5 p1300:10 p1500:8 2000:32";
const char* const kMissedInRun = "1000:40 p1300:15 pm1700:20 2000:18 2400:30";
const char* const kFirstPartial = "p1000:20 1400:28 1800:30";
const char* const kEqualOdometers = "1000:40 1000:5 p1000:6 1500:30";
const char* const kMissedFull = "1000:40 m1500:30 1900:28";

} // namespace

Q_DECLARE_METATYPE(FillingMethod)

class FillRunsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { language().clear(); }

    // Each fill's consumption and endurance; the cost per distance is twice the consumption
    // wherever there is one, and the chart has a point exactly where there is a figure.
    void figuresOfEveryFill_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<FillingMethod>("method");
        QTest::addColumn<QString>("consumption");
        QTest::addColumn<QString>("endurance");
        const auto full = FillingMethod::FullTank;
        const auto empty = FillingMethod::ToEmptyTank;
        QTest::newRow("full: run of one") << kLengthOne << full << "N/A N/A 6.00"
                                          << "N/A N/A 16.67";
        QTest::newRow("full: run of two") << kLengthTwo << full << "N/A N/A N/A 6.00"
                                          << "N/A N/A N/A 16.67";
        QTest::newRow("full: run of three") << kLengthThree << full << "N/A N/A N/A N/A 5.50"
                                            << "N/A N/A N/A N/A 18.18";
        QTest::newRow("full: missed inside the run")
            << kMissedInRun << full << "N/A N/A N/A N/A 7.50"
            << "N/A N/A N/A N/A 13.33";
        QTest::newRow("full: first fill partial") << kFirstPartial << full << "N/A N/A 7.50"
                                                  << "N/A N/A 13.33";
        QTest::newRow("full: equal odometers") << kEqualOdometers << full << "N/A N/A N/A 7.20"
                                               << "N/A 0.00 N/A 13.89";
        QTest::newRow("full: missed before a full fill") << kMissedFull << full << "N/A N/A 7.00"
                                                         << "N/A N/A 14.29";
        QTest::newRow("empty: run of one") << kLengthOne << empty << "N/A N/A 9.17"
                                           << "N/A N/A 10.91";
        QTest::newRow("empty: run of two") << kLengthTwo << empty << "N/A N/A N/A 7.75"
                                           << "N/A N/A N/A 12.90";
        QTest::newRow("empty: run of three") << kLengthThree << empty << "N/A N/A N/A N/A 6.30"
                                             << "N/A N/A N/A N/A 15.87";
        QTest::newRow("empty: missed inside the run")
            << kMissedInRun << empty << "N/A N/A N/A N/A 4.50"
            << "N/A N/A N/A N/A 22.22";
        QTest::newRow("empty: first fill partial") << kFirstPartial << empty << "N/A N/A 7.00"
                                                   << "N/A N/A 14.29";
        QTest::newRow("empty: equal odometers") << kEqualOdometers << empty << "N/A N/A N/A 2.20"
                                                << "N/A 0.00 N/A 45.45";
        QTest::newRow("empty: missed before a full fill") << kMissedFull << empty << "N/A N/A 7.50"
                                                          << "N/A N/A 13.33";
    }
    void figuresOfEveryFill() {
        QFETCH(QString, history);
        QFETCH(FillingMethod, method);
        QFETCH(QString, consumption);
        QFETCH(QString, endurance);
        const CFuelDatabase database = ::history(history);
        QCOMPARE(texts(database, method, fillConsumption), consumption);
        QCOMPARE(texts(database, method, fillEndurance), endurance);

        const QList<float> chart = buildSeries(database, GraphKind::Consumption, 0, method);
        QCOMPARE(chart.size(), database.getFillCount() - 1);
        for (int i = 0; i < database.getFillCount(); ++i) {
            const float value = fillConsumption(database, i, method);
            const float cost = fillCostOfDist(database, i, method);
            QCOMPARE(std::isnan(cost), std::isnan(value));
            if (!std::isnan(value))
                QCOMPARE(cost, 2.0f * value);
            if (i > 0)
                QCOMPARE(std::isfinite(chart.at(i - 1)), std::isfinite(value));
        }
    }

    // The averages are over the closed runs only, the sums are those of every fill; the fills
    // the averages leave out are counted by reason. The last rows take part of a log.
    void totals_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<FillingMethod>("method");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("figures"); // distance fuel consumption endurance
        QTest::addColumn<int>("leftOutMissed");
        QTest::addColumn<int>("leftOutPartial");
        const auto full = FillingMethod::FullTank;
        const auto empty = FillingMethod::ToEmptyTank;
        const int all = std::numeric_limits<int>::max();
        QTest::newRow("full: missed inside a run")
            << kMissedInRun << full << 0 << all << "1400 83.00 7.50 13.33" << 3 << 0;
        QTest::newRow("empty: missed inside a run")
            << kMissedInRun << empty << 0 << all << "1400 93.00 4.50 22.22" << 3 << 0;
        QTest::newRow("full: a run still open")
            << "1000:40 1500:35 p1700:10" << full << 0 << all << "700 45.00 7.00 14.29" << 0 << 1;
        QTest::newRow("empty: a run still open")
            << "1000:40 1500:35 p1700:10" << empty << 0 << all << "700 75.00 8.00 12.50" << 0 << 1;
        QTest::newRow("full: first fill partial")
            << kFirstPartial << full << 0 << all << "800 58.00 7.50 13.33" << 0 << 1;
        QTest::newRow("full: both reasons")
            << "1000:40 p1200:10 1500:20 m1900:30 2300:28 p2400:5" << full << 0 << all
            << "1400 93.00 6.44 15.52" << 1 << 1;
        QTest::newRow("full: no closed run")
            << "1000:40 p1500:30" << full << 0 << all << "500 30.00 N/A N/A" << 0 << 1;
        QTest::newRow("full: a period that cuts a run")
            << "1000:40 p1200:10 p1500:12 1800:26 2300:30" << full << 2 << 4
            << "800 56.00 6.00 16.67" << 0 << 1;
        QTest::newRow("empty: a period that cuts a run")
            << "1000:40 p1200:10 p1500:12 1800:26 2300:30" << empty << 2 << 4
            << "800 38.00 5.20 19.23" << 0 << 1;
    }
    void totals() {
        QFETCH(QString, history);
        QFETCH(FillingMethod, method);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, figures);
        QFETCH(int, leftOutMissed);
        QFETCH(int, leftOutPartial);
        const FillTotals totals = computeTotals(::history(history), method, first, last);
        const QStringList shown = {totalsValueText(totals, TotalsRow::Distance),
                                   totalsValueText(totals, TotalsRow::Fuel),
                                   totalsValueText(totals, TotalsRow::Consumption),
                                   totalsValueText(totals, TotalsRow::Endurance)};
        QCOMPARE(shown.join(u' '), figures);
        QCOMPARE(totals.leftOutMissed, leftOutMissed);
        QCOMPARE(totals.leftOutPartial, leftOutPartial);
        QCOMPARE(totalsLeftOutText(totals).isEmpty(), leftOutMissed + leftOutPartial == 0);
    }

    // The average followed through each change is the totals' own, bit for bit, under both
    // methods: the runs around the change begin, end, open and close as they should.
    void averageFollowsChanges_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("steps");
        QTest::newRow("partial run grows, shrinks, loses its missed fill")
            << "1000:40.1 p1100:5.3 p1300:10.7 p1500:8.9 2000:32.3 2500:41.7"
            << "+2:p1200:3.3 =3:1350:7.7 =2:pm1300:4.4 -1 -1-2 +1:1400:12.6";
        QTest::newRow("a missed fill inside the run")
            << "1000:40.1 p1300:15.3 pm1700:20.7 2000:18.1 2400:30.3"
            << "=2:p1700:20.7 =2:pm1700:20.7 =3:m2000:18.1 -2 =0:p1000:40.1";
        QTest::newRow("the last run still open")
            << "1000:40.1 1500:35.3 p1700:10.7"
            << "-2 +2:1800:20.2 =2:p1800:20.2 +3:p1900:5.5 =3:1900:5.5 -3 -2";
        QTest::newRow("down to no fill and back")
            << "p1000:20.5 1400:28.1 1800:30.3"
            << "=0:1000:20.5 -0 -0-1 +0:1000:40.1 +1:1300:22.2 +0:p900:3.1";
        const auto [history, steps] = randomChanges(60, 150);
        QTest::newRow("random") << history << steps;
        // The fuel's runs step over the charges between its fills.
        const auto [hybrid, hybridSteps] = randomChanges(60, 150, true);
        QTest::newRow("random, fuel and charges") << hybrid << hybridSteps;
    }
    void averageFollowsChanges() {
        QFETCH(QString, history);
        QFETCH(QString, steps);
        for (const FillingMethod method : {FillingMethod::FullTank, FillingMethod::ToEmptyTank}) {
            CFuelDatabase database = ::history(history);
            CAverageConsumption average(database);
            average.reset(method);
            for (const QString& step : steps.split(u' ')) {
                change(database, average, step);
                const float expected = computeTotals(database, method).consumption;
                const float followed = average.consumption();
                if (std::memcmp(&expected, &followed, sizeof(float)) != 0)
                    QFAIL(qPrintable(QStringLiteral("%1 after %2: %3, the totals %4")
                                         .arg(int(method))
                                         .arg(step)
                                         .arg(followed, 0, 'g', 9)
                                         .arg(expected, 0, 'g', 9)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(FillRunsTest)
#include "tst_fillruns.moc"
