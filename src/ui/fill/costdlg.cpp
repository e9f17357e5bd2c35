#include "ui/fill/costdlg.h"

#include "db/formats.h"
#include "localisation/language.h"
#include "ui/messagebox.h"
#include "ui/widgettext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The combo's data of the item that names a new category.
constexpr int kNewCategory = -1;
constexpr int kLongestInterval = 120;
constexpr int kNotesLength = 254;

QLabel* formLabel(QWidget* parent, QWidget* buddy, const QString& text) {
    auto* label = new QLabel(widgetText(text), parent);
    label->setBuddy(buddy);
    QString name = text;
    if (name.endsWith(u':'))
        name.chop(1);
    buddy->setAccessibleName(name);
    return label;
}

QDateEdit* dateEdit(QWidget* parent, const char* name) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setCalendarPopup(true);
    edit->setMinimumDate(QDate(1601, 1, 1));
    return edit;
}

} // namespace

CCostDlg::CCostDlg(QWidget* owner, const LogUnits& units, const QList<CostCategoryName>& categories)
    : QDialog(owner), m_units(units) {
    setObjectName(QStringLiteral("costDialog"));
    setWindowTitle(translate(Text::costlist_caption));
    const UnitTexts texts = unitTexts(units);

    m_date = dateEdit(this, "date");
    m_odometer = new QLineEdit(this);
    m_odometer->setObjectName(QStringLiteral("odometer"));
    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("category"));
    for (const auto& [id, name] : categories)
        m_category->addItem(name, id);
    m_category->addItem(translate(Text::costlist_NewCategory), kNewCategory);
    m_newCategory = new QLineEdit(this);
    m_newCategory->setObjectName(QStringLiteral("newCategory"));
    m_amount = new QLineEdit(this);
    m_amount->setObjectName(QStringLiteral("amount"));
    m_notes = new QLineEdit(this);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setMaxLength(kNotesLength);
    m_recurring = new QCheckBox(translatedWidgetText(Text::costlist_Recurring), this);
    m_recurring->setObjectName(QStringLiteral("recurring"));
    m_interval = new QSpinBox(this);
    m_interval->setObjectName(QStringLiteral("interval"));
    m_interval->setRange(1, kLongestInterval);
    m_interval->setValue(12);
    m_ends = new QCheckBox(translatedWidgetText(Text::costlist_Until), this);
    m_ends->setObjectName(QStringLiteral("ends"));
    m_ends->setAccessibleName(translate(Text::costlist_Until));
    m_endDate = dateEdit(this, "endDate");
    m_endDate->setAccessibleName(translate(Text::costlist_EndDate));

    auto* form = new QFormLayout;
    form->addRow(formLabel(this, m_date, translate(Text::fill_date)), m_date);
    form->addRow(
        formLabel(this, m_odometer, translate(Text::costlist_OdometerIn).arg(texts.odometer)),
        m_odometer);
    form->addRow(formLabel(this, m_category, translate(Text::costlist_Category)), m_category);
    m_newCategoryLabel = formLabel(this, m_newCategory, translate(Text::costlist_NewCategoryName));
    form->addRow(m_newCategoryLabel, m_newCategory);
    form->addRow(formLabel(this, m_amount, translate(Text::fill_costin).arg(texts.currency)),
                 m_amount);
    form->addRow(formLabel(this, m_notes, translate(Text::fill_notes)), m_notes);
    form->addRow(m_recurring);
    form->addRow(formLabel(this, m_interval, translate(Text::costlist_Interval)), m_interval);
    auto* end = new QHBoxLayout;
    end->addWidget(m_ends);
    end->addWidget(m_endDate, 1);
    form->addRow(end);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(m_category, &QComboBox::currentIndexChanged, this, &CCostDlg::categoryChosen);
    connect(m_recurring, &QCheckBox::toggled, this, &CCostDlg::updateRecurring);
    connect(m_ends, &QCheckBox::toggled, this, &CCostDlg::updateRecurring);

    CostEntry fresh;
    fresh.date = QDate::currentDate();
    fresh.categoryId = categories.isEmpty() ? 0 : categories.first().first;
    setCost(fresh);
}

