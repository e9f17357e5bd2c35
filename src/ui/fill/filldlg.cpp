#include "ui/fill/filldlg.h"

#include "core/debuglog.h"
#include "core/settings.h"
#include "db/calendar.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/derived.h"
#include "stats/plausibility.h"
#include "ui/messagebox.h"
#include "ui/widgettext.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <tuple>

namespace {

constexpr int kOdometerDigits = 6;
// The entries of the kind choice.
constexpr int kFuelKind = 0;
constexpr int kChargeKind = 1;
// Name and notes fields show about this many characters before they scroll.
constexpr int kTypicalTextLength = 40;
// The longest text read from a field that has no record field of its own.
constexpr int kFieldTextLength = 254;

// Stores the text cut to the field's width less one, followed by its terminator. The units
// after the terminator keep what the record held before, as they always have for a record
// edited in place.
template <std::size_t N> void readIntoField(char16_t (&field)[N], const QString& text) {
    const std::size_t length = std::min<std::size_t>(std::size_t(text.size()), N - 1);
    for (std::size_t i = 0; i < length; ++i)
        field[i] = char16_t(text.at(qsizetype(i)).unicode());
    field[length] = u'\0';
}

QComboBox* createNameBox(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // A typed name that begins like a known one must stay as typed.
    box->setCompleter(nullptr);
    return box;
}

QLineEdit* createField(QWidget* parent, const QString& name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

// Lists the names sorted alphabetically (letter case ignored) and selects the one equal to
// `selected` (letter case ignored); the field stays empty when there is none.
void fillNameBox(QComboBox* box, QStringList names, const QString& selected) {
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(box->findText(selected, Qt::MatchFixedString));
}

// A state of charge in percent, its lowest value standing for "not given".
QSpinBox* createChargeLevel(QWidget* parent, const QString& name) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(kNoChargeLevel, 100);
    box->setSuffix(QStringLiteral(" %"));
    box->setValue(kNoChargeLevel);
    return box;
}

void logLine(const char* message) {
    debugLog().write(QByteArray(message));
}

void logText(const char* format, const QString& text) {
    debugLog().write(formatLogMessage(format, text));
}

} // namespace

