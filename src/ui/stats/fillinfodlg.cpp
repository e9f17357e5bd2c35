#include "ui/stats/fillinfodlg.h"

#include "core/settings.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "ui/messagebox.h"
#include "ui/stats/valuerows.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct RowInfo {
    const char* name;
    const TextId* label;
    const TextId* unit;
};

// Top to bottom; rows with a unit hold numbers.
constexpr RowInfo kRowInfo[] = {
    {"station", &Text::main_Station, nullptr},
    {"driver", &Text::main_Driver, nullptr},
    {"notes", &Text::main_Notes, nullptr},
    {"date", &Text::main_Date, nullptr},
    {"time", &Text::main_Time, nullptr},
    {"odometer", &Text::main_Odometer, &Text::units_Odometer},
    {"fuel", &Text::main_Fuel, &Text::units_Fuel},
    {"cost", &Text::main_Cost, &Text::units_Cost},
    {"unitCost", &Text::main_FuelCost, &Text::units_FuelCost},
    {"consumption", &Text::main_Consumption, &Text::units_Consumption},
    {"distance", &Text::main_Distance, &Text::units_Distance},
    {"costOfDist", &Text::main_CostOfDist, &Text::units_CostOfDist},
    {"endurance", &Text::main_Endurance, &Text::units_Endurance},
    {"capacity", &Text::stats_Capacity, &Text::units_Kwh},
    {"marks", &Text::main_Marks, nullptr},
};

} // namespace

CFillInfoDlg::CFillInfoDlg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("fillInfoDialog"));
    setWindowTitle(QStringLiteral("Tankometer"));

    // Desktop keys beside the buttons: Alt+arrows as in a browser, the paging keys as in a list.
    m_first = addStepButton(QStringLiteral("<<"), QStringLiteral("first"), &CFillInfoDlg::showFirst,
                            {Qt::Key_Home, Qt::ALT | Qt::Key_Home});
    m_previous =
        addStepButton(QStringLiteral("<"), QStringLiteral("previous"), &CFillInfoDlg::showPrevious,
                      {Qt::Key_PageUp, Qt::ALT | Qt::Key_Left});
    m_position = new QLabel(this);
    m_position->setObjectName(QStringLiteral("position"));
    m_position->setAlignment(Qt::AlignCenter);
    m_next = addStepButton(QStringLiteral(">"), QStringLiteral("next"), &CFillInfoDlg::showNext,
                           {Qt::Key_PageDown, Qt::ALT | Qt::Key_Right});
    m_last = addStepButton(QStringLiteral(">>"), QStringLiteral("last"), &CFillInfoDlg::showLast,
                           {Qt::Key_End, Qt::ALT | Qt::Key_End});

    auto* steps = new QHBoxLayout;
    steps->addWidget(m_first);
    steps->addWidget(m_previous);
    steps->addWidget(m_position, 1);
    steps->addWidget(m_next);
    steps->addWidget(m_last);

    auto* grid = new QGridLayout;
    for (int row = 0; row < RowCount; ++row) {
        const RowInfo& info = kRowInfo[row];
        m_rows[row] = addValueRow(grid, QString::fromLatin1(info.name),
                                  info.unit ? ValueKind::Number : ValueKind::Text, info.unit);
    }
    grid->setColumnStretch(1, 1);
    // Room for notes of average letters, so that the dialog keeps its width while stepping.
    m_rows[Notes].value->setMinimumWidth(fontMetrics().averageCharWidth() * (kNotesUnits - 1));

    m_ok = addCloseButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(steps);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
}

CFillInfoDlg::~CFillInfoDlg() = default;

QPushButton* CFillInfoDlg::addStepButton(const QString& caption, const QString& name,
                                         void (CFillInfoDlg::*step)(), QList<QKeySequence> keys) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, step);
    auto* action = new QAction(this);
    action->setObjectName(name + QStringLiteral("Keys"));
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, step);
    addAction(action);
    return button;
}

int CFillInfoDlg::doModal() {
    m_method = readFillingMethod();
    m_units = m_database ? m_database->units() : LogUnits{};
    setDefaultTexts();
    showPosition();
    m_ok->setFocus();
    return execDialog(*this);
}

void CFillInfoDlg::setEnergyTexts(bool charge) {
    m_charge = charge;
    const UnitTexts units = unitTexts(m_units);
    const QString unitTexts[RowCount] = {{},
                                         {},
                                         {},
                                         {},
                                         {},
                                         units.odometer,
                                         amountUnit(units, charge),
                                         units.currency,
                                         charge ? units.energyCost : units.unitCost,
                                         charge ? units.electricConsumption : units.consumption,
                                         units.distance,
                                         units.costOfDist,
                                         units.endurance,
                                         units.energy};
    for (int row = 0; row < RowCount; ++row) {
        const TextId* label = kRowInfo[row].label;
        if (row == Fuel && charge)
            label = &Text::stats_Electricity;
        else if (row == UnitCost && charge)
            label = &Text::main_EnergyCost;
        else if (row == UnitCost && !units.metricVolume)
            label = &Text::main_FuelCostGal;
        else if (row == CostOfDist && !units.metricDistance)
            label = &Text::main_CostOfDistMi;
        setValueRowTexts(m_rows[row], translate(*label), unitTexts[row]);
    }
    // A charge's distance per kWh is one of the consumption units; its battery has a capacity.
    for (const Row row : {Endurance, Capacity}) {
        const bool shown = (row == Capacity) == charge;
        for (QLabel* label : {m_rows[row].label, m_rows[row].value, m_rows[row].unit})
            label->setVisible(shown);
    }
}

