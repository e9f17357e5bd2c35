#include "ui/settings/unitsgroup.h"

#include "db/formats.h"
#include "localisation/language.h"
#include "ui/messagebox.h"
#include "ui/widgettext.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <cmath>

namespace {

QComboBox* addCombo(QWidget* parent, const char* name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    return combo;
}

template <typename Unit> void selectCode(QComboBox* combo, Unit unit) {
    combo->setCurrentIndex(std::max(0, combo->findData(int(unit))));
}

template <typename Unit> Unit selectedCode(const QComboBox* combo) {
    return Unit(combo->currentData().toInt());
}

// Sets the item texts in the order of the codes, keeping the selection.
void setItemTexts(QComboBox* combo, const QStringList& texts) {
    if (combo->count() == 0) {
        for (int code = 0; code < texts.size(); ++code)
            combo->addItem(texts.at(code), code);
        return;
    }
    for (int code = 0; code < texts.size(); ++code)
        combo->setItemText(combo->findData(code), texts.at(code));
}

void enableItem(QComboBox* combo, int code, bool enabled) {
    auto* model = qobject_cast<QStandardItemModel*>(combo->model());
    const int row = combo->findData(code);
    if (model && row >= 0)
        model->item(row)->setEnabled(enabled);
}

// The same measure for the other distance unit: kWh / 100 km for kWh / 100 mi, km / kWh for
// mi / kWh, and back.
ElectricConsumptionUnit counterpart(ElectricConsumptionUnit unit) {
    switch (unit) {
    case ElectricConsumptionUnit::KwhPer100Km:
        return ElectricConsumptionUnit::KwhPer100Mi;
    case ElectricConsumptionUnit::KwhPer100Mi:
        return ElectricConsumptionUnit::KwhPer100Km;
    case ElectricConsumptionUnit::KmPerKwh:
        return ElectricConsumptionUnit::MiPerKwh;
    case ElectricConsumptionUnit::MiPerKwh:
        break;
    }
    return ElectricConsumptionUnit::KmPerKwh;
}

// A price per kWh with the decimals it needs, two or three.
QString priceText(float price) {
    if (!(price > 0))
        return {};
    const bool cents = std::abs(double(price) * 100 - std::round(double(price) * 100)) < 1e-4;
    return formatAmount(price, cents ? 2 : 3);
}

} // namespace

CUnitsGroup::CUnitsGroup(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("unitsGroup"));
    m_distance = addCombo(this, "distanceUnit");
    m_volume = addCombo(this, "volumeUnit");
    m_consumption = addCombo(this, "consumptionUnit");
    m_currency = new QLineEdit(this);
    m_currency->setObjectName(QStringLiteral("currency"));
    m_currency->setMaxLength(kMaxCurrencyUnits);
    m_energy = addCombo(this, "energy");
    m_electricConsumption = addCombo(this, "electricConsumptionUnit");
    m_homePrice = new QLineEdit(this);
    m_homePrice->setObjectName(QStringLiteral("homePrice"));

    // What the vehicle runs on decides which of the other fields apply, so it comes first.
    m_form = new QFormLayout(this);
    QWidget* const fields[] = {
        m_energy,   m_distance, m_volume, m_consumption, m_electricConsumption,
        m_currency, m_homePrice};
    QWidget* previous = nullptr;
    for (QWidget* field : fields) {
        auto* label = new QLabel(this);
        label->setObjectName(field->objectName() + QStringLiteral("Label"));
        label->setTextFormat(Qt::PlainText);
        label->setBuddy(field);
        m_form->addRow(label, field);
        if (previous)
            setTabOrder(previous, field);
        previous = field;
    }
    m_text = [](const TextId& id) { return translate(id); };
    translateControls(m_text);

    connect(m_distance, &QComboBox::currentIndexChanged, this, &CUnitsGroup::offerConsumptionUnits);
    connect(m_volume, &QComboBox::currentIndexChanged, this, &CUnitsGroup::offerConsumptionUnits);
    connect(m_energy, &QComboBox::currentIndexChanged, this, &CUnitsGroup::offerElectricityFields);
    connect(m_currency, &QLineEdit::textChanged, this, &CUnitsGroup::showHomePriceUnit);
}

