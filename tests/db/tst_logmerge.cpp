#include "../../fuzz/mergeproperty.h"
#include "db/logmerge.h"

#include <QRandomGenerator>
#include <QTest>
#include <cstring>
#include <functional>

namespace {

// A log as "station,station|driver,driver|fill|fill..." ("-" for an empty name), each fill as
// "time odometer fuel station driver [notes]". The cost follows from the odometer, so that an
// added fill that lost its cost shows.
FillRecord parseFill(const QString& text) {
    const QStringList parts = text.split(u' ');
    FillRecord fill;
    fill.dateTime = FileTime::fromValue(parts.at(0).toULongLong());
    fill.odometer = parts.at(1).toInt();
    fill.fuel = parts.at(2).toFloat();
    fill.cost = float(fill.odometer) / 8;
    fill.stationId = parts.at(3).toInt();
    fill.driverId = parts.at(4).toInt();
    setFieldText(fill.notes, parts.mid(5).join(u' '));
    return fill;
}

template <typename Record> std::vector<Record> namedRecords(const QString& names) {
    std::vector<Record> records;
    for (const QString& name : names.split(u',', Qt::SkipEmptyParts)) {
        Record& record = records.emplace_back();
        record.id = qint32(records.size() - 1);
        setFieldText(record.name, name == u"-" ? QString() : name);
    }
    return records;
}

DatabaseTables parseLog(const QString& text) {
    const QStringList log = text.split(u'|');
    DatabaseTables tables;
    tables.stations = namedRecords<StationRecord>(log.at(0));
    tables.drivers = namedRecords<DriverRecord>(log.at(1));
    for (const QString& fill : log.mid(2))
        tables.fills.push_back(parseFill(fill));
    return tables;
}

// A log for the three-way merge as fills "time odometer amount key=value...", joined by '|'.
// Keys: c (cost, 1.5 times the amount when left out), s (station, "Aral" when left out), d
// (driver, none when left out), f (flags: p partial, m missed before, c charge, h at home), l
// (states of charge before and after a charge, "20/80") and n (the notes, the rest
// of the fill; '~' stores a zero and what follows it after the notes' end). A first part
// "@Shell,Aral" makes those the first stations, so that ids differ between copies.
CFuelDatabase parseMergeLog(const QString& text) {
    CFuelDatabase db;
    for (QString fill : text.split(u'|', Qt::SkipEmptyParts)) {
        fill = fill.trimmed();
        if (fill.startsWith(u'@')) {
            for (const QString& name : fill.mid(1).split(u','))
                db.findOrAddStation(name);
            continue;
        }
        const qsizetype notesAt = fill.indexOf(QStringLiteral("n="));
        const QStringList parts = fill.left(notesAt).split(u' ', Qt::SkipEmptyParts);
        FillRecord record;
        record.dateTime = FileTime::fromValue(parts.at(0).toULongLong());
        record.odometer = parts.at(1).toInt();
        record.fuel = parts.at(2).toFloat();
        record.cost = record.fuel * 1.5f;
        record.stationId = db.findOrAddStation(QStringLiteral("Aral"));
        FillFlags flags;
        for (const QString& part : parts.mid(3)) {
            const QString value = part.mid(2);
            if (part.startsWith(u"c="))
                record.cost = value.toFloat();
            else if (part.startsWith(u"s="))
                record.stationId = db.findOrAddStation(value);
            else if (part.startsWith(u"d="))
                record.driverId = db.findOrAddDriver(value);
            else if (part.startsWith(u"f="))
                flags = {value.contains(u'p'), value.contains(u'm'), value.contains(u'c'),
                         value.contains(u'h')};
            else if (part.startsWith(u"l=")) {
                flags.chargeBefore = qint8(value.section(u'/', 0, 0).toInt());
                flags.chargeAfter = qint8(value.section(u'/', 1, 1).toInt());
            }
        }
        if (notesAt >= 0) {
            const QString notes = fill.mid(notesAt + 2);
            for (qsizetype i = 0; i < notes.size() && i < kNotesUnits; ++i)
                record.notes[i] = notes.at(i) == u'~' ? u'\0' : char16_t(notes.at(i).unicode());
        }
        db.insertFill(record, flags);
    }
    return db;
}

// The fills of a log in that form, with names for ids (notes up to their end).
QString mergeLogText(const CFuelDatabase& db) {
    QStringList fills;
    for (int i = 0; i < db.getFillCount(); ++i) {
        const FillRecord& fill = *db.getFill(i);
        const DriverRecord* driver = db.getDriver(fill.driverId);
        const FillFlags flags = db.getFillFlags(i);
        QString text = QStringLiteral("%1 %2 %3 c=%4 s=%5")
                           .arg(fill.dateTime.value())
                           .arg(fill.odometer)
                           .arg(double(fill.fuel))
                           .arg(double(fill.cost))
                           .arg(fieldText(db.getStation(fill.stationId)->name));
        if (driver)
            text += QStringLiteral(" d=") + fieldText(driver->name);
        if (flags.partial || flags.missedBefore || flags.charge || flags.atHome)
            text += QStringLiteral(" f=") + (flags.partial ? QStringLiteral("p") : QString()) +
                    (flags.missedBefore ? QStringLiteral("m") : QString()) +
                    (flags.charge ? QStringLiteral("c") : QString()) +
                    (flags.atHome ? QStringLiteral("h") : QString());
        if (flags.chargeBefore != kNoChargeLevel || flags.chargeAfter != kNoChargeLevel)
            text += QStringLiteral(" l=%1/%2").arg(flags.chargeBefore).arg(flags.chargeAfter);
        if (!fieldView(fill.notes).isEmpty())
            text += QStringLiteral(" n=") + fieldText(fill.notes);
        fills << text;
    }
    return fills.join(u" | ");
}

} // namespace

