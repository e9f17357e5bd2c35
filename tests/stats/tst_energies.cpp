#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/graphseries.h"
#include "stats/periodstats.h"
#include "stats/plausibility.h"
#include "stats/totals.h"

#include <QTest>
#include <cmath>

namespace {

constexpr quint64 kDay = 864000000000ull;

// A history in a line: "1000:40" is fuel (40 l at 1000 km, costing 2 a litre), "c1200:30" a
// charge (30 kWh, costing 0.5 a kWh); "p" marks a partial fill, "m" one after a missed fill;
// "/20-80" gives a charge's states of charge before and after. Fills are a day apart.
CFuelDatabase history(const QString& text, VehicleEnergy energy) {
    CFuelDatabase database;
    LogUnits units;
    units.energy = energy;
    database.setUnits(units);
    int day = 0;
    for (QString item : text.split(u' ', Qt::SkipEmptyParts)) {
        FillFlags flags;
        for (; item.front().isLetter(); item.remove(0, 1)) {
            const QChar letter = item.front();
            (letter == u'p'   ? flags.partial
             : letter == u'm' ? flags.missedBefore
                              : flags.charge) = true;
        }
        const QStringList levels = item.section(u'/', 1).split(u'-');
        if (levels.size() == 2) {
            flags.chargeBefore = qint8(levels.at(0).toInt());
            flags.chargeAfter = qint8(levels.at(1).toInt());
        }
        const QStringList parts = item.section(u'/', 0, 0).split(u':');
        FillRecord fill;
        fill.odometer = parts.at(0).toInt();
        fill.fuel = parts.at(1).toFloat();
        fill.cost = (flags.charge ? 0.5f : 2.0f) * fill.fuel;
        fill.dateTime = FileTime::fromValue(quint64(155000 + day++) * kDay);
        database.insertFill(fill, flags);
    }
    return database;
}

QString text(float value) {
    return dialogValueText(value);
}

} // namespace

Q_DECLARE_METATYPE(FillingMethod)
Q_DECLARE_METATYPE(VehicleEnergy)

class EnergiesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { language().clear(); }

    // Each energy's runs from its own full fills, over all the distance driven between them:
    //
    // Electric, full tank: the charge at 1200 covers 200 km with 36 kWh (18.00); the partial one
    // at 1300 waits; the one at 1500 covers 1200..1500 with 10 + 40 kWh (16.67). The totals:
    // 86 kWh over 500 km (17.20), costing 43 (8.60 per 100 km).
    //
    // Plug-in hybrid, full tank: the charge at 1300 covers 1100..1300 with 12 kWh (6.00); the
    // fuel at 1600 covers 1000..1600 with 24 l (4.00), the charges between not counted; the
    // charge at 1900 covers 1300..1900 with 5 + 15 kWh (3.33); the fuel at 2000 1600..2000 with
    // 20 l (5.00). The totals: fuel 44 l over 1000 km (4.40 l, 8.80 per 100 km), electricity
    // 32 kWh over 800 km (4.00 kWh, 2.00 per 100 km), together 10.80 per 100 km; all the cost
    // charged 88 + 16 = 104. To empty: each run takes its own energy's fills from its start:
    // 11 kWh over 200 km (5.50), 40 l over 600 km (6.67), 12 + 5 kWh over 600 km (2.83), 24 l
    // over 400 km (6.00); totals 64 l over 1000 km (12.80 per 100 km), 28 kWh over 800 km
    // (3.50 kWh, 1.75 per 100 km), together 14.55; the cost 128 + 14 = 142.
    void eachEnergyOverAllDistance_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<VehicleEnergy>("energy");
        QTest::addColumn<FillingMethod>("method");
        QTest::addColumn<QString>("consumptions");
        // amount, consumption, cost per distance of fuel | of electricity | combined, cost
        QTest::addColumn<QString>("totals");
        const auto full = FillingMethod::FullTank;
        const auto empty = FillingMethod::ToEmptyTank;
        const char* const electric = "c1000:40 c1200:36 pc1300:10 c1500:40";
        const char* const hybrid = "1000:40 c1100:11 c1300:12 1600:24 pc1700:5 c1900:15 2000:20";
        QTest::newRow("electric, full")
            << electric << VehicleEnergy::Electric << full << "N/A 18.00 N/A 16.67"
            << "N/A N/A N/A | 86.00 17.20 8.60 | 8.60 43.00";
        QTest::newRow("hybrid, full")
            << hybrid << VehicleEnergy::PlugInHybrid << full << "N/A N/A 6.00 4.00 N/A 3.33 5.00"
            << "44.00 4.40 8.80 | 32.00 4.00 2.00 | 10.80 104.00";
        QTest::newRow("hybrid, to empty")
            << hybrid << VehicleEnergy::PlugInHybrid << empty << "N/A N/A 5.50 6.67 N/A 2.83 6.00"
            << "64.00 6.40 12.80 | 28.00 3.50 1.75 | 14.55 142.00";
    }
    void eachEnergyOverAllDistance() {
        QFETCH(QString, history);
        QFETCH(VehicleEnergy, energy);
        QFETCH(FillingMethod, method);
        QFETCH(QString, consumptions);
        QFETCH(QString, totals);
        const CFuelDatabase database = ::history(history, energy);
        QStringList values;
        for (int i = 0; i < database.getFillCount(); ++i)
            values.append(text(fillConsumption(database, i, method)));
        QCOMPARE(values.join(u' '), consumptions);
        // The graph has each energy's points in its own series.
        const QList<float> fuel = buildSeries(database, GraphKind::Consumption, 0, method);
        const QList<float> charges =
            buildSeries(database, GraphKind::ElectricConsumption, 0, method);
        for (int i = 1; i < database.getFillCount(); ++i) {
            const bool charge = database.getFillFlags(i).charge;
            const bool figure = !std::isnan(fillConsumption(database, i, method));
            QCOMPARE(!std::isnan(fuel.at(i - 1)), figure && !charge);
            QCOMPARE(!std::isnan(charges.at(i - 1)), figure && charge);
        }

        const FillTotals figures = computeTotals(database, method);
        const auto part = [](const EnergyTotals& energy) {
            return QStringList{text(energy.amount), text(energy.consumption),
                               text(energy.costOfDist)}
                .join(u' ');
        };
        QCOMPARE(QStringList({part(figures.fuelPart()), part(figures.chargePart()),
                              text(figures.costOfDist) + u' ' + text(figures.cost)})
                     .join(QStringLiteral(" | ")),
                 totals);
        QCOMPARE(figures.consumption, figures.energies[figures.charges ? 1 : 0].consumption);
        // Every run is closed: the first fill of each energy begins one and is not left out.
        QCOMPARE(figures.leftOutMissed + figures.leftOutPartial, 0);

        // The statistics of the whole period add up the same runs.
        const BucketSums sums =
            sumsOfDays(database, method, periodDays({}, database, QDate::currentDate()));
        QCOMPARE(text(bucketConsumption(sums)), text(figures.fuelPart().consumption));
        QCOMPARE(text(bucketElectricConsumption(sums)), text(figures.chargePart().consumption));
        QCOMPARE(text(bucketCostOfDist(sums)), text(figures.costOfDist));
    }

    // kWh over the percent gained: 27 kWh for 60 %, 20 for 40 %, 10 for 20 % give 45, 50 and
    // 50 kWh each, and 57 kWh for 120 % together (47.50, not the mean of 48.33). A charge without
    // both states, or without a gain, and fuel give none.
    void capacityEstimate_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("each");
        QTest::addColumn<QString>("capacity");
        QTest::addColumn<int>("charges");
        QTest::newRow("three charges") << "c1000:27/20-80 c1200:20/50-90 c1300:10/60-80"
                                       << "45.00 50.00 50.00"
                                       << "47.50" << 3;
        QTest::newRow("two charges and others without")
            << "c1000:27/20-80 c1200:20/50-90 c1300:10 c1400:10/80-80 1500:30/10-50"
            << "45.00 50.00 N/A N/A N/A"
            << "N/A" << 2;
    }
    void capacityEstimate() {
        QFETCH(QString, history);
        QFETCH(QString, each);
        QFETCH(QString, capacity);
        QFETCH(int, charges);
        const CFuelDatabase database = ::history(history, VehicleEnergy::PlugInHybrid);
        QStringList values;
        for (int i = 0; i < database.getFillCount(); ++i)
            values.append(text(chargeCapacity(*database.getFill(i), database.getFillFlags(i))));
        QCOMPARE(values.join(u' '), each);
        const FillTotals totals = computeTotals(database, FillingMethod::FullTank);
        QCOMPARE(text(totals.capacity), capacity);
        QCOMPARE(totals.capacityCharges, charges);
    }

    // Between charges with states of charge: 1000..1020 ended with 60 % left, so all 20 km were
    // electric, using 30 % (90 - 60) of the 11.5 kWh estimated (17.25 kWh / 100 km); 1020..1120
    // ended empty after 90 %, which at that rate lasts 60 km: (20 + 60) / 120 km on electricity.
    // Fuel in between changes nothing. The same charges over ten times the distance would mean
    // 1.7 kWh / 100 km: the engine must have helped, and nothing can be split.
    void electricShare_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("share");
        QTest::newRow("charge left, then empty")
            << "c1000:8/10-90 1010:30 c1020:6/60-90 c1120:9/0-90"
            << "0.67";
        QTest::newRow("too far per kWh") << "c1000:8/10-90 1100:30 c1200:6/60-90 c2200:9/0-90"
                                         << "N/A";
        QTest::newRow("charge left only") << "c1000:8/10-90 c1200:6/60-90"
                                          << "1.00";
        QTest::newRow("empty only: no rate") << "c1000:8/10-90 c2200:9/0-90"
                                             << "N/A";
        QTest::newRow("a state missing") << "c1000:8/10-90 c1200:6 c1400:6/60-90"
                                         << "N/A";
        QTest::newRow("a charge missed before") << "c1000:8/10-90 mc1200:6/60-90"
                                                << "N/A";
    }
    void electricShare() {
        QFETCH(QString, history);
        QFETCH(QString, share);
        const CFuelDatabase database = ::history(history, VehicleEnergy::PlugInHybrid);
        QCOMPARE(text(computeTotals(database, FillingMethod::FullTank).electricShare), share);
    }

    // The candidate (added at the end of a hybrid log of fuel at 5 l / 100 km and 2 a litre,
    // charges at 20 kWh / 100 km and 0.5 a kWh) is doubted by its own energy's limits and prices.
    void plausibilityPerEnergy_data() {
        QTest::addColumn<bool>("charge");
        QTest::addColumn<float>("amount");
        QTest::addColumn<float>("cost");
        QTest::addColumn<QString>("doubts");
        QTest::newRow("charge within 8-40 kWh") << true << 52.5f << 26.25f << "";
        QTest::newRow("charge below 8 kWh") << true << 10.0f << 5.0f << "consumption";
        QTest::newRow("charge above 40 kWh") << true << 70.0f << 35.0f << "consumption";
        QTest::newRow("fuel above 30 l") << false << 70.0f << 140.0f << "consumption";
        QTest::newRow("charge price against charges") << true << 30.0f << 30.0f << "price";
        QTest::newRow("fuel price against fuel") << false << 10.0f << 20.0f << "";
    }
    void plausibilityPerEnergy() {
        QFETCH(bool, charge);
        QFETCH(float, amount);
        QFETCH(float, cost);
        QFETCH(QString, doubts);
        const CFuelDatabase database =
            ::history("1000:40 c1050:20 c1150:20 1200:10 c1250:20", VehicleEnergy::PlugInHybrid);
        FillCandidate candidate;
        candidate.fill.odometer = 1400;
        candidate.fill.fuel = amount;
        candidate.fill.cost = cost;
        candidate.fill.dateTime = FileTime::fromValue(quint64(155100) * kDay);
        candidate.flags.charge = charge;
        QStringList kinds;
        for (const FillDoubt& doubt :
             fillDoubts(database, candidate, FillingMethod::FullTank, candidate.fill.dateTime)) {
            kinds.append(doubt.kind == DoubtKind::Consumption ? QStringLiteral("consumption")
                                                              : QStringLiteral("price"));
            QCOMPARE(doubt.charge, charge);
        }
        QCOMPARE(kinds.join(u' '), doubts);
    }
};

QTEST_GUILESS_MAIN(EnergiesTest)
#include "tst_energies.moc"
