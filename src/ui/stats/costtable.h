#pragma once

// What the vehicle cost over a period as the totals and the statistics over time show it: one
// row for the fuel, one per category that cost something, one for everything together; the
// total, per month and per 100 distance units of each.

#include "db/units.h"
#include "stats/costs.h"

#include <QList>
#include <QString>

class QTableWidget;

struct CostTableRow {
    QString label;
    double amount = 0;
    double perMonth = CostFigures::kNone; // NaN where the figures have none
    double per100 = CostFigures::kNone;   // per 100 of the log's distance unit
};

// Fuel, the categories with costs in the period in the log's order, and everything.
QList<CostTableRow> costTableRows(const CostFigures& figures, const VehicleCosts& costs,
                                  const LogUnits& units);

// A table widget for the rows: headers, texts and names for screen readers.
QTableWidget* createCostTable(QWidget* parent, const QString& objectName);
void showCostTable(QTableWidget* table, const CostFigures& figures, const VehicleCosts& costs,
                   const LogUnits& units);
// The caption over the table: the days it covers.
QString costTableCaption(const CostFigures& figures);