class LogMergeTest : public QObject {
    Q_OBJECT
private slots:
    void mergeOtherCopy_data();
    void mergeOtherCopy();
    void mergeThreeWay_data();
    void mergeThreeWay();
    void mergeThreeWaySettings_data();
    void mergeThreeWaySettings();
    void mergeThreeWayKeepsEveryChange();
};

void LogMergeTest::mergeOtherCopy_data() {
    QTest::addColumn<QString>("ours");
    QTest::addColumn<QString>("theirs");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<int>>("expectedPositions");

    using I = QList<int>;
    QTest::newRow("nothing new") << "Aral|Eva|10 100 40 0 0 a|20 200 41 0 -1"
                                 << "Aral|Eva|20 200 41 0 -1|10 100 40 0 0 a"
                                 << "Aral|Eva|10 100 40 0 0 a|20 200 41 0 -1" << I{};
    QTest::newRow("before, between, after; a station only theirs has, one unused")
        << "Aral||20 200 40 0 -1|40 400 40 0 -1"
        << "OMV,aral,Shell||50 500 40 2 -1 late|10 100 40 1 -1|30 300 40 2 -1|40 400 40 1 -1|"
           "20 200 40 1 -1"
        << "Aral,Shell||10 100 40 0 -1|20 200 40 0 -1|30 300 40 1 -1|40 400 40 0 -1|"
           "50 500 40 1 -1 late"
        << I{0, 2, 4};
    QTest::newRow("drivers by name, with other ids")
        << "Aral|Eva,Max"
        << "Aral|Max,Eva|10 100 40 0 0|20 200 40 0 1"
        << "Aral|Eva,Max|10 100 40 0 1|20 200 40 0 0" << I{0, 1};
    QTest::newRow("ids outside their tables")
        << "Aral|Eva"
        << "Aral|Eva|10 100 40 5 3|20 200 40 -2 -7"
        << "Aral,-|Eva|10 100 40 1 -1|20 200 40 1 -1" << I{0, 1};
    QTest::newRow("multiplicities counted")
        << "Aral||10 100 40 0 -1 a|10 100 40 0 -1 b|20 200 40 0 -1"
        << "Aral||10 100 40 0 -1|10 100 40 0 -1|10 100 40 0 -1 c|30 300 40 0 -1"
        << "Aral||10 100 40 0 -1 a|10 100 40 0 -1 b|10 100 40 0 -1 c|20 200 40 0 -1|"
           "30 300 40 0 -1"
        << I{2, 4};
    QTest::newRow("edited fills are there twice; fuel compared by its bits")
        << "Aral||10 100 40 0 -1|20 200 0 0 -1"
        << "Aral||10 100 41.5 0 -1|20 201 0 0 -1|20 200 -0 0 -1"
        << "Aral||10 100 40 0 -1|10 100 41.5 0 -1|20 200 0 0 -1|20 201 0 0 -1|20 200 -0 0 -1"
        << I{1, 3, 4};
}

