#pragma once

// Asked when a new vehicle's log is created: the units it is kept in, starting from those of
// the user's country.

#include "db/units.h"

#include <QDialog>

class CUnitsGroup;

class CNewVehicleDlg : public QDialog {
    Q_OBJECT
public:
    CNewVehicleDlg(QWidget* owner, const QString& vehicleName, const LogUnits& units);
    ~CNewVehicleDlg() override;

    LogUnits units() const;
    void accept() override;

private:
    CUnitsGroup* m_units = nullptr;
};
