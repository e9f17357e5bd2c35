#pragma once

// The reminders of the open log, one line each (what, when or at what reading it falls due, and
// how far off that is), most urgent first; reminders are added, edited, removed and marked done
// here, each as a step of the log.

#include "db/units.h"
#include "stats/reminders.h"

#include <QDate>
#include <QDialog>
#include <vector>

class CLogDocument;
class QPushButton;
class QTableWidget;

// How far off the due point is ("in about 3 weeks", "5 days overdue", "800 km to go"); empty
// when the reminder is due no more.
QString reminderOffText(const ReminderDue& due, const LogUnits& units);
// When or at what reading it falls due.
QString reminderDueText(const ReminderDue& due, const LogUnits& units);

class CRemindersDlg : public QDialog {
    Q_OBJECT
public:
    CRemindersDlg(QWidget* owner, CLogDocument& document);
    ~CRemindersDlg() override;

    QTableWidget* list() const { return m_list; }
    // The day the reminders are measured from (today by default).
    void setToday(const QDate& today);

    // The reminders of the selected lines, ascending; the one of the current line, or -1.
    std::vector<int> selectedReminders() const;
    int currentReminder() const;
    void selectReminder(int index);

    void addReminder();
    void editReminder();
    void removeReminders();
    void markDone();

signals:
    void exportRequested();

protected:
    void done(int result) override;

private:
    void showReminders();
    int contentsWidth() const;
    void updateButtons();

    CLogDocument& m_document;
    QDate m_today;
    QTableWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_done = nullptr;
    QPushButton* m_export = nullptr;
};