void LogMergeTest::mergeOtherCopy() {
    QFETCH(QString, ours);
    QFETCH(QString, theirs);
    QFETCH(QString, expected);
    QFETCH(QList<int>, expectedPositions);

    const DatabaseTables start = parseLog(ours);
    CFuelDatabase db;
    for (const StationRecord& station : start.stations)
        db.findOrAddStation(fieldText(station.name));
    for (const DriverRecord& driver : start.drivers)
        db.findOrAddDriver(fieldText(driver.name));
    db.mergeFills(start.fills);
    const std::vector<int> positions = ::mergeOtherCopy(db, parseLog(theirs));
    QCOMPARE(QList<int>(positions.begin(), positions.end()), expectedPositions);
    QCOMPARE(databaseFileBytes({}, db.tables()), databaseFileBytes({}, parseLog(expected)));
}

void LogMergeTest::mergeThreeWay_data() {
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("ours");
    QTest::addColumn<QString>("theirs");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<int>>("counts"); // added, removed, changed, conflicts

    using I = QList<int>;
    QTest::newRow("nothing changed, theirs in another order")
        << "10 1 40 | 20 2 40"
        << "10 1 40 | 20 2 40"
        << "20 2 40 | 10 1 40"
        << "10 1 40 | 20 2 40" << I{0, 0, 0, 0};
    QTest::newRow("added and removed on theirs only")
        << "10 1 40 | 20 2 40 | 30 3 40"
        << "10 1 40 | 20 2 40 | 30 3 40"
        << "5 0 40 | 10 1 40 | 30 3 40 | 30 4 40 | 40 4 40"
        << "5 0 40 | 10 1 40 | 30 3 40 | 30 4 40 | 40 4 40" << I{3, 1, 0, 0};
    QTest::newRow("each field edited on theirs only")
        << "10 1 40 | 20 2 40 | 30 3 40 | 40 4 40 d=Eva | 50 5 40 | 60 6 40 n=old | 70 7 40 f=p | "
           "80 8 40 f=p | 90 9 40 f=c | 95 9 40 f=c l=20/80 | 99 9 40 f=c l=20/80"
        << "10 1 40 | 20 2 40 | 30 3 40 | 40 4 40 d=Eva | 50 5 40 | 60 6 40 n=old | 70 7 40 f=p | "
           "80 8 40 f=p | 90 9 40 f=c | 95 9 40 f=c l=20/80 | 99 9 40 f=c l=20/80"
        << "10 9 40 | 20 2 41 | 30 3 40 c=99.5 | 40 4 40 d=Max | 50 5 40 s=OMV | "
           "60 6 40 n=new | 70 7 40 | 80 8 40 f=pm | 90 9 40 f=ch | 95 9 40 f=c l=30/80 | "
           "99 9 40 f=c l=20/90"
        << "10 9 40 | 20 2 41 | 30 3 40 c=99.5 | 40 4 40 d=Max | 50 5 40 s=OMV | "
           "60 6 40 n=new | 70 7 40 | 80 8 40 f=pm | 90 9 40 f=ch | 95 9 40 f=c l=30/80 | "
           "99 9 40 f=c l=20/90"
        << I{0, 0, 11, 0};
    QTest::newRow("changes in ours only stay")
        << "10 1 40 | 20 2 40 | 30 3 40"
        << "10 1 40 c=5 | 30 3 40 | 40 4 40"
        << "10 1 40 | 20 2 40 | 30 3 40"
        << "10 1 40 c=5 | 30 3 40 | 40 4 40" << I{0, 0, 0, 0};
    QTest::newRow("the same changes on both sides")
        << "10 1 40 | 20 2 40 | 30 3 40"
        << "10 1 40 f=m | 30 3 40 | 40 4 40"
        << "10 1 40 f=m | 30 3 40 | 40 4 40"
        << "10 1 40 f=m | 30 3 40 | 40 4 40" << I{0, 0, 0, 0};
    QTest::newRow("edited differently on both sides: both kept")
        << "10 1 40 | 20 2 40"
        << "10 1 40 c=1 | 20 2 40"
        << "10 1 40 c=2 | 20 2 40"
        << "10 1 40 c=1 | 10 1 40 c=2 | 20 2 40" << I{1, 0, 0, 1};
    QTest::newRow("removed here, edited there: the edit kept")
        << "10 1 40 | 20 2 40"
        << "20 2 40"
        << "10 1 40 n=edited | 20 2 40"
        << "10 1 40 n=edited | 20 2 40" << I{1, 0, 0, 1};
    QTest::newRow("edited here, removed there: the edit kept")
        << "10 1 40 | 20 2 40"
        << "10 1 40 n=edited | 20 2 40"
        << "20 2 40"
        << "10 1 40 n=edited | 20 2 40" << I{0, 0, 0, 1};
    QTest::newRow("a new time is a removal and an addition")
        << "10 1 40 | 20 2 40"
        << "10 1 40 | 20 2 40"
        << "15 1 40 | 20 2 40"
        << "15 1 40 | 20 2 40" << I{1, 1, 0, 0};
    QTest::newRow("duplicates count")
        << "10 1 40 | 10 1 40 | 20 2 40"
        << "10 1 40 | 10 1 40 | 10 1 40 | 20 2 40 | 30 3 40"
        << "10 1 40 | 20 2 40 | 20 2 40 | 30 3 40"
        << "10 1 40 | 10 1 40 | 20 2 40 | 20 2 40 | 30 3 40" << I{1, 1, 0, 0};
    QTest::newRow("names, not ids, ignoring case; notes up to their end")
        << "@Aral,Shell | 10 1 40 s=Shell d=Eva n=a~b"
        << "10 1 40 s=Shell d=Eva n=a"
        << "@shell,Aral | 10 1 40 s=shell d=EVA n=a~c"
        << "10 1 40 s=Shell d=Eva n=a" << I{0, 0, 0, 0};
    QTest::newRow("several edits of one time paired in table order")
        << "10 1 40 | 10 2 40"
        << "10 1 40 | 10 2 40 n=ours"
        << "10 1 40 c=2 | 10 2 40 c=2"
        << "10 1 40 c=2 | 10 2 40 n=ours | 10 2 40 c=2" << I{1, 0, 1, 1};
}

