#include "db/fueldatabase.h"

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

namespace {

// Fills are told apart by their odometer reading.
FillRecord fillAt(quint64 time, int tag) {
    FillRecord fill;
    fill.odometer = tag;
    fill.dateTime = FileTime::fromValue(time);
    return fill;
}

// Some tags are flagged, so that every move of a fill shows whether its flags moved with it.
FillFlags flagsOf(int tag) {
    return {tag % 3 == 1, tag % 4 == 2};
}

// The tags in table order; in a table with flags, a fill whose flags are not those of its tag
// shows as -1.
QList<int> tagsInOrder(const CFuelDatabase& db) {
    QList<int> tags;
    const bool flagged = db.anyFillFlagged();
    for (int i = 0; i < db.getFillCount(); ++i) {
        const int tag = db.getFill(i)->odometer;
        tags << (!flagged || db.getFillFlags(i) == flagsOf(tag) ? tag : -1);
    }
    return tags;
}

QByteArray fillTable(const CFuelDatabase& db) {
    QByteArray bytes;
    for (int i = 0; i < db.getFillCount(); ++i)
        bytes.append(reinterpret_cast<const char*>(db.getFill(i)), sizeof(FillRecord));
    return bytes;
}

const QString kFortyLetters = QStringLiteral("Tankstelle an der Bundesstrasse Nummer 9");

} // namespace

class FuelDatabaseTest : public QObject {
    Q_OBJECT
private slots:
    void findOrAdd_data();
    void findOrAdd();
    void findOrAddFirstMatchWins();
    void insertFill_data();
    void insertFill();
    void rowForTime_data();
    void rowForTime();
    void removeFill();
    void mergeUndoRedo_data();
    void mergeUndoRedo();
    void removeFillsAtSkips_data();
    void removeFillsAtSkips();
    void moveFillMatchesRemoveAndInsert_data();
    void moveFillMatchesRemoveAndInsert();
    void accessorsOutsideTables();
    void sortFillsUnsigned();
    void sortFillsKeepsEqualTimesInOrder_data();
    void sortFillsKeepsEqualTimesInOrder();
    void manyFillsMatchStableOrder_data();
    void manyFillsMatchStableOrder();
};

void FuelDatabaseTest::findOrAdd_data() {
    QTest::addColumn<bool>("driver");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("expectedId");
    QTest::addColumn<int>("expectedCount");
    QTest::addColumn<QString>("storedName");

    const QStringList none;
    const QStringList two = {QStringLiteral("Shell"), QStringLiteral("Aral")};
    QTest::newRow("first station") << false << none << "Shell" << 0 << 1 << "Shell";
    QTest::newRow("other letter case") << false << two << "sHELL" << 0 << 2 << "Shell";
    QTest::newRow("third name") << false << two << "OMV" << 2 << 3 << "OMV";
    QTest::newRow("no prefix match") << false << two << "Shel" << 2 << 3 << "Shel";
    QTest::newRow("trailing space differs") << false << two << "Aral " << 2 << 3 << "Aral ";
    QTest::newRow("non-ASCII case folding")
        << false << QStringList{QStringLiteral("Čerpací stanice Ústí")}
        << QStringLiteral("čERPACÍ STANICE ÚSTÍ") << 0 << 1
        << QStringLiteral("Čerpací stanice Ústí");
    QTest::newRow("empty name added") << false << two << "" << 2 << 3 << "";
    QTest::newRow("empty name found") << true << QStringList{QString()} << "" << 0 << 1 << "";
    QTest::newRow("40 letters cut to 31")
        << false << none << kFortyLetters << 0 << 1 << kFortyLetters.left(31);
    QTest::newRow("long name found again")
        << false << QStringList{kFortyLetters} << kFortyLetters.toUpper() << 0 << 1
        << kFortyLetters.left(31);
    QTest::newRow("driver cut to 19")
        << true << none << kFortyLetters << 0 << 1 << kFortyLetters.left(19);
    QTest::newRow("driver long name found again")
        << true << QStringList{kFortyLetters} << kFortyLetters << 0 << 1 << kFortyLetters.left(19);
    // U+1F697 is two UTF-16 units; a cut between them drops the first unit too.
    const QString car = QString::fromUtf8("\xF0\x9F\x9A\x97");
    QTest::newRow("no half surrogate at cut")
        << false << none << QString(30, u'a') + car << 0 << 1 << QString(30, u'a');
    QTest::newRow("whole surrogate pair kept")
        << false << none << QString(29, u'a') + car << 0 << 1 << QString(29, u'a') + car;
}

