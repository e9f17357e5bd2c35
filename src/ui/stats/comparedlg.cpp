#include "ui/stats/comparedlg.h"

#include "core/settings.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/totals.h"
#include "ui/messagebox.h"
#include "ui/stats/valuerows.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
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
    vehicles.append({open.filePath(), true, computeTotals(open, method), open.units()});
    for (const QString& path : otherPaths) {
        CFuelDatabase database(path);
        bool damaged = !QFileInfo(path).isFile();
        // Any message of the load means the file could not be read as a whole.
        database.setMessageSink([&damaged](const QString&) { damaged = true; });
        if (!damaged)
            database.load();
        Vehicle vehicle{path, !damaged, {}, {}};
        if (vehicle.readable) {
            vehicle.totals = computeTotals(database, method);
            vehicle.units = database.units();
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
}

int CCompareDlg::doModal() {
    return execDialog(*this);
}
