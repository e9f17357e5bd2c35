#include "db/logmerge.h"

#include <QTest>

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
    DatabaseTables tables{
        namedRecords<StationRecord>(log.at(0)), namedRecords<DriverRecord>(log.at(1)), {}, {}, {}};
    for (const QString& fill : log.mid(2))
        tables.fills.push_back(parseFill(fill));
    return tables;
}

} // namespace

class LogMergeTest : public QObject {
    Q_OBJECT
private slots:
    void mergeOtherCopy_data();
    void mergeOtherCopy();
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

QTEST_GUILESS_MAIN(LogMergeTest)
#include "tst_logmerge.moc"
