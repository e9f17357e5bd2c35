#pragma once

// The average consumption over the whole log, the figure computeTotals gives, followed through
// the changes of the log row by row: a change costs the runs around it and a re-add of the
// charged fuel after it, not a pass over the whole history through the run rule.

#include "stats/derived.h"

#include <QtGlobal>
#include <algorithm>
#include <vector>

class CFuelDatabase;

class CAverageConsumption {
public:
    explicit CAverageConsumption(const CFuelDatabase& database) : m_database(database) {}

    // Everything afresh: another log, or another filling method.
    void reset(FillingMethod method);
    // After the rows first..last have been inserted, removed or changed in place. A change the
    // figures have not followed (the count of fills does not match) starts afresh.
    void fillsInserted(int first, int last);
    void fillsRemoved(int first, int last);
    void fillsChanged(int first, int last);

    FillingMethod method() const { return m_method; }
    // Litres (kWh in an electric log) per 100 stored units, bit for bit
    // computeTotals(database, method()).consumption: the runs of the log's own energy.
    float consumption();

private:
    // The runs that hold the rows first..last, and those that charge their fills, afresh.
    void update(int first, int last);
    bool followed() const;
    bool followsCharges() const;
    // The fuel sums from `from` on are to be added again.
    void sumsChangeFrom(int from) { m_sumsValidBefore = std::min(m_sumsValidBefore, from); }

    const CFuelDatabase& m_database;
    FillingMethod m_method = FillingMethod::FullTank;
    bool m_charges = false; // follows the charges (an electric log), else the fuel
    // By fill: its fuel where a run with figures is charged with it, else 0.
    std::vector<float> m_chargedFuel;
    // By fill: the charged fuel of the fills up to it, added in index order as the totals add
    // it, so that the sum has the very same rounding. Those from m_sumsValidBefore on are added
    // again when the figure is asked for, so that several changes cost one addition.
    mutable std::vector<float> m_fuelSums;
    mutable int m_sumsValidBefore = 0;
    // By fill: the distance of the run with figures that it ends, and whether it ends one.
    std::vector<qint64> m_runDistance;
    std::vector<char> m_endsRun;
    qint64 m_distance = 0;
    int m_runs = 0;
};
