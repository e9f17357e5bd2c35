#pragma once

#include "db/fillextras.h"
#include "db/records.h"
#include "db/units.h"
#include "localisation/texts.h"
#include "ui/fill/scrolldlg.h"

class CFuelDatabase;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The dialog in which a fill is entered or changed. It works on its own copies of one station,
// one fill and one driver: it shows them, reads the fields back into them on OK and hands them
// to its caller through getRecords(). It never changes the database, which it reads only to
// list the known stations and drivers.
class CFillDlg : public CScrollDlg {
    Q_OBJECT
public:
    // With a fill, the dialog edits it (station and driver as given, blank when null); without
    // one it enters a new fill and ignores station and driver.
    CFillDlg(QWidget* owner, const StationRecord* station, const FillRecord* fill,
             const DriverRecord* driver);
    ~CFillDlg() override;

    void setDatabase(const CFuelDatabase* database) { m_database = database; }

    // Initialises and runs the dialog modally: QDialog::Accepted after OK (the fields have
    // been read), Rejected after Cancel.
    int doModal();
    void getRecords(StationRecord* station, FillRecord* fill, DriverRecord* driver) const;
    // The partial and missed flags: shown as set before the dialog runs, read back after OK.
    void setFlags(FillFlags flags) { m_flags = flags; }
    FillFlags flags() const { return m_flags; }

    // OK: reads the fields into the copies and closes the dialog. A date or time that does not
    // read is named in a message and the dialog stays open with that field focused.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void initDialog();
    void translateControls();
    void fillStationList();
    void fillDriverList();
    void loadData();
    // Stores the fields, with the odometer, fuel, cost and time read into typed.
    void saveData(const FillRecord& typed);
    // Odometer, fuel and cost as the fields give them, or false after saying which does not read.
    bool readFillNumbers(FillRecord* out);
    // The fill time the date and time fields give, or false after saying which does not read.
    bool readFillTime(FileTime* out);
    // Tells that a field does not read and puts the focus on it; false.
    bool refuseField(QLineEdit* field, const TextId& message);

    QLabel* m_stationLabel = nullptr;
    QComboBox* m_station = nullptr;
    QLabel* m_odometerLabel = nullptr;
    QLineEdit* m_odometer = nullptr;
    QLabel* m_fuelLabel = nullptr;
    QLineEdit* m_fuel = nullptr;
    QLabel* m_costLabel = nullptr;
    QLineEdit* m_cost = nullptr;
    QLabel* m_notesLabel = nullptr;
    QLineEdit* m_notes = nullptr;
    QLabel* m_dateLabel = nullptr;
    QLineEdit* m_date = nullptr;
    QLabel* m_timeLabel = nullptr;
    QLineEdit* m_time = nullptr;
    QLabel* m_driverLabel = nullptr;
    QComboBox* m_driver = nullptr;
    QCheckBox* m_partial = nullptr;
    QCheckBox* m_missed = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;

    StationRecord m_stationCopy;
    DriverRecord m_driverCopy;
    FillRecord m_fillCopy;
    FillFlags m_flags;
    bool m_edit = false;
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
};
