#include "db/crc32.h"
#include "db/databasefile.h"
#include "db/fueldatabase.h"
#include "filebytes.h"

#include <QDir>
#include <QTest>
#include <cstring>
#include <limits>

namespace {

QString logPath() {
    return QDir::home().filePath(QStringLiteral("costs.fil"));
}

constexpr qsizetype kFillTableEnd = 296 + 3 * 128;

// Three fills, the second one partial when flagged.
DatabaseTables threeFills(bool flagged) {
    DatabaseTables tables;
    const qint32 odometers[] = {1000, 1500, 1900};
    for (int i = 0; i < 3; ++i) {
        FillRecord fill;
        fill.odometer = odometers[i];
        fill.dateTime = FileTime::fromValue(quint64(10 + i));
        tables.fills.push_back(fill);
    }
    if (flagged)
        tables.fillFlags = {{}, {true, false}, {}};
    return tables;
}

// Every kind of record with every field set, a text beyond Latin-1 among them.
VehicleCosts someCosts() {
    VehicleCosts costs;
    costs.categories = {
        {0, {}}, {4, QStringLiteral("Dálniční známka")}, {9, QStringLiteral("Loan")}};
    costs.costs = {{QDate(2024, 1, 31), kNoReading, 9, 199.5, QStringLiteral("monthly"), 1,
                    QDate(2024, 12, 31)},
                   {QDate(2024, 3, 2), 15300, 0, 3120.25, QStringLiteral("Ölwechsel"), 0, {}}};
    costs.reminders = {{0xDEADBEEF, QStringLiteral("Service"), QDate(2025, 3, 1), 30000, 12, 15000,
                        QDate(2024, 3, 2), 15300},
                       {7, QStringLiteral("Tyres"), {}, kNoReading, 0, 0, {}, kNoReading}};
    return costs;
}

// A section with its checksum made right again after a change.
QByteArray resealed(QByteArray section) {
    const quint32 crc = crc32(QByteArrayView(section).chopped(4));
    std::memcpy(section.data() + section.size() - 4, &crc, sizeof crc);
    return section;
}

template <typename T> QByteArray changedAt(QByteArray section, qsizetype offset, T value) {
    std::memcpy(section.data() + offset, &value, sizeof value);
    return resealed(section);
}

struct Read {
    DatabaseTables tables;
    DatabaseReadStatus status;
    FillExtrasStatus extras;
    CostSectionStatus costs;
};

Read readBytes(const QByteArray& bytes) {
    writeAll(logPath(), bytes);
    Read read;
    read.status = readDatabaseFile(logPath(), &read.tables, &read.extras, &read.costs);
    return read;
}

} // namespace

Q_DECLARE_METATYPE(CostSectionStatus)
Q_DECLARE_METATYPE(VehicleCosts)

class CostSectionTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void logWithoutCostsEndsWithItsTables_data();
    void logWithoutCostsEndsWithItsTables();
    void cutAtEveryOffsetKeepsTheFills();
    void mismatchIsIgnoredAlone_data();
    void mismatchIsIgnoredAlone();
};

void CostSectionTest::roundTrip_data() {
    QTest::addColumn<bool>("flagged");
    QTest::addColumn<VehicleCosts>("costs");
    VehicleCosts oneCost;
    oneCost.costs = {{QDate(2024, 1, 10), 15300, 0, 120.5, {}, 0, {}}};
    QTest::newRow("after the fill table") << false << someCosts();
    QTest::newRow("after the per-fill section") << true << someCosts();
    QTest::newRow("the smallest records") << true << oneCost;
}

// Written and read back, the costs are what they were and the fills and flags keep theirs.
void CostSectionTest::roundTrip() {
    QFETCH(bool, flagged);
    QFETCH(VehicleCosts, costs);
    DatabaseTables tables = threeFills(flagged);
    tables.costs = costs;
    const Read read = readBytes(databaseFileBytes({}, tables));
    QCOMPARE(read.status, DatabaseReadStatus::Complete);
    QCOMPARE(read.costs, CostSectionStatus::Read);
    QCOMPARE(read.extras, flagged ? FillExtrasStatus::Read : FillExtrasStatus::Absent);
    QVERIFY(read.tables.costs == tables.costs);
    QCOMPARE(read.tables.fills.size(), std::size_t(3));
    QCOMPARE(flagsAt(read.tables.fillFlags, 1).partial, flagged);
}

void CostSectionTest::logWithoutCostsEndsWithItsTables_data() {
    QTest::addColumn<bool>("flagged");
    QTest::addColumn<qsizetype>("size");
    QTest::newRow("no flags") << false << kFillTableEnd;
    QTest::newRow("flags") << true << kFillTableEnd + 16 + 3 + 4;
}

// A log without costs is the file earlier versions wrote, byte for byte.
void CostSectionTest::logWithoutCostsEndsWithItsTables() {
    QFETCH(bool, flagged);
    QFETCH(qsizetype, size);
    const DatabaseTables tables = threeFills(flagged);
    const QByteArray bytes = databaseFileBytes({}, tables);
    QCOMPARE(bytes.size(), size);
    QVERIFY(!bytes.contains("TKCO"));
}

