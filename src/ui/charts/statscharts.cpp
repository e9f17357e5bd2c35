#include "ui/charts/statscharts.h"

#include "db/formats.h"
#include "db/fueldatabase.h"
#include "db/units.h"
#include "localisation/language.h"

#include <QCategoryAxis>
#include <QChart>
#include <QDateTime>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kTrendValues = 5;
// More values than fit in the columns of a chart are thinned to the lowest and the highest of
// each column before they are drawn; what the window computes stays whole.
constexpr int kDrawnColumns = 400;
// Beyond this many values their points merge into a band and only the line is drawn.
constexpr int kMostMarkedPoints = 150;
// The date axis holds no more ticks than its labels fit side by side in a small window.
constexpr int kMostDateTicks = 8;

const QString kValuesName = QStringLiteral("values");
const QString kAverageName = QStringLiteral("average");
const QString kTrendName = QStringLiteral("trend");

bool byMonth(StatsSeries series) {
    return series == StatsSeries::MonthlyCost || series == StatsSeries::MonthlyDistance;
}

QString valueText(StatsSeries series, double value) {
    return formatAmount(float(value), series == StatsSeries::MonthlyDistance ? 0 : 2);
}

QString dateText(StatsSeries series, QDate date, const QLocale& locale) {
    return byMonth(series) ? locale.toString(date, QStringLiteral("MMM yyyy"))
                           : locale.toString(date, QLocale::ShortFormat);
}

struct SeriesFigures {
    QList<DatedValue> values;
    double average = std::nan("");
};

SeriesFigures seriesFigures(const StatsChartSource& source, StatsSeries series) {
    SeriesFigures figures;
    if (!source.database || source.days.isEmpty())
        return figures;
    figures.values =
        statsSeries(*source.database, source.method, source.days, series, source.units);
    figures.average =
        statsSeriesAverage(*source.database, source.method, source.days, series, source.units);
    return figures;
}

// The values as drawn: all of them, or per column of the range the first, lowest, highest and
// last in date order, so that the line keeps its outline.
QList<QPointF> drawnPoints(const QList<DatedValue>& values, double first, double last) {
    QList<QPointF> points;
    if (values.size() <= 2 * kDrawnColumns) {
        points.reserve(values.size());
        for (const DatedValue& value : values)
            points.append(QPointF(chartDayValue(value.date), value.value));
        return points;
    }
    const double width = std::max(1.0, (last - first) / kDrawnColumns);
    points.reserve(4 * kDrawnColumns);
    qsizetype begin = 0;
    while (begin < values.size()) {
        const double x = chartDayValue(values[begin].date);
        const auto column = std::floor((x - first) / width);
        qsizetype end = begin + 1;
        qsizetype lowest = begin;
        qsizetype highest = begin;
        while (end < values.size() &&
               std::floor((chartDayValue(values[end].date) - first) / width) == column) {
            if (values[end].value < values[lowest].value)
                lowest = end;
            if (values[end].value > values[highest].value)
                highest = end;
            ++end;
        }
        qsizetype kept[] = {begin, lowest, highest, end - 1};
        std::sort(std::begin(kept), std::end(kept));
        for (qsizetype i = 0; i < 4; ++i)
            if (i == 0 || kept[i] != kept[i - 1])
                points.append(QPointF(chartDayValue(values[kept[i]].date), values[kept[i]].value));
        begin = end;
    }
    return points;
}

QLineSeries* addLine(QChart* chart, const QString& objectName, const QString& name,
                     const QList<QPointF>& points, const QPen& pen) {
    auto* line = new QLineSeries;
    line->setObjectName(objectName);
    line->setName(name);
    line->replace(points);
    line->setPen(pen);
    chart->addSeries(line);
    return line;
}