CFillDlg::CFillDlg(QWidget* owner, const StationRecord* station, const FillRecord* fill,
                   const DriverRecord* driver)
    : CScrollDlg(owner) {
    setObjectName(QStringLiteral("fillDialog"));
    m_fillCopy.driverId = 0;
    if (fill) {
        m_edit = true;
        m_fillCopy = *fill;
        if (station)
            m_stationCopy = *station;
        if (driver)
            m_driverCopy = *driver;
    }

    QWidget* content = contentWidget();
    m_stationLabel = new QLabel(content);
    m_station = createNameBox(content, QStringLiteral("station"));
    m_odometerLabel = new QLabel(content);
    m_odometer = createField(content, QStringLiteral("odometer"));
    m_odometer->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_odometer));
    m_fuelLabel = new QLabel(content);
    m_fuel = createField(content, QStringLiteral("fuel"));
    m_unitPriceLabel = new QLabel(content);
    m_unitPrice = createField(content, QStringLiteral("unitPrice"));
    m_costLabel = new QLabel(content);
    m_cost = createField(content, QStringLiteral("cost"));
    m_notesLabel = new QLabel(content);
    m_notes = createField(content, QStringLiteral("notes"));
    m_dateLabel = new QLabel(content);
    m_date = createField(content, QStringLiteral("date"));
    m_calendarButton = new QToolButton(content);
    m_calendarButton->setObjectName(QStringLiteral("dateCalendar"));
    m_calendarButton->setArrowType(Qt::DownArrow);
    // The keyboard reaches the calendar from the date field.
    m_calendarButton->setFocusPolicy(Qt::NoFocus);
    m_timeLabel = new QLabel(content);
    m_time = createField(content, QStringLiteral("time"));
    m_driverLabel = new QLabel(content);
    m_driver = createNameBox(content, QStringLiteral("driver"));
    for (QWidget* wide : std::initializer_list<QWidget*>{m_station, m_notes, m_driver})
        wide->setMinimumWidth(wide->fontMetrics().averageCharWidth() * kTypicalTextLength);
    m_partial = new QCheckBox(content);
    m_partial->setObjectName(QStringLiteral("partial"));
    m_missed = new QCheckBox(content);
    m_missed->setObjectName(QStringLiteral("missedBefore"));
    m_kindLabel = new QLabel(content);
    m_kind = new QComboBox(content);
    m_kind->setObjectName(QStringLiteral("fillKind"));
    m_kind->addItems({QString(), QString()});
    m_fullCharge = new QCheckBox(content);
    m_fullCharge->setObjectName(QStringLiteral("fullCharge"));
    m_atHome = new QCheckBox(content);
    m_atHome->setObjectName(QStringLiteral("atHome"));
    m_chargeBeforeLabel = new QLabel(content);
    m_chargeBefore = createChargeLevel(content, QStringLiteral("chargeBefore"));
    m_chargeAfterLabel = new QLabel(content);
    m_chargeAfter = createChargeLevel(content, QStringLiteral("chargeAfter"));
    m_ok = new QPushButton(content);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(content);
    m_cancel->setObjectName(QStringLiteral("cancel"));

    // The check boxes stand under the fields they go with, beside no label of their own. Full
    // charge takes the place of partial fill.
    auto* form = new QGridLayout;
    const std::pair<QLabel*, QWidget*> rows[] = {{m_kindLabel, m_kind},
                                                 {m_stationLabel, m_station},
                                                 {nullptr, m_atHome},
                                                 {m_odometerLabel, m_odometer},
                                                 {m_fuelLabel, m_fuel},
                                                 {m_unitPriceLabel, m_unitPrice},
                                                 {m_costLabel, m_cost},
                                                 {m_notesLabel, m_notes},
                                                 {m_dateLabel, m_date},
                                                 {m_timeLabel, m_time},
                                                 {m_driverLabel, m_driver},
                                                 {nullptr, m_partial},
                                                 {nullptr, m_missed},
                                                 {m_chargeBeforeLabel, m_chargeBefore},
                                                 {m_chargeAfterLabel, m_chargeAfter}};
    QWidget* previous = nullptr;
    for (const auto& [label, field] : rows) {
        const int row = form->rowCount();
        if (label) {
            label->setObjectName(field->objectName() + QStringLiteral("Label"));
            label->setBuddy(field);
            form->addWidget(label, row, 0);
        }
        if (field == m_partial) {
            form->addWidget(m_fullCharge, row, 1);
            setTabOrder(previous, m_fullCharge);
            previous = m_fullCharge;
        }
        if (field == m_date) {
            auto* dateRow = new QHBoxLayout;
            dateRow->addWidget(m_date, 1);
            dateRow->addWidget(m_calendarButton);
            form->addLayout(dateRow, row, 1);
        } else {
            form->addWidget(field, row, 1);
        }
        if (previous)
            setTabOrder(previous, field);
        previous = field;
    }
    setTabOrder(previous, m_ok);
    setTabOrder(m_ok, m_cancel);
    form->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(content);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addStretch();

    for (QLineEdit* amount : {m_fuel, m_unitPrice, m_cost})
        connect(amount, &QLineEdit::textEdited, this, [this, amount] { amountTyped(amount); });
    connect(m_calendarButton, &QToolButton::clicked, this, &CFillDlg::showCalendar);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &CFillDlg::kindChosen);
    connect(m_atHome, &QCheckBox::toggled, this, &CFillDlg::homeChosen);
    m_date->installEventFilter(this);

    connect(m_ok, &QPushButton::clicked, this, &CFillDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CFillDlg::reject);
}

