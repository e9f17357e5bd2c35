#include "ui/stats/comparedlg.h"

#include "core/settings.h"
#include "core/vehicles.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/costs.h"
#include "stats/totals.h"
#include "ui/messagebox.h"
#include "ui/stats/costtable.h"
#include "ui/stats/valuerows.h"
#include "ui/widgettext.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
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

// A vehicle's figures in the units shown: the distance, volume and consumption units of the
// chosen set, converted from the vehicle's own readings; its energy and currency its own (no
// currency converts into another).
LogUnits unitsFor(const LogUnits& chosen, const LogUnits& own) {
    LogUnits shown = chosen;
    shown.stored = own.stored;
    shown.energy = own.energy;
    shown.currency = own.currency;
    shown.homePricePerKwh = own.homePricePerKwh;
    return shown;
}

bool isCostRow(TotalsRow row) {
    using enum TotalsRow;
    return row == Cost || row == CostOfDist || row == MonthlyCost || row == FuelCostOfDist ||
           row == ElectricCostOfDist;
}

// A row's label with the unit its figures are shown in.
QString labelWithUnit(const QString& label, const QString& unit) {
    QString plain = label.trimmed();
    if (plain.endsWith(u':'))
        plain.chop(1);
    plain = plain.trimmed();
    return unit.isEmpty() ? plain : translate(Text::stats_RowUnit).arg(plain, unit);
}

} // namespace

struct CCompareDlg::Vehicle {
    QString path;
    QString name;
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

    auto* unitsLabel = new QLabel(translatedWidgetText(Text::stats_CompareUnitsOf), this);
    unitsLabel->setObjectName(QStringLiteral("compareUnitsOfLabel"));
    m_unitsOf = new QComboBox(this);
    m_unitsOf->setObjectName(QStringLiteral("compareUnitsOf"));
    unitsLabel->setBuddy(m_unitsOf);
    m_unitsOf->setAccessibleName(unitsLabel->text());
    connect(m_unitsOf, &QComboBox::currentIndexChanged, this, [this] {
        showVehicles();
        m_table->resizeColumnsToContents();
        fitTableToContents();
    });
    auto* unitsRow = new QHBoxLayout;
    unitsRow->addWidget(unitsLabel);
    unitsRow->addWidget(m_unitsOf);
    unitsRow->addStretch();

    QPushButton* ok = addCloseButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(unitsRow);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    m_table->setFocus();
}

CCompareDlg::~CCompareDlg() = default;

