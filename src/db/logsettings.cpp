#include "db/logsettings.h"

#include "db/crc32.h"
#include "db/records.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr quint8 kTag[4] = {'T', 'K', 'L', 'S'};
constexpr int kVersionOffset = 4;
constexpr int kDistanceOffset = 6;
constexpr int kVolumeOffset = 7;
constexpr int kConsumptionOffset = 8;
constexpr int kCurrencyLengthOffset = 9;
constexpr int kCurrencyOffset = 10;
// Zero in every block written before readings could be stored in miles: kilometres.
constexpr int kStoredDistanceOffset = 26;
// Zero in every block of version 1: a fuel vehicle.
constexpr int kEnergyOffset = 27;
constexpr int kElectricConsumptionOffset = 28;
constexpr int kHomePriceOffset = 29;
// From version 3: the vehicle's name, its length in UTF-16 units and the units.
constexpr int kNameLengthOffset = 33;
constexpr int kNameOffset = 34;
constexpr int kChecksumOffset = kLogSettingsSize - 4;

bool isValid(const LogSettingsBlock& block) {
    return std::equal(std::begin(kTag), std::end(kTag), block.begin()) &&
           qFromLittleEndian<quint16>(block.data() + kVersionOffset) >= 1 &&
           qFromLittleEndian<quint32>(block.data() + kChecksumOffset) ==
               crc32(QByteArrayView(block.data(), kChecksumOffset));
}

template <typename Unit> Unit unitAt(const LogSettingsBlock& block, int offset, Unit last) {
    const quint8 code = block[std::size_t(offset)];
    return code <= quint8(last) ? Unit(code) : Unit(0);
}

ElectricConsumptionUnit electricConsumptionAt(const LogSettingsBlock& block, DistanceUnit shown) {
    LogUnits units;
    units.distance = shown;
    units.electricConsumption =
        unitAt(block, kElectricConsumptionOffset, ElectricConsumptionUnit::MiPerKwh);
    return electricConsumptionFits(units) ? units.electricConsumption : kwhPer100Of(shown);
}

// A price of a kWh as the log keeps it: 0 (none) for anything that is no price.
float homePrice(float price) {
    return std::isfinite(price) && price > 0 ? price : 0.0f;
}

// Writes a code unless the block's own code already reads as it: a later version's code for a
// unit this version does not know stays while nothing was changed.
void writeCode(LogSettingsBlock* out, int offset, quint8 code, bool readsAsCode) {
    if (!readsAsCode)
        (*out)[std::size_t(offset)] = code;
}

quint16 versionOf(const LogSettingsBlock& block) {
    return qFromLittleEndian<quint16>(block.data() + kVersionOffset);
}

void seal(LogSettingsBlock* block) {
    qToLittleEndian<quint32>(crc32(QByteArrayView(block->data(), kChecksumOffset)),
                             block->data() + kChecksumOffset);
}

} // namespace

std::optional<LogUnits> readLogSettings(const LogSettingsBlock& block) {
    if (!isValid(block))
        return std::nullopt;
    LogUnits units;
    units.distance = unitAt(block, kDistanceOffset, DistanceUnit::Miles);
    units.stored = unitAt(block, kStoredDistanceOffset, DistanceUnit::Miles);
    units.volume = unitAt(block, kVolumeOffset, VolumeUnit::ImperialGallons);
    units.consumption = unitAt(block, kConsumptionOffset, ConsumptionUnit::MilesPerLitre);
    if (!consumptionFits(units))
        units.consumption = ConsumptionUnit::LitresPer100Km;
    const int length = std::min<int>(block[kCurrencyLengthOffset], kMaxCurrencyUnits);
    QString currency(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        currency[i] = QChar(qFromLittleEndian<quint16>(block.data() + kCurrencyOffset + 2 * i));
    units.currency = fittedCurrency(currency);
    units.energy = unitAt(block, kEnergyOffset, VehicleEnergy::PlugInHybrid);
    units.electricConsumption = electricConsumptionAt(block, units.distance);
    units.homePricePerKwh = homePrice(qFromLittleEndian<float>(block.data() + kHomePriceOffset));
    return units;
}

LogSettingsBlock writeLogSettings(const LogSettingsBlock& block, const LogUnits& units) {
    LogSettingsBlock out{};
    if (isValid(block)) {
        out = block;
        if (qFromLittleEndian<quint16>(out.data() + kVersionOffset) < kLogSettingsVersion)
            qToLittleEndian<quint16>(kLogSettingsVersion, out.data() + kVersionOffset);
    } else {
        std::copy(std::begin(kTag), std::end(kTag), out.begin());
        qToLittleEndian<quint16>(kLogSettingsVersion, out.data() + kVersionOffset);
    }
    out[kDistanceOffset] = quint8(units.distance);
    out[kVolumeOffset] = quint8(units.volume);
    out[kConsumptionOffset] = quint8(units.consumption);
    // A code of a later version's unit stays while it reads as the unit given.
    writeCode(&out, kStoredDistanceOffset, quint8(units.stored),
              unitAt(out, kStoredDistanceOffset, DistanceUnit::Miles) == units.stored);
    writeCode(&out, kEnergyOffset, quint8(units.energy),
              unitAt(out, kEnergyOffset, VehicleEnergy::PlugInHybrid) == units.energy);
    writeCode(&out, kElectricConsumptionOffset, quint8(units.electricConsumption),
              electricConsumptionAt(out, units.distance) == units.electricConsumption);
    qToLittleEndian<float>(homePrice(units.homePricePerKwh), out.data() + kHomePriceOffset);
    const QString currency = fittedCurrency(units.currency);
    out[kCurrencyLengthOffset] = quint8(currency.size());
    for (int i = 0; i < kMaxCurrencyUnits; ++i)
        qToLittleEndian<quint16>(i < currency.size() ? currency.at(i).unicode() : 0,
                                 out.data() + kCurrencyOffset + 2 * i);
    seal(&out);
    return out;
}

QString fittedVehicleName(const QString& text) {
    QString name = text;
    for (QChar& c : name) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return fieldFit(name.trimmed(), kMaxVehicleNameUnits + 1).trimmed();
}

QString readVehicleName(const LogSettingsBlock& block) {
    if (!isValid(block) || versionOf(block) < kLogSettingsNameVersion)
        return {};
    const int length = std::min<int>(block[kNameLengthOffset], kMaxVehicleNameUnits);
    QString name(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        name[i] = QChar(qFromLittleEndian<quint16>(block.data() + kNameOffset + 2 * i));
    return fittedVehicleName(name);
}

LogSettingsBlock writeVehicleName(const LogSettingsBlock& block, const QString& name) {
    const QString fitted = fittedVehicleName(name);
    const bool valid = isValid(block);
    if (fitted.isEmpty() && (!valid || versionOf(block) < kLogSettingsNameVersion))
        return block;
    LogSettingsBlock out = valid ? block : writeLogSettings({}, LogUnits{});
    if (versionOf(out) < kLogSettingsNameVersion)
        qToLittleEndian<quint16>(kLogSettingsNameVersion, out.data() + kVersionOffset);
    out[kNameLengthOffset] = quint8(fitted.size());
    for (int i = 0; i < kMaxVehicleNameUnits; ++i)
        qToLittleEndian<quint16>(i < fitted.size() ? fitted.at(i).unicode() : 0,
                                 out.data() + kNameOffset + 2 * i);
    seal(&out);
    return out;
}
