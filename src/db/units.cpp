#include "db/units.h"

#include "db/records.h"
#include "localisation/language.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

constexpr double kKilometresPerMile = 1.609344;
constexpr double kLitresPerUsGallon = 3.785411784;
constexpr double kLitresPerImperialGallon = 4.54609;

// How a consumption unit counts: the distance and the volume (in litres) it is per, and whether
// it is distance per volume (mpg) rather than volume per 100 of the distance (l / 100 km).
struct ConsumptionMeasure {
    DistanceUnit distance;
    double litres;
    bool distancePerVolume;
};

ConsumptionMeasure measureOf(ConsumptionUnit unit) {
    switch (unit) {
    case ConsumptionUnit::KmPerLitre:
        return {DistanceUnit::Kilometres, 1.0, true};
    case ConsumptionUnit::MpgUs:
        return {DistanceUnit::Miles, kLitresPerUsGallon, true};
    case ConsumptionUnit::MpgImperial:
        return {DistanceUnit::Miles, kLitresPerImperialGallon, true};
    case ConsumptionUnit::MilesPerLitre:
        return {DistanceUnit::Miles, 1.0, true};
    case ConsumptionUnit::LitresPer100Km:
        break;
    }
    return {DistanceUnit::Kilometres, 1.0, false};
}

ConsumptionMeasure measureOf(ElectricConsumptionUnit unit) {
    switch (unit) {
    case ElectricConsumptionUnit::KwhPer100Mi:
        return {DistanceUnit::Miles, 1.0, false};
    case ElectricConsumptionUnit::KmPerKwh:
        return {DistanceUnit::Kilometres, 1.0, true};
    case ElectricConsumptionUnit::MiPerKwh:
        return {DistanceUnit::Miles, 1.0, true};
    case ElectricConsumptionUnit::KwhPer100Km:
        break;
    }
    return {DistanceUnit::Kilometres, 1.0, false};
}

// A distance in one unit in another. The same unit gives the value untouched, so that a log kept
// in miles and shown in miles is exact.
double converted(double distance, DistanceUnit from, DistanceUnit to) {
    return from == to ? distance : distance * kilometresPerUnit(from) / kilometresPerUnit(to);
}

// Something per distance (litres per 100 miles) per another distance unit: it converts the other
// way round.
double perDistance(double value, DistanceUnit from, DistanceUnit to) {
    return converted(value, to, from);
}

// A consumption per 100 stored units (litres or kWh) in the unit measured.
float consumptionAs(const ConsumptionMeasure& measure, DistanceUnit stored, float per100Stored) {
    const double volumePer100 =
        perDistance(double(per100Stored), stored, measure.distance) / measure.litres;
    if (!measure.distancePerVolume)
        return float(volumePer100);
    // No distance (an infinite value) has no distance per volume either.
    const double inverse = 100.0 / volumePer100;
    return std::isfinite(per100Stored) && std::isfinite(inverse)
               ? float(inverse)
               : std::numeric_limits<float>::quiet_NaN();
}

QString unitText(VolumeUnit unit) {
    switch (unit) {
    case VolumeUnit::UsGallons:
        return translate(Text::units_GalUs);
    case VolumeUnit::ImperialGallons:
        return translate(Text::units_GalImp);
    case VolumeUnit::Litres:
        break;
    }
    return translate(Text::units_Fuel);
}

QString consumptionText(ConsumptionUnit unit) {
    switch (unit) {
    case ConsumptionUnit::KmPerLitre:
        return translate(Text::units_Endurance);
    case ConsumptionUnit::MpgUs:
        return translate(Text::units_MpgUs);
    case ConsumptionUnit::MpgImperial:
        return translate(Text::units_MpgImp);
    case ConsumptionUnit::MilesPerLitre:
        return translate(Text::units_MiPerL);
    case ConsumptionUnit::LitresPer100Km:
        break;
    }
    return translate(Text::units_Consumption);
}

} // namespace

double kilometresPerUnit(DistanceUnit unit) {
    return unit == DistanceUnit::Miles ? kKilometresPerMile : 1.0;
}

double litresPerUnit(VolumeUnit unit) {
    switch (unit) {
    case VolumeUnit::UsGallons:
        return kLitresPerUsGallon;
    case VolumeUnit::ImperialGallons:
        return kLitresPerImperialGallon;
    case VolumeUnit::Litres:
        break;
    }
    return 1.0;
}

LogUnits localeUnits(const QLocale& locale) {
    LogUnits units;
    switch (locale.measurementSystem()) {
    case QLocale::ImperialUSSystem:
        units.distance = DistanceUnit::Miles;
        units.volume = VolumeUnit::UsGallons;
        units.consumption = ConsumptionUnit::MpgUs;
        units.electricConsumption = ElectricConsumptionUnit::MiPerKwh;
        break;
    case QLocale::ImperialUKSystem:
        units.distance = DistanceUnit::Miles;
        units.consumption = ConsumptionUnit::MpgImperial;
        units.electricConsumption = ElectricConsumptionUnit::MiPerKwh;
        break;
    case QLocale::MetricSystem:
        break;
    }
    units.currency = fittedCurrency(locale.currencySymbol());
    return units;
}

QString fittedCurrency(const QString& text) {
    return fieldFit(text.trimmed(), kMaxCurrencyUnits + 1);
}

