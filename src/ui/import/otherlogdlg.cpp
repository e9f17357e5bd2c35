#include "ui/import/otherlogdlg.h"

#include "db/formats.h"
#include "db/fueldatabase.h"
#include "db/regional.h"
#include "localisation/language.h"
#include "stats/costs.h"
#include "ui/widgettext.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <memory>
#include <utility>
#include <vector>

namespace {

enum PreviewColumn {
    ColDate,
    ColTime,
    ColOdometer,
    ColFuel,
    ColCost,
    ColStation,
    ColDriver,
    ColNotes,
    ColReason,
    PreviewColumnCount
};

// The columns the user assigns, in the order of their pickers, with their object names.
struct MappedColumn {
    OtherLogColumn column;
    const TextId* label;
    const char* objectName;
};

const MappedColumn kMappedColumns[kOtherLogMappedColumns] = {
    {OtherLogColumn::Date, &Text::Import_date, "columnDate"},
    {OtherLogColumn::Time, &Text::Import_time, "columnTime"},
    {OtherLogColumn::Odometer, &Text::Import_odometer, "columnOdometer"},
    {OtherLogColumn::Volume, &Text::Import_fuel, "columnFuel"},
    {OtherLogColumn::TotalCost, &Text::Import_cost, "columnCost"},
    {OtherLogColumn::UnitPrice, &Text::OtherLog_price, "columnPrice"},
    {OtherLogColumn::Station, &Text::Import_station, "columnStation"},
    {OtherLogColumn::Driver, &Text::Import_driver, "columnDriver"},
    {OtherLogColumn::Notes, &Text::Import_notes, "columnNotes"},
};

// A label's text, which also names the picker it labels for a screen reader (which would
// otherwise read the picker's current entry as its name).
void setLabelText(QLabel* label, const TextId& text) {
    label->setText(translatedWidgetText(text));
    if (QWidget* buddy = label->buddy())
        buddy->setAccessibleName(translate(text));
}

QComboBox* createPicker(QWidget* parent, const char* objectName, QLabel* label) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    label->setBuddy(box);
    return box;
}

void selectData(QComboBox* box, int value) {
    const int index = box->findData(value);
    box->setCurrentIndex(index >= 0 ? index : 0);
}

QTableWidgetItem* previewItem(const QString& text, bool number) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

QString otherLogSkipText(OtherLogSkip skip) {
    switch (skip) {
    case OtherLogSkip::Date:
        return translate(Text::OtherLog_reasondate);
    case OtherLogSkip::Odometer:
        return translate(Text::OtherLog_reasonodometer);
    case OtherLogSkip::Volume:
        return translate(Text::OtherLog_reasonvolume);
    case OtherLogSkip::Cost:
        return translate(Text::OtherLog_reasoncost);
    case OtherLogSkip::OdometerNotRecorded:
        return translate(Text::OtherLog_reasonnoodometer);
    case OtherLogSkip::AlreadyInLog:
        return translate(Text::OtherLog_reasonalready);
    case OtherLogSkip::NotFuel:
        return translate(Text::OtherLog_reasonnotfuel);
    case OtherLogSkip::None:
        break;
    }
    return {};
}

QString otherCostSkipText(OtherCostSkip skip) {
    switch (skip) {
    case OtherCostSkip::Date:
        return translate(Text::OtherLog_reasondate);
    case OtherCostSkip::Amount:
        return translate(Text::OtherLog_reasonamount);
    case OtherCostSkip::NotACost:
        return translate(Text::OtherLog_reasonnotacost);
    case OtherCostSkip::AlreadyInLog:
        return translate(Text::OtherLog_reasonalready);
    case OtherCostSkip::None:
        break;
    }
    return {};
}