// However short the file, the fills come whole; the costs come only with the whole section, and
// the flags whenever their own section is whole.
void CostSectionTest::cutAtEveryOffsetKeepsTheFills() {
    DatabaseTables tables = threeFills(true);
    tables.costs = someCosts();
    const QByteArray bytes = databaseFileBytes({}, tables);
    const qsizetype flagsEnd = kFillTableEnd + 16 + 3 + 4;
    for (qsizetype size = kFillTableEnd; size <= bytes.size(); ++size) {
        const Read read = readBytes(bytes.first(size));
        QCOMPARE(read.status, DatabaseReadStatus::Complete);
        QCOMPARE(read.tables.fills.size(), std::size_t(3));
        QCOMPARE(read.extras == FillExtrasStatus::Read, size >= flagsEnd);
        QCOMPARE(flagsAt(read.tables.fillFlags, 1).partial, size >= flagsEnd);
        const bool whole = size == bytes.size();
        QCOMPARE(read.costs, whole             ? CostSectionStatus::Read
                             : size > flagsEnd ? CostSectionStatus::Cut
                                               : CostSectionStatus::Absent);
        QCOMPARE(read.tables.costs.empty(), !whole);
    }
}

void CostSectionTest::mismatchIsIgnoredAlone_data() {
    QTest::addColumn<QByteArray>("flags");
    QTest::addColumn<QByteArray>("costs");
    QTest::addColumn<FillExtrasStatus>("extrasStatus");
    QTest::addColumn<CostSectionStatus>("costsStatus");

    DatabaseTables tables = threeFills(true);
    const QByteArray flags = fillExtrasSection(tables.fillFlags, 3);
    const QByteArray costs = costSection(someCosts());
    QByteArray badFlags = flags;
    badFlags[16] = 'x';
    QByteArray badCosts = costs;
    badCosts[30] = char(badCosts[30] ^ 1);
    // The first category's id, its name (empty), the second category's id, its name's length;
    // after that name the third category, then the first cost.
    const qsizetype secondName = 24 + 4 + 4 + 4;
    const qsizetype firstCost = secondName + 4 + 2 * 15 + 4 + 4 + 2 * 4;
    const qint32 tooFar = qint32(QDate(10000, 1, 1).toJulianDay());

    QTest::newRow("costs only") << QByteArray() << costs << FillExtrasStatus::Absent
                                << CostSectionStatus::Read;
    QTest::newRow("flags damaged")
        << badFlags << costs << FillExtrasStatus::BadChecksum << CostSectionStatus::Read;
    QTest::newRow("costs damaged")
        << flags << badCosts << FillExtrasStatus::Read << CostSectionStatus::BadChecksum;
    QTest::newRow("foreign tag") << flags << QByteArray("XXXX").append(costs.sliced(4))
                                 << FillExtrasStatus::Read << CostSectionStatus::UnknownTag;
    QTest::newRow("later version") << flags << changedAt(costs, 4, quint32(2))
                                   << FillExtrasStatus::Read << CostSectionStatus::UnknownVersion;
    QTest::newRow("more records than fit")
        << flags << changedAt(costs, 16, quint32(1000)) << FillExtrasStatus::Read
        << CostSectionStatus::BadLength;
    QTest::newRow("more bytes than records")
        << flags << changedAt(costs, 20, quint32(1)) << FillExtrasStatus::Read
        << CostSectionStatus::BadLength;
    QTest::newRow("text beyond the section")
        << flags << changedAt(costs, secondName, quint32(0x7FFFFFFF)) << FillExtrasStatus::Read
        << CostSectionStatus::BadRecord;
    QTest::newRow("date beyond the calendar")
        << flags << changedAt(costs, firstCost, tooFar) << FillExtrasStatus::Read
        << CostSectionStatus::BadRecord;
    QTest::newRow("amount not a number")
        << flags << changedAt(costs, firstCost + 12, std::numeric_limits<double>::quiet_NaN())
        << FillExtrasStatus::Read << CostSectionStatus::BadRecord;
}

// A section that does not match is ignored without taking the other one, or a fill, with it.
void CostSectionTest::mismatchIsIgnoredAlone() {
    QFETCH(QByteArray, flags);
    QFETCH(QByteArray, costs);
    QFETCH(FillExtrasStatus, extrasStatus);
    QFETCH(CostSectionStatus, costsStatus);
    const QByteArray bytes = databaseFileBytes({}, threeFills(false)) + flags + costs;
    const Read read = readBytes(bytes);
    QCOMPARE(read.status, DatabaseReadStatus::Complete);
    QCOMPARE(read.tables.fills.size(), std::size_t(3));
    QCOMPARE(read.extras, extrasStatus);
    QCOMPARE(read.costs, costsStatus);
    QCOMPARE(read.tables.costs.empty(), costsStatus != CostSectionStatus::Read);
    if (costsStatus == CostSectionStatus::Read)
        QVERIFY(read.tables.costs == someCosts());
    QVERIFY(!costSectionStatusText(costsStatus).isEmpty() ||
            costsStatus == CostSectionStatus::Read);

    // The next save would drop what was not read: the file as it was is kept beside it first.
    CFuelDatabase database(logPath());
    database.load();
    QVERIFY(database.save());
    const QString backup = logPath() + QStringLiteral(".bak");
    const bool ignored =
        costsStatus != CostSectionStatus::Read ||
        (extrasStatus != FillExtrasStatus::Read && extrasStatus != FillExtrasStatus::Absent);
    QCOMPARE(QFile::exists(backup), ignored);
    if (ignored)
        QCOMPARE(readAll(backup), bytes);
    QFile::remove(backup);
}

QTEST_GUILESS_MAIN(CostSectionTest)
#include "tst_costsection.moc"
