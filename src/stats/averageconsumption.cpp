#include "stats/averageconsumption.h"

#include "db/fueldatabase.h"
#include "stats/totals.h"

#include <algorithm>

void CAverageConsumption::reset(FillingMethod method) {
    m_method = method;
    m_charges = followsCharges();
    const auto count = size_t(m_database.getFillCount());
    m_chargedFuel.assign(count, 0.0f);
    m_fuelSums.assign(count, 0.0f);
    m_runDistance.assign(count, 0);
    m_endsRun.assign(count, 0);
    m_distance = 0;
    m_runs = 0;
    m_sumsValidBefore = 0;
    update(0, int(count) - 1);
}

bool CAverageConsumption::followsCharges() const {
    return m_database.units().energy == VehicleEnergy::Electric;
}

bool CAverageConsumption::followed() const {
    return m_chargedFuel.size() == size_t(m_database.getFillCount()) &&
           m_charges == followsCharges();
}

void CAverageConsumption::fillsInserted(int first, int last) {
    const auto at = size_t(first);
    const auto count = size_t(last - first + 1);
    if (first < 0 || last < first || at > m_chargedFuel.size())
        return reset(m_method);
    m_chargedFuel.insert(m_chargedFuel.begin() + at, count, 0.0f);
    m_fuelSums.insert(m_fuelSums.begin() + at, count, 0.0f);
    m_runDistance.insert(m_runDistance.begin() + at, count, 0);
    m_endsRun.insert(m_endsRun.begin() + at, count, 0);
    sumsChangeFrom(first);
    if (!followed())
        return reset(m_method);
    update(first, last);
}

void CAverageConsumption::fillsRemoved(int first, int last) {
    if (first < 0 || last < first || size_t(last) >= m_chargedFuel.size())
        return reset(m_method);
    for (int i = first; i <= last; ++i) {
        m_distance -= m_runDistance[i];
        m_runs -= m_endsRun[i];
    }
    const auto from = size_t(first);
    const auto to = size_t(last) + 1;
    m_chargedFuel.erase(m_chargedFuel.begin() + from, m_chargedFuel.begin() + to);
    m_fuelSums.erase(m_fuelSums.begin() + from, m_fuelSums.begin() + to);
    m_runDistance.erase(m_runDistance.begin() + from, m_runDistance.begin() + to);
    m_endsRun.erase(m_endsRun.begin() + from, m_endsRun.begin() + to);
    sumsChangeFrom(first);
    if (!followed())
        return reset(m_method);
    // The fill after the gap (or the new last fill) now follows the one before the gap.
    update(first, first);
}

void CAverageConsumption::fillsChanged(int first, int last) {
    if (!followed())
        return reset(m_method);
    update(first, last);
}

void CAverageConsumption::update(int first, int last) {
    const int count = m_database.getFillCount();
    if (count == 0)
        return;
    first = std::clamp(first, 0, count - 1);
    last = std::clamp(last, first, count - 1);
    // From the start of the run that holds `first` (the fill before it that is not partial) to
    // the end of the run that holds `last`: outside them no run has changed.
    int from = first - 1;
    for (; from > 0; --from) {
        const FillFlags flags = m_database.getFillFlags(from);
        if (flags.charge == m_charges && !flags.partial)
            break;
    }
    from = std::max(from, 0);
    const int to = lastFillDependingOn(m_database, last);
    // The run after them charges `to` itself when the tank is driven empty.
    const int through = to < count - 1 ? lastFillDependingOn(m_database, to) : to;

    std::fill(m_chargedFuel.begin() + from, m_chargedFuel.begin() + to + 1, 0.0f);
    for (int end = from; end <= through; ++end) {
        m_distance -= m_runDistance[end];
        m_runs -= m_endsRun[end];
        m_runDistance[end] = 0;
        m_endsRun[end] = 0;
        FillRun run;
        if (isChargeFill(m_database, end) != m_charges ||
            fillRun(m_database, end, &run) != FillRunStatus::Figure)
            continue;
        // In 64 bits, as the totals have it.
        m_runDistance[end] = qint64(m_database.getFill(end)->odometer) -
                             qint64(m_database.getFill(run.start)->odometer);
        m_endsRun[end] = 1;
        m_distance += m_runDistance[end];
        ++m_runs;
        const auto [charged, lastCharged] = chargedFills(run, m_method);
        for (int i = std::max(charged, from); i <= std::min(lastCharged, to); ++i) {
            if (chargedTo(m_database, run, i))
                m_chargedFuel[i] = m_database.getFill(i)->fuel;
        }
    }
    sumsChangeFrom(from);
}

float CAverageConsumption::consumption() {
    // The vehicle may have become electric (or no longer be) without a change of its fills.
    if (m_charges != followsCharges())
        reset(m_method);
    if (m_runs == 0 || m_fuelSums.empty())
        return FillTotals::kNone;
    // Float addition does not associate: the sums after a change are added again in order.
    // Adding the 0 of a fill that is not charged leaves a sum as it is (no sum here is -0).
    const auto from = size_t(std::max(m_sumsValidBefore, 0));
    float sum = from > 0 ? m_fuelSums[from - 1] : 0.0f;
    for (size_t i = from; i < m_fuelSums.size(); ++i) {
        sum += m_chargedFuel[i];
        m_fuelSums[i] = sum;
    }
    m_sumsValidBefore = int(m_fuelSums.size());
    return consumptionOver(m_distance, m_fuelSums.back());
}