bool consumptionFits(const LogUnits& units) {
    return units.consumption != ConsumptionUnit::MilesPerLitre ||
           (units.distance == DistanceUnit::Miles && units.volume == VolumeUnit::Litres);
}

bool electricConsumptionFits(const LogUnits& units) {
    return measureOf(units.electricConsumption).distance == units.distance;
}

ElectricConsumptionUnit kwhPer100Of(DistanceUnit distance) {
    return distance == DistanceUnit::Miles ? ElectricConsumptionUnit::KwhPer100Mi
                                           : ElectricConsumptionUnit::KwhPer100Km;
}

qint64 distanceIn(const LogUnits& units, qint64 storedDistance) {
    if (units.distance == units.stored)
        return storedDistance;
    return qint64(std::llround(converted(double(storedDistance), units.stored, units.distance)));
}

float volumeIn(const LogUnits& units, float litres) {
    return float(double(litres) / litresPerUnit(units.volume));
}

bool consumptionIsDistancePerVolume(const LogUnits& units) {
    return measureOf(units.consumption).distancePerVolume;
}

float consumptionIn(const LogUnits& units, float litresPer100Stored) {
    return consumptionAs(measureOf(units.consumption), units.stored, litresPer100Stored);
}

float electricConsumptionIn(const LogUnits& units, float kwhPer100Stored) {
    return consumptionAs(measureOf(units.electricConsumption), units.stored, kwhPer100Stored);
}

float amountIn(const LogUnits& units, bool charge, float amount) {
    return charge ? amount : volumeIn(units, amount);
}

float enduranceIn(const LogUnits& units, float storedPerLitre) {
    return float(converted(double(storedPerLitre), units.stored, units.distance) *
                 litresPerUnit(units.volume));
}

float costOfDistIn(const LogUnits& units, float costPer100Stored) {
    return float(perDistance(double(costPer100Stored), units.stored, units.distance));
}

float unitCostIn(const LogUnits& units, float costPerLitre) {
    return float(double(costPerLitre) * litresPerUnit(units.volume));
}

bool storedDistanceFrom(const LogUnits& units, double distance, qint32* stored) {
    const double rounded = std::round(converted(distance, units.distance, units.stored));
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<qint32>::min() ||
        rounded > std::numeric_limits<qint32>::max())
        return false;
    *stored = qint32(rounded);
    return true;
}

float litresFrom(const LogUnits& units, float volume) {
    return float(double(volume) * litresPerUnit(units.volume));
}

float amountFrom(const LogUnits& units, bool charge, float amount) {
    return charge ? amount : litresFrom(units, amount);
}

UnitTexts unitTexts(const LogUnits& units) {
    UnitTexts texts;
    const QString languageCurrency = translate(Text::units_Cost);
    texts.metricDistance = units.distance == DistanceUnit::Kilometres;
    texts.metricVolume = units.volume == VolumeUnit::Litres;
    texts.languageCurrency = units.currency.isEmpty() || units.currency == languageCurrency;
    texts.currency = texts.languageCurrency ? languageCurrency : units.currency;
    texts.odometer =
        texts.metricDistance ? translate(Text::units_Odometer) : translate(Text::units_Mi);
    texts.distance =
        texts.metricDistance ? translate(Text::units_Distance) : translate(Text::units_Mi);
    texts.volume = unitText(units.volume);
    texts.consumption = consumptionText(units.consumption);

    const QString per = translate(Text::units_Per);
    const QString perMonth = translate(Text::units_PerMonth);
    const bool metric = texts.metricDistance && texts.metricVolume;
    texts.endurance =
        metric ? translate(Text::units_Endurance) : per.arg(texts.distance, texts.volume);
    texts.unitCost = texts.languageCurrency && texts.metricVolume
                         ? translate(Text::units_FuelCost)
                         : per.arg(texts.currency, texts.volume);
    texts.costOfDist = texts.languageCurrency && texts.metricDistance
                           ? translate(Text::units_CostOfDist)
                           : translate(Text::units_Per100).arg(texts.currency, texts.distance);
    texts.monthlyCost =
        texts.languageCurrency ? translate(Text::units_MonthlyCost) : perMonth.arg(texts.currency);
    texts.monthlyDistance = texts.metricDistance ? translate(Text::units_MonthlyDistance)
                                                 : perMonth.arg(texts.distance);

    texts.energy = translate(Text::units_Kwh);
    const QString per100 = translate(Text::units_Per100);
    switch (units.electricConsumption) {
    case ElectricConsumptionUnit::KwhPer100Km:
        texts.electricConsumption = per100.arg(texts.energy, translate(Text::units_Distance));
        break;
    case ElectricConsumptionUnit::KwhPer100Mi:
        texts.electricConsumption = per100.arg(texts.energy, translate(Text::units_Mi));
        break;
    case ElectricConsumptionUnit::KmPerKwh:
        texts.electricConsumption = per.arg(translate(Text::units_Distance), texts.energy);
        break;
    case ElectricConsumptionUnit::MiPerKwh:
        texts.electricConsumption = per.arg(translate(Text::units_Mi), texts.energy);
        break;
    }
    texts.energyCost = per.arg(texts.currency, texts.energy);
    return texts;
}

QString amountUnit(const UnitTexts& texts, bool charge) {
    return charge ? texts.energy : texts.volume;
}