void FuelDatabaseTest::findOrAdd() {
    QFETCH(bool, driver);
    QFETCH(QStringList, existing);
    QFETCH(QString, name);
    QFETCH(int, expectedId);
    QFETCH(int, expectedCount);
    QFETCH(QString, storedName);

    CFuelDatabase db;
    const auto findOrAdd = [&](const QString& n) {
        return driver ? db.findOrAddDriver(n) : db.findOrAddStation(n);
    };
    for (const QString& n : existing)
        findOrAdd(n);
    QCOMPARE(findOrAdd(name), expectedId);
    QCOMPARE(driver ? db.getDriverCount() : db.getStationCount(), expectedCount);
    if (driver) {
        QCOMPARE(db.getDriver(expectedId)->id, expectedId);
        QCOMPARE(fieldText(db.getDriver(expectedId)->name), storedName);
    } else {
        QCOMPARE(db.getStation(expectedId)->id, expectedId);
        QCOMPARE(fieldText(db.getStation(expectedId)->name), storedName);
    }
}

void FuelDatabaseTest::findOrAddFirstMatchWins() {
    CFuelDatabase db;
    db.findOrAddStation(QStringLiteral("Aral"));
    db.findOrAddStation(QStringLiteral("Shell"));
    setFieldText(db.getStation(1)->name, QStringLiteral("ARAL"));
    QCOMPARE(db.findOrAddStation(QStringLiteral("aral")), 0);
    QCOMPARE(db.getStationCount(), 2);
}

void FuelDatabaseTest::insertFill_data() {
    QTest::addColumn<QList<qulonglong>>("times");
    QTest::addColumn<QList<int>>("expectedIndexes");
    QTest::addColumn<QList<int>>("expectedOrder");

    const qulonglong hour = 36000000000ull;
    QTest::newRow("10, 12, 11") << QList<qulonglong>{10 * hour, 12 * hour, 11 * hour}
                                << QList<int>{0, 1, 1} << QList<int>{0, 2, 1};
    QTest::newRow("equal times keep arrival order")
        << QList<qulonglong>{hour, hour, hour} << QList<int>{0, 1, 2} << QList<int>{0, 1, 2};
    QTest::newRow("earlier than all")
        << QList<qulonglong>{2 * hour, hour} << QList<int>{0, 0} << QList<int>{1, 0};
    QTest::newRow("after equal times, before later")
        << QList<qulonglong>{hour, 3 * hour, hour, hour} << QList<int>{0, 1, 1, 2}
        << QList<int>{0, 2, 3, 1};
    QTest::newRow("compared unsigned, high word first")
        << QList<qulonglong>{0x8000000000000000ull, 0xffffffffull, 0x100000000ull}
        << QList<int>{0, 0, 1} << QList<int>{1, 2, 0};
}

void FuelDatabaseTest::insertFill() {
    QFETCH(QList<qulonglong>, times);
    QFETCH(QList<int>, expectedIndexes);
    QFETCH(QList<int>, expectedOrder);

    CFuelDatabase db;
    QList<int> indexes;
    for (int tag = 0; tag < times.size(); ++tag)
        indexes << db.insertFill(fillAt(times.at(tag), tag));
    QCOMPARE(indexes, expectedIndexes);
    QCOMPARE(tagsInOrder(db), expectedOrder);
}

void FuelDatabaseTest::rowForTime_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<qulonglong>("newTime");
    QTest::addColumn<int>("expectedIndex");
    QTest::addColumn<QList<int>>("expectedOrder");

    // Five fills at times 10, 20, 30, 40, 50, tagged 0..4.
    QTest::newRow("first to latest") << 0 << 60ull << 4 << QList<int>{1, 2, 3, 4, 0};
    QTest::newRow("last to earliest") << 4 << 5ull << 0 << QList<int>{4, 0, 1, 2, 3};
    QTest::newRow("unchanged") << 2 << 30ull << 2 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("within neighbours") << 2 << 35ull << 2 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("equal to next stays") << 2 << 40ull << 2 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("forward after equal") << 1 << 40ull << 3 << QList<int>{0, 2, 3, 1, 4};
    QTest::newRow("back after equal") << 3 << 20ull << 2 << QList<int>{0, 1, 3, 2, 4};
    QTest::newRow("back one place") << 2 << 15ull << 1 << QList<int>{0, 2, 1, 3, 4};
    QTest::newRow("index past end") << 5 << 0ull << -1 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("negative index") << -1 << 0ull << -1 << QList<int>{0, 1, 2, 3, 4};
}

