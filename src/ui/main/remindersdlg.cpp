#include "ui/main/remindersdlg.h"

#include "core/logdocument.h"
#include "core/settings.h"
#include "localisation/language.h"
#include "ui/fill/reminderdlg.h"
#include "ui/main/costlistmodel.h"
#include "ui/messagebox.h"
#include "ui/widgettext.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <set>

namespace {

constexpr int kIndexRole = Qt::UserRole;

QString distanceText(const LogUnits& units, qint64 distance) {
    return QString::number(distanceIn(units, distance));
}

} // namespace

QString reminderOffText(const ReminderDue& due, const LogUnits& units) {
    if (due.daysLeft) {
        const qint64 days = *due.daysLeft;
        const qint64 size = std::llabs(days);
        const qint64 weeks = std::llround(double(size) / 7);
        const qint64 months = std::llround(double(size) / 30.44);
        if (days == 0)
            return translate(Text::reminderlist_Today);
        if (days > 0) {
            if (days == 1)
                return translate(Text::reminderlist_Tomorrow);
            if (days < 14)
                return translate(Text::reminderlist_InDays).arg(days);
            return days < 60 ? translate(Text::reminderlist_InWeeks).arg(weeks)
                             : translate(Text::reminderlist_InMonths).arg(months);
        }
        if (size == 1)
            return translate(Text::reminderlist_DayOverdue);
        if (size < 14)
            return translate(Text::reminderlist_DaysOverdue).arg(size);
        return size < 60 ? translate(Text::reminderlist_WeeksOverdue).arg(weeks)
                         : translate(Text::reminderlist_MonthsOverdue).arg(months);
    }
    if (due.distanceLeft) {
        const QString unit = unitTexts(units).distance;
        return *due.distanceLeft >= 0 ? translate(Text::reminderlist_DistanceLeft)
                                            .arg(distanceText(units, *due.distanceLeft), unit)
                                      : translate(Text::reminderlist_DistanceOverdue)
                                            .arg(distanceText(units, -*due.distanceLeft), unit);
    }
    return {};
}

QString reminderDueText(const ReminderDue& due, const LogUnits& units) {
    const QString date = costDateText(due.date);
    const QString reading = due.odometer == kNoReading ? QString()
                                                       : translate(Text::reminderlist_DueReading)
                                                             .arg(distanceText(units, due.odometer),
                                                                  unitTexts(units).odometer);
    if (!date.isEmpty() && !reading.isEmpty())
        return translate(Text::reminderlist_DueEither).arg(date, reading);
    return date.isEmpty() ? reading : date;
}

CRemindersDlg::CRemindersDlg(QWidget* owner, CLogDocument& document)
    : QDialog(owner), m_document(document), m_today(QDate::currentDate()) {
    setObjectName(QStringLiteral("remindersDialog"));
    setWindowTitle(translate(Text::reminderlist_caption));
    m_list = new QTableWidget(0, 3, this);
    m_list->setObjectName(QStringLiteral("reminderList"));
    m_list->setAccessibleName(translate(Text::reminderlist_ListName));
    m_list->setHorizontalHeaderLabels({translate(Text::reminderlist_ColWhat),
                                       translate(Text::reminderlist_ColDue),
                                       translate(Text::reminderlist_ColOff)});
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setWordWrap(false);
    m_list->setShowGrid(false);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    // Return edits the current reminder and Delete removes the selected ones, as in the lists
    // of the main window.
    const auto key = [this](QKeySequence::StandardKey fallback, QList<QKeySequence> keys,
                            void (CRemindersDlg::*handler)()) {
        auto* action = new QAction(m_list);
        action->setShortcuts(keys.isEmpty() ? QKeySequence::keyBindings(fallback) : keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, handler);
        m_list->addAction(action);
    };
    key(QKeySequence::UnknownKey, {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
        &CRemindersDlg::editReminder);
    key(QKeySequence::Delete, {}, &CRemindersDlg::removeReminders);

    const auto button = [this](const TextId& text, const char* name) {
        auto* made = new QPushButton(translatedWidgetText(text), this);
        made->setObjectName(QString::fromLatin1(name));
        made->setAutoDefault(false);
        return made;
    };
    m_add = button(Text::reminderlist_Add, "addReminder");
    m_edit = button(Text::reminderlist_Edit, "editReminder");
    m_remove = button(Text::reminderlist_Remove, "removeReminders");
    m_done = button(Text::reminderlist_Done, "reminderDone");
    m_export = button(Text::reminderlist_Export, "exportReminders");
    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("buttons"));
    for (QPushButton* each : {m_add, m_edit, m_remove, m_done, m_export})
        buttons->addButton(each, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(translatedWidgetText(Text::statswnd_Close));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);

    connect(m_add, &QPushButton::clicked, this, &CRemindersDlg::addReminder);
    connect(m_edit, &QPushButton::clicked, this, &CRemindersDlg::editReminder);
    connect(m_remove, &QPushButton::clicked, this, &CRemindersDlg::removeReminders);
    connect(m_done, &QPushButton::clicked, this, &CRemindersDlg::markDone);
    connect(m_export, &QPushButton::clicked, this, &CRemindersDlg::exportRequested);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &CRemindersDlg::updateButtons);
    connect(m_list, &QTableWidget::itemDoubleClicked, this, &CRemindersDlg::editReminder);
    connect(&m_document, &CLogDocument::remindersChanged, this, &CRemindersDlg::showReminders);
    connect(&m_document, &CLogDocument::logOpened, this, &CRemindersDlg::showReminders);

    showReminders();
    if (!restoreGeometry(
            QByteArray::fromBase64(readSetting(SettingsKey::RemindersWindowGeometry).toLatin1())))
        resize(std::clamp(std::max(sizeHint().width(), contentsWidth()), 640,
                          std::max(640, screen()->availableGeometry().width() * 9 / 10)),
               360);
    m_list->setFocus();
}

