#pragma once

#include "stats/totals.h"
#include "ui/stats/valuerows.h"

#include <QDialog>
#include <array>

class CFuelDatabase;

// One page of figures over the whole fill history. The figures are computed once, when the
// dialog opens, under the filling method read then; the database is not changed.
class CTotalsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTotalsDlg(QWidget* owner);
    ~CTotalsDlg() override;

    void setDatabase(const CFuelDatabase* database) { m_database = database; }

    // Shows the totals and runs modally; QDialog::Accepted after OK, Rejected after Escape.
    int doModal();

    // Sets the labels, the units and the values.
    void showTotals();

private:
    const CFuelDatabase* m_database = nullptr;
    // By TotalsRow; those of another energy's log hidden.
    std::array<ValueRow, kTotalsRowCount> m_rows;
    // Which fills the averages leave out, and why; hidden when they leave out none.
    QLabel* m_leftOut = nullptr;
};
