#include "ui/charts/statisticswnd.h"

#include "core/logdocument.h"
#include "core/settings.h"
#include "core/vehicles.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "ui/messagebox.h"
#include "ui/stats/costtable.h"
#include "ui/widgettext.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The picker's entries other than a year: a year is its own number.
enum PeriodEntry : int { EntryAll = -1, EntryThisYear = -2, EntryLast12 = -3, EntryRange = -4 };

// The columns of the table by station and driver: what was bought, each energy its own.
QList<CStatsTableModel::Column> nameColumns(VehicleEnergy energy) {
    QList<CStatsTableModel::Column> columns;
    for (const StatsColumn column : statsColumns(energy)) {
        if (column != StatsColumn::Distance && column != StatsColumn::Consumption &&
            column != StatsColumn::ElectricConsumption && column != StatsColumn::CostOfDist)
            columns.append(column);
    }
    columns.append(std::nullopt);
    return columns;
}

QList<CStatsTableModel::Column> calendarColumns(VehicleEnergy energy) {
    QList<CStatsTableModel::Column> columns;
    for (const StatsColumn column : statsColumns(energy))
        columns.append(column);
    return columns;
}

QList<CStatsTableModel::Row> namedRows(const QList<NamedSums>& named, const QString& unnamed) {
    QList<CStatsTableModel::Row> rows;
    rows.reserve(named.size());
    for (const NamedSums& entry : named)
        rows.append(CStatsTableModel::Row{entry.name.isEmpty() ? unnamed : entry.name,
                                          double(rows.size()), entry.sums, false, entry.share});
    return rows;
}

// Zooms the time axis with the wheel around the pointer, and from the keyboard with + and -
// around the middle; 0 shows the whole period again (as does the right button).
class CZoomingChartView : public QChartView {
public:
    using QChartView::QChartView;

protected:
    void wheelEvent(QWheelEvent* event) override {
        if (event->angleDelta().y() == 0)
            return QChartView::wheelEvent(event);
        zoomAround(event->position().x(), event->angleDelta().y() > 0 ? 0.8 : 1.25);
        event->accept();
    }

    void keyPressEvent(QKeyEvent* event) override {
        const double middle = chart()->plotArea().center().x();
        switch (event->key()) {
        case Qt::Key_Plus:
            zoomAround(middle, 0.8);
            break;
        case Qt::Key_Minus:
            zoomAround(middle, 1.25);
            break;
        case Qt::Key_0:
            chart()->zoomReset();
            break;
        default:
            return QChartView::keyPressEvent(event);
        }
        event->accept();
    }

private:
    void zoomAround(double x, double factor) {
        const QRectF area = chart()->plotArea();
        QRectF zoomed = area;
        zoomed.setWidth(area.width() * factor);
        zoomed.moveLeft(x - (x - area.left()) * factor);
        chart()->zoomIn(zoomed);
    }
};

} // namespace

// --- CStatsTableModel
// -----------------------------------------------------------------------------

void CStatsTableModel::setRows(const QString& labelTitle, const QList<Column>& columns,
                               QList<Row> rows, const LogUnits& units) {
    beginResetModel();
    m_labelTitle = labelTitle;
    m_columns = columns;
    m_rows = std::move(rows);
    m_units = units;
    endResetModel();
}

int CStatsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CStatsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size()) + 1;
}

QVariant CStatsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() > m_columns.size())
        return {};
    const Row& row = m_rows[index.row()];
    if (role == TotalRole)
        return row.total;
    if (index.column() == 0) {
        if (role == Qt::DisplayRole)
            return row.label;
        if (role == SortRole)
            return row.order;
        return {};
    }
    const Column& column = m_columns[index.column() - 1];
    switch (role) {
    case Qt::DisplayRole:
        if (column)
            return statsColumnText(row.sums, *column, m_units);
        return formatAmount(float(100.0 * row.share), 1) + QStringLiteral(" %");
    case SortRole:
        return column ? statsColumnValue(row.sums, *column, m_units) : row.share;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CStatsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section > m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == 0)
        return m_labelTitle;
    const Column& column = m_columns[section - 1];
    return column ? statsColumnTitle(*column, m_units) : ::translate(Text::statswnd_Share);
}

