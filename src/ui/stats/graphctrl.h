#pragma once

// One line chart of a series of values: a light grey background, a value axis from 0 with
// labels at round steps, dashed grid lines and the series as a dark red polyline, its points
// spread evenly from left to right.

#include "stats/chart.h"

#include <QWidget>
#include <functional>

class QPainter;

class CGraphCtrl : public QWidget {
    Q_OBJECT
public:
    using SeriesSource = std::function<QList<float>()>;

    explicit CGraphCtrl(QWidget* parent = nullptr);
    ~CGraphCtrl() override;

    // What the chart shows: its name for a screen reader, and where its values come from. The
    // source is asked again on every paint, so the chart keeps nothing of its own.
    void setSeries(const QString& name, SeriesSource source);
    // Asks the source now, for the description a screen reader reads, and repaints.
    void refresh();

    const QList<float>& series() const { return m_series; }
    // The geometry of the last paint.
    const ChartGeometry& chartGeometry() const { return m_geometry; }

    // Draws a chart of the series into the area, and nothing outside it.
    static ChartGeometry paintChart(QPainter& painter, const QRect& area,
                                    std::span<const float> series);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void takeSeries();

    SeriesSource m_source;
    QList<float> m_series;
    ChartGeometry m_geometry;
};

// "12 points, lowest 5.20, highest 8.75" in the loaded language; values that cannot be computed
// are not counted.
QString chartDescription(std::span<const float> series);
