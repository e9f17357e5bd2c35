#include "db/regional.h"
#include "localisation/language.h"
#include "stats/derived.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

FillRecord makeFill(qint32 odometer, float fuel, float cost) {
    FillRecord fill;
    fill.odometer = odometer;
    fill.fuel = fuel;
    fill.cost = cost;
    return fill;
}

// The worked example: 500 km driven between a fill of 40 l for 1000 and one of 35 l for 900.
const FillRecord kPrevious = makeFill(1000, 40.0f, 1000.0f);
const FillRecord kFill = makeFill(1500, 35.0f, 900.0f);

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

} // namespace

Q_DECLARE_METATYPE(FillingMethod)
Q_DECLARE_METATYPE(FillRecord)

class DerivedTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void workedExample_data();
    void workedExample();
    void missingFillGivesMinusOne();
    void unknownMethodCountsAsFullTank();
    void lowerOdometerGivesNegativeValues();
    void zeroDistanceOrFuelIsNotAvailable_data();
    void zeroDistanceOrFuelIsNotAvailable();
    void distanceWrapsAtTheRangeEnds();

    void listCellText_data();
    void listCellText();
    void dialogValueText_data();
    void dialogValueText();
    void notAvailableFollowsTheLanguage();
};

void DerivedTest::cleanup() {
    setRegionalSettingsOverride(std::nullopt);
    language().clear();
}

void DerivedTest::workedExample_data() {
    QTest::addColumn<FillingMethod>("method");
    QTest::addColumn<QString>("consumption");
    QTest::addColumn<QString>("costOfDist");
    QTest::addColumn<QString>("endurance");
    QTest::newRow("to empty tank") << FillingMethod::ToEmptyTank << "8.00"
                                   << "200.00"
                                   << "12.50";
    QTest::newRow("full tank") << FillingMethod::FullTank << "7.00"
                               << "180.00"
                               << "14.29";
}

void DerivedTest::workedExample() {
    QFETCH(FillingMethod, method);
    QFETCH(QString, consumption);
    QFETCH(QString, costOfDist);
    QFETCH(QString, endurance);
    QCOMPARE(::dialogValueText(fillConsumption(&kFill, &kPrevious, method)), consumption);
    QCOMPARE(::dialogValueText(fillCostOfDist(&kFill, &kPrevious, method)), costOfDist);
    QCOMPARE(::dialogValueText(fillEndurance(&kFill, &kPrevious, method)), endurance);
    QCOMPARE(fillDistance(kFill, kPrevious), 500);
    QCOMPARE(::dialogValueText(fillUnitCost(kFill)), QStringLiteral("25.71"));
}

void DerivedTest::missingFillGivesMinusOne() {
    const FillingMethod method = FillingMethod::ToEmptyTank;
    for (const FillRecord* fill : {&kFill, (const FillRecord*)nullptr}) {
        const FillRecord* previous = fill ? nullptr : &kPrevious;
        QCOMPARE(fillConsumption(fill, previous, method), -1.0f);
        QCOMPARE(fillCostOfDist(fill, previous, method), -1.0f);
        QCOMPARE(fillEndurance(fill, previous, method), -1.0f);
    }
    QCOMPARE(fillConsumption(nullptr, nullptr, method), -1.0f);
}

// The settings store maps any stored value but 2 to FullTank; a value that slips through
// unmapped must not pick the previous fill either.
void DerivedTest::unknownMethodCountsAsFullTank() {
    for (const int stored : {0, 3}) {
        const auto method = static_cast<FillingMethod>(stored);
        QCOMPARE(fillConsumption(&kFill, &kPrevious, method),
                 fillConsumption(&kFill, &kPrevious, FillingMethod::FullTank));
        QCOMPARE(fillEndurance(&kFill, &kPrevious, method),
                 fillEndurance(&kFill, &kPrevious, FillingMethod::FullTank));
    }
}

void DerivedTest::lowerOdometerGivesNegativeValues() {
    const FillRecord lower = makeFill(500, 35.0f, 900.0f);
    const FillingMethod method = FillingMethod::ToEmptyTank;
    QCOMPARE(fillDistance(lower, kPrevious), -500);
    const float consumption = fillConsumption(&lower, &kPrevious, method);
    QCOMPARE(::dialogValueText(consumption), QStringLiteral("-8.00"));
    QCOMPARE(::dialogValueText(fillCostOfDist(&lower, &kPrevious, method)),
             QStringLiteral("-200.00"));
    QCOMPARE(::dialogValueText(fillEndurance(&lower, &kPrevious, method)),
             QStringLiteral("-12.50"));
    QVERIFY(::listCellText(consumption).isEmpty());
    QVERIFY(::listCellText(fillEndurance(&lower, &kPrevious, method)).isEmpty());
}