bool CStatsSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    // Qt sorts descending by asking the other way round: the totals row then counts as lowest.
    if (left.data(CStatsTableModel::TotalRole).toBool())
        return sortOrder() == Qt::DescendingOrder;
    if (right.data(CStatsTableModel::TotalRole).toBool())
        return sortOrder() == Qt::AscendingOrder;
    const double a = left.data(CStatsTableModel::SortRole).toDouble();
    const double b = right.data(CStatsTableModel::SortRole).toDouble();
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && !std::isnan(b);
    return a < b;
}

// --- CStatisticsWnd
// -------------------------------------------------------------------------------

CStatisticsWnd::CStatisticsWnd(CLogDocument& document, QWidget* owner)
    : QWidget(owner, Qt::Window), m_document(document) {
    setObjectName(QStringLiteral("statisticsWindow"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_periodLabel = new QLabel(this);
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("period"));
    m_periodLabel->setBuddy(m_period);
    m_fromLabel = new QLabel(this);
    m_from = new QDateEdit(this);
    m_from->setObjectName(QStringLiteral("from"));
    m_from->setCalendarPopup(true);
    m_fromLabel->setBuddy(m_from);
    m_toLabel = new QLabel(this);
    m_to = new QDateEdit(this);
    m_to->setObjectName(QStringLiteral("to"));
    m_to->setCalendarPopup(true);
    m_toLabel->setBuddy(m_to);
    auto* periodRow = new QHBoxLayout;
    periodRow->addWidget(m_periodLabel);
    periodRow->addWidget(m_period);
    periodRow->addSpacing(12);
    periodRow->addWidget(m_fromLabel);
    periodRow->addWidget(m_from);
    periodRow->addWidget(m_toLabel);
    periodRow->addWidget(m_to);
    periodRow->addStretch();

    // Charts
    auto* chartsPage = new QWidget(this);
    m_chartLabel = new QLabel(chartsPage);
    m_chartChoice = new QComboBox(chartsPage);
    m_chartChoice->setObjectName(QStringLiteral("chartChoice"));
    // The entries follow the log's energy (see translate).
    for (const StatsSeries series : statsSeriesOf(VehicleEnergy::Fuel))
        m_chartChoice->addItem(QString(), int(series));
    m_chartLabel->setBuddy(m_chartChoice);
    m_savePng = new QPushButton(chartsPage);
    m_savePng->setObjectName(QStringLiteral("savePng"));
    m_chartView = new CZoomingChartView(chartsPage);
    m_chartView->setObjectName(QStringLiteral("chart"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setRubberBand(QChartView::HorizontalRubberBand);
    m_chartView->setFocusPolicy(Qt::StrongFocus);
    m_chartView->setMinimumSize(320, 200);
    m_hover = new QLabel(chartsPage);
    m_hover->setObjectName(QStringLiteral("hoverValue"));
    m_hover->setTextFormat(Qt::PlainText);
    auto* chartRow = new QHBoxLayout;
    chartRow->addWidget(m_chartLabel);
    chartRow->addWidget(m_chartChoice);
    chartRow->addStretch();
    chartRow->addWidget(m_savePng);
    auto* chartsLayout = new QVBoxLayout(chartsPage);
    chartsLayout->addLayout(chartRow);
    chartsLayout->addWidget(m_chartView, 1);
    chartsLayout->addWidget(m_hover);

    // Table by month or year
    auto* tablePage = new QWidget(this);
    m_groupingLabel = new QLabel(tablePage);
    m_grouping = new QComboBox(tablePage);
    m_grouping->setObjectName(QStringLiteral("grouping"));
    m_grouping->addItem(QString(), int(StatsGrouping::ByMonth));
    m_grouping->addItem(QString(), int(StatsGrouping::ByYear));
    m_groupingLabel->setBuddy(m_grouping);
    m_tableModel = new CStatsTableModel(this);
    m_table = addTable("calendarTable", m_tableModel);
    auto* groupingRow = new QHBoxLayout;
    groupingRow->addWidget(m_groupingLabel);
    groupingRow->addWidget(m_grouping);
    groupingRow->addStretch();
    auto* tableLayout = new QVBoxLayout(tablePage);
    tableLayout->addLayout(groupingRow);
    tableLayout->addWidget(m_table, 1);

    // Stations and drivers
    auto* namesPage = new QWidget(this);
    m_stationModel = new CStatsTableModel(this);
    m_driverModel = new CStatsTableModel(this);
    m_stationsLabel = new QLabel(namesPage);
    m_stations = addTable("stationTable", m_stationModel);
    m_stationsLabel->setBuddy(m_stations);
    m_driversLabel = new QLabel(namesPage);
    m_drivers = addTable("driverTable", m_driverModel);
    m_driversLabel->setBuddy(m_drivers);
    auto* namesLayout = new QVBoxLayout(namesPage);
    namesLayout->addWidget(m_stationsLabel);
    namesLayout->addWidget(m_stations, 1);
    namesLayout->addWidget(m_driversLabel);
    namesLayout->addWidget(m_drivers, 1);

    // What the vehicle cost in the period: fuel, each category, everything
    auto* costsPage = new QWidget(this);
    m_costCaption = new QLabel(costsPage);
    m_costCaption->setObjectName(QStringLiteral("costCaption"));
    m_costCaption->setTextFormat(Qt::PlainText);
    m_costTable = createCostTable(costsPage, QStringLiteral("costTable"));
    m_costCaption->setBuddy(m_costTable);
    auto* costsLayout = new QVBoxLayout(costsPage);
    costsLayout->addWidget(m_costCaption);
    costsLayout->addWidget(m_costTable, 1);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->addTab(chartsPage, QString());
    m_tabs->addTab(tablePage, QString());
    m_tabs->addTab(namesPage, QString());
    m_tabs->addTab(costsPage, QString());

    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("close"));
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    auto* closeAction = new QAction(this);
    closeAction->setShortcut(QKeySequence(Qt::Key_Escape));
    closeAction->setShortcutContext(Qt::WindowShortcut);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);
    m_print = new QPushButton(this);
    m_print->setObjectName(QStringLiteral("print"));
    connect(m_print, &QPushButton::clicked, this, &CStatisticsWnd::printReport);
    m_savePdf = new QPushButton(this);
    m_savePdf->setObjectName(QStringLiteral("savePdf"));
    connect(m_savePdf, &QPushButton::clicked, this, &CStatisticsWnd::saveReportPdf);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_print);
    buttons->addWidget(m_savePdf);
    buttons->addStretch();
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(periodRow);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);

    setTabOrder(m_period, m_from);
    setTabOrder(m_from, m_to);
    setTabOrder(m_to, m_tabs);
    setTabOrder(m_tabs, m_chartChoice);
    setTabOrder(m_chartChoice, m_savePng);
    setTabOrder(m_savePng, m_chartView);
    setTabOrder(m_chartView, m_grouping);
    setTabOrder(m_grouping, m_table);
    setTabOrder(m_table, m_stations);
    setTabOrder(m_stations, m_drivers);
    setTabOrder(m_drivers, m_costTable);
    setTabOrder(m_costTable, m_print);
    setTabOrder(m_print, m_savePdf);
    setTabOrder(m_savePdf, m_close);

    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(0);
    connect(m_refreshTimer, &QTimer::timeout, this, &CStatisticsWnd::refresh);
    const auto schedule = [this] { m_refreshTimer->start(); };
    connect(&m_document, &CLogDocument::fillsInserted, this, schedule);
    connect(&m_document, &CLogDocument::fillsRemoved, this, schedule);
    connect(&m_document, &CLogDocument::fillsChanged, this, schedule);
    connect(&m_document, &CLogDocument::logReplaced, this, schedule);
    connect(&m_document, &CLogDocument::logOpened, this, schedule);
    connect(&m_document, &CLogDocument::unitsChanged, this, schedule);
    connect(&m_document, &CLogDocument::costsChanged, this, schedule);

    connect(m_period, &QComboBox::activated, this, &CStatisticsWnd::periodChosen);
    connect(m_from, &QDateEdit::dateChanged, this, &CStatisticsWnd::datesEdited);
    connect(m_to, &QDateEdit::dateChanged, this, &CStatisticsWnd::datesEdited);
    connect(m_chartChoice, &QComboBox::currentIndexChanged, this, &CStatisticsWnd::showChart);
    connect(m_grouping, &QComboBox::currentIndexChanged, this, &CStatisticsWnd::showTable);
    connect(m_savePng, &QPushButton::clicked, this, &CStatisticsWnd::saveChart);

    if (!restoreGeometry(
            QByteArray::fromBase64(readSetting(SettingsKey::StatisticsWindowGeometry).toLatin1())))
        resize(900, 640);

    translate();
    fillPeriodChoices();
    refresh();
    m_period->setFocus();
}