QString otherLogSummaryText(const OtherLogSummary& summary, const QStringList& damaged) {
    QStringList lines;
    lines.append(translate(Text::OtherLog_countadded).arg(summary.added));
    lines.append(translate(Text::OtherLog_countalready).arg(summary.alreadyInLog()));
    lines.append(translate(Text::OtherLog_countskipped).arg(summary.unreadable()));
    for (int i = 0; i < kOtherLogSkipCount; ++i) {
        const auto skip = OtherLogSkip(i);
        if (skip != OtherLogSkip::AlreadyInLog && summary.skipped[std::size_t(i)] > 0)
            lines.append(QStringLiteral("    %1: %2")
                             .arg(otherLogSkipText(skip))
                             .arg(summary.skipped[std::size_t(i)]));
    }
    lines.append(translate(Text::OtherLog_countpartial).arg(summary.partial));
    lines.append(translate(Text::OtherLog_countmissed).arg(summary.missed));
    const OtherCostSummary& costs = summary.costs;
    if (costs.added + costs.alreadyInLog() + costs.unreadable() > 0) {
        lines.append(translate(Text::OtherLog_costsadded).arg(costs.added));
        lines.append(translate(Text::OtherLog_costsalready).arg(costs.alreadyInLog()));
        lines.append(translate(Text::OtherLog_costsskipped).arg(costs.unreadable()));
        for (int i = 0; i < kOtherCostSkipCount; ++i) {
            const auto skip = OtherCostSkip(i);
            if (skip != OtherCostSkip::AlreadyInLog && costs.skipped[std::size_t(i)] > 0)
                lines.append(QStringLiteral("    %1: %2")
                                 .arg(otherCostSkipText(skip))
                                 .arg(costs.skipped[std::size_t(i)]));
        }
    }
    for (const QString& section : damaged)
        lines.append(translate(Text::OtherLog_damaged).arg(section));
    return lines.join(u'\n');
}

COtherLogDlg::COtherLogDlg(QWidget* owner, const CFuelDatabase& log, OtherLogFile file)
    : QDialog(owner), m_log(log), m_file(std::move(file)) {
    setObjectName(QStringLiteral("otherLogDialog"));
    setModal(true);

    m_formatLabel = new QLabel(this);
    m_format = createPicker(this, "format", m_formatLabel);
    m_vehicleLabel = new QLabel(this);
    m_vehicle = createPicker(this, "vehicle", m_vehicleLabel);
    m_dateOrderLabel = new QLabel(this);
    m_dateOrder = createPicker(this, "dateOrder", m_dateOrderLabel);
    m_dateOrderHint = new QLabel(this);
    m_dateOrderHint->setObjectName(QStringLiteral("dateOrderHint"));
    m_decimalLabel = new QLabel(this);
    m_decimal = createPicker(this, "decimal", m_decimalLabel);
    m_distanceLabel = new QLabel(this);
    m_distance = createPicker(this, "distanceUnit", m_distanceLabel);
    m_volumeLabel = new QLabel(this);
    m_volume = createPicker(this, "volumeUnit", m_volumeLabel);
    m_costCategoryLabel = new QLabel(this);
    m_costCategory = createPicker(this, "costCategory", m_costCategoryLabel);

    m_columnsBox = new QGroupBox(this);
    m_columnsBox->setObjectName(QStringLiteral("columns"));
    auto* columnsLayout = new QGridLayout(m_columnsBox);
    for (int i = 0; i < kOtherLogMappedColumns; ++i) {
        auto* label = new QLabel(m_columnsBox);
        QComboBox* picker = createPicker(m_columnsBox, kMappedColumns[i].objectName, label);
        // Three pairs of label and picker in a row.
        columnsLayout->addWidget(label, i / 3, (i % 3) * 2);
        columnsLayout->addWidget(picker, i / 3, (i % 3) * 2 + 1);
        columnsLayout->setColumnStretch((i % 3) * 2 + 1, 1);
        m_columnLabels.append(label);
        m_columns.append(picker);
    }

    m_preview = new QTableWidget(0, PreviewColumnCount, this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_preview->setTabKeyNavigation(false);
    m_preview->verticalHeader()->hide();
    m_preview->horizontalHeader()->setStretchLastSection(true);
    m_previewSummary = new QLabel(this);
    m_previewSummary->setObjectName(QStringLiteral("previewSummary"));

    m_import = new QPushButton(this);
    m_import->setObjectName(QStringLiteral("import"));
    m_import->setDefault(true);
    m_perVehicle = new QPushButton(this);
    m_perVehicle->setObjectName(QStringLiteral("importPerVehicle"));
    connect(m_perVehicle, &QPushButton::clicked, this, [this] { done(PerVehicleResult); });
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_import, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* settingsForm = new QFormLayout;
    settingsForm->addRow(m_formatLabel, m_format);
    settingsForm->addRow(m_vehicleLabel, m_vehicle);
    auto* dateOrderRow = new QHBoxLayout;
    dateOrderRow->addWidget(m_dateOrder);
    dateOrderRow->addWidget(m_dateOrderHint, 1);
    settingsForm->addRow(m_dateOrderLabel, dateOrderRow);
    settingsForm->addRow(m_costCategoryLabel, m_costCategory);
    auto* unitsForm = new QFormLayout;
    unitsForm->addRow(m_decimalLabel, m_decimal);
    unitsForm->addRow(m_distanceLabel, m_distance);
    unitsForm->addRow(m_volumeLabel, m_volume);
    auto* top = new QHBoxLayout;
    top->addLayout(settingsForm, 1);
    top->addLayout(unitsForm);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_previewSummary, 1);
    buttons->addWidget(m_import);
    buttons->addWidget(m_perVehicle);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_columnsBox);
    layout->addWidget(m_preview, 1);
    layout->addLayout(buttons);

    translateControls();

    const auto onFormat = [this] { applyFormat(OtherLogFormat(m_format->currentData().toInt())); };
    connect(m_format, &QComboBox::currentIndexChanged, this, onFormat);
    const auto onSetting = [this] {
        readSettings();
        refreshPreview();
    };
    for (QComboBox* box : {m_vehicle, m_dateOrder, m_decimal, m_distance, m_volume, m_costCategory})
        connect(box, &QComboBox::currentIndexChanged, this, onSetting);
    for (QComboBox* box : std::as_const(m_columns))
        connect(box, &QComboBox::currentIndexChanged, this, onSetting);

    applyFormat(m_file.recognised);
    m_format->setFocus();
    resize(960, 600);
}

