#pragma once

// Asked when a new vehicle's log is created: its name, starting from the file's, and the units it
// is kept in, starting from those of the user's country.

#include "db/units.h"

#include <QDialog>

class CUnitsGroup;
class QLineEdit;

class CNewVehicleDlg : public QDialog {
    Q_OBJECT
public:
    CNewVehicleDlg(QWidget* owner, const QString& vehicleName, const LogUnits& units);
    ~CNewVehicleDlg() override;

    QString vehicleName() const;
    LogUnits units() const;
    void accept() override;

private:
    QLineEdit* m_name = nullptr;
    CUnitsGroup* m_units = nullptr;
};
