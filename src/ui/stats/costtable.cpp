#include "ui/stats/costtable.h"

#include "db/formats.h"
#include "localisation/language.h"
#include "ui/main/costlistmodel.h"

#include <QHeaderView>
#include <QTableWidget>
#include <cmath>

namespace {

QString figureText(double value) {
    return std::isfinite(value) ? formatAmount(float(value)) : QString();
}

} // namespace

QList<CostTableRow> costTableRows(const CostFigures& figures, const VehicleCosts& costs,
                                  const LogUnits& units) {
    // Each row's figures as the whole's: over the same months and the same distance.
    const auto row = [&figures, &units](const QString& label, double amount) {
        CostTableRow made{label, amount};
        if (std::isfinite(figures.months) && figures.months > 0)
            made.perMonth = amount / figures.months;
        if (figures.distance > 0)
            made.per100 =
                double(costOfDistIn(units, float(amount * 100 / double(figures.distance))));
        return made;
    };
    QList<CostTableRow> rows{row(translate(Text::costfigures_Fuel), figures.fuel)};
    for (const CategoryCosts& category : figures.categories) {
        if (category.count > 0)
            rows.append(row(costCategoryName(costs, category.categoryId), category.amount));
    }
    rows.append(row(translate(Text::costfigures_Everything), figures.total));
    return rows;
}

QTableWidget* createCostTable(QWidget* parent, const QString& objectName) {
    auto* table = new QTableWidget(0, 4, parent);
    table->setObjectName(objectName);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void showCostTable(QTableWidget* table, const CostFigures& figures, const VehicleCosts& costs,
                   const LogUnits& units) {
    const UnitTexts texts = unitTexts(units);
    table->setHorizontalHeaderLabels({translate(Text::costfigures_ColWhat),
                                      translate(Text::costfigures_ColTotal).arg(texts.currency),
                                      texts.monthlyCost, texts.costOfDist});
    const QList<CostTableRow> rows = costTableRows(figures, costs, units);
    table->setRowCount(int(rows.size()));
    for (int line = 0; line < rows.size(); ++line) {
        const CostTableRow& row = rows.at(line);
        const QString cells[] = {row.label, figureText(row.amount), figureText(row.perMonth),
                                 figureText(row.per100)};
        for (int column = 0; column < 4; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // The last row is the sum of those above it.
            if (line == rows.size() - 1) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            table->setItem(line, column, item);
        }
    }
    table->resizeColumnsToContents();
    table->setAccessibleName(costTableCaption(figures));
}

QString costTableCaption(const CostFigures& figures) {
    return translate(Text::costfigures_Since)
        .arg(costDateText(figures.days.first), costDateText(figures.days.last));
}