CStatisticsWnd::~CStatisticsWnd() {
    // Open when the program ends: the window is not closed first.
    if (isVisible())
        storeGeometry();
}

void CStatisticsWnd::storeGeometry() {
    writeSetting(SettingsKey::StatisticsWindowGeometry,
                 QString::fromLatin1(saveGeometry().toBase64()));
}

QTableView* CStatisticsWnd::addTable(const char* objectName, CStatsTableModel* model) {
    auto* proxy = new CStatsSortProxy(this);
    proxy->setSourceModel(model);
    proxy->setSortRole(CStatsTableModel::SortRole);
    auto* view = new QTableView(this);
    view->setObjectName(QString::fromLatin1(objectName));
    view->setModel(proxy);
    view->setSortingEnabled(true);
    view->sortByColumn(0, Qt::AscendingOrder);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Thousands of months: the widths follow the rows in view and a sample of the others.
    view->horizontalHeader()->setResizeContentsPrecision(100);
    view->setWordWrap(false);
    auto* copy = new QAction(view);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, [this, view] { copyTable(view); });
    view->addAction(copy);
    return view;
}

void CStatisticsWnd::translate() {
    setWindowTitle(::translate(Text::statswnd_caption));
    m_periodLabel->setText(translatedWidgetText(Text::statswnd_Period));
    m_fromLabel->setText(translatedWidgetText(Text::statswnd_From));
    m_toLabel->setText(translatedWidgetText(Text::statswnd_To));
    m_tabs->setTabText(0, translatedWidgetText(Text::statswnd_TabCharts));
    m_tabs->setTabText(1, translatedWidgetText(Text::statswnd_TabTable));
    m_tabs->setTabText(2, translatedWidgetText(Text::statswnd_TabNames));
    m_tabs->setTabText(3, translatedWidgetText(Text::costfigures_Tab));
    m_chartLabel->setText(translatedWidgetText(Text::statswnd_Chart));
    {
        // Each energy its own series; the chosen one stays where the log still has it.
        const int chosen = m_chartChoice->currentData().toInt();
        const QSignalBlocker blocker(m_chartChoice);
        m_chartChoice->clear();
        for (const StatsSeries series : statsSeriesOf(m_document.database().units().energy))
            m_chartChoice->addItem(statsSeriesName(series), int(series));
        m_chartChoice->setCurrentIndex(std::max(m_chartChoice->findData(chosen), 0));
    }
    m_savePng->setText(translatedWidgetText(Text::statswnd_SavePng));
    m_groupingLabel->setText(translatedWidgetText(Text::statswnd_Rows));
    m_grouping->setItemText(0, ::translate(Text::statswnd_ByMonth));
    m_grouping->setItemText(1, ::translate(Text::statswnd_ByYear));
    m_stationsLabel->setText(translatedWidgetText(Text::statswnd_Stations));
    m_driversLabel->setText(translatedWidgetText(Text::statswnd_Drivers));
    m_table->setAccessibleName(::translate(Text::statswnd_TabTable));
    m_stations->setAccessibleName(::translate(Text::statswnd_Stations));
    m_drivers->setAccessibleName(::translate(Text::statswnd_Drivers));
    m_close->setText(translatedWidgetText(Text::statswnd_Close));
    m_print->setText(translatedWidgetText(Text::statswnd_Print));
    m_savePdf->setText(translatedWidgetText(Text::statswnd_SavePdf));
}