QCategoryAxis* dateAxis(const DayRange& days, double first, double last, const QLocale& locale) {
    auto* axis = new QCategoryAxis;
    axis->setObjectName(QStringLiteral("dateAxis"));
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setRange(first, last);
    axis->setStartValue(first - 1);
    const DateTicks ticks = chooseDateTicks(days, kMostDateTicks);
    for (const QDate date : ticks.dates)
        axis->append(dateTickLabel(ticks, date, locale), chartDayValue(date));
    // A range within one month has no month start to mark: its ends are named instead.
    if (ticks.dates.isEmpty() && !days.isEmpty()) {
        axis->append(locale.toString(days.first, QLocale::ShortFormat), first);
        if (days.last != days.first)
            axis->append(locale.toString(days.last, QLocale::ShortFormat),
                         chartDayValue(days.last));
    }
    return axis;
}

QString summaryOf(const StatsChartSource& source, StatsSeries series,
                  const SeriesFigures& figures) {
    const QString name = statsSeriesName(series);
    const QString unit = statsSeriesUnit(series, source.units);
    if (figures.values.isEmpty())
        return translate(Text::statswnd_SummaryNone).arg(name, unit);
    const auto [lowest, highest] = std::minmax_element(
        figures.values.cbegin(), figures.values.cend(),
        [](const DatedValue& a, const DatedValue& b) { return a.value < b.value; });
    return translate(Text::statswnd_Summary)
        .arg(name, unit, QString::number(figures.values.size()),
             dateText(series, figures.values.first().date, source.locale),
             dateText(series, figures.values.last().date, source.locale),
             std::isfinite(figures.average) ? valueText(series, figures.average)
                                            : notAvailableText(),
             valueText(series, lowest->value), valueText(series, highest->value));
}

} // namespace

double chartDayValue(QDate date) {
    // Days since 1970-01-01 at midnight UTC, without a date-time object per value.
    constexpr qint64 kEpochDay = 2440588; // QDate(1970, 1, 1).toJulianDay()
    constexpr double kDayMs = 24.0 * 60 * 60 * 1000;
    return date.isValid() ? double(date.toJulianDay() - kEpochDay) * kDayMs : 0.0;
}

QString statsSeriesName(StatsSeries series) {
    switch (series) {
    case StatsSeries::Consumption:
        return translate(Text::statswnd_Consumption);
    case StatsSeries::UnitPrice:
        return translate(Text::statswnd_UnitPrice);
    case StatsSeries::MonthlyCost:
        return translate(Text::statswnd_MonthlyCost);
    case StatsSeries::MonthlyDistance:
        return translate(Text::statswnd_MonthlyDistance);
    case StatsSeries::ElectricConsumption:
        return translate(Text::statswnd_ElectricConsumption);
    case StatsSeries::EnergyUnitPrice:
        return translate(Text::statswnd_EnergyUnitPrice);
    }
    return QString();
}

QString statsSeriesUnit(StatsSeries series, const LogUnits& units) {
    const UnitTexts texts = unitTexts(units);
    switch (series) {
    case StatsSeries::Consumption:
        return texts.consumption;
    case StatsSeries::UnitPrice:
        return texts.unitCost;
    case StatsSeries::MonthlyCost:
        return texts.currency;
    case StatsSeries::MonthlyDistance:
        return texts.distance;
    case StatsSeries::ElectricConsumption:
        return texts.electricConsumption;
    case StatsSeries::EnergyUnitPrice:
        return texts.energyCost;
    }
    return QString();
}

