#include "ui/charts/statsreport.h"

#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/totals.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <memory>

namespace {

// Lengths are in points (1/72 inch) from the top left corner of the page's printable area.
constexpr qreal kTitleSize = 16;
constexpr qreal kHeadingSize = 11;
constexpr qreal kTextSize = 8.5;
constexpr qreal kTableSize = 7.5;
constexpr qreal kGap = 10;
constexpr qreal kCellPadding = 3;
constexpr qreal kChartHeight = 200;
// The charts are laid out in screen pixels and scaled down onto the page: their texts, sized
// for the screen, come out at about 8 points.
constexpr qreal kChartPixelsPerPoint = 1.4;

QFont reportFont(qreal size, bool bold = false) {
    QFont font;
    font.setPixelSize(qMax(1, qRound(size)));
    font.setBold(bold);
    return font;
}

// One pass over the report's parts, page by page. Without a painter it only counts the pages,
// so that the pass that draws can number them "1 of n".
class CReportPages {
public:
    CReportPages(const StatsReport& report, QSizeF area, QPainter* painter,
                 QPagedPaintDevice* device, int pageCount)
        : m_report(report), m_area(area), m_painter(painter), m_device(device),
          m_pageCount(pageCount) {}

    int run();

private:
    void title();
    void totals();
    void monthTable();
    void chart(StatsSeries series);

    // Starts a new page unless the height still fits on this one.
    void needRoom(qreal height);
    void newPage();
    void footer();
    qreal footerHeight() const { return QFontMetricsF(reportFont(kTableSize)).height() + kGap; }
    qreal bottom() const { return m_area.height() - footerHeight(); }

    // A line of text at y across the area; returns its height.
    qreal textLine(const QString& text, const QFont& font, int flags = Qt::AlignLeft);
    qreal wrappedHeight(const QString& text, const QFont& font, qreal width) const;
    void drawText(const QRectF& rect, const QString& text, const QFont& font, int flags);

    const StatsReport& m_report;
    const QSizeF m_area;
    QPainter* m_painter;
    QPagedPaintDevice* m_device;
    const int m_pageCount;
    int m_page = 1;
    qreal m_y = 0;
};

int CReportPages::run() {
    title();
    if (m_report.source.database && !m_report.source.days.isEmpty()) {
        totals();
        monthTable();
        // Each energy its own charts.
        for (const StatsSeries series : statsSeriesOf(m_report.source.units.energy))
            chart(series);
    }
    footer();
    return m_page;
}

void CReportPages::needRoom(qreal height) {
    if (m_y > 0 && m_y + height > bottom())
        newPage();
}

void CReportPages::newPage() {
    footer();
    if (m_painter)
        m_device->newPage();
    ++m_page;
    m_y = 0;
}

void CReportPages::footer() {
    const QString text =
        translate(Text::statswnd_ReportPage).arg(m_page).arg(qMax(m_pageCount, m_page));
    const QFont font = reportFont(kTableSize);
    const qreal height = QFontMetricsF(font).height();
    drawText(QRectF(0, m_area.height() - height, m_area.width(), height), text, font,
             Qt::AlignHCenter | Qt::AlignBottom);
}

void CReportPages::drawText(const QRectF& rect, const QString& text, const QFont& font, int flags) {
    if (!m_painter)
        return;
    m_painter->setFont(font);
    m_painter->drawText(rect, flags, text);
}

qreal CReportPages::wrappedHeight(const QString& text, const QFont& font, qreal width) const {
    return QFontMetricsF(font)
        .boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text)
        .height();
}

qreal CReportPages::textLine(const QString& text, const QFont& font, int flags) {
    const qreal height = wrappedHeight(text, font, m_area.width());
    needRoom(height);
    drawText(QRectF(0, m_y, m_area.width(), height), text, font, flags | Qt::TextWordWrap);
    m_y += height;
    return height;
}

void CReportPages::title() {
    textLine(m_report.vehicle, reportFont(kTitleSize, true));
    const DayRange& days = m_report.source.days;
    const QLocale& locale = m_report.source.locale;
    const QString period = days.isEmpty()
                               ? translate(Text::statswnd_ReportNoFills)
                               : translate(Text::statswnd_ReportPeriod)
                                     .arg(locale.toString(days.first, QLocale::ShortFormat),
                                          locale.toString(days.last, QLocale::ShortFormat));
    textLine(period, reportFont(kTextSize));
    m_y += kGap;
}

