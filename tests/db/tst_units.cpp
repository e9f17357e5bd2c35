#include "db/fueldatabase.h"
#include "db/logsettings.h"
#include "db/units.h"
#include "localisation/language.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <cstring>

Q_DECLARE_METATYPE(LogUnits)

namespace {

LogUnits unitsOf(DistanceUnit distance, VolumeUnit volume, ConsumptionUnit consumption,
                 const QString& currency = {}, DistanceUnit stored = DistanceUnit::Kilometres) {
    return LogUnits{distance,
                    volume,
                    consumption,
                    currency,
                    stored,
                    VehicleEnergy::Fuel,
                    kwhPer100Of(distance)};
}

quint32 crc32(const quint8* data, int size) {
    quint32 crc = 0xffffffffu;
    for (int i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ 0xedb88320u : crc >> 1;
    }
    return ~crc;
}

void sealBlock(LogSettingsBlock* block) {
    qToLittleEndian<quint32>(crc32(block->data(), 252), block->data() + 252);
}

// A block as another writer would lay it out, field by field.
LogSettingsBlock blockOf(quint16 version, quint8 distance, quint8 volume, quint8 consumption,
                         const QString& currency, quint8 stored = 0) {
    LogSettingsBlock block{};
    block[0] = 'T';
    block[1] = 'K';
    block[2] = 'L';
    block[3] = 'S';
    qToLittleEndian<quint16>(version, block.data() + 4);
    block[6] = distance;
    block[7] = volume;
    block[8] = consumption;
    block[9] = quint8(currency.size());
    for (int i = 0; i < currency.size() && i < 8; ++i)
        qToLittleEndian<quint16>(currency.at(i).unicode(), block.data() + 10 + 2 * i);
    block[26] = stored;
    sealBlock(&block);
    return block;
}

// The block with the fields of version 2 set.
LogSettingsBlock withEnergy(LogSettingsBlock block, quint8 energy, quint8 electricConsumption,
                            float homePrice) {
    qToLittleEndian<quint16>(2, block.data() + 4);
    block[27] = energy;
    block[28] = electricConsumption;
    qToLittleEndian<float>(homePrice, block.data() + 29);
    sealBlock(&block);
    return block;
}

// The block with a name laid out at 33 (length) and 34 (UTF-16LE units) and the given version.
LogSettingsBlock withName(LogSettingsBlock block, quint16 version, quint8 length,
                          const QString& name) {
    qToLittleEndian<quint16>(version, block.data() + 4);
    block[33] = length;
    for (int i = 0; i < name.size(); ++i)
        qToLittleEndian<quint16>(name.at(i).unicode(), block.data() + 34 + 2 * i);
    sealBlock(&block);
    return block;
}

QByteArray bytesOf(const LogSettingsBlock& block) {
    return QByteArray(reinterpret_cast<const char*>(block.data()), int(block.size()));
}

} // namespace

class UnitsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { language().clear(); }

    // Stored distance, l, l / 100 distance, distance / l, cost per 100 distance and per litre in
    // each unit. The inputs are one reference fill on 37.854118 l (10 US gal): 483 km for 50.00
    // in a log that stores kilometres, 300 mi for 31.50 in one that stores miles, so that the
    // expected values can be checked by hand. Stored and shown in miles, they are exact.
    void convertsEveryPair_data() {
        QTest::addColumn<LogUnits>("units");
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<double>("cost");
        QTest::addColumn<qint64>("distance");
        QTest::addColumn<double>("volume");
        QTest::addColumn<double>("consumption");
        QTest::addColumn<double>("endurance");
        QTest::addColumn<double>("costOfDist");
        QTest::addColumn<double>("unitCost");
        using D = DistanceUnit;
        using V = VolumeUnit;
        using C = ConsumptionUnit;
        const auto kmLog = [](const char* name, const LogUnits& units) -> QTestData& {
            return QTest::newRow(name) << units << qint64(483) << 50.0;
        };
        const auto milesLog = [](const char* name, LogUnits units) -> QTestData& {
            units.stored = D::Miles;
            return QTest::newRow(name) << units << qint64(300) << 31.5;
        };
        kmLog("km l l/100km", unitsOf(D::Kilometres, V::Litres, C::LitresPer100Km))
            << qint64(483) << 37.854118 << 7.8373 << 12.7595 << 10.3520 << 1.3209;
        kmLog("km l km/l", unitsOf(D::Kilometres, V::Litres, C::KmPerLitre))
            << qint64(483) << 37.854118 << 12.7595 << 12.7595 << 10.3520 << 1.3209;
        kmLog("mi usgal mpg us", unitsOf(D::Miles, V::UsGallons, C::MpgUs))
            << qint64(300) << 10.0 << 30.0124 << 30.0124 << 16.6598 << 5.0;
        kmLog("mi l mpg imp", unitsOf(D::Miles, V::Litres, C::MpgImperial))
            << qint64(300) << 37.854118 << 36.0434 << 7.9283 << 16.6598 << 1.3209;
        kmLog("mi l mi/l", unitsOf(D::Miles, V::Litres, C::MilesPerLitre))
            << qint64(300) << 37.854118 << 7.9283 << 7.9283 << 16.6598 << 1.3209;
        kmLog("km impgal mpg imp", unitsOf(D::Kilometres, V::ImperialGallons, C::MpgImperial))
            << qint64(483) << 8.326741 << 36.0434 << 58.0061 << 10.3520 << 6.0047;
        milesLog("stored mi: mi usgal mpg us", unitsOf(D::Miles, V::UsGallons, C::MpgUs))
            << qint64(300) << 10.0 << 30.0 << 30.0 << 10.5 << 3.15;
        milesLog("stored mi: km l l/100km", unitsOf(D::Kilometres, V::Litres, C::LitresPer100Km))
            << qint64(483) << 37.854118 << 7.8405 << 12.7543 << 6.5244 << 0.8321;
        milesLog("stored mi: km l km/l", unitsOf(D::Kilometres, V::Litres, C::KmPerLitre))
            << qint64(483) << 37.854118 << 12.7543 << 12.7543 << 6.5244 << 0.8321;
    }
    void convertsEveryPair() {
        QFETCH(LogUnits, units);
        QFETCH(qint64, stored);
        QFETCH(double, cost);
        QFETCH(qint64, distance);
        QFETCH(double, volume);
        QFETCH(double, consumption);
        QFETCH(double, endurance);
        QFETCH(double, costOfDist);
        QFETCH(double, unitCost);
        // As the derived values compute them, in float.
        const float litres = 37.854118f;
        const float per100 = litres / float(stored) * 100.0f;
        const float perLitre = float(stored) / litres;
        const auto near = [](double actual, double expected) {
            return std::abs(actual - expected) <= 1e-4 * std::max(1.0, std::abs(expected));
        };
        QCOMPARE(distanceIn(units, stored), distance);
        QVERIFY2(near(volumeIn(units, litres), volume),
                 qPrintable(QString::number(volumeIn(units, litres))));
        QVERIFY2(near(consumptionIn(units, per100), consumption),
                 qPrintable(QString::number(consumptionIn(units, per100))));
        QVERIFY(near(enduranceIn(units, perLitre), endurance));
        QVERIFY2(
            near(costOfDistIn(units, float(cost) / float(stored) * 100.0f), costOfDist),
            qPrintable(QString::number(costOfDistIn(units, float(cost) / float(stored) * 100.0f))));
        QVERIFY(near(unitCostIn(units, float(cost) / litres), unitCost));

        // Back again: the shown distance and volume give the stored ones.
        qint32 storedBack = 0;
        QVERIFY(storedDistanceFrom(units, double(distance), &storedBack));
        QCOMPARE(storedBack, stored);
        QVERIFY(std::abs(litresFrom(units, float(volume)) - litres) < 1e-4f);
    }

    // Electricity: 15 kWh / 100 km in a log that stores kilometres, 24 kWh / 100 mi in one that
    // stores miles, in each unit; which units go with which distance unit.
    void convertsElectricity_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::addColumn<double>("per100Stored");
        QTest::addColumn<double>("consumption");
        QTest::addColumn<bool>("fitsKilometres");
        using E = ElectricConsumptionUnit;
        const int km = int(DistanceUnit::Kilometres);
        const int mi = int(DistanceUnit::Miles);
        QTest::newRow("kWh/100km") << km << int(E::KwhPer100Km) << 15.0 << 15.0 << true;
        QTest::newRow("kWh/100mi") << km << int(E::KwhPer100Mi) << 15.0 << 24.1402 << false;
        QTest::newRow("km/kWh") << km << int(E::KmPerKwh) << 15.0 << 6.6667 << true;
        QTest::newRow("mi/kWh") << km << int(E::MiPerKwh) << 15.0 << 4.1425 << false;
        QTest::newRow("stored mi: kWh/100mi") << mi << int(E::KwhPer100Mi) << 24.0 << 24.0 << false;
        QTest::newRow("stored mi: kWh/100km")
            << mi << int(E::KwhPer100Km) << 24.0 << 14.9129 << true;
        QTest::newRow("stored mi: mi/kWh") << mi << int(E::MiPerKwh) << 24.0 << 4.1667 << false;
        QTest::newRow("stored mi: km/kWh") << mi << int(E::KmPerKwh) << 24.0 << 6.7056 << true;
    }
    void convertsElectricity() {
        QFETCH(int, stored);
        QFETCH(int, shown);
        QFETCH(double, per100Stored);
        QFETCH(double, consumption);
        QFETCH(bool, fitsKilometres);
        LogUnits units;
        units.stored = DistanceUnit(stored);
        units.electricConsumption = ElectricConsumptionUnit(shown);
        const float actual = electricConsumptionIn(units, float(per100Stored));
        QVERIFY2(std::abs(actual - consumption) < 1e-4 * consumption,
                 qPrintable(QString::number(actual)));
        units.distance = DistanceUnit::Kilometres;
        QCOMPARE(electricConsumptionFits(units), fitsKilometres);
        units.distance = DistanceUnit::Miles;
        QCOMPARE(electricConsumptionFits(units), !fitsKilometres);
        // A charge's kWh are what is shown, whatever the volume unit.
        units.volume = VolumeUnit::UsGallons;
        QCOMPARE(amountIn(units, true, 38.4f), 38.4f);
        QCOMPARE(amountFrom(units, true, 38.4f), 38.4f);
        QVERIFY(std::abs(amountIn(units, false, 37.854118f) - 10.0f) < 1e-4f);
        QVERIFY(std::abs(amountFrom(units, false, 10.0f) - 37.854118f) < 1e-4f);
    }

    // What the windows and the list test to leave a value out survives the conversion.
    void keepsWhatIsNotAvailable() {
        LogUnits mpg = unitsOf(DistanceUnit::Miles, VolumeUnit::UsGallons, ConsumptionUnit::MpgUs);
        mpg.electricConsumption = ElectricConsumptionUnit::MiPerKwh;
        for (const auto in : {consumptionIn, electricConsumptionIn}) {
            QVERIFY(in(mpg, -1.0f) < 0.0f);         // no previous fill
            QVERIFY(in(mpg, -5.0f) < 0.0f);         // odometer lower than before
            QVERIFY(std::isnan(in(mpg, INFINITY))); // no distance
            QVERIFY(std::isnan(in(mpg, 0.0f)));     // no fuel
            QVERIFY(std::isnan(in(mpg, NAN)));
        }
    }

    // A reading typed in miles shows the same miles again, whatever the reading and whichever
    // unit the log stores; one typed in kilometres into a log of miles goes to the nearest mile.
    void typedReadingsShowAsTyped_data() {
        QTest::addColumn<LogUnits>("units");
        QTest::addColumn<qint32>("storedOf12345");
        QTest::addColumn<bool>("showsAsTyped");
        // The largest reading that has a stored one.
        QTest::addColumn<double>("largest");
        using D = DistanceUnit;
        const auto shown = [](D distance, D stored) {
            return unitsOf(distance, VolumeUnit::Litres, ConsumptionUnit::LitresPer100Km, {},
                           stored);
        };
        QTest::newRow("miles in a log of km")
            << shown(D::Miles, D::Kilometres) << 19867 << true << 1334384474.0;
        QTest::newRow("miles in a log of miles")
            << shown(D::Miles, D::Miles) << 12345 << true << 2147483647.0;
        QTest::newRow("km in a log of miles")
            << shown(D::Kilometres, D::Miles) << 7671 << false << 3456039923.0;
    }
    void typedReadingsShowAsTyped() {
        QFETCH(LogUnits, units);
        QFETCH(qint32, storedOf12345);
        QFETCH(bool, showsAsTyped);
        QFETCH(double, largest);
        for (qint32 typed : {1, 2, 3, 300, 1000, 1300, 12345, 99999, 999999, 1334000000}) {
            qint32 stored = 0;
            QVERIFY(storedDistanceFrom(units, typed, &stored));
            if (showsAsTyped)
                QCOMPARE(distanceIn(units, stored), qint64(typed));
            else
                QVERIFY(std::abs(distanceIn(units, stored) - typed) <= 1);
        }
        qint32 stored = 0;
        QVERIFY(storedDistanceFrom(units, 12345, &stored));
        QCOMPARE(stored, storedOf12345);
        QVERIFY(storedDistanceFrom(units, largest, &stored));
        QVERIFY(!storedDistanceFrom(units, largest + 1.0, &stored));
        QVERIFY(!storedDistanceFrom(units, NAN, &stored));
    }

    void newLogsTakeTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<LogUnits>("units");
        LogUnits us =
            unitsOf(DistanceUnit::Miles, VolumeUnit::UsGallons, ConsumptionUnit::MpgUs, "$");
        us.electricConsumption = ElectricConsumptionUnit::MiPerKwh;
        LogUnits gb = unitsOf(DistanceUnit::Miles, VolumeUnit::Litres, ConsumptionUnit::MpgImperial,
                              QStringLiteral("\u00a3"));
        gb.electricConsumption = ElectricConsumptionUnit::MiPerKwh;
        QTest::newRow("en_US") << "en_US" << us;
        QTest::newRow("en_GB") << "en_GB" << gb;
        QTest::newRow("de_DE") << "de_DE"
                               << unitsOf(DistanceUnit::Kilometres, VolumeUnit::Litres,
                                          ConsumptionUnit::LitresPer100Km,
                                          QStringLiteral("\u20ac"));
    }
    void newLogsTakeTheLocale() {
        QFETCH(QString, locale);
        QFETCH(LogUnits, units);
        QCOMPARE(localeUnits(QLocale(locale)), units);
    }

    // The language file's unit texts stand for the units they name; the others are built from
    // the log's own units and currency.
    void unitTextsComeFromTheLanguageWhereTheyFit() {
        language().load(QStringLiteral("german.lng"), QStringLiteral(TANKOMETER_LANG_DIR));
        const UnitTexts metric = unitTexts(LogUnits{});
        QCOMPARE(metric.currency, QStringLiteral("\u20ac"));
        QCOMPARE(metric.costOfDist, QStringLiteral("\u20ac / 100 km"));
        QCOMPARE(metric.monthlyDistance, "km / Monat");
        QCOMPARE(unitTexts(unitsOf(DistanceUnit::Kilometres, VolumeUnit::Litres,
                                   ConsumptionUnit::LitresPer100Km, QStringLiteral("\u20ac")))
                     .unitCost,
                 QStringLiteral("\u20ac / l"));

        QCOMPARE((QStringList{metric.energy, metric.electricConsumption, metric.energyCost}),
                 (QStringList{"kWh", "kWh / 100 km", QStringLiteral("\u20ac / kWh")}));

        LogUnits usUnits =
            unitsOf(DistanceUnit::Miles, VolumeUnit::UsGallons, ConsumptionUnit::MpgUs, "$");
        usUnits.electricConsumption = ElectricConsumptionUnit::MiPerKwh;
        const UnitTexts us = unitTexts(usUnits);
        QCOMPARE((QStringList{us.odometer, us.distance, us.volume, us.currency, us.consumption,
                              us.endurance, us.unitCost, us.costOfDist, us.monthlyCost,
                              us.monthlyDistance, us.electricConsumption, us.energyCost,
                              amountUnit(us, false), amountUnit(us, true)}),
                 (QStringList{"mi", "mi", "gal (US)", "$", "mpg (US)", "mi / gal (US)",
                              "$ / gal (US)", "$ / 100 mi", "$ / Monat", "mi / Monat", "mi / kWh",
                              "$ / kWh", "gal (US)", "kWh"}));
        usUnits.electricConsumption = ElectricConsumptionUnit::KwhPer100Mi;
        QCOMPARE(unitTexts(usUnits).electricConsumption, "kWh / 100 mi");
        usUnits.electricConsumption = ElectricConsumptionUnit::KmPerKwh;
        QCOMPARE(unitTexts(usUnits).electricConsumption, "km / kWh");
        QCOMPARE(unitTexts(unitsOf(DistanceUnit::Kilometres, VolumeUnit::Litres,
                                   ConsumptionUnit::KmPerLitre))
                     .consumption,
                 "km / l");
    }

    // The reserved block: what reads as a choice, what reads as none, and how a later
    // version's block reads.
    void readsTheSettingsBlock_data() {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<LogUnits>("units");
        const auto bytes = [](const LogSettingsBlock& block) {
            return QByteArray(reinterpret_cast<const char*>(block.data()), kLogSettingsSize);
        };
        const LogUnits us =
            unitsOf(DistanceUnit::Miles, VolumeUnit::UsGallons, ConsumptionUnit::MpgUs, "US$");
        const LogSettingsBlock valid = blockOf(1, 1, 1, 2, "US$");
        QTest::newRow("zeros") << bytes(LogSettingsBlock{}) << false << LogUnits{};
        QTest::newRow("valid") << bytes(valid) << true << us;
        LogSettingsBlock damaged = valid;
        damaged[7] = 2;
        QTest::newRow("bad checksum") << bytes(damaged) << false << LogUnits{};
        LogSettingsBlock otherTag = valid;
        otherTag[3] = 'X';
        sealBlock(&otherTag);
        QTest::newRow("other tag") << bytes(otherTag) << false << LogUnits{};
        QTest::newRow("version 0") << bytes(blockOf(0, 1, 1, 2, "US$")) << false << LogUnits{};
        LogSettingsBlock later = blockOf(7, 1, 1, 2, "US$");
        later[40] = 0x55;
        later[251] = 0xaa;
        sealBlock(&later);
        QTest::newRow("later version") << bytes(later) << true << us;
        QTest::newRow("unknown codes") << bytes(blockOf(2, 9, 9, 9, "abc")) << true
                                       << unitsOf(DistanceUnit::Kilometres, VolumeUnit::Litres,
                                                  ConsumptionUnit::LitresPer100Km, "abc");
        QTest::newRow("mi/l without miles") << bytes(blockOf(1, 0, 0, 4, {})) << true << LogUnits{};
        LogUnits milesLog = us;
        milesLog.stored = DistanceUnit::Miles;
        QTest::newRow("readings in miles")
            << bytes(blockOf(1, 1, 1, 2, "US$", 1)) << true << milesLog;
        QTest::newRow("readings in an unknown unit")
            << bytes(blockOf(1, 1, 1, 2, "US$", 7)) << true << us;
        LogSettingsBlock longCurrency = blockOf(1, 0, 0, 0, "12345678");
        longCurrency[9] = 200;
        sealBlock(&longCurrency);
        QTest::newRow("currency too long") << bytes(longCurrency) << true
                                           << unitsOf(DistanceUnit::Kilometres, VolumeUnit::Litres,
                                                      ConsumptionUnit::LitresPer100Km, "12345678");

        using E = ElectricConsumptionUnit;
        const auto electric = [](LogUnits units, VehicleEnergy energy, E consumption, float price) {
            units.energy = energy;
            units.electricConsumption = consumption;
            units.homePricePerKwh = price;
            return units;
        };
        const LogSettingsBlock metric = blockOf(2, 0, 0, 0, {});
        QTest::newRow("electric") << bytes(withEnergy(metric, 1, 2, 0.3f)) << true
                                  << electric({}, VehicleEnergy::Electric, E::KmPerKwh, 0.3f);
        QTest::newRow("hybrid in miles")
            << bytes(withEnergy(valid, 2, 3, 0.15f)) << true
            << electric(us, VehicleEnergy::PlugInHybrid, E::MiPerKwh, 0.15f);
        QTest::newRow("unknown energy codes")
            << bytes(withEnergy(valid, 3, 4, 0)) << true
            << electric(us, VehicleEnergy::Fuel, E::KwhPer100Mi, 0);
        QTest::newRow("mi/kWh with km") << bytes(withEnergy(metric, 1, 3, 0)) << true
                                        << electric({}, VehicleEnergy::Electric, E::KwhPer100Km, 0);
        QTest::newRow("km/kWh with miles")
            << bytes(withEnergy(valid, 1, 2, 0)) << true
            << electric(us, VehicleEnergy::Electric, E::KwhPer100Mi, 0);
        for (const float price : {-0.3f, NAN, INFINITY})
            QTest::addRow("home price %g", double(price))
                << bytes(withEnergy(metric, 1, 0, price)) << true
                << electric({}, VehicleEnergy::Electric, E::KwhPer100Km, 0);
    }
    void readsTheSettingsBlock() {
        QFETCH(QByteArray, block);
        QFETCH(bool, chosen);
        QFETCH(LogUnits, units);
        LogSettingsBlock read;
        std::memcpy(read.data(), block.constData(), kLogSettingsSize);
        const std::optional<LogUnits> result = readLogSettings(read);
        QCOMPARE(result.has_value(), chosen);
        QCOMPARE(result.value_or(LogUnits{}), units);

        // Stored back (with the readings' unit as it was, as no display change touches it): a
        // block that read keeps its version and the bytes this version leaves alone, a code of
        // an unknown unit of the readings too; any other is a new block of this version. Either
        // reads as stored.
        LogUnits changed =
            unitsOf(DistanceUnit::Kilometres, VolumeUnit::ImperialGallons,
                    ConsumptionUnit::KmPerLitre, QStringLiteral("\u20ac"), units.stored);
        changed.energy = VehicleEnergy::PlugInHybrid;
        changed.electricConsumption = ElectricConsumptionUnit::KmPerKwh;
        changed.homePricePerKwh = 0.25f;
        const LogSettingsBlock written = writeLogSettings(read, changed);
        QCOMPARE(readLogSettings(written), std::optional(changed));
        QCOMPARE(qFromLittleEndian<quint16>(written.data() + 4),
                 chosen ? std::max<quint16>(qFromLittleEndian<quint16>(read.data() + 4), 2)
                        : quint16(2));
        QCOMPARE(written[26], chosen ? read[26] : quint8(0));
        for (int i = 33; i < 252; ++i)
            QCOMPARE(written[i], chosen ? read[i] : quint8(0));
        // The layout as documented, for other programs that read it.
        QCOMPARE(written[7], quint8(2));
        QCOMPARE(written[8], quint8(1));
        QCOMPARE(written[9], quint8(1));
        QCOMPARE(qFromLittleEndian<quint16>(written.data() + 10), quint16(0x20ac));
        QCOMPARE(written[27], quint8(2));
        QCOMPARE(written[28], quint8(2));
        QCOMPARE(qFromLittleEndian<float>(written.data() + 29), 0.25f);

        // Nothing changed: a later version's codes stay while they read as what is stored.
        const LogSettingsBlock again = writeLogSettings(read, units);
        if (chosen)
            for (int i = 26; i < 29; ++i)
                QCOMPARE(again[i], read[i]);
        QCOMPARE(qFromLittleEndian<quint32>(written.data() + 252), crc32(written.data(), 252));
    }

    // The block travels with the file: at offset 28, read and written back as it is until units
    // are chosen, and the fills load whole whatever it holds.
    void theFileCarriesTheBlock() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("car.fil"));
        CFuelDatabase database(path);
        FillRecord fill;
        fill.odometer = 483;
        database.insertFill(fill);
        QVERIFY(database.save());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QCOMPARE(file.readAll().mid(28, 256), QByteArray(256, '\0'));

        // Something unknown in the block stays as it is and damages nothing.
        file.seek(28 + 17);
        file.write("junk");
        file.close();
        CFuelDatabase loaded(path);
        loaded.setMessageSink([](const QString& message) { QFAIL(qPrintable(message)); });
        loaded.load();
        QCOMPARE(loaded.getFillCount(), 1);
        QVERIFY(!loaded.chosenUnits());
        QVERIFY(loaded.save());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().mid(28 + 17, 4), QByteArray("junk"));
        file.close();

        const LogUnits us =
            unitsOf(DistanceUnit::Miles, VolumeUnit::UsGallons, ConsumptionUnit::MpgUs, "$");
        loaded.setUnits(us);
        QVERIFY(loaded.save());
        CFuelDatabase again(path);
        again.load();
        QCOMPARE(again.chosenUnits(), std::optional(us));
        QCOMPARE(again.getFill(0)->odometer, 483);
        QCOMPARE(QFileInfo(path).size(), qint64(296 + 128));
    }

    // The name is written where it belongs, the rest of the block as it was; a log nobody named
    // keeps its bytes.
    void storesTheVehicleName_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("version"); // after; 0: the block stays byte for byte
        QTest::addColumn<QString>("read");
        const LogSettingsBlock miles = withEnergy(blockOf(2, 1, 1, 2, "$", 1), 2, 1, 0.3f);
        QTest::newRow("no name, zeros") << bytesOf({}) << QString() << 0 << QString();
        QTest::newRow("no name, units") << bytesOf(miles) << QString(" ") << 0 << QString();
        QTest::newRow("zeros") << bytesOf({}) << "Camper" << 3 << "Camper";
        QTest::newRow("units") << bytesOf(miles) << " Old van\t" << 3 << "Old van";
        QTest::newRow("version 1") << bytesOf(blockOf(1, 0, 0, 0, {})) << "Car" << 3 << "Car";
        QTest::newRow("later version") << bytesOf(withName(miles, 9, 0, {})) << "Car" << 9 << "Car";
        QTest::newRow("cut to the field")
            << bytesOf(miles) << QString(45, u'x') << 3 << QString(40, u'x');
        QTest::newRow("no half pair")
            << bytesOf(miles) << QString(39, u'x') + QStringLiteral("\U0001F697") << 3
            << QString(39, u'x');
        QTest::newRow("removed") << bytesOf(withName(miles, 3, 3, "Car")) << QString() << 3
                                 << QString();
    }
    void storesTheVehicleName() {
        QFETCH(QByteArray, before);
        QFETCH(QString, name);
        QFETCH(int, version);
        QFETCH(QString, read);
        LogSettingsBlock block;
        std::memcpy(block.data(), before.constData(), block.size());
        const LogSettingsBlock after = writeVehicleName(block, name);
        QCOMPARE(readVehicleName(after), read);
        if (version == 0) {
            QCOMPARE(bytesOf(after), before);
            return;
        }
        QCOMPARE(qFromLittleEndian<quint16>(after.data() + 4), quint16(version));
        QCOMPARE(int(after[33]), read.size());
        for (int i = 0; i < 40; ++i) {
            QCOMPARE(qFromLittleEndian<quint16>(after.data() + 34 + 2 * i),
                     quint16(i < read.size() ? read.at(i).unicode() : 0));
        }
        QVERIFY(readLogSettings(after));
        QCOMPARE(*readLogSettings(after), readLogSettings(block).value_or(LogUnits{}));
        QCOMPARE(bytesOf(after).mid(114, 138), before.mid(114, 138));
    }

    void readsTheVehicleName_data() {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QString>("read");
        const LogSettingsBlock units = blockOf(2, 0, 0, 0, {});
        QTest::newRow("version 3") << bytesOf(withName(units, 3, 3, "Car")) << "Car";
        QTest::newRow("before names") << bytesOf(withName(units, 2, 3, "Car")) << QString();
        QTest::newRow("length beyond the field")
            << bytesOf(withName(units, 3, 200, QString(41, u'y'))) << QString(40, u'y');
        QTest::newRow("control characters") << bytesOf(withName(units, 3, 5, "a\nb\r\0")) << "a b";
        LogSettingsBlock damaged = withName(units, 3, 3, "Car");
        damaged[35] ^= 1;
        QTest::newRow("bad checksum") << bytesOf(damaged) << QString();
    }
    void readsTheVehicleName() {
        QFETCH(QByteArray, block);
        QFETCH(QString, read);
        LogSettingsBlock settings;
        std::memcpy(settings.data(), block.constData(), settings.size());
        QCOMPARE(readVehicleName(settings), read);
    }
};

QTEST_GUILESS_MAIN(UnitsTest)
#include "tst_units.moc"
