#pragma once

#include "db/fillextras.h"
#include "db/records.h"
#include "db/units.h"
#include "localisation/texts.h"
#include "ui/fill/scrolldlg.h"

#include <QList>

class CFuelDatabase;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QDate;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

// The dialog in which a fill is entered or changed. It works on its own copies of one station,
// one fill and one driver: it shows them, reads the fields back into them on OK and hands them
// to its caller through getRecords(). It never changes the database, which it reads only to
// list the known stations and drivers.
//
// In the log of an electric vehicle it records a charge: kWh instead of fuel, a full charge
// instead of a partial fill, and the charge's own fields (charged at home, the battery's state
// before and after). In a plug-in hybrid's log the user first chooses what was bought; a new
// fill starts with the choice made last.
class CFillDlg : public CScrollDlg {
    Q_OBJECT
public:
    // With a fill, the dialog edits it (station and driver as given, blank when null); without
    // one it enters a new fill and ignores station and driver.
    CFillDlg(QWidget* owner, const StationRecord* station, const FillRecord* fill,
             const DriverRecord* driver);
    ~CFillDlg() override;

    void setDatabase(const CFuelDatabase* database) { m_database = database; }
    // The row of the edited fill in the database, which the plausibility questions leave out
    // when they compare the fill with the others.
    void setFillIndex(int index) { m_fillIndex = index; }

    // Initialises and runs the dialog modally: QDialog::Accepted after OK (the fields have
    // been read), Rejected after Cancel.
    int doModal();
    void getRecords(StationRecord* station, FillRecord* fill, DriverRecord* driver) const;
    // The fill's flags and, for a charge, its own fields: shown as set before the dialog runs,
    // read back after OK.
    void setFlags(FillFlags flags) { m_flags = flags; }
    FillFlags flags() const { return m_flags; }

    // OK: reads the fields into the copies and closes the dialog. A field that does not read or
    // is out of range is named in a message, and a doubtful fill is stored only when the user
    // says so; otherwise the dialog stays open with that field focused.
    void accept() override;
    // Opens the calendar below the date field (also F4 or Alt+Down there).
    void showCalendar();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void initDialog();
    void translateControls();
    // List the known names, the one given shown.
    void fillStationList(const QString& selected);
    void fillDriverList(const QString& selected);
    void loadData();
    // Stores the fields, with the odometer, fuel, cost and time read into typed.
    void saveData(const FillRecord& typed);
    // Odometer, fuel and cost as the fields give them, or false after saying which does not read.
    bool readFillNumbers(FillRecord* out);
    // The fill time the date and time fields give, or false after saying which does not read.
    bool readFillTime(FileTime* out);
    // Tells that a field does not read and puts the focus on it; false.
    bool refuseField(QLineEdit* field, const TextId& message);
    bool refuseField(QLineEdit* field, const QString& message);
    // Asks whether to store a fill the plausibility rules doubt; false keeps the dialog open
    // with the first doubtful field selected.
    bool confirmPlausible(const FillRecord& typed);
    bool numbersAndTimeAsShown() const;
    // Of fuel, unit price and cost, the two typed last give the third.
    void amountTyped(QLineEdit* field);
    // Whether the fields record a charge.
    bool isCharge() const;
    // Labels, title and fields for fuel or for a charge.
    void showKind();
    void kindChosen();
    // Charged at home: the unit price is the home price and the cost follows the kWh until the
    // user types a cost.
    void homeChosen(bool atHome);
    // The flags as the fields give them.
    FillFlags flagsShown() const;
    void calendarChosen(const QDate& date);

    QLabel* m_stationLabel = nullptr;
    QComboBox* m_station = nullptr;
    QLabel* m_odometerLabel = nullptr;
    QLineEdit* m_odometer = nullptr;
    QLabel* m_fuelLabel = nullptr;
    QLineEdit* m_fuel = nullptr;
    QLabel* m_unitPriceLabel = nullptr;
    QLineEdit* m_unitPrice = nullptr;
    QLabel* m_costLabel = nullptr;
    QLineEdit* m_cost = nullptr;
    QLabel* m_notesLabel = nullptr;
    QLineEdit* m_notes = nullptr;
    QLabel* m_dateLabel = nullptr;
    QLineEdit* m_date = nullptr;
    QToolButton* m_calendarButton = nullptr;
    QCalendarWidget* m_calendar = nullptr;
    QLabel* m_timeLabel = nullptr;
    QLineEdit* m_time = nullptr;
    QLabel* m_driverLabel = nullptr;
    QComboBox* m_driver = nullptr;
    QCheckBox* m_partial = nullptr;
    QCheckBox* m_missed = nullptr;
    QLabel* m_kindLabel = nullptr;
    QComboBox* m_kind = nullptr;
    QCheckBox* m_fullCharge = nullptr;
    QCheckBox* m_atHome = nullptr;
    QLabel* m_chargeBeforeLabel = nullptr;
    QSpinBox* m_chargeBefore = nullptr;
    QLabel* m_chargeAfterLabel = nullptr;
    QSpinBox* m_chargeAfter = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;

    StationRecord m_stationCopy;
    DriverRecord m_driverCopy;
    FillRecord m_fillCopy;
    FillFlags m_flags;
    bool m_edit = false;
    int m_fillIndex = -1;
    // Of fuel, unit price and cost, those the user typed last, the latest at the end.
    QList<QLineEdit*> m_typedAmounts;
    // The texts loadData showed: a field still showing its text keeps the stored value, which
    // the text may not give back exactly (more than two decimals, inf, a time past the second).
    QString m_shownOdometer;
    QString m_shownFuel;
    QString m_shownCost;
    QString m_shownDate;
    QString m_shownTime;
    const CFuelDatabase* m_database = nullptr;
    // The log's units: fields are shown and read in them.
    LogUnits m_units;
    // Whether the fill being edited was a charge: its amount field shows the stored value only
    // while it stays one.
    bool m_loadedCharge = false;
};
