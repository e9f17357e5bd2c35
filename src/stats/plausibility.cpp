#include "stats/plausibility.h"

#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kJumpFactor = 3.0;
constexpr double kJumpKilometres = 1500.0;
constexpr double kPriceSpread = 0.5;
constexpr int kPriceFills = 5;
// A value on its limit stays within it, whatever float rounding did to it on the way.
constexpr double kRounding = 1.0e-6;
constexpr quint64 kFutureMargin = 24ull * 60 * 60 * 10'000'000; // a day in 100 ns

// The log as storing the candidate would leave it: the other fills in their order, and the
// candidate at its row among them.
class PlacedLog {
public:
    PlacedLog(const CFuelDatabase& database, const FillCandidate& candidate)
        : m_database(database), m_candidate(candidate) {
        const int count = database.getFillCount();
        if (candidate.editedIndex >= 0 && candidate.editedIndex < count) {
            m_edited = candidate.editedIndex;
            m_row = database.rowForTime(m_edited, candidate.fill.dateTime);
        } else {
            // After every fill of an earlier or equal time, as an added fill goes.
            int low = 0;
            int high = count;
            while (low < high) {
                const int middle = low + (high - low) / 2;
                if (compareFileTime(database.getFill(middle)->dateTime, candidate.fill.dateTime) <=
                    0)
                    low = middle + 1;
                else
                    high = middle;
            }
            m_row = low;
        }
    }

    int count() const { return otherCount() + 1; }
    int row() const { return m_row; }
    const FillRecord& fill(int index) const {
        return index == m_row ? m_candidate.fill : *m_database.getFill(databaseIndex(index));
    }
    FillFlags flags(int index) const {
        return index == m_row ? m_candidate.flags : m_database.getFillFlags(databaseIndex(index));
    }
    // The fills of the log without the edited one.
    int otherCount() const { return m_database.getFillCount() - (m_edited >= 0 ? 1 : 0); }
    const FillRecord& other(int index) const {
        return *m_database.getFill(m_edited >= 0 && index >= m_edited ? index + 1 : index);
    }

private:
    int databaseIndex(int index) const { return index < m_row ? index : index - 1; }

    const CFuelDatabase& m_database;
    const FillCandidate& m_candidate;
    int m_edited = -1;
    int m_row = 0;
};

qint64 longestDistance(const PlacedLog& log) {
    qint64 longest = 0;
    for (int i = 1; i < log.otherCount(); ++i)
        longest = std::max(longest, qint64(log.other(i).odometer) - log.other(i - 1).odometer);
    return longest;
}

// The consumption of every run the candidate takes part in, through the derived values: the
// fills from the start of its run to the next fill that is not partial are copied into a small
// log of their own.
// Only the runs of the candidate's energy: the fills of the other one between are copied for
// their place, and their own runs (which the candidate does not change) are not looked at.
QList<float> changedConsumptions(const PlacedLog& log, FillingMethod method) {
    const bool charge = log.flags(log.row()).charge;
    const auto runEnd = [&](int index) {
        return log.flags(index).charge == charge && !log.flags(index).partial;
    };
    int first = log.row() - 1;
    while (first > 0 && !runEnd(first))
        --first;
    first = std::max(first, 0);
    int last = log.row() + 1;
    while (last < log.count() - 1 && !runEnd(last))
        ++last;
    last = std::min(last, log.count() - 1);

    CFuelDatabase runs;
    for (int i = first; i <= last; ++i)
        runs.insertFillAt(i - first, log.fill(i), log.flags(i));
    QList<float> consumptions;
    for (int i = log.row() - first; i <= last - first; ++i) {
        if (isChargeFill(runs, i) != charge)
            continue;
        const float consumption = fillConsumption(runs, i, method);
        if (!std::isnan(consumption))
            consumptions.append(consumption);
    }
    return consumptions;
}

// A consumption per 100 of the log's stored distance units in litres per 100 km, where the
// limits are.
float litresPer100Km(const LogUnits& units, float perStoredDistance) {
    LogUnits metric = units;
    metric.consumption = ConsumptionUnit::LitresPer100Km;
    return consumptionIn(metric, perStoredDistance);
}

bool below(double value, double limit) {
    return value < limit * (1.0 - kRounding);
}

bool above(double value, double limit) {
    return value > limit * (1.0 + kRounding);
}

bool hasBothEnergies(const CFuelDatabase& database) {
    return database.units().energy == VehicleEnergy::PlugInHybrid;
}

bool hasPrice(const FillRecord& fill) {
    return fill.fuel > 0.0f && fill.cost > 0.0f && isPlausibleAmount(fillUnitCost(fill));
}

QString withUnit(const QString& number, const QString& unit) {
    return number + u' ' + unit;
}

} // namespace