CRemindersDlg::~CRemindersDlg() = default;

// The dialog's width with every text of the list whole (its last column stretches to what the
// dialog gives).
int CRemindersDlg::contentsWidth() const {
    ensurePolished();
    const QAbstractItemView* view = m_list;
    const QMargins margins = layout()->contentsMargins();
    int width = margins.left() + margins.right() + 2 * m_list->frameWidth() +
                m_list->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < m_list->columnCount(); ++column)
        width += std::max(view->sizeHintForColumn(column),
                          m_list->horizontalHeader()->sectionSizeHint(column));
    return width;
}

void CRemindersDlg::done(int result) {
    writeSetting(SettingsKey::RemindersWindowGeometry,
                 QString::fromLatin1(saveGeometry().toBase64()));
    QDialog::done(result);
}

void CRemindersDlg::setToday(const QDate& today) {
    m_today = today;
    showReminders();
}

// The reminders due soon come first, most urgent first; the others follow in the log's order.
void CRemindersDlg::showReminders() {
    const int current = currentReminder();
    const VehicleCosts& costs = m_document.costs();
    const LogUnits units = m_document.database().units();
    const OdometerEstimate estimate = odometerEstimate(m_document.database());
    std::vector<ReminderDue> shown = remindersDueSoon(costs, estimate, m_today);
    std::set<int> listed;
    for (const ReminderDue& due : shown)
        listed.insert(due.index);
    for (int index = 0; index < int(costs.reminders.size()); ++index) {
        if (listed.count(index) == 0) {
            shown.push_back(reminderDue(costs.reminders[std::size_t(index)], estimate, m_today));
            shown.back().index = index;
        }
    }
    m_list->clearContents();
    m_list->setRowCount(int(shown.size()));
    for (int row = 0; row < int(shown.size()); ++row) {
        const ReminderDue& due = shown[std::size_t(row)];
        const QString texts[] = {costs.reminders[std::size_t(due.index)].title,
                                 reminderDueText(due, units), reminderOffText(due, units)};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setData(kIndexRole, due.index);
            if (due.overdue) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            m_list->setItem(row, column, item);
        }
    }
    m_list->resizeColumnsToContents();
    m_list->setAccessibleDescription(shown.empty() ? translate(Text::reminderlist_None)
                                                   : QString());
    selectReminder(current);
    updateButtons();
}

std::vector<int> CRemindersDlg::selectedReminders() const {
    std::set<int> indexes;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        indexes.insert(index.data(kIndexRole).toInt());
    return {indexes.begin(), indexes.end()};
}

int CRemindersDlg::currentReminder() const {
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid() || !m_list->selectionModel()->isRowSelected(current.row(), {}))
        return -1;
    return current.data(kIndexRole).toInt();
}

void CRemindersDlg::selectReminder(int index) {
    for (int row = 0; row < m_list->rowCount(); ++row) {
        if (m_list->item(row, 0)->data(kIndexRole).toInt() == index) {
            m_list->selectionModel()->setCurrentIndex(m_list->model()->index(row, 0),
                                                      QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
            return;
        }
    }
    m_list->clearSelection();
}

void CRemindersDlg::updateButtons() {
    const bool one = currentReminder() >= 0;
    m_edit->setEnabled(one);
    m_done->setEnabled(one);
    m_remove->setEnabled(!selectedReminders().empty());
}

void CRemindersDlg::addReminder() {
    CReminderDlg dialog(this, m_document.database().units());
    if (execDialog(dialog) != QDialog::Accepted)
        return;
    m_document.addReminder(dialog.reminder());
    selectReminder(int(m_document.costs().reminders.size()) - 1);
}

void CRemindersDlg::editReminder() {
    const int index = currentReminder();
    if (index < 0)
        return;
    CReminderDlg dialog(this, m_document.database().units());
    dialog.setReminder(m_document.costs().reminders[std::size_t(index)]);
    if (execDialog(dialog) != QDialog::Accepted ||
        dialog.reminder() == m_document.costs().reminders[std::size_t(index)])
        return;
    m_document.editReminder(index, dialog.reminder());
    selectReminder(index);
}

void CRemindersDlg::removeReminders() {
    const std::vector<int> indexes = selectedReminders();
    if (indexes.empty())
        return;
    const QString question =
        indexes.size() == 1
            ? translate(Text::reminderlist_RemoveOne)
                  .arg(m_document.costs().reminders[std::size_t(indexes.front())].title)
            : translate(Text::reminderlist_RemoveMany).arg(indexes.size());
    if (showMessageBox(this, windowTitle(), question, QMessageBox::Question,
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes)
        m_document.removeReminders(indexes);
}

void CRemindersDlg::markDone() {
    const int index = currentReminder();
    if (index < 0)
        return;
    const CFuelDatabase& database = m_document.database();
    const qint32 reading = odometerEstimate(database).readingOn(m_today);
    CReminderDoneDlg dialog(this, database.units(),
                            m_document.costs().reminders[std::size_t(index)],
                            costCategoryNames(m_document.costs()), reading);
    if (execDialog(dialog) != QDialog::Accepted)
        return;
    m_document.reminderDone(index, dialog.date(), dialog.reading(), dialog.cost());
    selectReminder(index);
}
