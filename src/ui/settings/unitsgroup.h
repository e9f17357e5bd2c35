#pragma once

// The units and currency of one vehicle's log, as a group of controls: in the settings page for
// the open log and in the dialog that creates a new one.

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

private:
    void offerConsumptionUnits();

    QFormLayout* m_form = nullptr;
    QComboBox* m_distance = nullptr;
    QComboBox* m_volume = nullptr;
    QComboBox* m_consumption = nullptr;
    QLineEdit* m_currency = nullptr;
    // Not a choice here: the readings stay in the unit they are stored in.
    DistanceUnit m_stored = DistanceUnit::Kilometres;
};
