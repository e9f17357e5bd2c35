#pragma once

#include "db/units.h"

#include <QDialog>
#include <QStringList>
#include <vector>

class CFuelDatabase;
class QComboBox;
class QTableWidget;

// Statistics > Compare vehicles: the totals of several logs side by side, one column per
// vehicle, the open one first. The other logs are read from their files and left unchanged.
// Every vehicle is shown in one set of units, the open vehicle's or another's as chosen, named
// once beside each row's label; only a cost in another currency names its unit in its cell.
class CCompareDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCompareDlg(QWidget* owner);
    ~CCompareDlg() override;

    void setVehicles(const CFuelDatabase& open, const QStringList& otherPaths);
    // Runs modally; QDialog::Accepted after OK, Rejected after Escape.
    int doModal();

    QTableWidget* table() const { return m_table; }
    // The vehicles whose units can be chosen (those that could be read), the open one first.
    QComboBox* unitsOf() const { return m_unitsOf; }

private:
    // A vehicle's column: its totals, or none when its log could not be read.
    struct Vehicle;
    void showVehicles();
    void showCosts(const LogUnits& shown);
    void fitTableToContents();

    QTableWidget* m_table = nullptr;
    QComboBox* m_unitsOf = nullptr;
    std::vector<Vehicle> m_vehicles;
};