CUnitsGroup::~CUnitsGroup() = default;

void CUnitsGroup::translateControls(const TextLookup& text) {
    m_text = text;
    setTitle(widgetText(text(Text::Settings_units)));
    const std::pair<QWidget*, const TextId*> labels[] = {
        {m_distance, &Text::Settings_distanceunit},
        {m_volume, &Text::Settings_volumeunit},
        {m_consumption, &Text::Settings_consumptionunit},
        {m_currency, &Text::Settings_currency},
        {m_energy, &Text::Settings_energy},
        {m_electricConsumption, &Text::Settings_electricconsumptionunit},
    };
    for (const auto& [field, label] : labels)
        static_cast<QLabel*>(m_form->labelForField(field))->setText(widgetText(text(*label)));
    setItemTexts(m_energy, {text(Text::Settings_energyfuel), text(Text::Settings_energyelectric),
                            text(Text::Settings_energyhybrid)});
    // The unit names are the same in every language but for their distance.
    QStringList electricUnits;
    for (const auto unit :
         {ElectricConsumptionUnit::KwhPer100Km, ElectricConsumptionUnit::KwhPer100Mi,
          ElectricConsumptionUnit::KmPerKwh, ElectricConsumptionUnit::MiPerKwh}) {
        LogUnits units;
        units.electricConsumption = unit;
        electricUnits.append(unitTexts(units).electricConsumption);
    }
    setItemTexts(m_electricConsumption, electricUnits);
    showHomePriceUnit();
    setItemTexts(m_distance, {text(Text::OtherLog_kilometres), text(Text::OtherLog_miles)});
    setItemTexts(m_volume, {text(Text::OtherLog_litres), text(Text::OtherLog_gallonsus),
                            text(Text::OtherLog_gallonsimp)});
    setItemTexts(m_consumption,
                 {text(Text::units_Consumption), text(Text::units_Endurance),
                  text(Text::units_MpgUs), text(Text::units_MpgImp), text(Text::units_MiPerL)});
    m_currency->setPlaceholderText(text(Text::units_Cost));
    offerConsumptionUnits();
}

void CUnitsGroup::setUnits(const LogUnits& units) {
    selectCode(m_distance, units.distance);
    selectCode(m_volume, units.volume);
    selectCode(m_consumption, units.consumption);
    m_currency->setText(units.currency);
    m_stored = units.stored;
    selectCode(m_energy, units.energy);
    selectCode(m_electricConsumption, units.electricConsumption);
    m_shownHomePrice = units.homePricePerKwh;
    m_shownHomePriceText = priceText(units.homePricePerKwh);
    m_homePrice->setText(m_shownHomePriceText);
    m_given = units;
    offerConsumptionUnits();
}

LogUnits CUnitsGroup::units() const {
    LogUnits units;
    units.distance = selectedCode<DistanceUnit>(m_distance);
    units.volume = selectedCode<VolumeUnit>(m_volume);
    units.consumption = selectedCode<ConsumptionUnit>(m_consumption);
    units.currency = fittedCurrency(m_currency->text());
    units.stored = m_stored;
    if (!consumptionFits(units))
        units.consumption = ConsumptionUnit::LitresPer100Km;
    units.energy = selectedCode<VehicleEnergy>(m_energy);
    if (units.energy == VehicleEnergy::Fuel) {
        // Fields that do not apply change nothing.
        units.electricConsumption = m_given.electricConsumption;
        units.homePricePerKwh = m_given.homePricePerKwh;
        return units;
    }
    units.electricConsumption = selectedCode<ElectricConsumptionUnit>(m_electricConsumption);
    if (!electricConsumptionFits(units))
        units.electricConsumption = kwhPer100Of(units.distance);
    if (!readHomePrice(&units.homePricePerKwh))
        units.homePricePerKwh = m_shownHomePrice;
    return units;
}