// The rows of the Totals dialog, for the fills of the period.
void CReportPages::totals() {
    const CFuelDatabase& database = *m_report.source.database;
    const auto [first, last] = fillsInDays(database, m_report.source.days);
    const FillTotals totals =
        first <= last ? computeTotals(database, m_report.source.method, first, last) : FillTotals{};
    const LogUnits& units = m_report.source.units;
    const QFont heading = reportFont(kHeadingSize, true);
    const QFont font = reportFont(kTextSize);
    const qreal rowHeight = QFontMetricsF(font).height() + 2;
    needRoom(QFontMetricsF(heading).height() + 3 * rowHeight);
    textLine(translate(Text::stats_caption), heading);
    m_y += 3;
    const qreal labelWidth = m_area.width() * 0.35;
    const qreal valueWidth = m_area.width() * 0.15;
    for (const TotalsRow row : totalsRows(units.energy)) {
        needRoom(rowHeight);
        drawText(QRectF(0, m_y, labelWidth, rowHeight), totalsLabel(row, units), font,
                 Qt::AlignLeft | Qt::AlignVCenter);
        drawText(QRectF(labelWidth, m_y, valueWidth, rowHeight),
                 totalsValueText(totals, row, units), font, Qt::AlignRight | Qt::AlignVCenter);
        drawText(QRectF(labelWidth + valueWidth + kCellPadding * 2, m_y,
                        m_area.width() - labelWidth - valueWidth, rowHeight),
                 totalsUnit(totals, row, units), font, Qt::AlignLeft | Qt::AlignVCenter);
        m_y += rowHeight;
    }
    if (const QString leftOut = totalsLeftOutText(totals); !leftOut.isEmpty()) {
        m_y += 3;
        textLine(leftOut, font);
    }
    m_y += kGap;
}

// The month table, its heading row repeated on every page it continues on.
void CReportPages::monthTable() {
    const StatsChartSource& source = m_report.source;
    const QList<MonthSums> months =
        sumsByCalendar(*source.database, source.method, source.days, StatsGrouping::ByMonth);
    const BucketSums all = sumsOfDays(*source.database, source.method, source.days);
    const DateTicks monthTicks{DateTicks::Months, 1, {}};

    const QFont heading = reportFont(kHeadingSize, true);
    const QFont font = reportFont(kTableSize);
    const QFont bold = reportFont(kTableSize, true);
    const QFontMetricsF metrics(font);
    const qreal rowHeight = metrics.height() + 2;

    // The first column as wide as its widest label, the figures share the rest.
    QStringList labels;
    for (const MonthSums& month : months)
        labels.append(dateTickLabel(monthTicks, QDate(month.year, month.month, 1), source.locale));
    const QString totalLabel = translate(Text::statswnd_Total);
    qreal labelWidth = QFontMetricsF(bold).horizontalAdvance(totalLabel);
    for (const QString& label : std::as_const(labels))
        labelWidth = qMax(labelWidth, metrics.horizontalAdvance(label));
    labelWidth += 2 * kCellPadding;
    const QList<StatsColumn> shown = statsColumns(source.units.energy);
    const int columns = int(shown.size());
    const qreal columnWidth = (m_area.width() - labelWidth) / columns;
    QStringList titles;
    qreal headerHeight = 0;
    for (const StatsColumn column : shown) {
        titles.append(statsColumnTitle(column, source.units));
        headerHeight = qMax(
            headerHeight, wrappedHeight(titles.constLast(), bold, columnWidth - 2 * kCellPadding));
    }
    headerHeight += 4;

    const auto headerRow = [&] {
        drawText(QRectF(kCellPadding, m_y, labelWidth - 2 * kCellPadding, headerHeight),
                 translate(Text::statswnd_Month), bold, Qt::AlignLeft | Qt::AlignBottom);
        for (int i = 0; i < columns; ++i) {
            drawText(QRectF(labelWidth + i * columnWidth + kCellPadding, m_y,
                            columnWidth - 2 * kCellPadding, headerHeight),
                     titles.at(i), bold, Qt::AlignRight | Qt::AlignBottom | Qt::TextWordWrap);
        }
        m_y += headerHeight;
        if (m_painter)
            m_painter->drawLine(QPointF(0, m_y), QPointF(m_area.width(), m_y));
        m_y += 1;
    };
    const auto row = [&](const QString& label, const BucketSums& sums, const QFont& rowFont,
                         bool shaded) {
        if (m_y + rowHeight > bottom()) {
            newPage();
            headerRow();
        }
        // Every other row on a light grey, which a black and white print keeps.
        if (shaded && m_painter)
            m_painter->fillRect(QRectF(0, m_y, m_area.width(), rowHeight), QColor(235, 235, 235));
        drawText(QRectF(kCellPadding, m_y, labelWidth - 2 * kCellPadding, rowHeight), label,
                 rowFont, Qt::AlignLeft | Qt::AlignVCenter);
        for (int i = 0; i < columns; ++i) {
            drawText(QRectF(labelWidth + i * columnWidth + kCellPadding, m_y,
                            columnWidth - 2 * kCellPadding, rowHeight),
                     statsColumnText(sums, shown.at(i), source.units), rowFont,
                     Qt::AlignRight | Qt::AlignVCenter);
        }
        m_y += rowHeight;
    };

    needRoom(QFontMetricsF(heading).height() + 3 + headerHeight + 3 * rowHeight);
    textLine(translate(Text::statswnd_ByMonth), heading);
    m_y += 3;
    headerRow();
    for (int i = 0; i < months.size(); ++i)
        row(labels.at(i), months.at(i).sums, font, i % 2 == 1);
    if (m_painter)
        m_painter->drawLine(QPointF(0, m_y), QPointF(m_area.width(), m_y));
    m_y += 1;
    row(totalLabel, all, bold, false);
    m_y += kGap;
}