QChart* createStatsChart(const StatsChartSource& source, StatsSeries series, QString* summary) {
    const SeriesFigures figures = seriesFigures(source, series);
    if (summary)
        *summary = summaryOf(source, series, figures);
    const QString unit = statsSeriesUnit(series, source.units);

    auto* chart = new QChart;
    chart->setTitle(translate(Text::statswnd_ChartTitle).arg(statsSeriesName(series), unit));
    chart->setLocale(source.locale);
    chart->setLocalizeNumbers(true);
    chart->legend()->setAlignment(Qt::AlignBottom);

    double first = 0.0;
    double last = 1.0;
    if (!source.days.isEmpty()) {
        first = chartDayValue(source.days.first);
        last = std::max(chartDayValue(source.days.last), first + 1.0);
    }

    // Dense values are drawn thin and light, so that the trend and the average stay readable
    // over them; the average is drawn last, on top.
    const bool dense = figures.values.size() > kMostMarkedPoints;
    QPen valuesPen(dense ? QColor(0x72, 0x9f, 0xcf) : QColor(0x1f, 0x4e, 0x9a), dense ? 1.0 : 1.5);
    QLineSeries* values = addLine(chart, kValuesName, statsSeriesName(series),
                                  drawnPoints(figures.values, first, last), valuesPen);
    values->setPointsVisible(!dense);
    if (figures.values.size() >= 2) {
        const QList<DatedValue> trend = movingAverage(figures.values, kTrendValues);
        // A dotted pen over thousands of turns takes seconds to paint: over dense values the
        // trend is told apart by its width instead.
        QPen trendPen(QColor(0x2e, 0x7d, 0x32), dense ? 3.0 : 2.5,
                      dense ? Qt::SolidLine : Qt::DotLine);
        addLine(chart, kTrendName, translate(Text::statswnd_Trend).arg(kTrendValues),
                drawnPoints(trend, first, last), trendPen);
    }
    if (std::isfinite(figures.average) && !figures.values.isEmpty()) {
        QPen averagePen(QColor(0xa4, 0x00, 0x00), 2.0, Qt::DashLine);
        addLine(chart, kAverageName,
                translate(Text::statswnd_Average).arg(valueText(series, figures.average)),
                {QPointF(first, figures.average), QPointF(last, figures.average)}, averagePen);
    }

    auto* valueAxis = new QValueAxis;
    valueAxis->setObjectName(QStringLiteral("valueAxis"));
    if (figures.values.isEmpty()) {
        valueAxis->setRange(0.0, 1.0);
    } else {
        const auto [lowest, highest] = std::minmax_element(
            figures.values.cbegin(), figures.values.cend(),
            [](const DatedValue& a, const DatedValue& b) { return a.value < b.value; });
        double low = lowest->value;
        double high = highest->value;
        if (std::isfinite(figures.average)) {
            low = std::min(low, figures.average);
            high = std::max(high, figures.average);
        }
        if (high - low < 1e-9) {
            const double margin = std::max(1.0, std::abs(high) * 0.1);
            low -= margin;
            high += margin;
        }
        valueAxis->setRange(low, high);
        valueAxis->applyNiceNumbers();
    }
    // Hundreds need no decimals on the axis (the pointer still reads them).
    valueAxis->setLabelFormat(series == StatsSeries::MonthlyDistance || valueAxis->max() >= 100.0
                                  ? QStringLiteral("%.0f")
                                  : QStringLiteral("%.2f"));

    QCategoryAxis* days = dateAxis(source.days, first, last, source.locale);
    chart->addAxis(days, Qt::AlignBottom);
    chart->addAxis(valueAxis, Qt::AlignLeft);
    for (QAbstractSeries* line : chart->series()) {
        line->attachAxis(days);
        line->attachAxis(valueAxis);
    }
    return chart;
}

QString statsChartSummary(const StatsChartSource& source, StatsSeries series) {
    return summaryOf(source, series, seriesFigures(source, series));
}

QString statsHoverText(const StatsChartSource& source, StatsSeries series, const QXYSeries& line,
                       QPointF point) {
    const QList<QPointF> points = line.points();
    if (points.isEmpty())
        return QString();
    const QString unit = statsSeriesUnit(series, source.units);
    if (line.objectName() == kAverageName)
        return translate(Text::statswnd_HoverAverage)
            .arg(valueText(series, points.first().y()), unit);
    auto after = std::lower_bound(points.cbegin(), points.cend(), point.x(),
                                  [](const QPointF& p, double x) { return p.x() < x; });
    if (after == points.cend() ||
        (after != points.cbegin() && point.x() - (after - 1)->x() < after->x() - point.x()))
        --after;
    const QDate date = QDateTime::fromMSecsSinceEpoch(qint64(after->x()), Qt::UTC).date();
    const QString text =
        translate(Text::statswnd_HoverValue)
            .arg(dateText(series, date, source.locale), valueText(series, after->y()), unit);
    return line.objectName() == kTrendName ? translate(Text::statswnd_HoverTrend).arg(text) : text;
}