// The edited fill is taken out and put in again at its new row: the table stays in time order.
void FuelDatabaseTest::rowForTime() {
    QFETCH(int, index);
    QFETCH(qulonglong, newTime);
    QFETCH(int, expectedIndex);
    QFETCH(QList<int>, expectedOrder);

    CFuelDatabase db;
    for (int tag = 0; tag < 5; ++tag)
        db.insertFill(fillAt(10 * (tag + 1), tag), flagsOf(tag));
    const int row = db.rowForTime(index, FileTime::fromValue(newTime));
    QCOMPARE(row, expectedIndex);
    if (row >= 0) {
        FillRecord fill = *db.getFill(index);
        const FillFlags flags = db.getFillFlags(index);
        fill.dateTime = FileTime::fromValue(newTime);
        db.removeFill(index);
        db.insertFillAt(row, fill, flags);
    }
    QCOMPARE(tagsInOrder(db), expectedOrder);
}

void FuelDatabaseTest::removeFill() {
    CFuelDatabase db;
    db.insertFill(fillAt(1, 0));
    db.removeFill(0);
    QCOMPARE(db.getFillCount(), 0);
    QVERIFY(!db.getFill(0));

    for (int tag = 0; tag < 4; ++tag)
        db.insertFill(fillAt(tag, tag), flagsOf(tag));
    db.removeFill(-1);
    db.removeFill(4);
    QCOMPARE(tagsInOrder(db), (QList<int>{0, 1, 2, 3}));
    db.removeFill(1);
    QCOMPARE(tagsInOrder(db), (QList<int>{0, 2, 3}));
    db.removeFill(2);
    QCOMPARE(tagsInOrder(db), (QList<int>{0, 2}));
}

void FuelDatabaseTest::mergeUndoRedo_data() {
    QTest::addColumn<QList<qulonglong>>("existing"); // tagged 0, 1, ...
    QTest::addColumn<QList<qulonglong>>("added");    // tagged 100, 101, ...
    QTest::addColumn<QList<int>>("expectedPositions");
    QTest::addColumn<QList<int>>("expectedOrder");

    using T = QList<qulonglong>;
    using I = QList<int>;
    QTest::newRow("empty table") << T{} << T{30, 10, 20} << I{0, 1, 2} << I{101, 102, 100};
    QTest::newRow("nothing added") << T{10, 20} << T{} << I{} << I{0, 1};
    QTest::newRow("before, between, after")
        << T{20, 40} << T{50, 10, 30} << I{0, 2, 4} << I{101, 0, 102, 1, 100};
    QTest::newRow("equal times after existing, in given order")
        << T{10, 10, 20} << T{10, 20, 10} << I{2, 3, 5} << I{0, 1, 100, 102, 2, 101};
    QTest::newRow("all before") << T{50, 60} << T{2, 1} << I{0, 1} << I{101, 100, 0, 1};
    QTest::newRow("all equal") << T{5, 5} << T{5, 5} << I{2, 3} << I{0, 1, 100, 101};
}

// What an undo stack does with a merge: remove the added fills, then put them back.
void FuelDatabaseTest::mergeUndoRedo() {
    QFETCH(QList<qulonglong>, existing);
    QFETCH(QList<qulonglong>, added);
    QFETCH(QList<int>, expectedPositions);
    QFETCH(QList<int>, expectedOrder);

    CFuelDatabase db;
    for (int tag = 0; tag < existing.size(); ++tag)
        db.insertFill(fillAt(existing.at(tag), tag), flagsOf(tag));
    std::vector<FillRecord> fills;
    std::vector<FillFlags> flags;
    for (int k = 0; k < added.size(); ++k) {
        fills.push_back(fillAt(added.at(k), 100 + k));
        flags.push_back(flagsOf(100 + k));
    }
    const QByteArray before = fillTable(db);
    const QList<int> tagsBefore = tagsInOrder(db);

    const std::vector<int> positions = db.mergeFills(fills, flags);
    QCOMPARE(QList<int>(positions.begin(), positions.end()), expectedPositions);
    QCOMPARE(tagsInOrder(db), expectedOrder);
    const QByteArray merged = fillTable(db);
    std::vector<FillRecord> placed;
    std::vector<FillFlags> placedFlags;
    for (int position : positions) {
        placed.push_back(*db.getFill(position));
        placedFlags.push_back(db.getFillFlags(position));
    }

    db.removeFillsAt(positions);
    QCOMPARE(fillTable(db), before);
    QCOMPARE(tagsInOrder(db), tagsBefore);
    db.insertFillsAt(positions, placed, placedFlags);
    QCOMPARE(fillTable(db), merged);
    QCOMPARE(tagsInOrder(db), expectedOrder);
    db.removeFillsAt({-1, db.getFillCount()});
    QCOMPARE(fillTable(db), merged);
}