void LogMergeTest::mergeThreeWay() {
    QFETCH(QString, base);
    QFETCH(QString, ours);
    QFETCH(QString, theirs);
    QFETCH(QString, expected);
    QFETCH(QList<int>, counts);

    DatabaseTables theirTables = parseMergeLog(theirs).tables();
    std::reverse(theirTables.fills.begin(), theirTables.fills.end());
    std::reverse(theirTables.fillFlags.begin(), theirTables.fillFlags.end());
    CFuelDatabase db = parseMergeLog(ours);
    const LogMerge merge = ::mergeThreeWay(parseMergeLog(base).tables(), db.tables(), theirTables);
    QCOMPARE((QList<int>{merge.added, merge.removed, merge.changed, merge.conflicts}), counts);
    applyLogMerge(db, merge);
    QCOMPARE(mergeLogText(db), mergeLogText(parseMergeLog(expected)));

    // The rows are where the fills end up; edits alone leave every fill in its row.
    QVERIFY(std::adjacent_find(merge.removedRows.begin(), merge.removedRows.end(),
                               std::greater_equal<>()) == merge.removedRows.end());
    for (std::size_t k = 0; k < merge.insertedRows.size(); ++k) {
        QVERIFY(k == 0 || merge.insertedRows[k - 1] < merge.insertedRows[k]);
        QCOMPARE(std::memcmp(db.getFill(merge.insertedRows[k])->notes,
                             merge.insertedFills[k].fill.notes, sizeof(FillRecord::notes)),
                 0);
        QCOMPARE(db.getFill(merge.insertedRows[k])->cost, merge.insertedFills[k].fill.cost);
    }
    if (merge.added == 0 && merge.removed == 0)
        QCOMPARE(merge.insertedRows, merge.removedRows);
}

