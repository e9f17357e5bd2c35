// Writes the seed corpora: small valid inputs for every fuzz target, one folder per target
// under the folder given as the argument. Database files are written by the database itself
// where it can (format 1.0); format 0.1, which it only reads, is laid out here byte by byte.

#include "db/fueldatabase.h"
#include "fuzzinput.h"
#include "localisation/textfile.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cstdio>

namespace {

QString g_root;

void writeSeed(const QString& target, const QString& name, const QByteArray& bytes) {
    const QString folder = g_root + u'/' + target;
    fuzzCheck(QDir().mkpath(folder), "cannot create a seed folder");
    writeFuzzFile(folder + u'/' + name, reinterpret_cast<const uint8_t*>(bytes.constData()),
                  std::size_t(bytes.size()));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    fuzzCheck(file.open(QIODevice::ReadOnly), "cannot read a seed back");
    return file.readAll();
}

FillRecord fill(int station, int driver, qint32 odometer, float fuel, quint64 time,
                const QString& notes) {
    FillRecord record;
    record.stationId = station;
    record.driverId = driver;
    record.odometer = odometer;
    record.fuel = fuel;
    record.cost = fuel * 1.5f;
    record.dateTime = FileTime::fromValue(time);
    setFieldText(record.notes, notes);
    return record;
}

void databaseSeeds() {
    constexpr quint64 kDay = 864000000000ull;
    constexpr quint64 k2004 = 127173888000000000ull;
    const QString path = fuzzFilePath(QStringLiteral("seed.fil"));

    CFuelDatabase empty(path);
    fuzzCheck(empty.save(), "cannot write a seed database");
    writeSeed(QStringLiteral("database"), QStringLiteral("empty.fil"), readFile(path));

    CFuelDatabase db(path);
    const int aral = db.findOrAddStation(QStringLiteral("Aral"));
    const int omv = db.findOrAddStation(QStringLiteral("OMV"));
    const int eva = db.findOrAddDriver(QStringLiteral("Eva"));
    db.insertFill(fill(aral, eva, 1000, 40.5f, k2004, QStringLiteral("first")));
    db.insertFill(fill(omv, -1, 1600, 38.0f, k2004 + 9 * kDay, QString()));
    db.insertFill(fill(aral, eva, 2150, 41.2f, k2004 + 9 * kDay, QStringLiteral("same time")));
    fuzzCheck(db.save(), "cannot write a seed database");
    const QByteArray three = readFile(path);
    writeSeed(QStringLiteral("database"), QStringLiteral("three.fil"), three);
    // The same fills stored out of time order: the load sorts them.
    QByteArray shuffled = three;
    const qsizetype fills = shuffled.size() - 3 * 128;
    const QByteArray first = shuffled.mid(fills, 128);
    shuffled.replace(fills, 128, shuffled.mid(fills + 256, 128));
    shuffled.replace(fills + 256, 128, first);
    writeSeed(QStringLiteral("database"), QStringLiteral("shuffled.fil"), shuffled);
    // Units chosen: a settings block of this version, and one of a later version whose own
    // part holds bytes this version keeps.
    LogUnits units;
    units.distance = DistanceUnit::Miles;
    units.volume = VolumeUnit::UsGallons;
    units.consumption = ConsumptionUnit::MpgUs;
    units.currency = QStringLiteral("US$");
    db.setUnits(units);
    fuzzCheck(db.save(), "cannot write a seed database");
    QByteArray withUnits = readFile(path);
    writeSeed(QStringLiteral("database"), QStringLiteral("units.fil"), withUnits);
    withUnits[28 + 4] = 3;
    withUnits[28 + 100] = 'x';
    writeSeed(QStringLiteral("database"), QStringLiteral("laterunits.fil"), withUnits);
    // A log created in miles: whole miles in the odometer field, and the block says so.
    CFuelDatabase miles(path);
    miles.setNewLogUnits(units);
    miles.insertFill(fill(miles.findOrAddStation(QStringLiteral("Shell")), -1, 300, 37.854118f,
                          k2004, QString()));
    fuzzCheck(miles.save(), "cannot write a seed database");
    writeSeed(QStringLiteral("database"), QStringLiteral("milesunits.fil"), readFile(path));
    writeSeed(QStringLiteral("database"), QStringLiteral("short.fil"),
              three.left(three.size() - 60));
    // With partial and missed flags in the section after the fills, whole and cut short.
    db.setFillFlags(1, {true, false});
    db.setFillFlags(2, {true, true});
    fuzzCheck(db.save(), "cannot write a seed database");
    const QByteArray flagged = readFile(path);
    writeSeed(QStringLiteral("database"), QStringLiteral("flagged.fil"), flagged);
    writeSeed(QStringLiteral("database"), QStringLiteral("flagged-cut.fil"),
              flagged.left(flagged.size() - 5));
    // A plug-in hybrid: its energy, electricity unit and home price in the block, charges with
    // states of charge in the section (its version 2), whole and cut short.
    LogUnits hybrid = units;
    hybrid.energy = VehicleEnergy::PlugInHybrid;
    hybrid.electricConsumption = ElectricConsumptionUnit::MiPerKwh;
    hybrid.homePricePerKwh = 0.3f;
    db.setUnits(hybrid);
    db.setFillFlags(1, {false, false, true, true, 20, 80});
    db.setFillFlags(2, {true, true, true, false, kNoChargeLevel, 100});
    fuzzCheck(db.save(), "cannot write a seed database");
    const QByteArray charged = readFile(path);
    writeSeed(QStringLiteral("database"), QStringLiteral("hybrid.fil"), charged);
    writeSeed(QStringLiteral("database"), QStringLiteral("hybrid-cut.fil"),
              charged.left(charged.size() - 9));
    // Costs, a category of the user's and a reminder: after the per-fill section, and alone.
    VehicleCosts costs;
    costs.categories = {{0, QString()}, {9, QStringLiteral("Loan")}};
    costs.costs = {
        {QDate(2004, 1, 31), 1000, 9, 199.5, QStringLiteral("monthly"), 1, QDate(2004, 12, 31)},
        {QDate(2004, 2, 3), kNoReading, 0, 80, QString(), 0, QDate()}};
    costs.reminders = {{7, QStringLiteral("Service"), QDate(2005, 1, 1), 20000, 12, 15000,
                        QDate(2004, 1, 1), 1000}};
    db.setCosts(costs);
    fuzzCheck(db.save(), "cannot write a seed database");
    const QByteArray withCosts = readFile(path);
    writeSeed(QStringLiteral("database"), QStringLiteral("costs.fil"), withCosts);
    writeSeed(QStringLiteral("database"), QStringLiteral("costs-cut.fil"),
              withCosts.left(withCosts.size() - 11));
    db.setFillFlags(1, {});
    db.setFillFlags(2, {});
    fuzzCheck(db.save(), "cannot write a seed database");
    writeSeed(QStringLiteral("database"), QStringLiteral("costs-only.fil"), readFile(path));
    db.setCosts({});

    // Format 0.1: header, station and fill counts, stations, 124-byte fills without a driver.
    QByteArray legacy = three.left(28);
    qToLittleEndian<qint32>(0, legacy.data() + 16);
    qToLittleEndian<qint32>(1, legacy.data() + 20);
    char counts[8];
    qToLittleEndian<qint32>(2, counts);
    qToLittleEndian<qint32>(2, counts + 4);
    legacy.append(counts, 8);
    legacy.append(three.mid(296, 2 * 68));
    const qsizetype fillTable = 296 + 2 * 68 + 44;
    legacy.append(three.mid(fillTable + 128, 124));
    legacy.append(three.mid(fillTable, 124));
    writeSeed(QStringLiteral("database"), QStringLiteral("format01.fil"), legacy);
}

// The text in UTF-16 with its byte-order mark.
QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF", 2) : QByteArray("\xFF\xFE", 2);
    for (QChar c : text) {
        char unit[2];
        if (bigEndian)
            qToBigEndian(c.unicode(), unit);
        else
            qToLittleEndian(c.unicode(), unit);
        bytes.append(unit, 2);
    }
    return bytes;
}