void CStatisticsWnd::fillPeriodChoices() {
    const int chosen = m_period->count() ? m_period->currentData().toInt() : EntryAll;
    QSignalBlocker blocker(m_period);
    m_period->clear();
    m_period->addItem(::translate(Text::statswnd_PeriodAll), int(EntryAll));
    m_period->addItem(::translate(Text::statswnd_PeriodThisYear), int(EntryThisYear));
    m_period->addItem(::translate(Text::statswnd_PeriodLast12), int(EntryLast12));
    const QList<int> years = yearsWithFills(m_document.database());
    for (auto year = years.crbegin(); year != years.crend(); ++year)
        m_period->addItem(QString::number(*year), *year);
    m_period->addItem(::translate(Text::statswnd_PeriodRange), int(EntryRange));
    // A year that no longer holds fills stays chosen: its figures are then empty.
    int index = m_period->findData(chosen);
    if (index < 0) {
        m_period->insertItem(m_period->count() - 1, QString::number(chosen), chosen);
        index = m_period->findData(chosen);
    }
    m_period->setCurrentIndex(index);
}

StatsPeriod CStatisticsWnd::period() const {
    StatsPeriod period;
    switch (const int entry = m_period->currentData().toInt()) {
    case EntryAll:
        period.choice = PeriodChoice::All;
        break;
    case EntryThisYear:
        period.choice = PeriodChoice::ThisYear;
        break;
    case EntryLast12:
        period.choice = PeriodChoice::Last12Months;
        break;
    case EntryRange:
        period.choice = PeriodChoice::Range;
        period.from = m_from->date();
        period.to = m_to->date();
        break;
    default:
        period.choice = PeriodChoice::Year;
        period.year = entry;
        break;
    }
    return period;
}