using DerivedValue = float (*)(const FillRecord*, const FillRecord*, FillingMethod);

void DerivedTest::zeroDistanceOrFuelIsNotAvailable_data() {
    QTest::addColumn<void*>("derive");
    QTest::addColumn<FillRecord>("previous");
    QTest::addColumn<FillRecord>("fill");
    QTest::addColumn<FillingMethod>("method");
    const auto row = [](const char* name, DerivedValue derive, const FillRecord& previous,
                        const FillRecord& fill, FillingMethod method) {
        QTest::newRow(name) << reinterpret_cast<void*>(derive) << previous << fill << method;
    };
    const FillRecord sameOdometer = makeFill(1000, 35.0f, 900.0f);
    const FillRecord sameOdometerNoFuel = makeFill(1000, 0.0f, 0.0f);
    const FillRecord noFuel = makeFill(1000, 0.0f, 0.0f);
    row("consumption, no distance", fillConsumption, kPrevious, sameOdometer,
        FillingMethod::FullTank);
    row("cost per 100 km, no distance", fillCostOfDist, kPrevious, sameOdometer,
        FillingMethod::FullTank);
    row("consumption, no distance and no fuel", fillConsumption, kPrevious, sameOdometerNoFuel,
        FillingMethod::FullTank);
    row("endurance, no distance and no fuel", fillEndurance, kPrevious, sameOdometerNoFuel,
        FillingMethod::FullTank);
    row("endurance, no fuel in the previous fill", fillEndurance, noFuel, kFill,
        FillingMethod::ToEmptyTank);
}

void DerivedTest::zeroDistanceOrFuelIsNotAvailable() {
    QFETCH(void*, derive);
    QFETCH(FillRecord, previous);
    QFETCH(FillRecord, fill);
    QFETCH(FillingMethod, method);
    const float value = reinterpret_cast<DerivedValue>(derive)(&fill, &previous, method);
    QVERIFY(!std::isfinite(value));
    QVERIFY(::listCellText(value).isEmpty());
    QCOMPARE(::dialogValueText(value), QStringLiteral("N/A"));
}

void DerivedTest::distanceWrapsAtTheRangeEnds() {
    const qint32 highest = std::numeric_limits<qint32>::max();
    const qint32 lowest = std::numeric_limits<qint32>::min();
    QCOMPARE(fillDistance(makeFill(highest, 0, 0), makeFill(lowest, 0, 0)), -1);
    QCOMPARE(fillDistance(makeFill(lowest, 0, 0), makeFill(highest, 0, 0)), 1);
}

void DerivedTest::listCellText_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("decimal comma") << 7.0f << "7,00";
    QTest::newRow("zero") << 0.0f << "0,00";
    QTest::newRow("not available") << -1.0f << "";
    QTest::newRow("small negative") << -0.001f << "";
    QTest::newRow("negative zero") << -0.0f << "";
    QTest::newRow("infinity") << kInfinity << "";
    QTest::newRow("negative infinity") << -kInfinity << "";
    QTest::newRow("NaN") << kNaN << "";
    QTest::newRow("beyond any fill") << 3.4e38f << "";
}

void DerivedTest::listCellText() {
    QFETCH(float, value);
    QFETCH(QString, text);
    setRegionalSettingsOverride(RegionalSettings{u',', QStringLiteral("."), 1});
    QCOMPARE(::listCellText(value), text);
}

void DerivedTest::dialogValueText_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("the list's decimal character") << 7.0f << "7,00";
    QTest::newRow("negative as it is") << -1.0f << "-1,00";
    QTest::newRow("rounded") << 500.0f / 35.0f << "14,29";
    QTest::newRow("infinity") << kInfinity << "N/A";
    QTest::newRow("negative infinity") << -kInfinity << "N/A";
    QTest::newRow("NaN") << kNaN << "N/A";
    QTest::newRow("beyond any fill") << -3.4e38f << "N/A";
}

void DerivedTest::dialogValueText() {
    QFETCH(float, value);
    QFETCH(QString, text);
    setRegionalSettingsOverride(RegionalSettings{u',', QStringLiteral("."), 1});
    QCOMPARE(::dialogValueText(value), text);
}

void DerivedTest::notAvailableFollowsTheLanguage() {
    QCOMPARE(notAvailableText(), QStringLiteral("N/A"));
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile file(folder.filePath(QStringLiteral("test.lng")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Units]\nNA=k. A.\n");
    file.close();
    language().load(QStringLiteral("test.lng"), folder.path());
    QCOMPARE(notAvailableText(), QStringLiteral("k. A."));
    QCOMPARE(::dialogValueText(kNaN), QStringLiteral("k. A."));
}

QTEST_GUILESS_MAIN(DerivedTest)
#include "tst_derived.moc"