CCostDlg::~CCostDlg() = default;

void CCostDlg::setCost(const CostEntry& cost) {
    m_cost = cost;
    m_date->setDate(cost.date.isValid() ? cost.date : QDate::currentDate());
    m_odometer->setText(cost.odometer == kNoReading
                            ? QString()
                            : QString::number(distanceIn(m_units, cost.odometer)));
    const int category = m_category->findData(cost.categoryId);
    m_category->setCurrentIndex(qMax(0, category));
    m_amount->setText(cost.amount == 0 && !cost.date.isValid() ? QString()
                                                               : formatAmount(float(cost.amount)));
    m_notes->setText(cost.notes);
    m_recurring->setChecked(cost.intervalMonths > 0);
    m_interval->setValue(cost.intervalMonths > 0 ? cost.intervalMonths : 12);
    m_ends->setChecked(cost.endDate.isValid());
    m_endDate->setDate(cost.endDate.isValid() ? cost.endDate : m_date->date().addYears(1));
    categoryChosen();
    updateRecurring();
    m_date->setFocus();
}

QString CCostDlg::newCategory() const {
    return m_category->currentData().toInt() == kNewCategory ? m_newCategory->text().trimmed()
                                                             : QString();
}

void CCostDlg::categoryChosen() {
    const bool naming = m_category->currentData().toInt() == kNewCategory;
    m_newCategoryLabel->setVisible(naming);
    m_newCategory->setVisible(naming);
    if (naming && isVisible())
        m_newCategory->setFocus();
}

void CCostDlg::updateRecurring() {
    const bool recurring = m_recurring->isChecked();
    m_interval->setEnabled(recurring);
    m_ends->setEnabled(recurring);
    m_endDate->setEnabled(recurring && m_ends->isChecked());
}

bool CCostDlg::refuse(QWidget* field, const QString& message) {
    showMessageBox(this, QStringLiteral("Tankometer"), message, QMessageBox::Warning,
                   QMessageBox::Ok);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    return false;
}

void CCostDlg::accept() {
    CostEntry cost = m_cost;
    cost.date = m_date->date();
    // A reading left as shown keeps the stored value: a reading in miles never drifts.
    const QString odometer = m_odometer->text().trimmed();
    const QString shownOdometer = m_cost.odometer == kNoReading
                                      ? QString()
                                      : QString::number(distanceIn(m_units, m_cost.odometer));
    if (odometer.isEmpty()) {
        cost.odometer = kNoReading;
    } else if (odometer != shownOdometer) {
        if (!readOdometer(odometer, m_units, &cost.odometer) || cost.odometer <= 0) {
            refuse(m_odometer, translate(Text::fill_rangeodometer));
            return;
        }
    }
    if (m_category->currentData().toInt() == kNewCategory) {
        if (newCategory().isEmpty()) {
            refuse(m_newCategory, translate(Text::costlist_NoCategoryName));
            return;
        }
    } else {
        cost.categoryId = m_category->currentData().toInt();
    }
    float amount = 0;
    if (!readAmount(m_amount->text(), &amount) || !std::isfinite(amount) || amount < 0 ||
        !isPlausibleAmount(amount)) {
        refuse(m_amount, translate(Text::fill_rangecost));
        return;
    }
    cost.amount = double(amount);
    cost.notes = m_notes->text();
    cost.intervalMonths = m_recurring->isChecked() ? m_interval->value() : 0;
    cost.endDate = cost.intervalMonths > 0 && m_ends->isChecked() ? m_endDate->date() : QDate();
    if (cost.endDate.isValid() && cost.endDate < cost.date) {
        refuse(m_endDate, translate(Text::costlist_EndBeforeStart));
        return;
    }
    m_cost = cost;
    QDialog::accept();
}
