#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/plausibility.h"

#include <QTest>

namespace {

constexpr quint64 kDay = 864000000000ull;
constexpr quint64 kFirstDay = 155000;
// Every history lies before this moment.
const FileTime kNow = FileTime::fromValue((kFirstDay + 100) * kDay);

// A fill in a line: "p1300:15:45" is a partial fill at 1300 km of 15 l for 45 (a price of 2 when
// no cost is given); "m" marks a fill missed before it.
FillRecord parseFill(QString item, FillFlags* flags) {
    for (; item.front().isLetter(); item.remove(0, 1))
        (item.front() == u'p' ? flags->partial : flags->missedBefore) = true;
    const QStringList parts = item.split(u':');
    FillRecord fill;
    fill.odometer = parts.at(0).toInt();
    fill.fuel = parts.at(1).toFloat();
    fill.cost = parts.size() > 2 ? parts.at(2).toFloat() : 2.0f * fill.fuel;
    return fill;
}

// Fills a day apart from kFirstDay on.
CFuelDatabase history(const QString& text) {
    CFuelDatabase database;
    quint64 day = kFirstDay;
    for (const QString& item : text.split(u' ', Qt::SkipEmptyParts)) {
        FillFlags flags;
        FillRecord fill = parseFill(item, &flags);
        fill.dateTime = FileTime::fromValue(day++ * kDay);
        database.insertFill(fill, flags);
    }
    return database;
}

QString describe(const FillDoubt& doubt) {
    static const char* const kNames[] = {"previous",    "next",  "jump",
                                         "consumption", "price", "future"};
    QString text = QString::fromLatin1(kNames[int(doubt.kind)]);
    if (doubt.kind != DoubtKind::FutureDate)
        text += u' ' + QString::number(doubt.value);
    if (doubt.reference != 0.0)
        text += u' ' + QString::number(doubt.reference);
    return text;
}

} // namespace

Q_DECLARE_METATYPE(FillingMethod)
Q_DECLARE_METATYPE(FillDoubt)

class PlausibilityTest : public QObject {
    Q_OBJECT
private slots:
    void init() { language().clear(); }

    // Each rule just inside and just beyond its limit. The candidate is stored on the day given
    // (after the whole history when negative) or replaces the fill at `edited`.
    void doubtsAboutAFill_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<double>("day");
        QTest::addColumn<int>("edited");
        QTest::addColumn<FillingMethod>("method");
        QTest::addColumn<QStringList>("doubts");
        const auto full = FillingMethod::FullTank;
        const auto empty = FillingMethod::ToEmptyTank;
        const QString three = "1000:40 1500:35 1900:30";
        const auto row = [](const char* name) { return &QTest::newRow(name); };
        *row("the first fill") << ""
                               << "5:100:1" << -1.0 << -1 << full << QStringList{};
        *row("a usual fill") << three << "2400:35" << -1.0 << -1 << full << QStringList{};

        *row("odometer equal to the previous")
            << three << "1900:30" << -1.0 << -1 << full << QStringList{"previous 1900 1900"};
        *row("odometer just above the previous")
            << three << "1901:0.1" << -1.0 << -1 << full << QStringList{};
        // The next fill's run is then one kilometre long.
        *row("odometer just below the next")
            << three << "1899:30" << 1.5 << -1 << full << QStringList{"consumption 3000"};
        *row("odometer equal to the next")
            << three << "1900:30" << 1.5 << -1 << full << QStringList{"next 1900 1900"};
        *row("an edit is compared with the others only")
            << three << "1000:40" << 1.0 << 1 << full << QStringList{"previous 1000 1000"};

        // 1 500 km decides over three times the longest distance of 100 km.
        *row("jump of 1 500 km") << "1000:5 1100:5 1200:5"
                                 << "2700:75" << -1.0 << -1 << full << QStringList{};
        *row("jump beyond 1 500 km")
            << "1000:5 1100:5 1200:5"
            << "2701:75" << -1.0 << -1 << full << QStringList{"jump 1501 100"};
        // Three times the longest distance of 1 000 km decides over 1 500 km.
        *row("jump of three times the longest")
            << "1000:70 2000:70"
            << "5000:210" << -1.0 << -1 << full << QStringList{};
        *row("jump beyond three times the longest")
            << "1000:70 2000:70"
            << "5001:210" << -1.0 << -1 << full << QStringList{"jump 3001 1000"};
        *row("the edited fill's own jump does not count")
            << "1000:40 1500:35 3900:60"
            << "3401:60" << 2.0 << 2 << full << QStringList{"jump 1901 500"};
        *row("an edited fill moved to the end") << "1000:40 1500:35 2000:35 4100:70"
                                                << "6000:100" << 10.0 << 1 << full << QStringList{};