COtherLogDlg::~COtherLogDlg() = default;

void COtherLogDlg::translateControls() {
    setWindowTitle(translate(Text::OtherLog_caption));
    setLabelText(m_formatLabel, Text::OtherLog_format);
    setLabelText(m_vehicleLabel, Text::OtherLog_vehicle);
    setLabelText(m_dateOrderLabel, Text::OtherLog_dateorder);
    m_dateOrderHint->setText(translatedWidgetText(Text::OtherLog_dateorderguessed));
    setLabelText(m_decimalLabel, Text::OtherLog_decimal);
    setLabelText(m_distanceLabel, Text::OtherLog_distance);
    setLabelText(m_volumeLabel, Text::OtherLog_volume);
    setLabelText(m_costCategoryLabel, Text::OtherLog_costcategory);
    m_columnsBox->setTitle(translatedWidgetText(Text::OtherLog_columns));
    for (int i = 0; i < kOtherLogMappedColumns; ++i)
        setLabelText(m_columnLabels.at(i), *kMappedColumns[i].label);
    m_import->setText(translatedWidgetText(Text::Import_ok));
    m_perVehicle->setText(translatedWidgetText(Text::OtherLog_pervehicle));
    m_cancel->setText(translatedWidgetText(Text::Import_cancel));

    const std::pair<OtherLogFormat, QString> formats[] = {
        {OtherLogFormat::Fuelio, QStringLiteral("Fuelio")},
        {OtherLogFormat::Fuelly, QStringLiteral("Fuelly")},
        {OtherLogFormat::ACar, QStringLiteral("aCar")},
        {OtherLogFormat::Drivvo, QStringLiteral("Drivvo")},
        {OtherLogFormat::LubeLogger, QStringLiteral("LubeLogger")},
        {OtherLogFormat::Spritmonitor, QStringLiteral("Spritmonitor")},
        {OtherLogFormat::OtherCsv, translate(Text::OtherLog_othercsv)}};
    for (const auto& [format, name] : formats)
        m_format->addItem(name, int(format));
    m_dateOrder->addItem(translate(Text::OtherLog_dmy), int(DateOrder::DayMonthYear));
    m_dateOrder->addItem(translate(Text::OtherLog_mdy), int(DateOrder::MonthDayYear));
    m_dateOrder->addItem(translate(Text::OtherLog_ymd), int(DateOrder::YearMonthDay));
    m_decimal->addItem(QStringLiteral("."), int(u'.'));
    m_decimal->addItem(QStringLiteral(","), int(u','));
    m_distance->addItem(translate(Text::OtherLog_kilometres), int(DistanceUnit::Kilometres));
    m_distance->addItem(translate(Text::OtherLog_miles), int(DistanceUnit::Miles));
    m_volume->addItem(translate(Text::OtherLog_litres), int(VolumeUnit::Litres));
    m_volume->addItem(translate(Text::OtherLog_gallonsus), int(VolumeUnit::UsGallons));
    m_volume->addItem(translate(Text::OtherLog_gallonsimp), int(VolumeUnit::ImperialGallons));
    for (const CostCategory& category : costCategories(m_log.costs()))
        m_costCategory->addItem(costCategoryName(category), category.id);

    // Column pickers: "--- missing ---", then "(1.) name" for every column of the header.
    for (QComboBox* picker : std::as_const(m_columns)) {
        picker->addItem(translate(Text::import_missing), -1);
        for (qsizetype k = 0; k < m_file.table.header.size(); ++k)
            picker->addItem(QStringLiteral("(%1.) %2").arg(k + 1).arg(m_file.table.header.at(k)),
                            int(k));
    }

    // The preview shows the fills as the open vehicle's log will: in its units.
    const UnitTexts units = unitTexts(m_log.units());
    const QString odometer =
        translate(Text::FillList_Odometer) + QStringLiteral(" (") + units.odometer + u')';
    const QString fuel =
        translate(Text::FillList_Fuel) + QStringLiteral(" (") + units.volume + u')';
    m_preview->setHorizontalHeaderLabels(
        {translate(Text::FillList_Date), translate(Text::OtherLog_time), odometer, fuel,
         translate(Text::FillList_Cost), translate(Text::OtherLog_station),
         translate(Text::OtherLog_driver), translate(Text::OtherLog_notes),
         translate(Text::OtherLog_reason)});
}