void CStatisticsWnd::setPeriod(const StatsPeriod& period) {
    int entry = EntryAll;
    switch (period.choice) {
    case PeriodChoice::All:
        break;
    case PeriodChoice::ThisYear:
        entry = EntryThisYear;
        break;
    case PeriodChoice::Last12Months:
        entry = EntryLast12;
        break;
    case PeriodChoice::Year:
        entry = period.year;
        break;
    case PeriodChoice::Range: {
        entry = EntryRange;
        const QSignalBlocker fromBlocker(m_from);
        const QSignalBlocker toBlocker(m_to);
        m_from->setDate(period.from);
        m_to->setDate(period.to);
        break;
    }
    }
    int index = m_period->findData(entry);
    if (index < 0) {
        m_period->insertItem(m_period->count() - 1, QString::number(entry), entry);
        index = m_period->findData(entry);
    }
    m_period->setCurrentIndex(index);
    periodChosen();
}

void CStatisticsWnd::periodChosen() {
    refresh();
}

void CStatisticsWnd::datesEdited() {
    const int range = m_period->findData(int(EntryRange));
    if (m_period->currentIndex() != range)
        m_period->setCurrentIndex(range);
    refresh();
}

StatsSeries CStatisticsWnd::chartSeries() const {
    return StatsSeries(m_chartChoice->currentData().toInt());
}