        *row("consumption of 2") << three << "2400:10" << -1.0 << -1 << full << QStringList{};
        *row("consumption below 2")
            << three << "2400:9.95" << -1.0 << -1 << full << QStringList{"consumption 1.99"};
        *row("consumption of 30") << three << "2400:150" << -1.0 << -1 << full << QStringList{};
        *row("consumption above 30")
            << three << "2400:150.5" << -1.0 << -1 << full << QStringList{"consumption 30.1"};
        *row("a partial fill has no consumption of its own")
            << three << "p2400:9" << -1.0 << -1 << full << QStringList{};
        *row("nor has a fill after a missed one")
            << three << "m2400:9" << -1.0 << -1 << full << QStringList{};
        *row("a partial fill before counts in the run")
            << "1000:40 1500:35 p1700:5"
            << "2000:5" << -1.0 << -1 << full << QStringList{};
        *row("a partial fill before: beyond")
            << "1000:40 1500:35 p1700:5"
            << "2000:146" << -1.0 << -1 << full << QStringList{"consumption 30.2"};
        *row("driven empty: the next fill's run")
            << three << "1700:100" << 1.5 << -1 << empty << QStringList{"consumption 50"};

        *row("unit price half above the average")
            << three << "2400:35:105" << -1.0 << -1 << full << QStringList{};
        *row("unit price beyond half above")
            << three << "2400:35:105.7" << -1.0 << -1 << full << QStringList{"price 3.02 2"};
        *row("unit price half below the average")
            << three << "2400:35:35" << -1.0 << -1 << full << QStringList{};
        *row("unit price beyond half below")
            << three << "2400:35:34.3" << -1.0 << -1 << full << QStringList{"price 0.98 2"};
        *row("a free fill") << three << "2400:35:0" << -1.0 << -1 << full << QStringList{};
        *row("only the last five fills count")
            << "1000:35:350 1500:35:350 2000:35 2500:35 3000:35 3500:35 4000:35"
            << "4500:35:105.7" << -1.0 << -1 << full << QStringList{"price 3.02 2"};

        *row("a day ahead") << three << "2400:35" << 101.0 << -1 << full << QStringList{};
        *row("more than a day ahead")
            << three << "2400:35" << 101.00001 << -1 << full << QStringList{"future"};
        *row("every doubt at once") << three << "1900:300:6000" << 102.0 << -1 << full
                                    << QStringList{"previous 1900 1900", "price 20 2", "future"};
    }
    void doubtsAboutAFill() {
        QFETCH(QString, history);
        QFETCH(QString, candidate);
        QFETCH(double, day);
        QFETCH(int, edited);
        QFETCH(FillingMethod, method);
        QFETCH(QStringList, doubts);
        const CFuelDatabase database = ::history(history);
        FillCandidate typed;
        typed.fill = parseFill(candidate, &typed.flags);
        typed.editedIndex = edited;
        const double days = day < 0 ? double(database.getFillCount()) : day;
        typed.fill.dateTime = FileTime::fromValue(kFirstDay * kDay + quint64(days * double(kDay)));
        QStringList found;
        for (const FillDoubt& doubt : fillDoubts(database, typed, method, kNow))
            found.append(describe(doubt));
        QCOMPARE(found, doubts);
    }

    // The numbers in the log's units; a consumption range per distance runs from its lower end.
    void doubtTexts_data() {
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("consumption");
        QTest::addColumn<FillDoubt>("doubt");
        QTest::addColumn<QString>("text");
        const int mi = int(DistanceUnit::Miles);
        const int mpg = int(ConsumptionUnit::MpgUs);
        QTest::newRow("readings in miles")
            << mi << mpg << FillDoubt{DoubtKind::OdometerNotAbovePrevious, 16093, 16094}
            << "The odometer 10000 mi is not higher than that of the fill before it (10000 mi).";
        QTest::newRow("jump in miles")
            << mi << mpg << FillDoubt{DoubtKind::DistanceJump, 3219, 805}
            << "The distance of 2000 mi since the fill before is more than three times the "
               "longest distance between two fills so far (500 mi).";
        QTest::newRow("consumption in mpg")
            << mi << mpg << FillDoubt{DoubtKind::Consumption, 1.0}
            << "The consumption of 235.21 mpg (US) lies outside the usual 7.84 to 117.61 mpg "
               "(US).";
        QTest::newRow("unit price per gallon")
            << mi << mpg << FillDoubt{DoubtKind::UnitPrice, 1.0, 0.5}
            << "The unit price 3.785 Kč / gal (US) differs by more than half from the average "
               "of the last five fills (1.893 Kč / gal (US)).";
    }
    void doubtTexts() {
        QFETCH(int, distance);
        QFETCH(int, consumption);
        QFETCH(FillDoubt, doubt);
        QFETCH(QString, text);
        LogUnits units;
        units.distance = DistanceUnit(distance);
        units.consumption = ConsumptionUnit(consumption);
        if (units.distance == DistanceUnit::Miles)
            units.volume = VolumeUnit::UsGallons;
        QCOMPARE(doubtText(doubt, units), text);
    }
};

QTEST_MAIN(PlausibilityTest)
#include "tst_plausibility.moc"