void CFillInfoDlg::setDefaultTexts() {
    const QString notAvailable = notAvailableText();
    // An electric log shows the units of its charges before any is shown.
    setEnergyTexts(m_units.energy == VehicleEnergy::Electric);
    for (int row = 0; row < RowCount; ++row)
        m_rows[row].value->setText(notAvailable);
    const std::pair<QPushButton*, const TextId*> steps[] = {{m_first, &Text::main_FirstFill},
                                                            {m_previous, &Text::main_PreviousFill},
                                                            {m_next, &Text::main_NextFill},
                                                            {m_last, &Text::main_LastFill}};
    for (const auto& [button, text] : steps) {
        button->setAccessibleName(translate(*text));
        const auto action = findChild<QAction*>(button->objectName() + QStringLiteral("Keys"));
        button->setToolTip(QStringLiteral("%1 (%2)").arg(
            translate(*text), action->shortcut().toString(QKeySequence::NativeText)));
    }
}

void CFillInfoDlg::setValue(Row row, const QString& text) {
    m_rows[row].value->setText(text);
}

void CFillInfoDlg::showFill(int index) {
    const FillRecord* fill = m_database ? m_database->getFill(index) : nullptr;
    if (!fill) {
        setDefaultTexts();
        return;
    }
    const FillFlags flags = m_database->getFillFlags(index);
    if (flags.charge != m_charge)
        setEnergyTexts(flags.charge);
    const StationRecord* station = m_database->getStation(fill->stationId);
    const DriverRecord* driver = m_database->getDriver(fill->driverId);
    setValue(Station, station ? fieldText(station->name) : QString());
    setValue(Driver, driver ? fieldText(driver->name) : QString());
    setValue(Notes, fieldText(fill->notes));
    setValue(Odometer, QString::number(distanceIn(m_units, fill->odometer)));
    setValue(Fuel, dialogValueText(amountIn(m_units, flags.charge, fill->fuel)));
    setValue(Cost, dialogValueText(fill->cost));
    setValue(Date, formatDate(fill->dateTime));
    setValue(Time, formatTime(fill->dateTime));
    // The price of a kWh as it is; of fuel per volume unit.
    setValue(UnitCost, dialogValueText(flags.charge ? fillUnitCost(*fill)
                                                    : unitCostIn(m_units, fillUnitCost(*fill))));
    const FillRecord* previous = m_database->getFill(index - 1);
    setValue(Distance, previous
                           ? QString::number(distanceIn(m_units, fillDistance(*fill, *previous)))
                           : notAvailableText());
    const float consumption = fillConsumption(*m_database, index, m_method);
    setValue(Consumption, dialogValueText(flags.charge ? electricConsumptionIn(m_units, consumption)
                                                       : consumptionIn(m_units, consumption)));
    setValue(CostOfDist,
             dialogValueText(costOfDistIn(m_units, fillCostOfDist(*m_database, index, m_method))));
    setValue(Endurance,
             dialogValueText(enduranceIn(m_units, fillEndurance(*m_database, index, m_method))));
    setValue(Capacity, dialogValueText(chargeCapacity(*fill, flags)));
    setValue(Marks, fillFlagsText(flags));
}

void CFillInfoDlg::showPosition() {
    const int count = m_database ? m_database->getFillCount() : 0;
    showFill(m_currentIndex);
    // Enabled states change last: a button losing the focus hands it on to an enabled one.
    m_next->setEnabled(m_currentIndex < count - 1);
    m_last->setEnabled(m_currentIndex < count - 1);
    m_previous->setEnabled(m_currentIndex > 0);
    m_first->setEnabled(m_currentIndex > 0);
    m_position->setText(QStringLiteral("%1 / %2").arg(m_currentIndex + 1).arg(count));
    m_position->setMinimumWidth(
        m_position->fontMetrics().horizontalAdvance(QStringLiteral("%1 / %1").arg(count)));
}

void CFillInfoDlg::showFirst() {
    if (m_database && m_database->getFillCount() > 0) {
        m_currentIndex = 0;
        showPosition();
    }
}

void CFillInfoDlg::showPrevious() {
    if (m_currentIndex > 0) {
        --m_currentIndex;
        showPosition();
    }
}

void CFillInfoDlg::showNext() {
    if (m_database && m_currentIndex + 1 < m_database->getFillCount()) {
        ++m_currentIndex;
        showPosition();
    }
}

void CFillInfoDlg::showLast() {
    if (m_database && m_database->getFillCount() > 0) {
        m_currentIndex = m_database->getFillCount() - 1;
        showPosition();
    }
}
