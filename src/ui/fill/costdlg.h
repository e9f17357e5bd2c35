#pragma once

// A cost beside the fills: its date, the odometer (optional), its category, the amount, notes,
// and whether it recurs every few months (until an end date or for good).

#include "db/costs.h"
#include "db/units.h"

#include <QDialog>
#include <QList>
#include <utility>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QSpinBox;

// A category as the lists show it: its id and its name in the current language.
using CostCategoryName = std::pair<int, QString>;

class CCostDlg : public QDialog {
    Q_OBJECT
public:
    CCostDlg(QWidget* owner, const LogUnits& units, const QList<CostCategoryName>& categories);
    ~CCostDlg() override;

    // The values shown; a new cost starts today in the first category.
    void setCost(const CostEntry& cost);
    // The cost entered (after OK); its category is newCategoryId() when a new one was named.
    CostEntry cost() const { return m_cost; }
    // The name of a category to be added for the cost, empty when an existing one was chosen.
    QString newCategory() const;

    void accept() override;

    QComboBox* categoryBox() const { return m_category; }

private:
    bool refuse(QWidget* field, const QString& message);
    void categoryChosen();
    void updateRecurring();

    LogUnits m_units;
    CostEntry m_cost;
    QDateEdit* m_date = nullptr;
    QLineEdit* m_odometer = nullptr;
    QComboBox* m_category = nullptr;
    QLabel* m_newCategoryLabel = nullptr;
    QLineEdit* m_newCategory = nullptr;
    QLineEdit* m_amount = nullptr;
    QLineEdit* m_notes = nullptr;
    QCheckBox* m_recurring = nullptr;
    QSpinBox* m_interval = nullptr;
    QCheckBox* m_ends = nullptr;
    QDateEdit* m_endDate = nullptr;
};