void languageSeeds(const QString& langFolder) {
    const QStringList files = QDir(langFolder).entryList({QStringLiteral("*.lng")}, QDir::Files);
    fuzzCheck(!files.isEmpty(), "no language files to seed from");
    for (const QString& name : files)
        writeSeed(QStringLiteral("language"), name, readFile(langFolder + u'/' + name));
    const QString small = QStringLiteral("# comment\n[FillList]\nDate=Datum\r\nFuel = Liter\n"
                                         "[ units ]\nkm=Kilometer\nno equals sign\n");
    writeSeed(QStringLiteral("language"), QStringLiteral("small-utf8.lng"), small.toUtf8());
    writeSeed(QStringLiteral("language"), QStringLiteral("small-utf16le.lng"), utf16(small, false));
    writeSeed(QStringLiteral("language"), QStringLiteral("small-utf16be.lng"), utf16(small, true));
}

void parseSeeds() {
    const char* const seeds[][2] = {
        {"day-month-year.txt", "1,.\n12,50\n123456\n18.5.2004\n10:30:15"},
        {"month-day-year.txt", "0./\n-3.25e2\n  -42km\n5/18/2004\n7:05"},
        {"year-month-day.txt", "2.-\n1e40\n99999999999\n2004-05-18\n23:59:59"},
        {"long-separator.txt", "1,. \n0,5\n+7\n18. 5. 2004\n"},
        {"leap-day.txt", "1..\n.5\n0\n29.2.2004\n0:00"},
        {"no-date.txt", "1..\nabc\n-\n"},
    };
    for (const auto& seed : seeds)
        writeSeed(QStringLiteral("parses"), QString::fromLatin1(seed[0]), QByteArray(seed[1]));
}

