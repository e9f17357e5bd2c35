#include "csv/historyfit.h"
#include "testtime.h"

#include <QTest>

namespace {

// "2024-03-01 12000" per reading, the time at midnight.
std::vector<OdometerReading> readings(const QStringList& texts) {
    std::vector<OdometerReading> list;
    for (const QString& text : texts) {
        const QStringList parts = text.split(u' ');
        const QStringList date = parts.at(0).split(u'-');
        list.push_back({fileTimeOf(date.at(0).toInt(), date.at(1).toInt(), date.at(2).toInt()),
                        parts.at(1).toInt()});
    }
    return list;
}

} // namespace

class HistoryFitTest : public QObject {
    Q_OBJECT
private slots:
    void continuesTheLog_data();
    void continuesTheLog();
};

void HistoryFitTest::continuesTheLog_data() {
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<bool>("continues");

    // The log (below): 10 000 km on 1 January 2024, 11 000 on 1 February, 12 000 on 1 March.
    QTest::newRow("later fills") << QStringList{"2024-04-01 13000", "2024-05-01 14000"} << true;
    QTest::newRow("earlier fills") << QStringList{"2023-12-01 9000"} << true;
    QTest::newRow("fills between the log's")
        << QStringList{"2024-01-15 10500", "2024-02-01 11000", "2024-02-15 11500"} << true;
    QTest::newRow("the log's own readings") << QStringList{"2024-01-01 10000"} << true;
    QTest::newRow("no readings") << QStringList{} << true;
    QTest::newRow("lower readings after the log")
        << QStringList{"2024-04-01 3000", "2024-05-01 3500"} << false;
    QTest::newRow("higher readings before the log") << QStringList{"2023-12-01 10001"} << false;
    QTest::newRow("other readings over the same dates")
        << QStringList{"2024-01-15 31492", "2024-02-15 32000"} << false;
    // 1 500 km and 300 km a day from the nearest fill of the log.
    QTest::newRow("a day after, just near") << QStringList{"2024-03-02 13800"} << true;
    QTest::newRow("a day after, just far") << QStringList{"2024-03-02 13801"} << false;
    QTest::newRow("a day before, just near") << QStringList{"2023-12-31 8200"} << true;
    QTest::newRow("a day before, just far") << QStringList{"2023-12-31 8199"} << false;
    QTest::newRow("a year later, far") << QStringList{"2025-03-01 212477"} << false;
    // One odd reading (a typing error) does not make another vehicle; most of them do.
    QTest::newRow("one of three apart")
        << QStringList{"2024-04-01 13000", "2024-05-01 14000", "2024-06-01 500"} << true;
    QTest::newRow("two of three apart")
        << QStringList{"2024-04-01 13000", "2024-05-01 400", "2024-06-01 500"} << false;
}

void HistoryFitTest::continuesTheLog() {
    QFETCH(QStringList, file);
    QFETCH(bool, continues);
    const std::vector<OdometerReading> log =
        readings({"2024-02-01 11000", "2024-01-01 10000", "2024-03-01 12000"});
    const HistoryFit fit = checkHistoryFit(log, readings(file), LogUnits{});
    QCOMPARE(fit.continues, continues);
    QVERIFY(checkHistoryFit({}, readings(file), LogUnits{}).continues);
}

QTEST_GUILESS_MAIN(HistoryFitTest)
#include "tst_historyfit.moc"
