#pragma once

// The charts of the statistics window and its report: one series over a range of days with a
// date axis, the series' average over the range as a line and a trailing mean as its trend.

#include "db/units.h"
#include "stats/periodstats.h"

#include <QLocale>
#include <QPointF>
#include <QString>

class CFuelDatabase;
class QChart;
class QXYSeries;

struct StatsChartSource {
    const CFuelDatabase* database = nullptr;
    FillingMethod method = FillingMethod::FullTank;
    DayRange days;
    LogUnits units;
    QLocale locale;
};

// A new chart (the caller owns it) of the series: its values as a line with points, the
// average over the range as a horizontal line, the trend over five values; a date axis with
// ticks from chooseDateTicks; the value axis scaled to the values; the title names the series
// and its unit. Readable in black and white (the three lines differ in style, not only colour).
// When summary is given, it receives statsChartSummary's text, made from the same reading of
// the fills.
QChart* createStatsChart(const StatsChartSource& source, StatsSeries series,
                         QString* summary = nullptr);

// The chart in words for a screen reader and the report ("Consumption, l / 100 km: 58 values
// from 3/1/2024 to 11/30/2026, average 6.12, lowest 5.01, highest 7.40").
QString statsChartSummary(const StatsChartSource& source, StatsSeries series);

// What the pointer at `point` (in the chart's values) over one of its lines shows: the date and
// value of the line's nearest point with the unit ("3/14/2025: 6.12 l / 100 km"); empty for
// a line without points.
QString statsHoverText(const StatsChartSource& source, StatsSeries series, const QXYSeries& line,
                       QPointF point);

// The series' name in the loaded language ("Consumption").
QString statsSeriesName(StatsSeries series);
// The unit its values are in ("l / 100 km").
QString statsSeriesUnit(StatsSeries series, const LogUnits& units);

// The x value of a day on the charts' date axis (milliseconds since the epoch at its start).
double chartDayValue(QDate date);
