#pragma once

#include <QLabel>

// A text that does not fit is cut with "…" and shown whole in the tip. The label's own text
// stays whole, so that a screen reader reads all of it.
class CElidingLabel : public QLabel {
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
