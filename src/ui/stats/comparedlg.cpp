#include "ui/stats/comparedlg.h"

#include "core/settings.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/costs.h"
#include "stats/totals.h"
#include "ui/messagebox.h"
#include "ui/stats/costtable.h"
#include "ui/stats/valuerows.h"

#include <QDate>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// The rows a vehicle of the energy fills: a fuel vehicle's figures are its fuel's, an electric
// one's its electricity's, so that each row compares one energy (or, for the cost per distance,
// what driving costs) across vehicles of any energy.
QList<TotalsRow> compareRows(VehicleEnergy energy) {
    using enum TotalsRow;
    QList<TotalsRow> rows = totalsRows(VehicleEnergy::PlugInHybrid);
    switch (energy) {
    case VehicleEnergy::Fuel:
        return QList<TotalsRow>(std::begin(kTotalsRows), std::end(kTotalsRows));
    case VehicleEnergy::Electric:
        for (const TotalsRow row :
             {Fuel, Consumption, FuelCostOfDist, ElectricCostOfDist, Endurance, ElectricShare})
            rows.removeOne(row);
        break;
    case VehicleEnergy::PlugInHybrid:
        break;
    }
    return rows;
}

} // namespace

struct CCompareDlg::Vehicle {
    QString path;
    bool readable = false;
    FillTotals totals;
    LogUnits units;
    // What it cost since its first entry, and its categories for their names.
    CostFigures figures;
    VehicleCosts costs;
};

CCompareDlg::CCompareDlg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("compareDialog"));
    setWindowTitle(translate(Text::menu_StatCompare));

    m_table = new QTableWidget(0, 0, this);
    m_table->setObjectName(QStringLiteral("compareTable"));
    m_table->setAccessibleName(windowTitle());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);

    QPushButton* ok = addCloseButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    m_table->setFocus();
}

CCompareDlg::~CCompareDlg() = default;

void CCompareDlg::setVehicles(const CFuelDatabase& open, const QStringList& otherPaths) {
    const FillingMethod method = readFillingMethod();
    QList<Vehicle> vehicles;
    const QDate today = QDate::currentDate();
    vehicles.append({open.filePath(), true, computeTotals(open, method), open.units(),
                     ownershipFigures(open, today), open.costs()});
    for (const QString& path : otherPaths) {
        CFuelDatabase database(path);
        bool damaged = !QFileInfo(path).isFile();
        // Any message of the load means the file could not be read as a whole.
        database.setMessageSink([&damaged](const QString&) { damaged = true; });
        if (!damaged)
            database.load();
        Vehicle vehicle{path, !damaged, {}, {}, {}, {}};
        if (vehicle.readable) {
            vehicle.totals = computeTotals(database, method);
            vehicle.units = database.units();
            vehicle.figures = ownershipFigures(database, today);
            vehicle.costs = database.costs();
        }
        vehicles.append(vehicle);
    }
    showVehicles(vehicles);
    m_table->resizeColumnsToContents();
    fitTableToContents();
    if (m_table->columnCount() > 0)
        m_table->setCurrentCell(0, 0);
}

// The dialog opens wide and tall enough for every column and row, as far as the screen allows.
// (The table's own adjustment to its contents keeps room for the scroll bars it had while it was
// small.)
void CCompareDlg::fitTableToContents() {
    const int frame = 2 * m_table->frameWidth();
    const QSize contents(m_table->verticalHeader()->sizeHint().width() +
                             m_table->horizontalHeader()->length() + frame,
                         m_table->horizontalHeader()->sizeHint().height() +
                             m_table->verticalHeader()->length() + frame);
    const QSize available = screen()->availableGeometry().size() * 4 / 5;
    m_table->setMinimumSize(contents.boundedTo(available));
}

