#pragma once

// The geometry of one line chart: the value scale, the label rows and their texts, the axes and
// the points of the polyline, computed from the chart's rectangle, the series and a function
// that measures text in the label font. Drawing it is left to the caller; all coordinates are
// device pixels with y growing downwards.

#include <QList>
#include <QSize>
#include <QString>
#include <functional>
#include <span>

struct ChartRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct ChartPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

// Labels are drawn at every step up to top; top lies above the largest value by up to one step.
struct ChartScale {
    float step = 1.0f;
    float top = 1.0f;
};

struct ChartLabel {
    float value = 0.0f;
    QString text;
    // The row of the label's tick and grid line.
    int y = 0;
    // Where the text is drawn, left-aligned: as wide and high as the text measures.
    ChartRect textRect;
};

struct ChartGeometry {
    ChartRect rect;
    ChartScale scale;
    int labelHeight = 0; // the height of "0" plus 2
    int halvings = 0;    // how often the number of labels was halved to fit
    float increment = 0.0f;
    int rowSpacing = 0;
    // One per grid row, from the bottom up; empty when the chart is too small for one label.
    QList<ChartLabel> labels;
    int labelWidth = 0; // the widest label text

    float topValue = 0.0f; // the value of the topmost label, on the row topGridY
    int topGridY = 0;
    int plotLeft = 0;
    int plotRight = 0;
    int plotBottom = 0; // the row of the value 0

    // The polyline; empty when there is nothing to draw.
    QList<ChartPoint> points;

    int axisX() const { return rect.left + labelWidth + 5; }
    int baseLineY() const { return rect.bottom - 5; }
    int tickLeft() const { return rect.left + labelWidth + 2; }
    int tickRight() const { return axisX(); }
    int gridLeft() const { return rect.left + labelWidth + 7; }
};

// Width and height of a text in the label font.
using ChartTextMeasure = std::function<QSize(const QString&)>;

// The largest finite value of the series, or 0 when it has none above 0.
float chartMaximum(std::span<const float> series);

// Step and top for a largest value above 0; anything else (no value, only values of 0 or
// below) gets step 1 and top 1.
ChartScale computeScale(float maxValue);

// "%d" of the value cut to a whole number for steps of 1 and above, "%0.2f" below.
QString chartLabelText(float value, float step);

ChartGeometry computeChartGeometry(const ChartRect& rect, std::span<const float> series,
                                   const ChartTextMeasure& measure);
