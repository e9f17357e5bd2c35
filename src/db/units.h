#pragma once

// The units a vehicle's log is shown and typed in. The file holds the odometer readings in the
// log's stored distance unit (kilometres, or whole miles for a log created in miles), litres and
// the cost as entered; these convert on the way to the screen (or a CSV file) and back.

#include <QString>
#include <QtGlobal>

class QLocale;

// The stored codes (one byte each in the log settings block): never renumber.
enum class DistanceUnit : quint8 { Kilometres = 0, Miles = 1 };
enum class VolumeUnit : quint8 { Litres = 0, UsGallons = 1, ImperialGallons = 2 };
enum class ConsumptionUnit : quint8 {
    LitresPer100Km = 0,
    KmPerLitre = 1,
    MpgUs = 2,
    MpgImperial = 3,
    MilesPerLitre = 4, // offered for miles with litres
};

// What the vehicle runs on: fuel (every log before this existed), electricity, or both.
enum class VehicleEnergy : quint8 { Fuel = 0, Electric = 1, PlugInHybrid = 2 };
// How electricity consumption is shown: the kilometre units for logs shown in kilometres, the
// mile units for logs shown in miles.
enum class ElectricConsumptionUnit : quint8 {
    KwhPer100Km = 0,
    KwhPer100Mi = 1,
    KmPerKwh = 2,
    MiPerKwh = 3,
};

struct LogUnits {
    DistanceUnit distance = DistanceUnit::Kilometres;
    VolumeUnit volume = VolumeUnit::Litres;
    ConsumptionUnit consumption = ConsumptionUnit::LitresPer100Km;
    // Empty: the currency text of the language file.
    QString currency;
    // The unit of the odometer readings in the file, and so of every distance derived from them
    // (the figures below take "per 100 stored units"). Chosen when the log is created and never
    // changed afterwards: other display units convert what is shown, never the readings.
    DistanceUnit stored = DistanceUnit::Kilometres;
    // The vehicle's energy, kept with the units in the log settings block.
    VehicleEnergy energy = VehicleEnergy::Fuel;
    ElectricConsumptionUnit electricConsumption = ElectricConsumptionUnit::KwhPer100Km;
    // The price of a kWh charged at home, in the log's currency; 0 when none is set.
    float homePricePerKwh = 0;

    bool operator==(const LogUnits&) const = default;
};

// The size of each unit in kilometres and litres: 1.609344 km a mile, 3.785411784 l a US gallon,
// 4.54609 l an imperial gallon.
double kilometresPerUnit(DistanceUnit unit);
double litresPerUnit(VolumeUnit unit);

// Longest currency text kept, in UTF-16 units.
constexpr int kMaxCurrencyUnits = 8;

// What a new log starts with where the locale is used: kilometres, litres and l / 100 km under
// the metric system, miles, US gallons and mpg (US) under the US one, miles, litres and
// mpg (imperial) under the UK one; the locale's currency symbol.
LogUnits localeUnits(const QLocale& locale);

// A currency text as the log keeps it: trimmed, at most kMaxCurrencyUnits units, never half a
// surrogate pair.
QString fittedCurrency(const QString& text);

// Whether the consumption unit goes with the distance and volume units (miles per litre only
// with miles and litres).
bool consumptionFits(const LogUnits& units);
// Whether the electricity consumption unit goes with the distance unit: kWh / 100 km and km / kWh
// with kilometres, kWh / 100 mi and mi / kWh with miles.
bool electricConsumptionFits(const LogUnits& units);
// Whether fuel consumption is shown as a distance per volume (mpg, km / l): then it is the same
// figure as the endurance.
bool consumptionIsDistancePerVolume(const LogUnits& units);
// kWh per 100 of the distance unit, what a log shown in that unit falls back to.
ElectricConsumptionUnit kwhPer100Of(DistanceUnit distance);

// From the stored values to the chosen units. Whole distances are rounded to whole units, so
// that a reading typed in miles and stored in kilometres shows the same miles again (one typed
// in kilometres into a log of miles is stored to the nearest mile). Distances in the stored unit,
// and figures per stored unit, come back exactly as they are.
qint64 distanceIn(const LogUnits& units, qint64 storedDistance);
float volumeIn(const LogUnits& units, float litres);
// A consumption in litres per 100 stored units in the chosen consumption unit. A negative value
// stays negative (not available, or an odometer lower than the previous one); a value per
// distance that has no finite inverse (zero, infinite, NaN) gives NaN.
float consumptionIn(const LogUnits& units, float litresPer100Stored);
// An electricity consumption in kWh per 100 stored units in the chosen electricity consumption
// unit, with the same conventions for what is not available.
float electricConsumptionIn(const LogUnits& units, float kwhPer100Stored);
// The amount of a fill as shown: the volume of fuel, or the kWh of a charge as they are.
float amountIn(const LogUnits& units, bool charge, float amount);
// Stored units per litre in distance units per volume unit.
float enduranceIn(const LogUnits& units, float storedPerLitre);
// A cost per 100 stored units in cost per 100 distance units.
float costOfDistIn(const LogUnits& units, float costPer100Stored);
// A cost per litre in cost per volume unit.
float unitCostIn(const LogUnits& units, float costPerLitre);

// From the chosen units back to the stored values: a distance rounded to whole stored units and
// kept in the 32-bit range (false when the distance is beyond it or not finite).
bool storedDistanceFrom(const LogUnits& units, double distance, qint32* stored);
float litresFrom(const LogUnits& units, float volume);
// A shown amount back to what the fill stores: litres, or the kWh of a charge.
float amountFrom(const LogUnits& units, bool charge, float amount);

// The unit texts of the windows in the loaded language. Units the language file names (km, l,
// l / 100 km, km / l, its currency) come from the file; the others from their own texts.
struct UnitTexts {
    QString odometer;
    QString distance;
    QString volume;
    QString currency;
    QString consumption;
    QString endurance;
    QString unitCost;
    QString costOfDist;
    QString monthlyCost;
    QString monthlyDistance;
    // Electricity: "kWh", its consumption unit and the price of a kWh.
    QString energy;
    QString electricConsumption;
    QString energyCost;
    // Whether a text from the language file that names km, l or its currency still holds.
    bool metricDistance = true;
    bool metricVolume = true;
    bool languageCurrency = true;
};
UnitTexts unitTexts(const LogUnits& units);
// The unit of a fill's amount: the volume unit, or kWh for a charge.
QString amountUnit(const UnitTexts& texts, bool charge);
