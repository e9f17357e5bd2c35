#pragma once

// The small drawing surface the chart paints through: filled rectangles, polylines with a pen of
// a given colour, style and width, and left-aligned label text on a transparent background.

#include "stats/chart.h"

#include <QColor>
#include <QFont>

class QPainter;

class CTextPainter {
public:
    explicit CTextPainter(QPainter* painter);
    ~CTextPainter();

    void fillRect(const ChartRect& rect, const QColor& colour);
    // A single point draws nothing.
    void drawPolyline(const QColor& colour, Qt::PenStyle style, int width,
                      std::span<const ChartPoint> points);
    void drawLine(const QColor& colour, Qt::PenStyle style, ChartPoint from, ChartPoint to);

    // The painter's font at the given size in points, converted with the surface's vertical
    // resolution; used by textSize() and drawText() until the painter is gone.
    void selectLabelFont(int points);
    QSize textSize(const QString& text) const;
    void drawText(const ChartRect& rect, const QString& text);

private:
    QPainter* m_painter;
};
