#include "ui/stats/graphctrl.h"

#include "db/formats.h"
#include "localisation/language.h"
#include "ui/stats/textpainter.h"

#include <QPainter>
#include <cmath>

namespace {

const QColor kBackground(192, 192, 192);
const QColor kAxis(0, 0, 0);
const QColor kGrid(160, 160, 160);
const QColor kLine(192, 0, 0);
constexpr int kLabelPoints = 7;

} // namespace

CGraphCtrl::CGraphCtrl(QWidget* parent) : QWidget(parent) {
    // Reachable with Tab, so that a screen reader reads the chart's name and description.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

CGraphCtrl::~CGraphCtrl() = default;

void CGraphCtrl::setSeries(const QString& name, SeriesSource source) {
    setAccessibleName(name);
    m_source = std::move(source);
    refresh();
}

void CGraphCtrl::refresh() {
    takeSeries();
    update();
}

void CGraphCtrl::takeSeries() {
    m_series = m_source ? m_source() : QList<float>();
    const QString description = chartDescription(m_series);
    if (accessibleDescription() != description)
        setAccessibleDescription(description);
}

QSize CGraphCtrl::sizeHint() const {
    return {480, 220};
}

QSize CGraphCtrl::minimumSizeHint() const {
    return {160, 80};
}

void CGraphCtrl::paintEvent(QPaintEvent*) {
    takeSeries();
    QPainter painter(this);
    m_geometry = paintChart(painter, rect(), m_series);
    if (hasFocus()) {
        painter.setPen(QPen(kAxis, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

ChartGeometry CGraphCtrl::paintChart(QPainter& painter, const QRect& area,
                                     std::span<const float> series) {
    painter.save();
    // Values below 0 or above the topmost label would otherwise draw over the neighbours.
    painter.setClipRect(area, Qt::IntersectClip);
    CTextPainter surface(&painter);
    const ChartRect rect{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    surface.fillRect(rect, kBackground);
    surface.selectLabelFont(kLabelPoints);
    const ChartGeometry g = computeChartGeometry(
        rect, series, [&surface](const QString& text) { return surface.textSize(text); });

    painter.setPen(kAxis);
    for (const ChartLabel& label : g.labels)
        surface.drawText(label.textRect, label.text);
    for (const ChartLabel& label : g.labels) {
        surface.drawLine(kAxis, Qt::SolidLine, {g.tickLeft(), label.y}, {g.tickRight(), label.y});
        surface.drawLine(kGrid, Qt::DashLine, {g.gridLeft(), label.y}, {rect.right, label.y});
    }
    surface.drawLine(kAxis, Qt::SolidLine, {g.axisX(), rect.top}, {g.axisX(), rect.bottom});
    surface.drawLine(kAxis, Qt::SolidLine, {rect.left, g.baseLineY()}, {rect.right, g.baseLineY()});
    surface.drawPolyline(kLine, Qt::SolidLine, 1, g.points);
    painter.restore();
    return g;
}

QString chartDescription(std::span<const float> series) {
    int count = 0;
    float lowest = 0.0f;
    float highest = 0.0f;
    for (const float value : series) {
        if (!isPlausibleAmount(value))
            continue;
        lowest = count == 0 ? value : std::min(lowest, value);
        highest = count == 0 ? value : std::max(highest, value);
        ++count;
    }
    if (count == 0)
        return translate(Text::graph_NoPoints);
    return translate(Text::graph_Description)
        .arg(count)
        .arg(formatAmount(lowest), formatAmount(highest));
}