void LogMergeTest::mergeThreeWaySettings_data() {
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("ours");
    QTest::addColumn<QString>("theirs");
    QTest::addColumn<QString>("taken"); // the currency of the block taken, empty for none

    QTest::newRow("none changed") << "EUR"
                                  << "EUR"
                                  << "EUR"
                                  << "";
    QTest::newRow("theirs only") << "EUR"
                                 << "EUR"
                                 << "USD"
                                 << "USD";
    QTest::newRow("theirs only, from no settings") << ""
                                                   << ""
                                                   << "CZK"
                                                   << "CZK";
    QTest::newRow("ours only") << "EUR"
                               << "USD"
                               << "EUR"
                               << "";
    QTest::newRow("both, differently") << "EUR"
                                       << "USD"
                                       << "CZK"
                                       << "";
}

void LogMergeTest::mergeThreeWaySettings() {
    QFETCH(QString, base);
    QFETCH(QString, ours);
    QFETCH(QString, theirs);
    QFETCH(QString, taken);

    const auto tables = [](const QString& currency) {
        DatabaseTables tables;
        if (!currency.isEmpty())
            tables.settings = writeLogSettings({}, LogUnits{.currency = currency});
        return tables;
    };
    const LogMerge merge = ::mergeThreeWay(tables(base), tables(ours), tables(theirs));
    QCOMPARE(merge.settings.has_value(), !taken.isEmpty());
    if (merge.settings)
        QCOMPARE(readLogSettings(*merge.settings)->currency, taken);
}

// Random logs from a few fills that differ in one field each, so that equal fills, fills of one
// time and changes on both sides are common; the rules are checked on the tables themselves.
void LogMergeTest::mergeThreeWayKeepsEveryChange() {
    QRandomGenerator random(20261209);
    const auto someFill = [&random] {
        return QStringLiteral("%1 %2 40 c=%3 s=%4 f=%5 n=%6")
            .arg(random.bounded(3))
            .arg(random.bounded(2))
            .arg(random.bounded(2))
            .arg(random.bounded(2) ? QStringLiteral("Aral") : QStringLiteral("aral"))
            .arg(random.bounded(2) ? QStringLiteral("p") : QStringLiteral("-"))
            .arg(random.bounded(2) ? QStringLiteral("x") : QString());
    };
    const auto changed = [&random, &someFill](QStringList fills) {
        for (int change = random.bounded(4); change > 0; --change) {
            const int at = fills.isEmpty() ? 0 : random.bounded(int(fills.size()));
            switch (random.bounded(3)) {
            case 0:
                fills.insert(at, someFill());
                break;
            case 1:
                if (!fills.isEmpty())
                    fills.removeAt(at);
                break;
            default:
                // Another fill of the same time.
                if (!fills.isEmpty())
                    fills[at] = fills[at].section(u' ', 0, 0) + u' ' + someFill().section(u' ', 1);
            }
        }
        return fills.join(u'|');
    };
    for (int run = 0; run < 3000; ++run) {
        QStringList fills;
        for (int count = random.bounded(6); count > 0; --count)
            fills << someFill();
        const DatabaseTables base = parseMergeLog(fills.join(u'|')).tables();
        CFuelDatabase db = parseMergeLog(changed(fills));
        const DatabaseTables ours = db.tables();
        const DatabaseTables theirs = parseMergeLog(changed(fills)).tables();
        const LogMerge merge = ::mergeThreeWay(base, ours, theirs);
        applyLogMerge(db, merge);
        const char* violation =
            mergeproperty::mergeViolation(base, ours, theirs, merge, db.tables());
        QVERIFY2(!violation, violation);
    }
}

QTEST_GUILESS_MAIN(LogMergeTest)
#include "tst_logmerge.moc"
