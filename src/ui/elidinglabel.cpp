#include "ui/elidinglabel.h"

#include <QPainter>
#include <QStyle>

QSize CElidingLabel::minimumSizeHint() const {
    QSize size = QLabel::minimumSizeHint();
    size.setWidth(qMin(size.width(), fontMetrics().averageCharWidth() * 8));
    return size;
}

void CElidingLabel::paintEvent(QPaintEvent* event) {
    const QRect room = contentsRect();
    const bool fits = fontMetrics().horizontalAdvance(text()) <= room.width();
    // The tip follows what the last painting showed: the text or its shortened form.
    setToolTip(fits ? QString() : text());
    if (fits) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    style()->drawItemText(
        &painter, room, int(QStyle::visualAlignment(layoutDirection(), alignment())), palette(),
        isEnabled(), fontMetrics().elidedText(text(), Qt::ElideRight, room.width()),
        foregroundRole());
}
