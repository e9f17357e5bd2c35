#include "ui/settings/unitsgroup.h"

#include "localisation/language.h"
#include "ui/widgettext.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>

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

} // namespace

CUnitsGroup::CUnitsGroup(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("unitsGroup"));
    m_distance = addCombo(this, "distanceUnit");
    m_volume = addCombo(this, "volumeUnit");
    m_consumption = addCombo(this, "consumptionUnit");
    m_currency = new QLineEdit(this);
    m_currency->setObjectName(QStringLiteral("currency"));
    m_currency->setMaxLength(kMaxCurrencyUnits);

    m_form = new QFormLayout(this);
    for (QWidget* field :
         {static_cast<QWidget*>(m_distance), static_cast<QWidget*>(m_volume),
          static_cast<QWidget*>(m_consumption), static_cast<QWidget*>(m_currency)}) {
        auto* label = new QLabel(this);
        label->setObjectName(field->objectName() + QStringLiteral("Label"));
        label->setTextFormat(Qt::PlainText);
        label->setBuddy(field);
        m_form->addRow(label, field);
    }
    setTabOrder(m_distance, m_volume);
    setTabOrder(m_volume, m_consumption);
    setTabOrder(m_consumption, m_currency);
    translateControls([](const TextId& id) { return translate(id); });

    connect(m_distance, &QComboBox::currentIndexChanged, this, &CUnitsGroup::offerConsumptionUnits);
    connect(m_volume, &QComboBox::currentIndexChanged, this, &CUnitsGroup::offerConsumptionUnits);
}

CUnitsGroup::~CUnitsGroup() = default;

void CUnitsGroup::translateControls(const TextLookup& text) {
    setTitle(widgetText(text(Text::Settings_units)));
    const std::pair<QWidget*, const TextId*> labels[] = {
        {m_distance, &Text::Settings_distanceunit},
        {m_volume, &Text::Settings_volumeunit},
        {m_consumption, &Text::Settings_consumptionunit},
        {m_currency, &Text::Settings_currency},
    };
    for (const auto& [field, label] : labels)
        static_cast<QLabel*>(m_form->labelForField(field))->setText(widgetText(text(*label)));
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
    return units;
}

QWidget* CUnitsGroup::firstControl() const {
    return m_distance;
}

QWidget* CUnitsGroup::lastControl() const {
    return m_currency;
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
}
