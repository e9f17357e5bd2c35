#pragma once

#include "stats/totals.h"
#include "ui/stats/valuerows.h"

#include <QDate>
#include <QDialog>
#include <array>

class CFuelDatabase;
class QTableWidget;

// One page of figures over the whole fill history. The figures are computed once, when the
// dialog opens, under the filling method read then; the database is not changed.
class CTotalsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTotalsDlg(QWidget* owner);
    ~CTotalsDlg() override;

    void setDatabase(const CFuelDatabase* database) { m_database = database; }
    // The day the costs are counted up to (today by default).
    void setToday(const QDate& today) { m_today = today; }
    QTableWidget* costTable() const { return m_costTable; }

    // Shows the totals and runs modally; QDialog::Accepted after OK, Rejected after Escape.
    int doModal();

    // Sets the labels, the units and the values.
    void showTotals();

private:
    void fitCostTable();

    const CFuelDatabase* m_database = nullptr;
    // By TotalsRow; those of another energy's log hidden.
    std::array<ValueRow, kTotalsRowCount> m_rows;
    // Which fills the averages leave out, and why; hidden when they leave out none.
    QLabel* m_leftOut = nullptr;
    // What the vehicle cost since its first entry, fuel and other costs; shown when the log has
    // other costs.
    QLabel* m_costCaption = nullptr;
    QTableWidget* m_costTable = nullptr;
    QDate m_today = QDate::currentDate();
};
