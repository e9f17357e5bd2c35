#include "csv/vehiclelogs.h"
#include "db/fueldatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

// Two vehicles and a third whose name is not safe as a file name.
const char kThreeVehicles[] =
    "car_name, model, mpg, odometer, miles, gallons, price, city_percentage, fuelup_date, "
    "date_added, tags, notes, missed_fuelup, partial_fuelup, latitude, longitude, brand\n"
    "Wagon,Outback,30.1,21000,301,10,3.459,50,2023-06-20,2023-06-20 10:00:00,,,0,0,,,Shell\n"
    "Roadster,MX-5,35.0,5400,350,10,3.999,0,2023-06-18,2023-06-18 10:00:00,,,0,0,,,BP\n"
    "Wagon,Outback,29.5,20699,295,10,3.299,50,2023-06-10,2023-06-10 10:00:00,,,0,0,,,Costco\n"
    "../a/b: c?,X,0,100,0,10,3.1,0,2023-06-01,2023-06-01 10:00:00,,,0,0,,,Esso\n";

int fillsIn(const QString& path) {
    CFuelDatabase log(path);
    log.setMessageSink([](const QString&) {});
    log.load();
    return log.getFillCount();
}

} // namespace

class VehicleLogsTest : public QObject {
    Q_OBJECT
private slots:
    void fileNamesAreSafe_data() {
        QTest::addColumn<QString>("vehicle");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("plain") << QStringLiteral("Wagon") << QStringLiteral("Wagon.fil");
        QTest::newRow("separators") << QStringLiteral("a/b\\c") << QStringLiteral("a_b_c.fil");
        QTest::newRow("parent folder") << QStringLiteral("../up") << QStringLiteral("_up.fil");
        QTest::newRow("only dots") << QStringLiteral("..") << QStringLiteral("vehicle.fil");
        QTest::newRow("empty") << QString() << QStringLiteral("vehicle.fil");
        QTest::newRow("control and reserved")
            << QStringLiteral("x\ny:*?\"<>|") << QStringLiteral("x_y_______.fil");
        QTest::newRow("accents") << QStringLiteral("Škoda Fabia")
                                 << QStringLiteral("Škoda Fabia.fil");
    }
    void fileNamesAreSafe() {
        QFETCH(QString, vehicle);
        QFETCH(QString, fileName);
        QTemporaryDir folder;
        const QString path = vehicleLogPath(folder.path(), vehicle);
        QCOMPARE(QFileInfo(path).fileName(), fileName);
        QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(folder.path()).absoluteFilePath());
    }

    void oneLogPerVehicleNeverOverwrites() {
        QTemporaryDir folder;
        QFile existing(folder.filePath(QStringLiteral("Wagon.fil")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("keep me");
        existing.close();

        const OtherLogFile file = readOtherLog(QString::fromUtf8(kThreeVehicles));
        const OtherLogSettings settings =
            guessOtherLogSettings(file, file.recognised, DateOrder::DayMonthYear, u'.');
        QStringList messages;
        const QList<VehicleLogImport> imports = importOtherLogPerVehicle(
            file, settings, folder.path(), [&messages](const QString& m) { messages.append(m); });
        QCOMPARE(messages, QStringList());
        QCOMPARE(imports.size(), 3);
        QStringList names;
        for (const VehicleLogImport& import : imports) {
            QVERIFY(import.saved);
            names.append(QFileInfo(import.path).fileName());
        }
        QCOMPARE(names,
                 (QStringList{QStringLiteral("Wagon (2).fil"), QStringLiteral("Roadster.fil"),
                              QStringLiteral("_a_b_ c_.fil")}));
        QCOMPARE(fillsIn(imports.at(0).path), 2);
        QCOMPARE(fillsIn(imports.at(1).path), 1);
        QCOMPARE(fillsIn(imports.at(2).path), 1);
        QCOMPARE(imports.at(0).summary.added, 2);
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("keep me"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 4);
    }

    // The logs hold the user's fills: readable by the user only.
    void logsArePrivate() {
        QTemporaryDir folder;
        const OtherLogFile file = readOtherLog(QString::fromUtf8(kThreeVehicles));
        const OtherLogSettings settings =
            guessOtherLogSettings(file, file.recognised, DateOrder::DayMonthYear, u'.');
        const mode_t savedMask = ::umask(022);
        const QList<VehicleLogImport> imports =
            importOtherLogPerVehicle(file, settings, folder.path(), [](const QString&) {});
        ::umask(savedMask);
        QCOMPARE(imports.size(), 3);
        for (const VehicleLogImport& import : imports) {
            struct stat status {};
            QVERIFY(import.saved &&
                    ::stat(QFile::encodeName(import.path).constData(), &status) == 0);
            QCOMPARE(int(status.st_mode & 07777), 0600);
        }
    }
};

QTEST_MAIN(VehicleLogsTest)
#include "tst_vehiclelogs.moc"