void csvSeeds() {
    const char* const seeds[][2] = {
        {"export.csv",
         "01237456\n1.-\nstation;odometer;fuel;cost;date;time;driver;notes\n"
         "Aral;1000;40.50;60.75;2004-05-18;10:30:00;Eva;first\n"
         "\"OMV; Autobahn\";1600;38.00;57.00;2004-05-27;7:05:09;;\"said \"\"full\"\"\"\n"},
        {"day-month-year.csv", "10234567\n1,.\nodometer;station;fuel;cost;notes;date;time;driver\n"
                               "1000;Shell;40,5;60,75;;18.5.2004;10:30;Eva\n"
                               "\n  \n1500;Shell;x;60;;31.2.2004;;\n"},
        {"quoted-line-break.csv", "01237456\n2.-\nheader\n"
                                  "Aral;1;2;3;2004-1-1;;;\"two\nlines\"\n"
                                  "Aral;1;2;3;2004-1-2;;;\"never closed\n"},
        {"few-columns.csv", "0123--4-\n0./\nh\nAral;5;6;7;5/18/2004\nAral;5;6\n"},
    };
    for (const auto& seed : seeds)
        writeSeed(QStringLiteral("csv"), QString::fromLatin1(seed[0]), QByteArray(seed[1]));
}

void otherLogSeeds() {
    // First line: format, user's date order, decimal character (see fuzz_otherlogs.cpp).
    const char* const seeds[][2] = {
        {"generic-comma.csv",
         "\x05\x01.\nDate,Time,Odometer (km),Fuel (L),Total cost,Station,Notes\n"
         "2024-01-02,10:30,1000,40.5,60.75,Aral,first\n"
         "2024-01-20,,1600,38,57,\"OMV, Autobahn\",\"said \"\"full\"\"\"\n"},
        {"generic-semicolon.csv", "\x05\x00,\ndate;odometer;litres;cost;full\n"
                                  "1/2/2024;1000;40,5;60,75;yes\n1/20/2024;1600;38;57;no\n"},
        {"miles-gallons.csv",
         "\x05\x00.\nDate\tOdo (mi)\tFuel (gal)\tPrice\tVehicle\n"
         "01/02/2024\t620\t10.7\t3.49\tCar\n01/20/2024\t995\t10.0\t3.59\tVan\n"},
    };
    for (const auto& seed : seeds)
        writeSeed(QStringLiteral("otherlogs"), QString::fromLatin1(seed[0]), QByteArray(seed[1]));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_seeds <corpus folder> <language folder>\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    databaseSeeds();
    languageSeeds(QString::fromLocal8Bit(argv[2]));
    parseSeeds();
    csvSeeds();
    otherLogSeeds();
    return 0;
}