void CCompareDlg::setVehicles(const CFuelDatabase& open, const QStringList& otherPaths) {
    const FillingMethod method = readFillingMethod();
    std::vector<Vehicle> vehicles;
    const QDate today = QDate::currentDate();
    vehicles.push_back({open.filePath(), vehicleDisplayName(open.vehicleName(), open.filePath()),
                        true, computeTotals(open, method), open.units(),
                        ownershipFigures(open, today), open.costs()});
    for (const QString& path : otherPaths) {
        CFuelDatabase database(path);
        bool damaged = !QFileInfo(path).isFile();
        // Any message of the load means the file could not be read as a whole.
        database.setMessageSink([&damaged](const QString&) { damaged = true; });
        if (!damaged)
            database.load();
        Vehicle vehicle{
            path, vehicleDisplayName(database.vehicleName(), path), !damaged, {}, {}, {}, {}};
        if (vehicle.readable) {
            vehicle.totals = computeTotals(database, method);
            vehicle.units = database.units();
            vehicle.figures = ownershipFigures(database, today);
            vehicle.costs = database.costs();
        }
        vehicles.push_back(vehicle);
    }
    m_vehicles = std::move(vehicles);
    {
        const QSignalBlocker blocker(m_unitsOf);
        m_unitsOf->clear();
        for (int i = 0; i < int(m_vehicles.size()); ++i) {
            if (m_vehicles.at(i).readable)
                m_unitsOf->addItem(m_vehicles.at(i).name, i);
        }
    }
    showVehicles();
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

// The rows of every energy among the vehicles, in the units of the vehicle chosen; a log that
// could not be read shows that in every row of its column.
void CCompareDlg::showVehicles() {
    const std::vector<Vehicle>& vehicles = m_vehicles;
    const int chosen = m_unitsOf->currentIndex() < 0 ? 0 : m_unitsOf->currentData().toInt();
    const LogUnits& chosenUnits = vehicles.at(std::size_t(chosen)).units;
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
    LogUnits labels = chosenUnits;
    labels.energy = fuelOnly ? VehicleEnergy::Fuel : VehicleEnergy::PlugInHybrid;
    // The units of the rows: those of figures of fuel over a period of days, with a share.
    FillTotals unitsOfRows;
    unitsOfRows.electricShare = 0;
    m_table->clear();
    m_table->setRowCount(int(rows.size()));
    m_table->setColumnCount(int(vehicles.size()));
    QStringList rowLabels;
    for (const TotalsRow row : rows) {
        rowLabels.append(
            labelWithUnit(totalsLabel(row, labels), totalsUnit(unitsOfRows, row, labels)));
    }
    m_table->setVerticalHeaderLabels(rowLabels);
    const QString currency = unitTexts(chosenUnits).currency;

    for (int column = 0; column < int(vehicles.size()); ++column) {
        const Vehicle& vehicle = vehicles.at(std::size_t(column));
        auto* header = new QTableWidgetItem(vehicle.name);
        header->setToolTip(QDir::toNativeSeparators(vehicle.path));
        m_table->setHorizontalHeaderItem(column, header);
        const LogUnits shown = unitsFor(chosenUnits, vehicle.units);
        const bool otherCurrency = unitTexts(shown).currency != currency;
        const QList<TotalsRow> own = compareRows(vehicle.units.energy);
        for (int i = 0; i < rows.size(); ++i) {
            const TotalsRow row = rows.at(i);
            const bool monthly = row == TotalsRow::MonthlyCost || row == TotalsRow::MonthlyDistance;
            // A battery estimate waits for enough charges, as the totals have it.
            const bool noCapacity =
                row == TotalsRow::BatteryCapacity && std::isnan(vehicle.totals.capacity);
            QString text = translate(Text::stats_Unreadable);
            if (vehicle.readable &&
                ((monthly && !coversAMonth(vehicle.totals)) || !own.contains(row) || noCapacity))
                text.clear();
            else if (vehicle.readable)
                text = totalsValueText(vehicle.totals, row, shown);
            // A cost in another currency than the row's names its own.
            if (vehicle.readable && !text.isEmpty() && otherCurrency && isCostRow(row))
                text += u' ' + totalsUnit(vehicle.totals, row, shown);
            auto* item = new QTableWidgetItem(text.trimmed());
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(i, column, item);
        }
    }
    showCosts(chosenUnits);
}

// Beside vehicles with other costs: what each cost since its first entry, everything together
// (in all, per month, per distance), its fuel, and each category by its name.
void CCompareDlg::showCosts(const LogUnits& chosen) {
    const std::vector<Vehicle>& vehicles = m_vehicles;
    const bool anyCosts = std::any_of(vehicles.begin(), vehicles.end(), [](const Vehicle& each) {
        return each.readable && !each.costs.costs.empty();
    });
    if (!anyCosts)
        return;
    const UnitTexts units = unitTexts(chosen);
    QStringList labels{
        labelWithUnit(translate(Text::costfigures_Ownership), units.currency),
        labelWithUnit(translate(Text::costfigures_OwnershipPerMonth), units.monthlyCost),
        labelWithUnit(translate(Text::costfigures_OwnershipPerDistance), units.costOfDist),
        labelWithUnit(translate(Text::costfigures_FuelSince), units.currency)};
    // Each vehicle's table rows: fuel, its categories, everything.
    QList<QList<CostTableRow>> tables;
    QStringList categories;
    for (const Vehicle& vehicle : vehicles) {
        tables.append(vehicle.readable ? costTableRows(vehicle.figures, vehicle.costs,
                                                       unitsFor(chosen, vehicle.units))
                                       : QList<CostTableRow>());
        for (qsizetype row = 1; row + 1 < tables.last().size(); ++row) {
            if (!categories.contains(tables.last().at(row).label))
                categories.append(tables.last().at(row).label);
        }
    }
    for (const QString& category : std::as_const(categories)) {
        labels.append(labelWithUnit(translate(Text::costfigures_CategorySince).arg(category),
                                    units.currency));
    }
    const int first = m_table->rowCount();
    m_table->setRowCount(first + int(labels.size()));
    for (int i = 0; i < labels.size(); ++i)
        m_table->setVerticalHeaderItem(first + i, new QTableWidgetItem(labels.at(i)));
    for (int column = 0; column < int(vehicles.size()); ++column) {
        const Vehicle& vehicle = vehicles.at(std::size_t(column));
        const QList<CostTableRow>& rows = tables.at(column);
        const UnitTexts own = unitTexts(unitsFor(chosen, vehicle.units));
        // A cost in another currency than the rows' names its own.
        const bool otherCurrency = own.currency != units.currency;
        const auto amount = [otherCurrency](double value, const QString& unit) {
            if (!std::isfinite(value))
                return QString();
            return otherCurrency ? formatAmount(float(value)) + u' ' + unit
                                 : formatAmount(float(value));
        };
        QStringList cells;
        if (!vehicle.readable) {
            for (int i = 0; i < labels.size(); ++i)
                cells.append(translate(Text::stats_Unreadable));
        } else {
            const CostTableRow& all = rows.last();
            cells << amount(all.amount, own.currency) << amount(all.perMonth, own.monthlyCost)
                  << amount(all.per100, own.costOfDist)
                  << amount(rows.first().amount, own.currency);
            for (const QString& category : std::as_const(categories)) {
                const auto found = std::find_if(
                    rows.begin() + 1, rows.end() - 1,
                    [&category](const CostTableRow& row) { return row.label == category; });
                cells.append(found == rows.end() - 1 ? QString()
                                                     : amount(found->amount, own.currency));
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
