#include "ui/settings/newvehicledlg.h"

#include "localisation/language.h"
#include "ui/settings/unitsgroup.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

CNewVehicleDlg::CNewVehicleDlg(QWidget* owner, const QString& vehicleName, const LogUnits& units)
    : QDialog(owner) {
    setObjectName(QStringLiteral("newVehicleDialog"));
    QString caption = translate(Text::menu_FileNewVehicle);
    caption.remove(u'\u2026');
    setWindowTitle(QStringLiteral("%1: %2").arg(caption.trimmed(), vehicleName));
    m_units = new CUnitsGroup(this);
    m_units->setUnits(units);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_units);
    layout->addWidget(buttons);
    m_units->firstControl()->setFocus();
}

CNewVehicleDlg::~CNewVehicleDlg() = default;

LogUnits CNewVehicleDlg::units() const {
    return m_units->units();
}

void CNewVehicleDlg::accept() {
    if (!m_units->refuseHomePrice(this))
        QDialog::accept();
}
