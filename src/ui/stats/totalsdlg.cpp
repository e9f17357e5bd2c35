#include "ui/stats/totalsdlg.h"

#include "core/settings.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "ui/messagebox.h"
#include "ui/stats/costtable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace {

// Object names of the values, in the order of TotalsRow.
constexpr const char* kRowNames[] = {"distance",
                                     "fuel",
                                     "cost",
                                     "period",
                                     "consumption",
                                     "costOfDist",
                                     "monthlyCost",
                                     "monthlyDistance",
                                     "endurance",
                                     "electricity",
                                     "electricConsumption",
                                     "fuelCostOfDist",
                                     "electricCostOfDist",
                                     "batteryCapacity",
                                     "electricShare"};
static_assert(std::size(kRowNames) == kTotalsRowCount);

} // namespace

CTotalsDlg::CTotalsDlg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("totalsDialog"));

    // The rows in the order of a plug-in hybrid's, which holds them all.
    auto* grid = new QGridLayout;
    for (const TotalsRow row : totalsRows(VehicleEnergy::PlugInHybrid))
        m_rows[int(row)] =
            addValueRow(grid, QString::fromLatin1(kRowNames[int(row)]), ValueKind::Number, true);
    grid->setColumnStretch(1, 1);
    m_leftOut = new QLabel(this);
    m_leftOut->setObjectName(QStringLiteral("leftOut"));
    m_leftOut->setTextFormat(Qt::PlainText);
    m_leftOut->setWordWrap(true);
    m_leftOut->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_costCaption = new QLabel(this);
    m_costCaption->setObjectName(QStringLiteral("costCaption"));
    m_costCaption->setTextFormat(Qt::PlainText);
    m_costTable = createCostTable(this, QStringLiteral("costTable"));
    m_costCaption->setBuddy(m_costTable);

    QPushButton* ok = addCloseButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_leftOut);
    layout->addWidget(m_costCaption);
    layout->addWidget(m_costTable, 1);
    layout->addStretch();
    layout->addLayout(buttons);
    ok->setFocus();
}

CTotalsDlg::~CTotalsDlg() = default;

int CTotalsDlg::doModal() {
    showTotals();
    return execDialog(*this);
}

void CTotalsDlg::showTotals() {
    setWindowTitle(translate(Text::stats_caption));
    FillTotals totals;
    LogUnits units;
    if (m_database) {
        totals = computeTotals(*m_database, readFillingMethod());
        units = m_database->units();
    }
    const QList<TotalsRow> shown = totalsRows(units.energy);
    for (int i = 0; i < kTotalsRowCount; ++i) {
        const TotalsRow row = TotalsRow(i);
        const ValueRow& widgets = m_rows[std::size_t(i)];
        const bool visible = shown.contains(row);
        for (QLabel* label : {widgets.label, widgets.value, widgets.unit})
            label->setVisible(visible);
        if (!visible)
            continue;
        setValueRowTexts(widgets, totalsLabel(row, units), totalsUnit(totals, row, units));
        widgets.value->setText(totalsValueText(totals, row, units));
    }
    // The battery's figure waits for enough charges with states of charge.
    if (shown.contains(TotalsRow::BatteryCapacity) && std::isnan(totals.capacity)) {
        const ValueRow& capacity = m_rows[std::size_t(TotalsRow::BatteryCapacity)];
        for (QLabel* label : {capacity.label, capacity.value, capacity.unit})
            label->setVisible(false);
    }
    m_leftOut->setText(totalsLeftOutText(totals));
    m_leftOut->setVisible(!m_leftOut->text().isEmpty());

    const bool costs = m_database && !m_database->costs().costs.empty();
    m_costCaption->setVisible(costs);
    m_costTable->setVisible(costs);
    if (costs) {
        const CostFigures figures = ownershipFigures(*m_database, m_today);
        showCostTable(m_costTable, figures, m_database->costs(), units);
        m_costCaption->setText(costTableCaption(figures));
        fitCostTable();
    }
}

// The table as tall as its rows and as wide as its columns: the dialog grows with it.
void CTotalsDlg::fitCostTable() {
    const int frame = 2 * m_costTable->frameWidth();
    // The dialog is as wide as the table's columns: none of them stretches.
    m_costTable->horizontalHeader()->setStretchLastSection(false);
    m_costTable->resizeColumnsToContents();
    const int width = m_costTable->horizontalHeader()->length();
    m_costTable->setMinimumSize(width + frame,
                                m_costTable->horizontalHeader()->sizeHint().height() +
                                    m_costTable->verticalHeader()->length() + frame);
}