void CStatisticsWnd::setChartSeries(StatsSeries series) {
    m_chartChoice->setCurrentIndex(m_chartChoice->findData(int(series)));
}

StatsGrouping CStatisticsWnd::grouping() const {
    return StatsGrouping(m_grouping->currentData().toInt());
}

void CStatisticsWnd::setGrouping(StatsGrouping grouping) {
    m_grouping->setCurrentIndex(m_grouping->findData(int(grouping)));
}

void CStatisticsWnd::refresh() {
    m_refreshTimer->stop();
    translate();
    fillPeriodChoices();
    const CFuelDatabase& database = m_document.database();
    m_source.database = &database;
    m_source.method = readFillingMethod();
    m_source.units = database.units();
    m_source.locale = QLocale();
    m_source.days = periodDays(period(), database, QDate::currentDate());
    // The date fields show the days of whatever period is chosen, ready to be narrowed.
    if (period().choice != PeriodChoice::Range && !m_source.days.isEmpty()) {
        const QSignalBlocker fromBlocker(m_from);
        const QSignalBlocker toBlocker(m_to);
        m_from->setDate(m_source.days.first);
        m_to->setDate(m_source.days.last);
    }
    showTable();
    showNames();
    showCosts();
    showChart();
}

// The whole log's costs run from its first entry, fill or cost, to today.
void CStatisticsWnd::showCosts() {
    const CFuelDatabase& database = *m_source.database;
    const QDate today = QDate::currentDate();
    const CostFigures figures = period().choice == PeriodChoice::All
                                    ? ownershipFigures(database, today)
                                    : costFigures(database, m_source.days, today);
    showCostTable(m_costTable, figures, database.costs(), m_source.units);
    m_costCaption->setText(costTableCaption(figures));
}

void CStatisticsWnd::showTable() {
    const StatsGrouping by = grouping();
    QList<CStatsTableModel::Row> rows;
    if (m_source.database && !m_source.days.isEmpty()) {
        const QList<MonthSums> sums =
            sumsByCalendar(*m_source.database, m_source.method, m_source.days, by);
        rows.reserve(sums.size() + 1);
        for (const MonthSums& bucket : sums) {
            const QString label =
                by == StatsGrouping::ByYear
                    ? QString::number(bucket.year)
                    : m_source.locale.toString(QDate(bucket.year, bucket.month, 1),
                                               QStringLiteral("MMM yyyy"));
            rows.append(CStatsTableModel::Row{label, bucket.year * 100.0 + bucket.month,
                                              bucket.sums, false, 0.0});
        }
        rows.append(CStatsTableModel::Row{
            ::translate(Text::statswnd_Total), 0.0,
            sumsOfDays(*m_source.database, m_source.method, m_source.days), true, 0.0});
    }
    const QString title =
        ::translate(by == StatsGrouping::ByYear ? Text::statswnd_Year : Text::statswnd_Month);
    m_tableModel->setRows(title, calendarColumns(m_source.units.energy), std::move(rows),
                          m_source.units);
}

void CStatisticsWnd::showNames() {
    QList<NamedSums> stations;
    QList<NamedSums> drivers;
    if (m_source.database && !m_source.days.isEmpty()) {
        stations = sumsByStation(*m_source.database, m_source.days);
        drivers = sumsByDriver(*m_source.database, m_source.days);
    }
    const QString noDriver = ::translate(Text::statswnd_NoDriver);
    const QList<CStatsTableModel::Column> columns = nameColumns(m_source.units.energy);
    m_stationModel->setRows(::translate(Text::statswnd_Station), columns,
                            namedRows(stations, QString()), m_source.units);
    m_driverModel->setRows(::translate(Text::statswnd_Driver), columns,
                           namedRows(drivers, noDriver), m_source.units);
}