void FuelDatabaseTest::removeFillsAtSkips_data() {
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<QList<int>>("expectedTags");
    QTest::newRow("none") << QList<int>{} << QList<int>{0, 1, 2, 3, 4, 5};
    QTest::newRow("first and last") << QList<int>{0, 5} << QList<int>{1, 2, 3, 4};
    QTest::newRow("a run") << QList<int>{1, 2, 3} << QList<int>{0, 4, 5};
    QTest::newRow("repeated") << QList<int>{2, 2, 4} << QList<int>{0, 1, 3, 5};
    QTest::newRow("out of order") << QList<int>{3, 1, 4} << QList<int>{0, 1, 2, 5};
    QTest::newRow("outside") << QList<int>{-2, 1, 6, 7} << QList<int>{0, 2, 3, 4, 5};
}

void FuelDatabaseTest::removeFillsAtSkips() {
    QFETCH(QList<int>, positions);
    QFETCH(QList<int>, expectedTags);
    CFuelDatabase db;
    for (int tag = 0; tag < 6; ++tag)
        db.insertFill(fillAt(quint64(tag), tag), flagsOf(tag));
    db.removeFillsAt(std::vector<int>(positions.begin(), positions.end()));
    QCOMPARE(tagsInOrder(db), expectedTags);
}

void FuelDatabaseTest::moveFillMatchesRemoveAndInsert_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("flaggedTable");
    QTest::addColumn<bool>("flaggedFill");
    QTest::newRow("later") << 1 << 4 << true << false;
    QTest::newRow("earlier") << 4 << 1 << true << true;
    QTest::newRow("same place") << 2 << 2 << true << true;
    QTest::newRow("first to last") << 0 << 5 << false << false;
    QTest::newRow("last to first") << 5 << 0 << false << false;
    QTest::newRow("beyond the end") << 2 << 9 << true << false;
    QTest::newRow("flags into a table without") << 3 << 1 << false << true;
}

// An edit that changes a fill's time takes it out and puts it back elsewhere.
void FuelDatabaseTest::moveFillMatchesRemoveAndInsert() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, flaggedTable);
    QFETCH(bool, flaggedFill);
    CFuelDatabase moved;
    for (int tag = 0; tag < 6; ++tag)
        moved.insertFill(fillAt(quint64(tag), tag), flaggedTable ? flagsOf(tag) : FillFlags());
    CFuelDatabase expected = moved;
    const FillRecord fill = fillAt(100, 100);
    const FillFlags flags = flaggedFill ? FillFlags{true, true} : FillFlags();

    expected.removeFillsAt({from});
    expected.insertFillsAt({to}, {fill}, {flags});
    moved.moveFill(from, to, fill, flags);
    QCOMPARE(fillTable(moved), fillTable(expected));
    for (int row = 0; row < expected.getFillCount(); ++row)
        QCOMPARE(moved.getFillFlags(row), expected.getFillFlags(row));
    moved.moveFill(-1, 0, fill, flags);
    moved.moveFill(6, 0, fill, flags);
    QCOMPARE(fillTable(moved), fillTable(expected));
}

void FuelDatabaseTest::accessorsOutsideTables() {
    CFuelDatabase db;
    db.findOrAddStation(QStringLiteral("Aral"));
    db.findOrAddDriver(QStringLiteral("Eva"));
    db.insertFill(fillAt(1, 0));
    const CFuelDatabase& constDb = db;
    for (int outside : {-1, 1, 1000}) {
        QVERIFY(!db.getFill(outside) && !constDb.getFill(outside));
        QVERIFY(!db.getStation(outside) && !constDb.getStation(outside));
        QVERIFY(!db.getDriver(outside) && !constDb.getDriver(outside));
    }
    QCOMPARE(db.getFill(0)->driverId, -1);
    QVERIFY(!db.getDriver(db.getFill(0)->driverId));
    QCOMPARE(fieldText(constDb.getDriver(0)->name), QStringLiteral("Eva"));
}