CFillDlg::~CFillDlg() = default;

int CFillDlg::doModal() {
    initDialog();
    const int result = execDialog(*this);
    QGuiApplication::inputMethod()->hide();
    return result;
}

void CFillDlg::getRecords(StationRecord* station, FillRecord* fill, DriverRecord* driver) const {
    *station = m_stationCopy;
    *fill = m_fillCopy;
    *driver = m_driverCopy;
}

bool CFillDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_date && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The keys that open a combo box's list.
        if ((key->key() == Qt::Key_F4 && key->modifiers() == Qt::NoModifier) ||
            (key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier)) {
            showCalendar();
            return true;
        }
    }
    return CScrollDlg::eventFilter(watched, event);
}

void CFillDlg::showEvent(QShowEvent* event) {
    CScrollDlg::showEvent(event);
    // Brings up the on-screen keyboard where the platform has one.
    QGuiApplication::inputMethod()->show();
}

void CFillDlg::accept() {
    FillRecord typed = m_fillCopy;
    if (!readFillNumbers(&typed) || !readFillTime(&typed.dateTime))
        return;
    const FillFlags flags = flagsShown();
    if (flags.chargeBefore != kNoChargeLevel && flags.chargeAfter != kNoChargeLevel &&
        flags.chargeAfter < flags.chargeBefore) {
        showMessageBox(this, QStringLiteral("Tankometer"), translate(Text::fill_chargeorder),
                       QMessageBox::Warning, QMessageBox::Ok);
        m_chargeAfter->setFocus(Qt::OtherFocusReason);
        m_chargeAfter->selectAll();
        return;
    }
    if (!confirmPlausible(typed))
        return;
    saveData(typed);
    if (m_units.energy == VehicleEnergy::PlugInHybrid)
        CRegistry::writeNumber(SettingsKey::FillKind, isCharge() ? kChargeKind : kFuelKind);
    CScrollDlg::accept();
}

bool CFillDlg::isCharge() const {
    return m_kind->currentIndex() == kChargeKind;
}

FillFlags CFillDlg::flagsShown() const {
    // What the dialog does not show (a charge's fields on a fuel fill) is not kept.
    FillFlags flags;
    flags.missedBefore = m_missed->isChecked();
    if (!isCharge()) {
        flags.partial = m_partial->isChecked();
        return flags;
    }
    flags.charge = true;
    flags.partial = !m_fullCharge->isChecked();
    flags.atHome = m_atHome->isChecked();
    flags.chargeBefore = qint8(m_chargeBefore->value());
    flags.chargeAfter = qint8(m_chargeAfter->value());
    return flags;
}

bool CFillDlg::refuseField(QLineEdit* field, const TextId& message) {
    return refuseField(field, translate(message));
}

