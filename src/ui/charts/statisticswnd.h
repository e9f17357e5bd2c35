#pragma once

// Statistics > Statistics over time: the figures of the open log over a chosen period as charts
// with a date axis, a table by month or year, and tables by station and driver. The window
// stays open beside the main window and follows every change of the log.

#include "stats/periodstats.h"
#include "ui/charts/statscharts.h"
#include "ui/charts/statsreport.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QWidget>
#include <optional>

class CLogDocument;
class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTimer;

// Rows of figures over buckets (months, years, stations, drivers), one column per figure and a
// share of the cost where asked for; a totals row may close the list.
class CStatsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The value the rows sort by; the first column's is the bucket's own order (year and month).
    static constexpr int SortRole = Qt::UserRole;
    // True on the totals row, which stays last in either order.
    static constexpr int TotalRole = Qt::UserRole + 1;

    struct Row {
        QString label;
        double order = 0.0;
        BucketSums sums;
        bool total = false;
        double share = 0.0; // of the period's cost, 0 to 1
    };
    // A column of figures; none for the share of the period's cost.
    using Column = std::optional<StatsColumn>;

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QString& labelTitle, const QList<Column>& columns, QList<Row> rows,
                 const LogUnits& units);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString m_labelTitle;
    QList<Column> m_columns;
    QList<Row> m_rows;
    LogUnits m_units;
};

// Sorts by the sort role's numbers (not their texts), rows without a value first, the totals
// row last.
class CStatsSortProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

class CStatisticsWnd : public QWidget {
    Q_OBJECT
public:
    explicit CStatisticsWnd(CLogDocument& document, QWidget* owner = nullptr);
    ~CStatisticsWnd() override;

    // The period the picker shows.
    StatsPeriod period() const;
    void setPeriod(const StatsPeriod& period);
    // What the charts are drawn from: the log, the period's days, the units and the locale.
    const StatsChartSource& chartSource() const { return m_source; }

    // The report of the period shown, for Print and Save as PDF.
    StatsReport report() const;

    StatsSeries chartSeries() const;
    void setChartSeries(StatsSeries series);
    StatsGrouping grouping() const;
    void setGrouping(StatsGrouping grouping);

    QChartView* chartView() const { return m_chartView; }
    QTableView* calendarTable() const { return m_table; }
    QTableView* stationTable() const { return m_stations; }
    QTableView* driverTable() const { return m_drivers; }
    QLabel* hoverLabel() const { return m_hover; }

    // The rows shown selected in the view, or all of them when none is: a header line and one
    // line per row in the order shown, the cells separated by tabs.
    static QString tableText(const QTableView& view);

    // Computes every figure afresh now (a change of the log schedules it).
    void refresh();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Another language loaded: its texts, and dates and numbers in its form, at the next pass.
    void changeEvent(QEvent* event) override;

private:
    void translate();
    void fillPeriodChoices();
    void periodChosen();
    void datesEdited();
    void showTable();
    void showNames();
    void showCosts();
    void showChart();
    void saveChart();
    // The report of the period (see statsreport.h) on a printer or in a PDF file.
    void printReport();
    void saveReportPdf();
    void copyTable(QTableView* view);
    void storeGeometry();
    QTableView* addTable(const char* objectName, CStatsTableModel* model);

    CLogDocument& m_document;
    StatsChartSource m_source;
    QComboBox* m_period = nullptr;
    QLabel* m_periodLabel = nullptr;
    QLabel* m_fromLabel = nullptr;
    QLabel* m_toLabel = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QTabWidget* m_tabs = nullptr;
    QLabel* m_chartLabel = nullptr;
    QComboBox* m_chartChoice = nullptr;
    QPushButton* m_savePng = nullptr;
    QChartView* m_chartView = nullptr;
    QLabel* m_hover = nullptr;
    QLabel* m_groupingLabel = nullptr;
    QComboBox* m_grouping = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_stationsLabel = nullptr;
    QLabel* m_driversLabel = nullptr;
    QTableView* m_stations = nullptr;
    QTableView* m_drivers = nullptr;
    QLabel* m_costCaption = nullptr;
    QTableWidget* m_costTable = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_savePdf = nullptr;
    QPushButton* m_close = nullptr;
    CStatsTableModel* m_tableModel = nullptr;
    CStatsTableModel* m_stationModel = nullptr;
    CStatsTableModel* m_driverModel = nullptr;
    QTimer* m_refreshTimer = nullptr;
};
