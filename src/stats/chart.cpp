#include "stats/chart.h"

#include "db/formats.h"

#include <algorithm>
#include <cmath>

namespace {

// Values so small or so large that no fuel log holds them are scaled as if they were these, so
// that the steps neither underflow to 0 nor overflow to infinity.
constexpr float kSmallestScaled = 1e-30f;
constexpr float kLargestScaled = 1e30f;
// A point this far beyond the plot is off any screen; keeps the pixel row a valid integer.
constexpr float kFarthestOffset = 1e6f;

void addPoints(ChartGeometry* g, std::span<const float> series) {
    const int count = int(series.size());
    const int dx = g->plotRight - g->plotLeft;
    const int dy = g->plotBottom - g->topGridY;
    const double xstep = count > 1 ? double(float(dx) / float(count - 1)) : 0.0;
    const float yscale = float(dy) / g->topValue;
    const double lastX = double(g->plotLeft) + dx - 1;
    double x = g->plotLeft;
    for (const float value : series) {
        x = std::min(x, lastX);
        // A value that cannot be computed (zero distance, zero fuel) or comes from a damaged
        // file has no point, and the line joins its neighbours; the others keep their places.
        if (isPlausibleAmount(value)) {
            const float offset = std::clamp(value * yscale, -kFarthestOffset, kFarthestOffset);
            g->points.append({int(x), g->plotBottom - int(offset)});
        }
        x += xstep;
    }
}

} // namespace

float chartMaximum(std::span<const float> series) {
    float maximum = 0.0f;
    for (const float value : series) {
        if (isPlausibleAmount(value) && value > maximum)
            maximum = value;
    }
    return maximum;
}

ChartScale computeScale(float maxValue) {
    if (!(maxValue > 0.0f) || !std::isfinite(maxValue))
        return {};
    maxValue = std::clamp(maxValue, kSmallestScaled, kLargestScaled);
    float step = 1.0f;
    if (maxValue > 1.0f) {
        do
            step *= 10.0f;
        while (!(maxValue <= step));
        step *= 0.1f;
    } else if (maxValue < 1.0f) {
        do
            step *= 0.1f;
        while (!(maxValue >= step));
    }
    return {step, (std::trunc(maxValue / step) + 1.0f) * step};
}

QString chartLabelText(float value, float step) {
    if (step >= 1.0f)
        return QString::number(std::trunc(double(value)), 'f', 0);
    return formatAmount(value);
}

ChartGeometry computeChartGeometry(const ChartRect& rect, std::span<const float> series,
                                   const ChartTextMeasure& measure) {
    ChartGeometry g;
    g.rect = rect;
    const float maximum = chartMaximum(series);
    g.scale = computeScale(maximum);
    const int steps = int(g.scale.top / g.scale.step);
    const int h = measure(QStringLiteral("0")).height() + 2;
    const int avail = (rect.bottom - rect.top) - 5 - (h >> 1);
    g.labelHeight = h;

    // A chart too small for one label gets its background and axes only.
    if (h <= avail && steps > 0) {
        while (h * (steps >> g.halvings) > avail)
            ++g.halvings;
        g.rowSpacing = avail / (steps >> g.halvings);
        // Every halving doubles the increment, so the labels span the same range of values
        // however often they are halved.
        g.increment = g.scale.step * float(1 << g.halvings);
        // Only rows whose label lies wholly inside the rectangle.
        float value = 0.0f;
        for (int i = 1; i * g.rowSpacing <= avail; ++i) {
            value += g.increment;
            ChartLabel label;
            label.value = value;
            label.text = chartLabelText(value, g.scale.step);
            label.y = rect.bottom - 5 - i * g.rowSpacing;
            const QSize size = measure(label.text);
            const int textTop = label.y - (h >> 1);
            label.textRect = {rect.left, textTop, rect.left + size.width(),
                              textTop + size.height()};
            g.labelWidth = std::max(g.labelWidth, size.width());
            g.topValue = value;
            g.topGridY = label.y;
            g.labels.append(label);
        }
    }

    g.plotLeft = rect.left + g.labelWidth + 6;
    g.plotRight = rect.right;
    g.plotBottom = rect.bottom - 6;
    if (g.labels.isEmpty() || !(maximum > 0.0f))
        return g;
    addPoints(&g, series);
    return g;
}