// The chart as the statistics window draws it, with its summary in words under it.
void CReportPages::chart(StatsSeries series) {
    const QString summary = statsChartSummary(m_report.source, series);
    const QFont font = reportFont(kTextSize);
    const qreal summaryHeight = wrappedHeight(summary, font, m_area.width());
    needRoom(kChartHeight + 3 + summaryHeight);
    if (m_painter) {
        const QSize pixels(qRound(m_area.width() * kChartPixelsPerPoint),
                           qRound(kChartHeight * kChartPixelsPerPoint));
        // The view owns the chart and its scene.
        QChartView view(createStatsChart(m_report.source, series));
        QChart* chart = view.chart();
        chart->setDropShadowEnabled(false);
        chart->setBackgroundRoundness(0);
        chart->setGeometry(QRectF(QPointF(0, 0), pixels));
        if (chart->layout())
            chart->layout()->activate();
        view.scene()->setSceneRect(QRectF(QPointF(0, 0), pixels));
        m_painter->save();
        m_painter->setRenderHint(QPainter::Antialiasing);
        view.scene()->render(m_painter, QRectF(0, m_y, m_area.width(), kChartHeight),
                             QRectF(QPointF(0, 0), pixels));
        m_painter->restore();
    }
    m_y += kChartHeight + 3;
    drawText(QRectF(0, m_y, m_area.width(), summaryHeight), summary, font,
             Qt::AlignLeft | Qt::TextWordWrap);
    m_y += summaryHeight + kGap;
}

} // namespace

int drawStatsReport(QPagedPaintDevice& device, const StatsReport& report) {
    const QSizeF area = device.pageLayout().paintRect(QPageLayout::Point).size();
    if (area.isEmpty())
        return 0;
    const int pages = CReportPages(report, area, nullptr, nullptr, 0).run();
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    // One unit is one point, whatever the device's resolution.
    const qreal scale = device.logicalDpiX() / 72.0;
    painter.scale(scale, scale);
    CReportPages(report, area, &painter, &device, pages).run();
    return painter.end() ? pages : 0;
}

bool writeStatsReportPdf(const QString& path, const StatsReport& report) {
    // Written whole or not at all: a report that fails half way leaves no broken file behind,
    // nor does it destroy the one it was to replace.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(report.vehicle);
        writer.setCreator(QStringLiteral("Tankometer"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        if (drawStatsReport(writer, report) == 0) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}
