#include "ui/stats/totalsdlg.h"

#include "core/settings.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "ui/messagebox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Object names of the values, in the order of TotalsRow.
constexpr const char* kRowNames[] = {"distance",    "fuel",       "cost",        "period",
                                     "consumption", "costOfDist", "monthlyCost", "monthlyDistance",
                                     "endurance"};
static_assert(std::size(kRowNames) == std::size(kTotalsRows));

} // namespace

CTotalsDlg::CTotalsDlg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("totalsDialog"));

    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i] = addValueRow(grid, QString::fromLatin1(kRowNames[int(kTotalsRows[i])]),
                                ValueKind::Number, true);
    grid->setColumnStretch(1, 1);
    m_leftOut = new QLabel(this);
    m_leftOut->setObjectName(QStringLiteral("leftOut"));
    m_leftOut->setTextFormat(Qt::PlainText);
    m_leftOut->setWordWrap(true);
    m_leftOut->setTextInteractionFlags(Qt::TextSelectableByMouse);

    QPushButton* ok = addCloseButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_leftOut);
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
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const TotalsRow row = kTotalsRows[i];
        setValueRowTexts(m_rows[i], totalsLabel(row, units), totalsUnit(totals, row, units));
        m_rows[i].value->setText(totalsValueText(totals, row, units));
    }
    m_leftOut->setText(totalsLeftOutText(totals));
    m_leftOut->setVisible(!m_leftOut->text().isEmpty());
}
