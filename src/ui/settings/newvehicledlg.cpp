#include "ui/settings/newvehicledlg.h"

#include "db/logsettings.h"
#include "localisation/language.h"
#include "ui/settings/unitsgroup.h"
#include "ui/widgettext.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CNewVehicleDlg::CNewVehicleDlg(QWidget* owner, const QString& vehicleName, const LogUnits& units)
    : QDialog(owner) {
    setObjectName(QStringLiteral("newVehicleDialog"));
    QString caption = translate(Text::menu_FileNewVehicle);
    caption.remove(u'\u2026');
    setWindowTitle(QStringLiteral("%1: %2").arg(caption.trimmed(), vehicleName));
    auto* nameLabel = new QLabel(translatedWidgetText(Text::Settings_vehiclename), this);
    nameLabel->setObjectName(QStringLiteral("vehicleNameLabel"));
    nameLabel->setTextFormat(Qt::PlainText);
    m_name = new QLineEdit(vehicleName, this);
    m_name->setObjectName(QStringLiteral("vehicleName"));
    m_name->setMaxLength(kMaxVehicleNameUnits);
    nameLabel->setBuddy(m_name);
    auto* nameRow = new QFormLayout;
    nameRow->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    nameRow->addRow(nameLabel, m_name);
    m_units = new CUnitsGroup(this);
    m_units->setUnits(units);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addWidget(m_units);
    layout->addWidget(buttons);
    setTabOrder(m_name, m_units->firstControl());
    m_name->setFocus();
    m_name->selectAll();
}

CNewVehicleDlg::~CNewVehicleDlg() = default;

QString CNewVehicleDlg::vehicleName() const {
    return m_name->text();
}

LogUnits CNewVehicleDlg::units() const {
    return m_units->units();
}

void CNewVehicleDlg::accept() {
    if (!m_units->refuseHomePrice(this))
        QDialog::accept();
}
