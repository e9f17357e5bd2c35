#pragma once

// The units and currency of one vehicle's log, and what the vehicle runs on, as a group of
// controls: in the settings page for the open log and in the dialog that creates a new one.

#include "db/units.h"

#include <QGroupBox>
#include <functional>

struct TextId;

class QComboBox;
class QFormLayout;
class QLineEdit;

class CUnitsGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit CUnitsGroup(QWidget* parent);
    ~CUnitsGroup() override;

    // The currency field shows the language file's currency as its hint while it is empty.
    void setUnits(const LogUnits& units);
    LogUnits units() const;

    // The texts through `text` (the settings page previews a language before it is chosen).
    using TextLookup = std::function<QString(const TextId&)>;
    void translateControls(const TextLookup& text);
    QWidget* firstControl() const;
    QWidget* lastControl() const;
    // The energy choice, for the dialogs that refuse or question a change of it.
    QWidget* energyControl() const;

    // The home price as typed does not read (it must be empty or a number of 0 or more): says so
    // and focuses the field. False when it reads.
    bool refuseHomePrice(QWidget* dialog);

private:
    void offerConsumptionUnits();
    void offerElectricityFields();
    void showHomePriceUnit();
    // The home price typed, 0 for an empty field; false when it does not read.
    bool readHomePrice(float* price) const;

    QFormLayout* m_form = nullptr;
    QComboBox* m_distance = nullptr;
    QComboBox* m_volume = nullptr;
    QComboBox* m_consumption = nullptr;
    QLineEdit* m_currency = nullptr;
    QComboBox* m_energy = nullptr;
    QComboBox* m_electricConsumption = nullptr;
    QLineEdit* m_homePrice = nullptr;
    // The price the log held and the text it was shown as: an untouched field keeps the price
    // exactly, whatever decimals it has.
    float m_shownHomePrice = 0;
    QString m_shownHomePriceText;
    TextLookup m_text;
    // Not a choice here: the readings stay in the unit they are stored in.
    DistanceUnit m_stored = DistanceUnit::Kilometres;
    LogUnits m_given;
};