bool CUnitsGroup::readHomePrice(float* price) const {
    const QString text = m_homePrice->text();
    if (text == m_shownHomePriceText) {
        *price = m_shownHomePrice;
        return true;
    }
    if (text.trimmed().isEmpty()) {
        *price = 0;
        return true;
    }
    float read = 0;
    if (!readAmount(text, &read) || !(read >= 0) || !std::isfinite(read))
        return false;
    *price = read;
    return true;
}

bool CUnitsGroup::refuseHomePrice(QWidget* dialog) {
    float price = 0;
    if (!m_homePrice->isEnabled() || readHomePrice(&price))
        return false;
    showMessageBox(dialog, QStringLiteral("Tankometer"), m_text(Text::Settings_invalidhomeprice),
                   QMessageBox::Warning, QMessageBox::Ok);
    m_homePrice->setFocus(Qt::OtherFocusReason);
    m_homePrice->selectAll();
    return true;
}

QWidget* CUnitsGroup::firstControl() const {
    return m_energy;
}

QWidget* CUnitsGroup::lastControl() const {
    return m_homePrice;
}

QWidget* CUnitsGroup::energyControl() const {
    return m_energy;
}

// Miles per litre is offered only for miles with litres; a choice that no longer fits goes
// back to l / 100 km.
void CUnitsGroup::offerConsumptionUnits() {
    LogUnits units;
    units.distance = selectedCode<DistanceUnit>(m_distance);
    units.volume = selectedCode<VolumeUnit>(m_volume);
    units.consumption = ConsumptionUnit::MilesPerLitre;
    const bool fits = consumptionFits(units);
    auto* model = qobject_cast<QStandardItemModel*>(m_consumption->model());
    const int row = m_consumption->findData(int(ConsumptionUnit::MilesPerLitre));
    if (model && row >= 0)
        model->item(row)->setEnabled(fits);
    if (!fits && m_consumption->currentIndex() == row)
        selectCode(m_consumption, ConsumptionUnit::LitresPer100Km);
    offerElectricityFields();
}

// The electricity units are those of the distance unit; a choice of the other distance unit
// becomes the same measure in this one. Fields that do not apply to the vehicle's energy are
// disabled, not hidden, so that nothing moves.
void CUnitsGroup::offerElectricityFields() {
    LogUnits units;
    units.distance = selectedCode<DistanceUnit>(m_distance);
    for (int code = 0; code < m_electricConsumption->count(); ++code) {
        units.electricConsumption = ElectricConsumptionUnit(code);
        enableItem(m_electricConsumption, code, electricConsumptionFits(units));
    }
    units.electricConsumption = selectedCode<ElectricConsumptionUnit>(m_electricConsumption);
    if (!electricConsumptionFits(units))
        selectCode(m_electricConsumption, counterpart(units.electricConsumption));

    const auto energy = selectedCode<VehicleEnergy>(m_energy);
    const bool fuel = energy != VehicleEnergy::Electric;
    const bool electricity = energy != VehicleEnergy::Fuel;
    for (QWidget* field : {static_cast<QWidget*>(m_volume), static_cast<QWidget*>(m_consumption)}) {
        field->setEnabled(fuel);
        m_form->labelForField(field)->setEnabled(fuel);
    }
    for (QWidget* field :
         {static_cast<QWidget*>(m_electricConsumption), static_cast<QWidget*>(m_homePrice)}) {
        field->setEnabled(electricity);
        m_form->labelForField(field)->setEnabled(electricity);
    }
}

// The home price is in the log's currency per kWh, as the currency field now names it.
void CUnitsGroup::showHomePriceUnit() {
    LogUnits units;
    units.currency = fittedCurrency(m_currency->text());
    const QString label = m_text(Text::Settings_homeprice).arg(unitTexts(units).energyCost);
    static_cast<QLabel*>(m_form->labelForField(m_homePrice))->setText(widgetText(label));
}