void COtherLogDlg::applyFormat(OtherLogFormat format) {
    const RegionalSettings regional = currentRegionalSettings();
    m_settings =
        guessOtherLogSettings(m_file, format, DateOrder(regional.dateOrder), regional.decimal);
    showSettings();
    refreshPreview();
}

void COtherLogDlg::showSettings() {
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QComboBox* box :
         {m_format, m_vehicle, m_dateOrder, m_decimal, m_distance, m_volume, m_costCategory})
        blockers.push_back(std::make_unique<QSignalBlocker>(box));
    for (QComboBox* box : std::as_const(m_columns))
        blockers.push_back(std::make_unique<QSignalBlocker>(box));

    selectData(m_format, int(m_settings.format));
    m_vehicle->clear();
    const QStringList vehicles = otherLogVehicles(m_file, m_settings);
    m_vehicle->addItems(vehicles);
    m_vehicle->setCurrentIndex(int(vehicles.indexOf(m_settings.vehicle)));
    if (vehicles.isEmpty() && !m_file.vehicleName.isEmpty())
        m_vehicle->addItem(m_file.vehicleName);
    // A file of one vehicle has nothing to choose.
    m_vehicle->setEnabled(vehicles.size() > 1);
    m_perVehicle->setVisible(vehicles.size() > 1);
    selectData(m_dateOrder, int(m_settings.dateOrder));
    m_dateOrderHint->setVisible(m_settings.dateOrderGuessed);
    selectData(m_decimal, int(m_settings.decimal.unicode()));
    selectData(m_distance, int(m_settings.distanceUnit));
    selectData(m_volume, int(m_settings.volumeUnit));
    // Records that do not name their category (LubeLogger's service or repair records) go into
    // the one chosen here.
    const bool chooseCategory =
        m_settings.format == OtherLogFormat::LubeLogger && !m_file.costTable.rows.isEmpty();
    m_costCategoryLabel->setVisible(chooseCategory);
    m_costCategory->setVisible(chooseCategory);
    selectData(m_costCategory, m_settings.costCategory);
    for (int i = 0; i < kOtherLogMappedColumns; ++i)
        selectData(m_columns.at(i), m_settings.column(kMappedColumns[i].column));
}