void FuelDatabaseTest::sortFillsUnsigned() {
    CFuelDatabase db;
    db.insertFill(fillAt(0, 0));
    db.insertFill(fillAt(0, 1));
    // Times written in place in reverse, with one past the signed range.
    db.getFill(0)->dateTime = FileTime::fromValue(0x8000000000000000ull);
    db.getFill(1)->dateTime = FileTime::fromValue(0x7fffffffffffffffull);
    db.sortFills();
    QCOMPARE(tagsInOrder(db), (QList<int>{1, 0}));
}

void FuelDatabaseTest::sortFillsKeepsEqualTimesInOrder_data() {
    QTest::addColumn<QList<qulonglong>>("times");
    QTest::addColumn<QList<int>>("expectedOrder");

    QTest::newRow("already in order") << QList<qulonglong>{1, 2, 2, 3} << QList<int>{0, 1, 2, 3};
    QTest::newRow("reversed") << QList<qulonglong>{4, 3, 2, 1} << QList<int>{3, 2, 1, 0};
    QTest::newRow("equal times keep table order")
        << QList<qulonglong>{5, 1, 5, 1, 5} << QList<int>{1, 3, 0, 2, 4};
    QTest::newRow("one long cycle")
        << QList<qulonglong>{2, 3, 4, 5, 1} << QList<int>{4, 0, 1, 2, 3};
    QTest::newRow("two cycles and a fixed point")
        << QList<qulonglong>{2, 1, 3, 5, 4} << QList<int>{1, 0, 2, 4, 3};
    QTest::newRow("all equal") << QList<qulonglong>{7, 7, 7} << QList<int>{0, 1, 2};
}

// The times are written in place, as a load leaves the table before its sort.
void FuelDatabaseTest::sortFillsKeepsEqualTimesInOrder() {
    QFETCH(QList<qulonglong>, times);
    QFETCH(QList<int>, expectedOrder);

    CFuelDatabase db;
    for (int tag = 0; tag < times.size(); ++tag)
        db.insertFill(fillAt(0, tag), flagsOf(tag));
    for (int i = 0; i < times.size(); ++i)
        db.getFill(i)->dateTime = FileTime::fromValue(times.at(i));
    db.sortFills();
    QCOMPARE(tagsInOrder(db), expectedOrder);
}

void FuelDatabaseTest::manyFillsMatchStableOrder_data() {
    QTest::addColumn<quint64>("distinctTimes");
    QTest::newRow("few times, long runs of equal ones") << quint64(7);
    QTest::newRow("many times") << quint64(1000000);
}

// Both the insert of one fill at a time and the sort of a whole table put fills of equal time
// in their order of arrival: the same order as a stable sort of the arrivals.
void FuelDatabaseTest::manyFillsMatchStableOrder() {
    QFETCH(quint64, distinctTimes);
    QRandomGenerator random(2718);
    QList<FillRecord> arrivals;
    for (int tag = 0; tag < 3000; ++tag)
        arrivals << fillAt(random.bounded(distinctTimes), tag);
    QList<FillRecord> reference = arrivals;
    std::stable_sort(reference.begin(), reference.end(),
                     [](const FillRecord& a, const FillRecord& b) {
                         return compareFileTime(a.dateTime, b.dateTime) < 0;
                     });
    QList<int> expected;
    for (const FillRecord& fill : reference)
        expected << fill.odometer;

    CFuelDatabase inserted;
    for (const FillRecord& fill : arrivals)
        inserted.insertFill(fill, flagsOf(fill.odometer));
    QCOMPARE(tagsInOrder(inserted), expected);

    CFuelDatabase sorted;
    for (const FillRecord& fill : arrivals)
        sorted.insertFill(fillAt(0, fill.odometer), flagsOf(fill.odometer));
    for (int i = 0; i < arrivals.size(); ++i)
        sorted.getFill(i)->dateTime = arrivals.at(i).dateTime;
    sorted.sortFills();
    QCOMPARE(tagsInOrder(sorted), expected);
}

QTEST_GUILESS_MAIN(FuelDatabaseTest)
#include "tst_fueldatabase.moc"
