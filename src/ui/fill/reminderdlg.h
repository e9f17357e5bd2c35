#pragma once

// A reminder of work that falls due (its title, a date and/or an odometer reading, and how it
// repeats), and what is asked when it has been done (when, at what reading, and optionally the
// cost it came to).

#include "db/costs.h"
#include "db/units.h"
#include "ui/fill/costdlg.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QSpinBox;

class CReminderDlg : public QDialog {
    Q_OBJECT
public:
    CReminderDlg(QWidget* owner, const LogUnits& units);
    ~CReminderDlg() override;

    void setReminder(const Reminder& reminder);
    Reminder reminder() const { return m_reminder; }

    void accept() override;

private:
    void updateFields();

    LogUnits m_units;
    Reminder m_reminder;
    QLineEdit* m_title = nullptr;
    QCheckBox* m_byDate = nullptr;
    QDateEdit* m_dueDate = nullptr;
    QCheckBox* m_byReading = nullptr;
    QLineEdit* m_dueReading = nullptr;
    QSpinBox* m_repeatMonths = nullptr;
    QLineEdit* m_repeatDistance = nullptr;
};

class CReminderDoneDlg : public QDialog {
    Q_OBJECT
public:
    // reading: the odometer offered (kNoReading: none).
    CReminderDoneDlg(QWidget* owner, const LogUnits& units, const Reminder& reminder,
                     const QList<CostCategoryName>& categories, qint32 reading);
    ~CReminderDoneDlg() override;

    QDate date() const { return m_date; }
    qint32 reading() const { return m_reading; }
    // The cost to record with it, when asked for.
    std::optional<CostEntry> cost() const { return m_cost; }

    void accept() override;

private:
    LogUnits m_units;
    QString m_title;
    QDate m_date;
    qint32 m_reading = kNoReading;
    std::optional<CostEntry> m_cost;
    QDateEdit* m_dateEdit = nullptr;
    QLineEdit* m_readingEdit = nullptr;
    QCheckBox* m_asCost = nullptr;
    QComboBox* m_category = nullptr;
    QLineEdit* m_amount = nullptr;
};