bool CFillDlg::refuseField(QLineEdit* field, const QString& message) {
    showMessageBox(this, QStringLiteral("Tankometer"), message, QMessageBox::Warning,
                   QMessageBox::Ok);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

bool CFillDlg::readFillNumbers(FillRecord* out) {
    // A field left as shown keeps the stored value: a reading in miles never drifts. An empty
    // field is out of range, not unreadable.
    const auto typed = [this](QLineEdit* field, const QString& shown) {
        const QString text = field->text().left(kFieldTextLength);
        return !m_edit || text != shown ? std::optional<QString>(text) : std::nullopt;
    };
    const auto refuse = [this](QLineEdit* field, const QString& text, const TextId& unreadable,
                               const TextId& range) {
        return refuseField(field, text.trimmed().isEmpty() ? range : unreadable);
    };
    if (const auto text = typed(m_odometer, m_shownOdometer); text) {
        if (!readOdometer(*text, m_units, &out->odometer))
            return refuse(m_odometer, *text, Text::fill_invalidodometer, Text::fill_rangeodometer);
        if (out->odometer <= 0)
            return refuseField(m_odometer, Text::fill_rangeodometer);
    }
    // The amount of a fill edited into the other kind is read anew: its text is in another unit.
    const bool charge = isCharge();
    const QString shownAmount = charge == m_loadedCharge ? m_shownFuel : QString();
    if (const auto text = typed(m_fuel, shownAmount); text) {
        const TextId& unreadable = charge ? Text::fill_invalidenergy : Text::fill_invalidfuel;
        const TextId& range = charge ? Text::fill_rangeenergy : Text::fill_rangefuel;
        float amount = 0.0f;
        if (!readAmount(*text, &amount) || !std::isfinite(amountFrom(m_units, charge, amount)))
            return refuse(m_fuel, *text, unreadable, range);
        out->fuel = amountFrom(m_units, charge, amount);
        if (!(out->fuel > 0.0f))
            return refuseField(m_fuel, range);
    }
    // The unit price is not stored, but a typed one that does not read gave no fuel or cost.
    float unitPrice = 0.0f;
    if (m_typedAmounts.contains(m_unitPrice) &&
        (!readAmount(m_unitPrice->text().left(kFieldTextLength), &unitPrice) || unitPrice < 0.0f))
        return refuseField(m_unitPrice, Text::fill_invalidunitprice);
    if (const auto text = typed(m_cost, m_shownCost); text) {
        if (!readAmount(*text, &out->cost))
            return refuse(m_cost, *text, Text::fill_invalidcost, Text::fill_rangecost);
        if (out->cost < 0.0f)
            return refuseField(m_cost, Text::fill_rangecost);
    }
    return true;
}

bool CFillDlg::numbersAndTimeAsShown() const {
    return m_edit && isCharge() == m_loadedCharge && m_odometer->text() == m_shownOdometer &&
           m_fuel->text() == m_shownFuel && m_cost->text() == m_shownCost &&
           m_date->text() == m_shownDate && m_time->text() == m_shownTime;
}

bool CFillDlg::confirmPlausible(const FillRecord& typed) {
    if (!m_database || numbersAndTimeAsShown())
        return true;
    const FillCandidate candidate{typed, flagsShown(), m_edit ? m_fillIndex : -1};
    const QList<FillDoubt> doubts =
        fillDoubts(*m_database, candidate, readFillingMethod(), currentLocalFileTime());
    if (doubts.isEmpty())
        return true;
    QStringList lines;
    for (const FillDoubt& doubt : doubts)
        lines.append(doubtText(doubt, m_units));
    lines.append(translate(Text::fill_doubtquestion));
    const auto answer =
        showMessageBox(this, QStringLiteral("Tankometer"), lines.join(u'\n'), QMessageBox::Question,
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        return true;
    QLineEdit* field = m_date;
    switch (doubts.constFirst().kind) {
    case DoubtKind::OdometerNotAbovePrevious:
    case DoubtKind::OdometerNotBelowNext:
    case DoubtKind::DistanceJump:
        field = m_odometer;
        break;
    case DoubtKind::Consumption:
        field = m_fuel;
        break;
    case DoubtKind::UnitPrice:
        field = m_cost;
        break;
    case DoubtKind::FutureDate:
        break;
    }
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

void CFillDlg::amountTyped(QLineEdit* field) {
    m_typedAmounts.removeOne(field);
    m_typedAmounts.append(field);
    if (m_typedAmounts.size() > 2)
        m_typedAmounts.removeFirst();
    if (m_typedAmounts.size() < 2)
        return;
    // All three in the log's units: cost = fuel x unit price.
    float fuel = 0.0f;
    float unitPrice = 0.0f;
    float cost = 0.0f;
    const bool hasFuel = readAmount(m_fuel->text(), &fuel);
    bool hasUnitPrice = readAmount(m_unitPrice->text(), &unitPrice);
    // The home price as shown may have lost decimals.
    if (isCharge() && m_atHome->isChecked() && m_units.homePricePerKwh > 0 &&
        m_unitPrice->text() == formatAmount(m_units.homePricePerKwh, 3)) {
        unitPrice = m_units.homePricePerKwh;
        hasUnitPrice = true;
    }
    const bool hasCost = readAmount(m_cost->text(), &cost);
    double third = std::numeric_limits<double>::quiet_NaN();
    QLineEdit* computed = nullptr;
    int decimals = 2;
    if (!m_typedAmounts.contains(m_cost)) {
        computed = m_cost;
        if (hasFuel && hasUnitPrice)
            third = double(fuel) * double(unitPrice);
    } else if (!m_typedAmounts.contains(m_unitPrice)) {
        computed = m_unitPrice;
        decimals = 3;
        if (hasFuel && hasCost)
            third = double(cost) / double(fuel);
    } else {
        computed = m_fuel;
        if (hasUnitPrice && hasCost)
            third = double(cost) / double(unitPrice);
    }
    // Two that give no number leave the third as it was.
    if (std::isfinite(third))
        computed->setText(formatAmount(float(third), decimals));
}

void CFillDlg::kindChosen() {
    showKind();
    // A charge starts as a full one, as a fill starts as a full tank.
    if (isCharge())
        m_fullCharge->setChecked(!m_partial->isChecked());
    else
        m_partial->setChecked(!m_fullCharge->isChecked());
    // The other kind's labels may need a wider page.
    setupScrolling();
}

void CFillDlg::showKind() {
    const bool charge = isCharge();
    translateControls();
    m_partial->setVisible(!charge);
    m_fullCharge->setVisible(charge);
    // In a log that has charges their fields stay in place, disabled for fuel.
    const bool chargeFields = m_units.energy != VehicleEnergy::Fuel || charge;
    for (QWidget* field : std::initializer_list<QWidget*>{
             m_atHome, m_chargeBeforeLabel, m_chargeBefore, m_chargeAfterLabel, m_chargeAfter}) {
        field->setVisible(chargeFields);
        field->setEnabled(charge);
    }
}

void CFillDlg::homeChosen(bool atHome) {
    const float price = m_units.homePricePerKwh;
    if (!atHome || !isCharge() || !(price > 0))
        return;
    m_unitPrice->setText(formatAmount(price, 3));
    m_typedAmounts = {m_unitPrice};
    float kwh = 0.0f;
    if (readAmount(m_fuel->text(), &kwh))
        amountTyped(m_fuel);
}

void CFillDlg::showCalendar() {
    if (!m_calendar) {
        m_calendar = new QCalendarWidget(this);
        m_calendar->setObjectName(QStringLiteral("calendarPopup"));
        m_calendar->setWindowFlags(Qt::Popup);
        connect(m_calendar, &QCalendarWidget::activated, this, &CFillDlg::calendarChosen);
        connect(m_calendar, &QCalendarWidget::clicked, this, &CFillDlg::calendarChosen);
    }
    m_calendar->setAccessibleName(translate(Text::fill_calendar));
    // The calendar opens on the day the field shows, on today when it shows none.
    QDate shown = QDate::currentDate();
    FileTime day;
    SystemTime parts;
    if (readDateTime(m_date->text(), QString(), &day) == DateTimePart::None &&
        fileTimeToSystemTime(day, &parts))
        shown = QDate(parts.year, parts.month, parts.day);
    m_calendar->setSelectedDate(shown);
    m_calendar->adjustSize();
    m_calendar->move(m_date->mapToGlobal(QPoint(0, m_date->height())));
    m_calendar->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void CFillDlg::calendarChosen(const QDate& date) {
    m_calendar->hide();
    SystemTime parts;
    parts.year = quint16(date.year());
    parts.month = quint16(date.month());
    parts.day = quint16(date.day());
    FileTime day;
    if (systemTimeToFileTime(parts, &day))
        m_date->setText(formatDate(day));
    m_date->setFocus(Qt::PopupFocusReason);
}

bool CFillDlg::readFillTime(FileTime* out) {
    const QString date = m_date->text().left(kFieldTextLength);
    const QString time = m_time->text().left(kFieldTextLength);
    // An edited fill whose date and time are untouched keeps its stored time, even one
    // that has no text.
    if (m_edit && date == m_shownDate && time == m_shownTime)
        return true;
    const DateTimePart wrong = readDateTime(date, time, out);
    if (wrong == DateTimePart::None)
        return true;
    if (wrong == DateTimePart::Date)
        return refuseField(m_date, translate(Text::fill_invaliddate).arg(exampleDateText()));
    return refuseField(m_time, Text::fill_invalidtime);
}

void CFillDlg::initDialog() {
    m_units = m_database ? m_database->units() : LogUnits{};
    // An edited fill keeps its kind; a new one is what the vehicle runs on, for a plug-in
    // hybrid what was bought last time.
    bool charge = m_units.energy == VehicleEnergy::Electric;
    quint32 lastKind = kFuelKind;
    if (m_edit)
        charge = m_flags.charge;
    else if (m_units.energy == VehicleEnergy::PlugInHybrid)
        charge = CRegistry::readValue(SettingsKey::FillKind, &lastKind) == RegistryOk &&
                 lastKind == kChargeKind;
    m_loadedCharge = charge;
    {
        const QSignalBlocker blocker(m_kind);
        m_kind->setCurrentIndex(charge ? kChargeKind : kFuelKind);
    }
    // A fill whose kind the vehicle does not run on can be turned into one it does.
    const bool choice = m_units.energy == VehicleEnergy::PlugInHybrid ||
                        charge != (m_units.energy == VehicleEnergy::Electric);
    m_kindLabel->setVisible(choice);
    m_kind->setVisible(choice);
    showKind();
    m_odometer->setMaxLength(kOdometerDigits);
    // Longer names and notes would be cut when stored.
    m_station->lineEdit()->setMaxLength(kStationNameUnits - 1);
    m_driver->lineEdit()->setMaxLength(kDriverNameUnits - 1);
    m_notes->setMaxLength(kNotesUnits - 1);
    const int fillCount = m_database ? m_database->getFillCount() : 0;
    const FillRecord* newest = fillCount > 0 ? m_database->getFill(fillCount - 1) : nullptr;
    QString station = fieldText(m_stationCopy.name);
    QString driver = fieldText(m_driverCopy.name);
    if (!m_edit && newest) {
        // A new fill is most often at the station and with the driver of the last one.
        const StationRecord* newestStation = m_database->getStation(newest->stationId);
        const DriverRecord* newestDriver = m_database->getDriver(newest->driverId);
        station = newestStation ? fieldText(newestStation->name) : QString();
        driver = newestDriver ? fieldText(newestDriver->name) : QString();
    }
    fillStationList(station);
    fillDriverList(driver);
    if (m_edit) {
        loadData();
    } else {
        const FileTime now = currentLocalFileTime();
        m_date->setText(formatDate(now));
        m_time->setText(formatTime(now));
        if (newest)
            m_odometer->setPlaceholderText(QString::number(distanceIn(m_units, newest->odometer)));
        m_station->lineEdit()->selectAll();
        m_driver->lineEdit()->selectAll();
    }
    m_partial->setChecked(m_flags.partial);
    m_fullCharge->setChecked(!m_flags.partial);
    m_missed->setChecked(m_flags.missedBefore);
    {
        // Loading the fill's own mark computes nothing.
        const QSignalBlocker blocker(m_atHome);
        m_atHome->setChecked(m_flags.charge && m_flags.atHome);
    }
    m_chargeBefore->setValue(m_flags.charge ? m_flags.chargeBefore : kNoChargeLevel);
    m_chargeAfter->setValue(m_flags.charge ? m_flags.chargeAfter : kNoChargeLevel);
    (choice ? static_cast<QWidget*>(m_kind) : m_station)->setFocus();
    setupScrolling();
}

void CFillDlg::translateControls() {
    setWindowTitle(translate(Text::fill_caption));
    // The language file's labels name km, l and its currency; other units have labels of their own.
    const UnitTexts units = unitTexts(m_units);
    const std::tuple<QLabel*, bool, const TextId*, const QString*> unitLabels[] = {
        {m_odometerLabel, units.metricDistance, &Text::fill_odometerin, &units.odometer},
        {m_fuelLabel, units.metricVolume, &Text::fill_fuelin, &units.volume},
        {m_costLabel, units.languageCurrency, &Text::fill_costin, &units.currency},
        {m_unitPriceLabel, false, &Text::fill_unitprice, &units.unitCost}};
    const std::pair<QLabel*, const TextId*> labels[] = {
        {m_stationLabel, &Text::fill_station}, {m_odometerLabel, &Text::fill_odometer},
        {m_fuelLabel, &Text::fill_fuel},       {m_costLabel, &Text::fill_cost},
        {m_notesLabel, &Text::fill_notes},     {m_dateLabel, &Text::fill_date},
        {m_timeLabel, &Text::fill_time},       {m_driverLabel, &Text::fill_driver}};
    for (const auto& [label, text] : labels) {
        label->setText(translatedWidgetText(*text));
        label->buddy()->setAccessibleName(translate(*text));
    }
    for (const auto& [label, fromLanguage, text, unit] : unitLabels) {
        if (fromLanguage)
            continue;
        const QString withUnit = translate(*text).arg(*unit);
        label->setText(widgetText(withUnit));
        label->buddy()->setAccessibleName(withUnit);
    }
    m_partial->setText(translatedWidgetText(Text::fill_partial));
    m_missed->setText(translatedWidgetText(Text::fill_missed));
    m_kindLabel->setText(translatedWidgetText(Text::fill_kind));
    m_kind->setAccessibleName(translate(Text::fill_kind));
    m_kind->setItemText(kFuelKind, translate(Text::fill_kindfuel));
    m_kind->setItemText(kChargeKind, translate(Text::fill_kindcharge));
    m_fullCharge->setText(translatedWidgetText(Text::fill_fullcharge));
    m_atHome->setText(translatedWidgetText(Text::fill_athome));
    for (const auto& [label, text] : {std::pair{m_chargeBeforeLabel, &Text::fill_chargebefore},
                                      std::pair{m_chargeAfterLabel, &Text::fill_chargeafter}}) {
        label->setText(translatedWidgetText(*text));
        label->buddy()->setAccessibleName(translate(*text));
        static_cast<QSpinBox*>(label->buddy())
            ->setSpecialValueText(translate(Text::fill_chargenotgiven));
    }
    if (isCharge()) {
        setWindowTitle(translate(Text::fill_chargecaption));
        const std::pair<QLabel*, QString> chargeLabels[] = {
            {m_stationLabel, translate(Text::fill_place)},
            {m_fuelLabel, translate(Text::fill_energyin).arg(units.energy)},
            {m_unitPriceLabel, translate(Text::fill_unitprice).arg(units.energyCost)}};
        for (const auto& [label, text] : chargeLabels) {
            label->setText(widgetText(text));
            label->buddy()->setAccessibleName(text);
        }
    }
    m_calendarButton->setToolTip(translate(Text::fill_calendar));
    m_calendarButton->setAccessibleName(translate(Text::fill_calendar));
    m_date->setAccessibleDescription(translate(Text::fill_calendar));
    m_ok->setText(translatedWidgetText(Text::fill_ok));
    m_cancel->setText(translatedWidgetText(Text::fill_cancel));
}

void CFillDlg::fillStationList(const QString& selected) {
    QStringList names;
    const int count = m_database ? m_database->getStationCount() : 0;
    for (int id = 0; id < count; ++id)
        names.append(fieldText(m_database->getStation(id)->name));
    fillNameBox(m_station, names, selected);
}

void CFillDlg::fillDriverList(const QString& selected) {
    QStringList names;
    const int count = m_database ? m_database->getDriverCount() : 0;
    for (int id = 0; id < count; ++id)
        names.append(fieldText(m_database->getDriver(id)->name));
    fillNameBox(m_driver, names, selected);
}

void CFillDlg::loadData() {
    m_shownOdometer = QString::number(distanceIn(m_units, m_fillCopy.odometer));
    // A longer reading (an imported one) is shown whole, not cut to the typing limit.
    m_odometer->setMaxLength(std::max(kOdometerDigits, int(m_shownOdometer.size())));
    m_odometer->setText(m_shownOdometer);
    m_shownFuel = formatAmount(amountIn(m_units, m_loadedCharge, m_fillCopy.fuel));
    m_shownCost = formatAmount(m_fillCopy.cost);
    m_shownDate = formatDate(m_fillCopy.dateTime);
    m_shownTime = formatTime(m_fillCopy.dateTime);
    m_fuel->setText(m_shownFuel);
    const float unitCost = fillUnitCost(m_fillCopy);
    m_unitPrice->setText(
        formatAmount(m_loadedCharge ? unitCost : unitCostIn(m_units, unitCost), 3));
    m_cost->setText(m_shownCost);
    // Until the user types two of fuel, unit price and cost, the stored fuel and cost decide.
    m_typedAmounts = {m_cost, m_fuel};
    m_notes->setText(fieldText(m_fillCopy.notes));
    m_date->setText(m_shownDate);
    m_time->setText(m_shownTime);
    // Texts longer than their field show their beginning.
    for (QLineEdit* field : {m_odometer, m_fuel, m_unitPrice, m_cost, m_notes, m_date, m_time,
                             m_station->lineEdit(), m_driver->lineEdit()})
        field->setCursorPosition(0);
}

void CFillDlg::saveData(const FillRecord& typed) {
    logLine("CFillDlg::saveData: Saving fill info - started");

    logLine("CFillDlg::saveData: station");
    const QString station = m_station->currentText().left(kStationNameUnits - 1);
    readIntoField(m_stationCopy.name, station);
    logText("CFillDlg::saveData: station is: %S", station);

    logLine("CFillDlg::saveData: odometer");
    const QString odometer = m_odometer->text().left(kFieldTextLength);
    logText("CFillDlg::saveData: odometer is: %S", odometer);
    m_fillCopy.odometer = typed.odometer;

    logLine("CFillDlg::saveData: fuel");
    const QString fuel = m_fuel->text().left(kFieldTextLength);
    logText("CFillDlg::saveData: fuel is: %S", fuel);
    m_fillCopy.fuel = typed.fuel;

    logLine("CFillDlg::saveData: cost");
    const QString cost = m_cost->text().left(kFieldTextLength);
    logText("CFillDlg::saveData: cost is: %S", cost);
    m_fillCopy.cost = typed.cost;

    logLine("CFillDlg::saveData: notes");
    const QString notes = m_notes->text().left(kNotesUnits - 1);
    readIntoField(m_fillCopy.notes, notes);
    logText("CFillDlg::saveData: notes is: %S", notes);

    logLine("CFillDlg::saveData: date and time");
    const QString date = m_date->text().left(kFieldTextLength);
    const QString time = m_time->text().left(kFieldTextLength);
    logText("CFillDlg::saveData: date is: %S", date);
    m_fillCopy.dateTime = typed.dateTime;

    logLine("CFillDlg::saveData: driver");
    const QString driver = m_driver->currentText().left(kDriverNameUnits - 1);
    readIntoField(m_driverCopy.name, driver);
    logText("CFillDlg::saveData: driver is: %S", driver);

    m_flags = flagsShown();

    logLine("CFillDlg::saveData: Saving fill info - finished");
}