QList<FillDoubt> fillDoubts(const CFuelDatabase& database, const FillCandidate& candidate,
                            FillingMethod method, const FileTime& now) {
    const PlacedLog log(database, candidate);
    const FillRecord& fill = candidate.fill;
    const int row = log.row();
    const bool hasPrevious = row > 0;
    QList<FillDoubt> doubts;

    if (hasPrevious && fill.odometer <= log.fill(row - 1).odometer)
        doubts.append(FillDoubt{DoubtKind::OdometerNotAbovePrevious, double(fill.odometer),
                                double(log.fill(row - 1).odometer)});
    if (row + 1 < log.count() && fill.odometer >= log.fill(row + 1).odometer)
        doubts.append(FillDoubt{DoubtKind::OdometerNotBelowNext, double(fill.odometer),
                                double(log.fill(row + 1).odometer)});

    if (hasPrevious && fill.odometer > log.fill(row - 1).odometer) {
        const LogUnits units = database.units();
        qint32 limit = 0;
        const qint64 distance = qint64(fill.odometer) - log.fill(row - 1).odometer;
        const qint64 longest = longestDistance(log);
        if (longest > 0 && double(distance) > kJumpFactor * double(longest) &&
            storedDistanceFrom(units, kJumpKilometres / kilometresPerUnit(units.distance),
                               &limit) &&
            distance > limit)
            doubts.append(FillDoubt{DoubtKind::DistanceJump, double(distance), double(longest)});
    }

    const bool charge = candidate.flags.charge;
    const auto withEnergy = [charge](FillDoubt doubt) {
        doubt.charge = charge;
        return doubt;
    };
    if (hasPrevious) {
        const float lowest =
            charge ? kLowestPlausibleElectricConsumption : kLowestPlausibleConsumption;
        const float highest =
            charge ? kHighestPlausibleElectricConsumption : kHighestPlausibleConsumption;
        for (const float consumption : changedConsumptions(log, method)) {
            // A lower reading than the run's start is the order's doubt, no fuel the stored fills'.
            const float metric = litresPer100Km(database.units(), consumption);
            if (std::isfinite(metric) && metric > 0.0f &&
                (below(metric, lowest) || above(metric, highest))) {
                doubts.append(withEnergy(FillDoubt{DoubtKind::Consumption, double(consumption)}));
                break;
            }
        }
    }

    // A free fill (no cost) has no price to doubt; a charge's price compares with charges only.
    if (hasPrevious && hasPrice(fill)) {
        double sum = 0.0;
        int counted = 0;
        for (int i = row - 1; i >= 0 && counted < kPriceFills; --i) {
            if (log.flags(i).charge == charge && hasPrice(log.fill(i))) {
                sum += double(fillUnitCost(log.fill(i)));
                ++counted;
            }
            // A log of one energy looks at the last few fills only, priced or not.
            if (row - i >= kPriceFills && !hasBothEnergies(database))
                break;
        }
        const double average = counted > 0 ? sum / counted : 0.0;
        const double price = double(fillUnitCost(fill));
        if (counted > 0 && above(std::fabs(price - average), kPriceSpread * average))
            doubts.append(withEnergy(FillDoubt{DoubtKind::UnitPrice, price, average}));
    }

    if (fill.dateTime.value() > now.value() + kFutureMargin)
        doubts.append(FillDoubt{DoubtKind::FutureDate, 0.0, 0.0, fill.dateTime});
    return doubts;
}

QString doubtText(const FillDoubt& doubt, const LogUnits& units) {
    const UnitTexts texts = unitTexts(units);
    const auto reading = [&](double stored) {
        return withUnit(QString::number(distanceIn(units, qint64(stored))), texts.odometer);
    };
    const auto distance = [&](double stored) {
        return withUnit(QString::number(distanceIn(units, qint64(stored))), texts.distance);
    };
    const auto consumption = [&](float perStoredDistance) {
        return dialogValueText(consumptionIn(units, perStoredDistance));
    };
    const auto price = [&](double perLitre) {
        return withUnit(formatAmount(unitCostIn(units, float(perLitre)), 3), texts.unitCost);
    };
    switch (doubt.kind) {
    case DoubtKind::OdometerNotAbovePrevious:
        return translate(Text::fill_doubtprevious)
            .arg(reading(doubt.value), reading(doubt.reference));
    case DoubtKind::OdometerNotBelowNext:
        return translate(Text::fill_doubtnext).arg(reading(doubt.value), reading(doubt.reference));
    case DoubtKind::DistanceJump:
        return translate(Text::fill_doubtjump)
            .arg(distance(doubt.value), distance(doubt.reference));
    case DoubtKind::Consumption: {
        // In a distance per volume the lower limit is the higher number.
        const float perKilometre = litresPer100Km(units, 1.0f);
        QString low = consumption(kLowestPlausibleConsumption / perKilometre);
        QString high = consumption(kHighestPlausibleConsumption / perKilometre);
        if (units.consumption != ConsumptionUnit::LitresPer100Km)
            std::swap(low, high);
        return translate(Text::fill_doubtconsumption)
            .arg(withUnit(consumption(float(doubt.value)), texts.consumption), low,
                 withUnit(high, texts.consumption));
    }
    case DoubtKind::UnitPrice:
        return translate(Text::fill_doubtprice).arg(price(doubt.value), price(doubt.reference));
    case DoubtKind::FutureDate:
        break;
    }
    return translate(Text::fill_doubtfuture).arg(formatDate(doubt.date));
}