// The rows of every energy among the vehicles; a log that could not be read shows that in every
// row of its column.
void CCompareDlg::showVehicles(const QList<Vehicle>& vehicles) {
    bool fuelOnly = true;
    for (const Vehicle& vehicle : vehicles)
        fuelOnly = fuelOnly && (!vehicle.readable || vehicle.units.energy == VehicleEnergy::Fuel);
    QList<TotalsRow> rows;
    for (const TotalsRow row : totalsRows(VehicleEnergy::PlugInHybrid)) {
        for (const Vehicle& vehicle : vehicles) {
            if (vehicle.readable && compareRows(vehicle.units.energy).contains(row)) {
                rows.append(row);
                break;
            }
        }
    }
    if (rows.isEmpty())
        rows = QList<TotalsRow>(std::begin(kTotalsRows), std::end(kTotalsRows));
    // Beside other energies the labels say which energy a row is about.
    LogUnits labels;
    if (!fuelOnly)
        labels.energy = VehicleEnergy::PlugInHybrid;
    m_table->clear();
    m_table->setRowCount(int(rows.size()));
    m_table->setColumnCount(int(vehicles.size()));
    QStringList rowLabels;
    for (const TotalsRow row : rows)
        rowLabels.append(totalsLabel(row, labels));
    m_table->setVerticalHeaderLabels(rowLabels);

    for (int column = 0; column < vehicles.size(); ++column) {
        const Vehicle& vehicle = vehicles.at(column);
        auto* header = new QTableWidgetItem(QFileInfo(vehicle.path).completeBaseName());
        header->setToolTip(vehicle.path);
        m_table->setHorizontalHeaderItem(column, header);
        const QList<TotalsRow> own = compareRows(vehicle.units.energy);
        for (int i = 0; i < rows.size(); ++i) {
            const TotalsRow row = rows.at(i);
            const bool monthly = row == TotalsRow::MonthlyCost || row == TotalsRow::MonthlyDistance;
            // A battery estimate waits for enough charges, as the totals have it.
            const bool noCapacity =
                row == TotalsRow::BatteryCapacity && std::isnan(vehicle.totals.capacity);
            // Each vehicle in its own units, named in every cell.
            QString text = translate(Text::stats_Unreadable);
            if (vehicle.readable &&
                ((monthly && !coversAMonth(vehicle.totals)) || !own.contains(row) || noCapacity))
                text.clear();
            else if (vehicle.readable)
                text = totalsValueText(vehicle.totals, row, vehicle.units) + u' ' +
                       totalsUnit(vehicle.totals, row, vehicle.units);
            auto* item = new QTableWidgetItem(text.trimmed());
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(i, column, item);
        }
    }
    showCosts(vehicles);
}

// Beside vehicles with other costs: what each cost since its first entry, everything together
// (in all, per month, per distance), its fuel, and each category by its name.
void CCompareDlg::showCosts(const QList<Vehicle>& vehicles) {
    const bool anyCosts = std::any_of(vehicles.begin(), vehicles.end(), [](const Vehicle& each) {
        return each.readable && !each.costs.costs.empty();
    });
    if (!anyCosts)
        return;
    QStringList labels{
        translate(Text::costfigures_Ownership), translate(Text::costfigures_OwnershipPerMonth),
        translate(Text::costfigures_OwnershipPerDistance), translate(Text::costfigures_FuelSince)};
    // Each vehicle's table rows: fuel, its categories, everything.
    QList<QList<CostTableRow>> tables;
    QStringList categories;
    for (const Vehicle& vehicle : vehicles) {
        tables.append(vehicle.readable
                          ? costTableRows(vehicle.figures, vehicle.costs, vehicle.units)
                          : QList<CostTableRow>());
        for (qsizetype row = 1; row + 1 < tables.last().size(); ++row) {
            if (!categories.contains(tables.last().at(row).label))
                categories.append(tables.last().at(row).label);
        }
    }
    for (const QString& category : std::as_const(categories))
        labels.append(translate(Text::costfigures_CategorySince).arg(category));
    const int first = m_table->rowCount();
    m_table->setRowCount(first + int(labels.size()));
    for (int i = 0; i < labels.size(); ++i)
        m_table->setVerticalHeaderItem(first + i, new QTableWidgetItem(labels.at(i)));
    for (int column = 0; column < vehicles.size(); ++column) {
        const Vehicle& vehicle = vehicles.at(column);
        const QList<CostTableRow>& rows = tables.at(column);
        const UnitTexts units = unitTexts(vehicle.units);
        const auto amount = [](double value, const QString& unit) {
            return std::isfinite(value) ? formatAmount(float(value)) + u' ' + unit : QString();
        };
        QStringList cells;
        if (!vehicle.readable) {
            for (int i = 0; i < labels.size(); ++i)
                cells.append(translate(Text::stats_Unreadable));
        } else {
            const CostTableRow& all = rows.last();
            cells << amount(all.amount, units.currency) << amount(all.perMonth, units.monthlyCost)
                  << amount(all.per100, units.costOfDist)
                  << amount(rows.first().amount, units.currency);
            for (const QString& category : std::as_const(categories)) {
                const auto found = std::find_if(
                    rows.begin() + 1, rows.end() - 1,
                    [&category](const CostTableRow& row) { return row.label == category; });
                cells.append(found == rows.end() - 1 ? QString()
                                                     : amount(found->amount, units.currency));
            }
        }
        for (int i = 0; i < cells.size(); ++i) {
            auto* item = new QTableWidgetItem(cells.at(i));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(first + i, column, item);
        }
    }
}

int CCompareDlg::doModal() {
    return execDialog(*this);
}
