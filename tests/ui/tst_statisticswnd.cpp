#include "core/logdocument.h"
#include "db/calendar.h"
#include "db/fueldatabase.h"
#include "db/regional.h"
#include "ui/charts/chartsplugin.h"
#include "ui/charts/statisticswnd.h"
#include "ui/charts/statscharts.h"
#include "ui/main/commands.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(StatsPeriod)
Q_DECLARE_METATYPE(StatsGrouping)

namespace {

struct Fill {
    QDate date;
    qint32 odometer;
    float fuel;
    float cost;
    const char* station = "Shell";
    const char* driver = "Jan";
};

FillRecord record(const Fill& fill) {
    FillRecord record;
    record.odometer = fill.odometer;
    record.fuel = fill.fuel;
    record.cost = fill.cost;
    const SystemTime noon{quint16(fill.date.year()),
                          quint16(fill.date.month()),
                          0,
                          quint16(fill.date.day()),
                          12,
                          0,
                          0,
                          0};
    if (!systemTimeToFileTime(noon, &record.dateTime))
        qFatal("no file time for %s", qPrintable(fill.date.toString()));
    return record;
}

void addFills(CLogDocument& log, const QList<Fill>& fills) {
    for (const Fill& fill : fills)
        log.addFill(QString::fromUtf8(fill.station), record(fill), QString::fromUtf8(fill.driver),
                    {});
}

// Four months across a New Year; the consumption of each run is 8, 6 and 7 l / 100 km.
const QList<Fill> kFourMonths = {
    {QDate(2023, 11, 5), 10000, 40.0f, 60.0f},
    {QDate(2023, 12, 5), 10500, 40.0f, 64.0f, "Aral", "Eva"},
    {QDate(2024, 1, 5), 11000, 30.0f, 45.0f},
    {QDate(2024, 2, 5), 11500, 35.0f, 56.0f, "Aral", ""},
};

QStringList firstColumn(const QTableView& view) {
    QStringList labels;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        labels.append(view.model()->index(row, 0).data().toString());
    return labels;
}

QStringList months(int year, int first, int last) {
    QStringList labels;
    for (int month = first; month <= last; ++month)
        labels.append(QLocale().toString(QDate(year, month, 1), QStringLiteral("MMM yyyy")));
    return labels;
}

QLineSeries* line(QChart& chart, const QString& name) {
    for (QAbstractSeries* series : chart.series())
        if (series->objectName() == name)
            return static_cast<QLineSeries*>(series);
    return nullptr;
}

StatsPeriod period(PeriodChoice choice, int year = 0, QDate from = {}, QDate to = {}) {
    StatsPeriod period;
    period.choice = choice;
    period.year = year;
    period.from = from;
    period.to = to;
    return period;
}

double msecs(QDate date) {
    return double(QDateTime(date, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch());
}

} // namespace

class StatisticsWndTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        DialogSeams::enable();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        setLinkedChartsModule(&m_charts);
    }

    void init() {
        startPlainRegionWindowCase();
        m_window = std::make_unique<TestWindow>();
        m_window->open();
    }

    void cleanup() {
        m_window.reset();
        endPlainRegionWindowCase();
    }

    // One window however often the command runs; it follows a fill added to the log and
    // opens again where it was left.
    void opensOnceAndFollowsTheLog() {
        addFills(m_window->document(), kFourMonths.mid(0, 3));
        m_window->dispatchCommand(CMainWnd::CmdStatisticsOverTime);
        auto* window = m_window->findChild<CStatisticsWnd*>(QStringLiteral("statisticsWindow"));
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->focusWidget(), window->findChild<QComboBox*>(QStringLiteral("period")));
        QCOMPARE(firstColumn(*window->calendarTable()),
                 months(2023, 11, 12) + months(2024, 1, 1) + QStringList{"Total"});
        m_window->dispatchCommand(CMainWnd::CmdStatisticsOverTime);
        QCOMPARE(m_window->findChildren<CStatisticsWnd*>().size(), 1);

        addFills(m_window->document(), {{QDate(2024, 4, 5), 12000, 30.0f, 50.0f}});
        QTRY_COMPARE(firstColumn(*window->calendarTable()),
                     months(2023, 11, 12) + months(2024, 1, 4) + QStringList{"Total"});
        QVERIFY(window->chartView()->accessibleDescription().contains(u"3 values"));
        emit line(*window->chartView()->chart(), QStringLiteral("values"))
            ->hovered(QPointF(msecs(QDate(2023, 12, 9)), 7.0), true);
        // A log made under the US locale is in miles and US gallons: 500 mi on 40 l.
        QCOMPARE(window->hoverLabel()->text(), QStringLiteral("12/5/23: 47.32 mpg (US)"));

        window->resize(700, 500);
        window->close();
        QTRY_VERIFY(m_window->findChildren<CStatisticsWnd*>().isEmpty());
        m_window->dispatchCommand(CMainWnd::CmdStatisticsOverTime);
        window = m_window->findChild<CStatisticsWnd*>();
        QVERIFY(window);
        QCOMPARE(window->size(), QSize(700, 500));
    }

    // The window follows a language loaded while it is open.
    void followsTheLanguage() {
        addFills(m_window->document(), kFourMonths);
        CStatisticsWnd window(m_window->document());
        language().load(QStringLiteral("lang\\german.lng"), QStringLiteral(TANKOMETER_SOURCE_DIR));
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(&window, &change);
        QTRY_COMPARE(window.windowTitle(), QStringLiteral("Statistik \u00FCber die Zeit"));
        QCOMPARE(firstColumn(*window.calendarTable()).last(), QStringLiteral("Gesamt"));
    }

    // The table's rows and the charts' values cover the chosen period, by month or by year.
    void periodChangesTheFigures_data() {
        QTest::addColumn<StatsPeriod>("period");
        QTest::addColumn<StatsGrouping>("grouping");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("monthlyValues");

        const QStringList total{"Total"};
        QTest::newRow("all by month") << StatsPeriod{} << StatsGrouping::ByMonth
                                      << months(2023, 11, 12) + months(2024, 1, 2) + total << 4;
        QTest::newRow("all by year")
            << StatsPeriod{} << StatsGrouping::ByYear << QStringList{"2023", "2024", "Total"} << 4;
        QTest::newRow("a year, empty months included")
            << period(PeriodChoice::Year, 2023) << StatsGrouping::ByMonth
            << months(2023, 1, 12) + total << 12;
        QTest::newRow("a range across New Year")
            << period(PeriodChoice::Range, 0, QDate(2023, 12, 1), QDate(2024, 1, 31))
            << StatsGrouping::ByMonth << months(2023, 12, 12) + months(2024, 1, 1) + total << 2;
        QTest::newRow("a range ending before it starts")
            << period(PeriodChoice::Range, 0, QDate(2024, 1, 31), QDate(2023, 12, 1))
            << StatsGrouping::ByYear << QStringList{} << 0;
    }

    void periodChangesTheFigures() {
        QFETCH(StatsPeriod, period);
        QFETCH(StatsGrouping, grouping);
        QFETCH(QStringList, rows);
        QFETCH(int, monthlyValues);

        addFills(m_window->document(), kFourMonths);
        CStatisticsWnd window(m_window->document());
        window.setChartSeries(StatsSeries::MonthlyCost);
        window.setGrouping(grouping);
        window.setPeriod(period);
        QCOMPARE(firstColumn(*window.calendarTable()), rows);
        QCOMPARE(line(*window.chartView()->chart(), QStringLiteral("values"))->count(),
                 monthlyValues);
    }

    // Ctrl+C copies the rows shown selected, or all of them, under the header line.
    void copiesTheTable_data() {
        QTest::addColumn<int>("selectedRow");
        QTest::addColumn<QStringList>("firstCells");

        QTest::newRow("nothing selected")
            << -1 << QStringList{"Month", "Nov 2023", "Dec 2023", "Jan 2024", "Feb 2024", "Total"};
        QTest::newRow("one row") << 2 << QStringList{"Month", "Jan 2024"};
    }

    void copiesTheTable() {
        QFETCH(int, selectedRow);
        QFETCH(QStringList, firstCells);

        addFills(m_window->document(), kFourMonths);
        m_window->dispatchCommand(CMainWnd::CmdStatisticsOverTime);
        auto* window = m_window->findChild<CStatisticsWnd*>();
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->findChild<QTabWidget*>()->setCurrentIndex(1);
        QTableView* table = window->calendarTable();
        table->setFocus();
        if (selectedRow >= 0)
            table->selectRow(selectedRow);
        QApplication::clipboard()->clear();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);

        const QStringList lines =
            QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
        QStringList cells;
        for (const QString& text : lines) {
            QCOMPARE(text.count(u'\t'), qsizetype(std::size(kStatsColumns)));
            cells.append(text.section(u'\t', 0, 0));
        }
        QCOMPARE(cells, firstCells);
        if (selectedRow >= 0)
            QCOMPARE(lines.at(1).section(u'\t', 1, 2), QStringLiteral("1\t500"));
    }

    // Figures sort as numbers; rows without a value come first, the totals row stays last.
    void sortsByValue_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<Qt::SortOrder>("order");
        QTest::addColumn<QString>("labels");

        QTest::newRow("fills rising") << 1 << Qt::AscendingOrder << "a c b total";
        QTest::newRow("fills falling") << 1 << Qt::DescendingOrder << "b c a total";
        QTest::newRow("consumption rising") << 5 << Qt::AscendingOrder << "a b c total";
        QTest::newRow("consumption falling") << 5 << Qt::DescendingOrder << "c b a total";
    }

    void sortsByValue() {
        QFETCH(int, column);
        QFETCH(Qt::SortOrder, order);
        QFETCH(QString, labels);

        const auto sums = [](int fills, double runDistance, double runFuel) {
            BucketSums sums;
            sums.fills = fills;
            sums.runs = runDistance > 0 ? 1 : 0;
            sums.runDistance = qint64(runDistance);
            sums.runFuel = runFuel;
            return sums;
        };
        CStatsTableModel model;
        QList<CStatsTableModel::Column> columns;
        for (const StatsColumn kind : kStatsColumns)
            columns.append(kind);
        model.setRows(QStringLiteral("Month"), columns,
                      {{QStringLiteral("total"), 0, sums(119, 200, 17), true, 0.0},
                       {QStringLiteral("a"), 1, sums(9, 0, 0), false, 0.0},
                       {QStringLiteral("b"), 2, sums(100, 100, 5), false, 0.0},
                       {QStringLiteral("c"), 3, sums(10, 100, 12), false, 0.0}},
                      LogUnits{});
        CStatsSortProxy proxy;
        proxy.setSourceModel(&model);
        proxy.setSortRole(CStatsTableModel::SortRole);
        proxy.sort(column, order);
        QStringList shown;
        for (int row = 0; row < proxy.rowCount(); ++row)
            shown.append(proxy.index(row, 0).data().toString());
        QCOMPARE(shown.join(u' '), labels);
    }

    // The date axis marks month starts in the locale's words, and the pointer reads the
    // nearest value of the line it is over.
    void chartDatesAndPointer() {
        CFuelDatabase database;
        database.insertFill(record({QDate(2024, 1, 10), 1000, 40.0f, 60.0f}));
        database.insertFill(record({QDate(2024, 3, 10), 1500, 35.0f, 56.0f}));
        database.insertFill(record({QDate(2024, 8, 20), 2000, 45.0f, 70.0f}));
        StatsChartSource source;
        source.database = &database;
        source.days = {QDate(2024, 1, 1), QDate(2024, 12, 31)};
        source.locale = QLocale(QLocale::English, QLocale::UnitedStates);
        std::unique_ptr<QChart> chart(createStatsChart(source, StatsSeries::Consumption));

        auto* axis = chart->findChild<QCategoryAxis*>(QStringLiteral("dateAxis"));
        if (!axis)
            for (QAbstractAxis* candidate : chart->axes(Qt::Horizontal))
                axis = qobject_cast<QCategoryAxis*>(candidate);
        QVERIFY(axis);
        QCOMPARE(axis->categoriesLabels(), (QStringList{"Jan 2024", "Mar 2024", "May 2024",
                                                        "Jul 2024", "Sep 2024", "Nov 2024"}));
        QCOMPARE(axis->endValue(QStringLiteral("Mar 2024")), msecs(QDate(2024, 3, 1)));

        QLineSeries* values = line(*chart, QStringLiteral("values"));
        QVERIFY(values);
        QCOMPARE(values->count(), 2);
        QCOMPARE(statsHoverText(source, StatsSeries::Consumption, *values,
                                QPointF(msecs(QDate(2024, 3, 20)), 0.0)),
                 QStringLiteral("3/10/24: 7.00 l / 100 km"));
        QCOMPARE(statsHoverText(source, StatsSeries::Consumption, *values,
                                QPointF(msecs(QDate(2024, 9, 1)), 0.0)),
                 QStringLiteral("8/20/24: 9.00 l / 100 km"));
        QCOMPARE(statsHoverText(source, StatsSeries::Consumption,
                                *line(*chart, QStringLiteral("average")), QPointF()),
                 QStringLiteral("Average: 8.00 l / 100 km"));
    }

    // Thousands of values are drawn thinned, never losing the lowest and the highest.
    void chartKeepsExtremesOfManyValues() {
        CFuelDatabase database;
        for (int i = 0; i < 5000; ++i) {
            const float fuel = i == 2345 ? 90.0f : i == 3456 ? 1.0f : 40.0f + float(i % 7);
            database.insertFill(
                record({QDate(2010, 1, 1).addDays(i), 1000 + 500 * i, fuel, 70.0f}));
        }
        StatsChartSource source;
        source.database = &database;
        source.days = {QDate(2010, 1, 1), QDate(2010, 1, 1).addDays(4999)};
        std::unique_ptr<QChart> chart(createStatsChart(source, StatsSeries::Consumption));
        QLineSeries* values = line(*chart, QStringLiteral("values"));
        QVERIFY(values->count() < 4999);
        QVERIFY(!values->pointsVisible());
        double lowest = 1e9;
        double highest = 0.0;
        for (const QPointF& point : values->points()) {
            lowest = std::min(lowest, point.y());
            highest = std::max(highest, point.y());
        }
        QCOMPARE(float(lowest), 0.2f);
        QCOMPARE(float(highest), 18.0f);
    }

    // The chart goes to the file the user names; a file that cannot be written says so.
    void savesTheChart_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("saved");
        QTest::newRow("a new file") << "chart.png" << true;
        QTest::newRow("below a plain file") << "plain/chart.png" << false;
    }

    void savesTheChart() {
        QFETCH(QString, name);
        QFETCH(bool, saved);
        QTemporaryDir folder;
        QFile plain(folder.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();

        addFills(m_window->document(), kFourMonths);
        CStatisticsWnd window(m_window->document());
        window.resize(800, 600);
        DialogSeams::setNextFileName(folder.filePath(name));
        window.findChild<QPushButton*>(QStringLiteral("savePng"))->click();
        QCOMPARE(!QImage(folder.filePath(name)).isNull(), saved);
        QCOMPARE(DialogSeams::askedMessages().size(), saved ? 0 : 1);
    }

private:
    std::unique_ptr<TestWindow> m_window;
    CChartsPlugin m_charts;
};

QTEST_MAIN(StatisticsWndTest)
#include "tst_statisticswnd.moc"