void CStatisticsWnd::showChart() {
    const StatsSeries series = chartSeries();
    QString summary;
    QChart* chart = createStatsChart(m_source, series, &summary);
    for (QAbstractSeries* line : chart->series()) {
        auto* xy = static_cast<QXYSeries*>(line);
        connect(xy, &QXYSeries::hovered, this, [this, series, xy](const QPointF& point, bool on) {
            if (!on)
                return;
            m_hover->setText(statsHoverText(m_source, series, *xy, point));
        });
    }
    QChart* old = m_chartView->chart();
    m_chartView->setChart(chart);
    delete old;
    m_chartView->setAccessibleName(chart->title());
    m_chartView->setAccessibleDescription(summary);
    m_hover->setText(::translate(Text::statswnd_Hover));
}

void CStatisticsWnd::saveChart() {
    FileDialogRequest request;
    request.caption = ::translate(Text::statswnd_SavePng).remove(u'\u2026').trimmed();
    request.filter = ::translate(Text::statswnd_PngFilter) + QStringLiteral(" (*.png)");
    request.defaultSuffix = QStringLiteral("png");
    const QString path = askSaveFileName(this, request);
    if (path.isEmpty())
        return;
    if (!m_chartView->grab().save(path, "PNG"))
        showMessageBox(this, windowTitle(), ::translate(Text::statswnd_PngError),
                       QMessageBox::Warning);
}

StatsReport CStatisticsWnd::report() const {
    return StatsReport{
        vehicleDisplayName(m_document.database().vehicleName(), m_document.filePath()), m_source};
}

void CStatisticsWnd::printReport() {
    QPrinter printer;
    printer.setDocName(::translate(Text::statswnd_caption));
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("printDialog"));
    if (execDialog(dialog) != QDialog::Accepted)
        return;
    if (drawStatsReport(printer, report()) == 0)
        showMessageBox(this, windowTitle(), ::translate(Text::statswnd_PrintError),
                       QMessageBox::Warning);
}

void CStatisticsWnd::saveReportPdf() {
    FileDialogRequest request;
    request.caption = ::translate(Text::statswnd_SavePdf).remove(u'\u2026').trimmed();
    request.filter = ::translate(Text::statswnd_PdfFilter) + QStringLiteral(" (*.pdf)");
    request.defaultSuffix = QStringLiteral("pdf");
    const QString path = askSaveFileName(this, request);
    if (path.isEmpty())
        return;
    if (!writeStatsReportPdf(path, report()))
        showMessageBox(this, windowTitle(),
                       ::translate(Text::statswnd_PdfError).arg(QDir::toNativeSeparators(path)),
                       QMessageBox::Warning);
}

QString CStatisticsWnd::tableText(const QTableView& view) {
    const QAbstractItemModel* model = view.model();
    if (!model)
        return QString();
    std::vector<int> rows;
    if (const QItemSelectionModel* selection = view.selectionModel()) {
        for (const QModelIndex& index : selection->selectedIndexes())
            rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        for (int row = 0; row < model->rowCount(); ++row)
            rows.push_back(row);
    QStringList lines;
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column)
        cells.append(model->headerData(column, Qt::Horizontal).toString());
    lines.append(cells.join(u'\t'));
    for (const int row : rows) {
        cells.clear();
        for (int column = 0; column < model->columnCount(); ++column)
            cells.append(model->index(row, column).data().toString());
        lines.append(cells.join(u'\t'));
    }
    return lines.join(u'\n') + u'\n';
}

void CStatisticsWnd::copyTable(QTableView* view) {
    QApplication::clipboard()->setText(tableText(*view));
}

void CStatisticsWnd::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange && m_refreshTimer)
        m_refreshTimer->start();
    QWidget::changeEvent(event);
}

void CStatisticsWnd::closeEvent(QCloseEvent* event) {
    storeGeometry();
    QWidget::closeEvent(event);
}