void COtherLogDlg::readSettings() {
    m_settings.vehicle = m_vehicle->currentText();
    m_settings.dateOrder = DateOrder(m_dateOrder->currentData().toInt());
    m_settings.decimal = QChar(char16_t(m_decimal->currentData().toInt()));
    m_settings.distanceUnit = DistanceUnit(m_distance->currentData().toInt());
    m_settings.volumeUnit = VolumeUnit(m_volume->currentData().toInt());
    m_settings.costCategory = m_costCategory->currentData().toInt();
    for (int i = 0; i < kOtherLogMappedColumns; ++i)
        m_settings.setColumn(kMappedColumns[i].column, m_columns.at(i)->currentData().toInt());
}

void COtherLogDlg::refreshPreview() {
    m_rows = convertOtherLog(m_file, m_settings, m_log);
    m_preview->setRowCount(int(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        const OtherLogRow& row = m_rows.at(r);
        // Rows that do not read show only why; rows already in the log show what they hold.
        const bool read = row.skip == OtherLogSkip::None || row.skip == OtherLogSkip::AlreadyInLog;
        const auto value = [read](const QString& text) { return read ? text : QString(); };
        m_preview->setItem(r, ColDate, previewItem(value(formatDate(row.dateTime)), false));
        m_preview->setItem(r, ColTime, previewItem(value(formatTime(row.dateTime)), false));
        m_preview->setItem(
            r, ColOdometer,
            previewItem(value(QString::number(distanceIn(m_log.units(), row.odometer))), true));
        m_preview->setItem(
            r, ColFuel,
            previewItem(value(formatAmount(amountIn(m_log.units(), row.charge, row.litres))),
                        true));
        m_preview->setItem(r, ColCost, previewItem(value(formatAmount(row.cost)), true));
        m_preview->setItem(r, ColStation, previewItem(value(row.station), false));
        m_preview->setItem(r, ColDriver, previewItem(value(row.driver), false));
        m_preview->setItem(r, ColNotes, previewItem(value(row.notes), false));
        QString reason = otherLogSkipText(row.skip);
        if (!row.unreadText.isEmpty())
            reason += QStringLiteral(": ") + row.unreadText;
        m_preview->setItem(r, ColReason, previewItem(reason, false));
    }
    m_preview->resizeColumnsToContents();
    // Long notes or names must not push the reasons out of sight.
    for (int column = 0; column < ColReason; ++column)
        m_preview->setColumnWidth(column, qMin(m_preview->columnWidth(column), 240));
    const OtherLogSummary summary = summariseOtherLog(m_rows);
    QStringList counts = {translate(Text::OtherLog_counttoimport).arg(summary.added),
                          translate(Text::OtherLog_countalready).arg(summary.alreadyInLog()),
                          translate(Text::OtherLog_countskipped).arg(summary.unreadable())};
    m_costRows = convertOtherCosts(m_file, m_settings, m_log);
    if (!m_costRows.isEmpty()) {
        const OtherCostSummary costs = summariseOtherCosts(m_costRows);
        counts.append(translate(Text::OtherLog_coststoimport).arg(costs.added));
        counts.append(translate(Text::OtherLog_costsalready).arg(costs.alreadyInLog()));
        counts.append(translate(Text::OtherLog_costsskipped).arg(costs.unreadable()));
    }
    QString text = counts.join(QStringLiteral("   "));
    for (const QString& section : std::as_const(m_file.damagedSections))
        text += u'\n' + translate(Text::OtherLog_damaged).arg(section);
    m_previewSummary->setText(text);
}
