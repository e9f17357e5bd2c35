#pragma once

#include "db/units.h"
#include "stats/derived.h"
#include "ui/stats/valuerows.h"

#include <QDialog>
#include <array>

class CFuelDatabase;
class QPushButton;

// Everything known about one fill, read-only: what was entered and what follows from it and
// the fill before it. Four buttons step through the fills in time order; the caller reads back
// the fill last shown. The dialog never changes the database.
class CFillInfoDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFillInfoDlg(QWidget* owner);
    ~CFillInfoDlg() override;

    void setDatabase(const CFuelDatabase* database) { m_database = database; }
    void setCurrentIndex(int index) { m_currentIndex = index; }
    int currentIndex() const { return m_currentIndex; }

    // Reads the filling method once for the whole opening, then runs modally: QDialog::Accepted
    // after OK, Rejected after Escape.
    int doModal();

    // Labels and units in the loaded language, every value not available.
    void setDefaultTexts();
    // The values of the fill at index (none outside the log).
    void showFill(int index);
    // The fill at the current index, the buttons it allows and the position text.
    void showPosition();

    void showFirst();
    void showPrevious();
    void showNext();
    void showLast();

private:
    enum Row {
        Station,
        Driver,
        Notes,
        Date,
        Time,
        Odometer,
        Fuel,
        Cost,
        UnitCost,
        Consumption,
        Distance,
        CostOfDist,
        Endurance,
        Capacity,
        Marks,
        RowCount
    };

    void setValue(Row row, const QString& text);
    // The labels and units of a fill of fuel or of a charge of electricity.
    void setEnergyTexts(bool charge);
    QPushButton* addStepButton(const QString& caption, const QString& name,
                               void (CFillInfoDlg::*step)(), QList<QKeySequence> keys);

    const CFuelDatabase* m_database = nullptr;
    int m_currentIndex = 0;
    FillingMethod m_method = FillingMethod::ToEmptyTank;
    LogUnits m_units;
    bool m_charge = false; // the rows name a charge's units

    std::array<ValueRow, RowCount> m_rows;
    QPushButton* m_first = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_last = nullptr;
    QLabel* m_position = nullptr;
    QPushButton* m_ok = nullptr;
};
