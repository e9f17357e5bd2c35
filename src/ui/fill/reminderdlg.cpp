#include "ui/fill/reminderdlg.h"

#include "db/formats.h"
#include "localisation/language.h"
#include "ui/messagebox.h"
#include "ui/widgettext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr int kLongestRepeat = 240;

// The label's text without its colon names the field for a screen reader.
QString accessibleText(const QString& text) {
    QString name = text;
    if (name.endsWith(u':'))
        name.chop(1);
    return name;
}

QLabel* formLabel(QWidget* parent, QWidget* buddy, const QString& text) {
    auto* label = new QLabel(widgetText(text), parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(accessibleText(text));
    return label;
}

QCheckBox* formCheck(QWidget* parent, QWidget* buddy, const char* name, const QString& text) {
    auto* check = new QCheckBox(widgetText(text), parent);
    check->setObjectName(QString::fromLatin1(name));
    buddy->setAccessibleName(accessibleText(text));
    return check;
}

QDateEdit* dateEdit(QWidget* parent, const char* name) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setCalendarPopup(true);
    edit->setMinimumDate(QDate(1601, 1, 1));
    edit->setDate(QDate::currentDate());
    return edit;
}

QLineEdit* lineEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->setObjectName(QStringLiteral("buttons"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

bool refuse(QDialog* dialog, QWidget* field, const TextId& message) {
    showMessageBox(dialog, QStringLiteral("Tankometer"), translate(message), QMessageBox::Warning,
                   QMessageBox::Ok);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    return false;
}

QString readingText(const LogUnits& units, qint32 reading) {
    return reading == kNoReading || reading <= 0 ? QString()
                                                 : QString::number(distanceIn(units, reading));
}

// An odometer field: empty gives kNoReading; a text left as shown keeps the stored value.
bool readReading(const QString& text, const QString& shown, qint32 stored, const LogUnits& units,
                 qint32* out) {
    const QString typed = text.trimmed();
    if (typed.isEmpty()) {
        *out = kNoReading;
        return true;
    }
    if (typed == shown) {
        *out = stored;
        return true;
    }
    return readOdometer(typed, units, out) && *out > 0;
}

} // namespace

CReminderDlg::CReminderDlg(QWidget* owner, const LogUnits& units) : QDialog(owner), m_units(units) {
    setObjectName(QStringLiteral("reminderDialog"));
    setWindowTitle(translate(Text::reminderlist_ReminderCaption));
    const UnitTexts texts = unitTexts(units);
    m_title = lineEdit(this, "title");
    m_title->setMaxLength(100);
    m_dueDate = dateEdit(this, "dueDate");
    m_byDate = formCheck(this, m_dueDate, "byDate", translate(Text::reminderlist_ByDate));
    m_dueReading = lineEdit(this, "dueReading");
    m_byReading = formCheck(this, m_dueReading, "byReading",
                            translate(Text::reminderlist_ByReading).arg(texts.odometer));
    m_repeatMonths = new QSpinBox(this);
    m_repeatMonths->setObjectName(QStringLiteral("repeatMonths"));
    m_repeatMonths->setRange(0, kLongestRepeat);
    m_repeatDistance = lineEdit(this, "repeatDistance");

    auto* form = new QFormLayout;
    form->addRow(formLabel(this, m_title, translate(Text::reminderlist_Title)), m_title);
    form->addRow(m_byDate, m_dueDate);
    form->addRow(m_byReading, m_dueReading);
    form->addRow(formLabel(this, m_repeatMonths, translate(Text::reminderlist_RepeatMonths)),
                 m_repeatMonths);
    form->addRow(formLabel(this, m_repeatDistance,
                           translate(Text::reminderlist_RepeatDistance).arg(texts.distance)),
                 m_repeatDistance);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(okCancel(this));
    connect(m_byDate, &QCheckBox::toggled, this, &CReminderDlg::updateFields);
    connect(m_byReading, &QCheckBox::toggled, this, &CReminderDlg::updateFields);
    setReminder({});
}

CReminderDlg::~CReminderDlg() = default;

void CReminderDlg::setReminder(const Reminder& reminder) {
    m_reminder = reminder;
    m_title->setText(reminder.title);
    m_byDate->setChecked(reminder.dueDate.isValid());
    m_dueDate->setDate(reminder.dueDate.isValid() ? reminder.dueDate
                                                  : QDate::currentDate().addMonths(1));
    m_byReading->setChecked(reminder.dueOdometer != kNoReading);
    m_dueReading->setText(readingText(m_units, reminder.dueOdometer));
    m_repeatMonths->setValue(reminder.repeatMonths);
    m_repeatDistance->setText(readingText(m_units, reminder.repeatDistance));
    updateFields();
    m_title->setFocus();
}

void CReminderDlg::updateFields() {
    m_dueDate->setEnabled(m_byDate->isChecked());
    m_dueReading->setEnabled(m_byReading->isChecked());
}

void CReminderDlg::accept() {
    Reminder reminder = m_reminder;
    reminder.title = m_title->text().trimmed();
    if (reminder.title.isEmpty()) {
        refuse(this, m_title, Text::reminderlist_NoTitle);
        return;
    }
    if (!m_byDate->isChecked() && !m_byReading->isChecked()) {
        refuse(this, m_byDate, Text::reminderlist_NoDue);
        return;
    }
    reminder.dueDate = m_byDate->isChecked() ? m_dueDate->date() : QDate();
    reminder.dueOdometer = kNoReading;
    if (m_byReading->isChecked() &&
        (!readReading(m_dueReading->text(), readingText(m_units, m_reminder.dueOdometer),
                      m_reminder.dueOdometer, m_units, &reminder.dueOdometer) ||
         reminder.dueOdometer == kNoReading)) {
        refuse(this, m_dueReading, Text::fill_rangeodometer);
        return;
    }
    reminder.repeatMonths = m_repeatMonths->value();
    qint32 distance = kNoReading;
    if (!readReading(m_repeatDistance->text(), readingText(m_units, m_reminder.repeatDistance),
                     m_reminder.repeatDistance, m_units, &distance)) {
        refuse(this, m_repeatDistance, Text::reminderlist_BadDistance);
        return;
    }
    reminder.repeatDistance = distance == kNoReading ? 0 : distance;
    m_reminder = reminder;
    QDialog::accept();
}

CReminderDoneDlg::CReminderDoneDlg(QWidget* owner, const LogUnits& units, const Reminder& reminder,
                                   const QList<CostCategoryName>& categories, qint32 reading)
    : QDialog(owner), m_units(units), m_title(reminder.title), m_reading(reading) {
    setObjectName(QStringLiteral("reminderDoneDialog"));
    setWindowTitle(translate(Text::reminderlist_DoneCaption).arg(reminder.title));
    const UnitTexts texts = unitTexts(units);
    m_dateEdit = dateEdit(this, "date");
    m_readingEdit = lineEdit(this, "odometer");
    m_readingEdit->setText(readingText(units, reading));
    m_asCost = new QCheckBox(translatedWidgetText(Text::reminderlist_AsCost), this);
    m_asCost->setObjectName(QStringLiteral("asCost"));
    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("category"));
    for (const auto& [id, name] : categories)
        m_category->addItem(name, id);
    m_amount = lineEdit(this, "amount");

    auto* form = new QFormLayout;
    form->addRow(formLabel(this, m_dateEdit, translate(Text::fill_date)), m_dateEdit);
    form->addRow(
        formLabel(this, m_readingEdit, translate(Text::costlist_OdometerIn).arg(texts.odometer)),
        m_readingEdit);
    form->addRow(m_asCost);
    form->addRow(formLabel(this, m_category, translate(Text::costlist_Category)), m_category);
    form->addRow(formLabel(this, m_amount, translate(Text::fill_costin).arg(texts.currency)),
                 m_amount);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(okCancel(this));
    const auto update = [this] {
        m_category->setEnabled(m_asCost->isChecked());
        m_amount->setEnabled(m_asCost->isChecked());
    };
    connect(m_asCost, &QCheckBox::toggled, this, update);
    update();
    m_dateEdit->setFocus();
}

CReminderDoneDlg::~CReminderDoneDlg() = default;

void CReminderDoneDlg::accept() {
    qint32 reading = kNoReading;
    if (!readReading(m_readingEdit->text(), readingText(m_units, m_reading), m_reading, m_units,
                     &reading)) {
        refuse(this, m_readingEdit, Text::fill_rangeodometer);
        return;
    }
    std::optional<CostEntry> cost;
    if (m_asCost->isChecked()) {
        float amount = 0;
        if (!readAmount(m_amount->text(), &amount) || !isPlausibleAmount(amount) || amount < 0) {
            refuse(this, m_amount, Text::fill_rangecost);
            return;
        }
        cost = CostEntry{};
        cost->date = m_dateEdit->date();
        cost->odometer = reading;
        cost->categoryId = m_category->currentData().toInt();
        cost->amount = double(amount);
        cost->notes = m_title;
    }
    m_date = m_dateEdit->date();
    m_reading = reading;
    m_cost = cost;
    QDialog::accept();
}
