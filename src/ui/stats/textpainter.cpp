#include "ui/stats/textpainter.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>

CTextPainter::CTextPainter(QPainter* painter) : m_painter(painter) {}

CTextPainter::~CTextPainter() = default;

void CTextPainter::fillRect(const ChartRect& rect, const QColor& colour) {
    m_painter->fillRect(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)),
                        colour);
}

void CTextPainter::drawPolyline(const QColor& colour, Qt::PenStyle style, int width,
                                std::span<const ChartPoint> points) {
    if (points.size() < 2)
        return;
    QPolygon polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const ChartPoint& point : points)
        polygon.append(QPoint(point.x, point.y));
    const QPen previous = m_painter->pen();
    const QPen pen(colour, width, style);
    m_painter->setPen(pen);
    m_painter->drawPolyline(polygon);
    m_painter->setPen(previous);
}

void CTextPainter::drawLine(const QColor& colour, Qt::PenStyle style, ChartPoint from,
                            ChartPoint to) {
    const ChartPoint points[] = {from, to};
    drawPolyline(colour, style, 1, points);
}

void CTextPainter::selectLabelFont(int points) {
    QFont font = m_painter->font();
    const int dpiY = m_painter->device() ? m_painter->device()->logicalDpiY() : 96;
    font.setPixelSize(std::max(1, points * dpiY / 72));
    m_painter->setFont(font);
    m_painter->setBackgroundMode(Qt::TransparentMode);
}

QSize CTextPainter::textSize(const QString& text) const {
    const QFontMetrics metrics(m_painter->font(), m_painter->device());
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void CTextPainter::drawText(const ChartRect& rect, const QString& text) {
    m_painter->drawText(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)),
                        Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}
