#include "ui/fill/scrolldlg.h"

#include <QApplication>
#include <QInputMethod>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace {
std::optional<CScrollDlg::KeyboardState> keyboardOverride;
}

CScrollDlg::CScrollDlg(QWidget* parent) : QDialog(parent) {
    m_content = new QWidget(this);
    m_content->setObjectName(QStringLiteral("content"));
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName(QStringLiteral("scrollBar"));
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->setSingleStep(1);
    // The stored position follows a dragged thumb only when it is released.
    m_scrollBar->setTracking(false);
    m_scrollBar->setEnabled(false);

    connect(m_scrollBar, &QAbstractSlider::actionTriggered, this, &CScrollDlg::onScrollBarAction);
    connect(m_scrollBar, &QAbstractSlider::sliderMoved, this, &CScrollDlg::onSliderMoved);
    QInputMethod* inputMethod = QGuiApplication::inputMethod();
    connect(inputMethod, &QInputMethod::visibleChanged, this, &CScrollDlg::keyboardStateChanged);
    connect(inputMethod, &QInputMethod::keyboardRectangleChanged, this,
            &CScrollDlg::keyboardStateChanged);
    m_focusConnection = connect(qApp, &QApplication::focusChanged, this,
                                [this](QWidget*, QWidget* now) { showFocusedControl(now); });
}

// The controls are destroyed after this part of the object, and losing them moves the focus.
CScrollDlg::~CScrollDlg() {
    disconnect(m_focusConnection);
}

void CScrollDlg::setupScrolling(QWidget* menuBar) {
    m_menuBar = menuBar;
    m_contentHeight = std::max(m_content->sizeHint().height(), 0);
    m_contentMinimumWidth = std::max(m_content->minimumSizeHint().width(), 0);
    setMinimumWidth(m_contentMinimumWidth);
    m_setUp = true;
    resize(sizeHint());
    layoutForInputPanel();
}

void CScrollDlg::onVScroll(int code, int thumbPosition) {
    const ScrollRange range{m_scrollBar->minimum(), m_scrollBar->maximum()};
    const int trackPosition = m_scrollBar->sliderPosition() - range.minimum;
    const ScrollStep step = nextScrollPosition(ScrollCode(code), range, m_scrollBar->value(),
                                               thumbPosition, trackPosition);
    int position = step.position;
    if (step.storeInBar) {
        m_scrollBar->setValue(position);
        position = m_scrollBar->value(); // the bar keeps it within its range
    }
    scrollContent(position * kScrollUnitPixels);
}

void CScrollDlg::scrollContent(int offset) {
    m_content->move(0, menuBarHeight() - offset);
}

void CScrollDlg::restoreChildPositions() {
    m_content->move(0, menuBarHeight());
}

void CScrollDlg::layoutForInputPanel() {
    if (!m_setUp || m_inLayout)
        return;
    m_inLayout = true;

    const QScreen* currentScreen = screen();
    if (currentScreen) {
        const QRect available = currentScreen->availableGeometry();
        const KeyboardState keyboard = keyboardState();
        const int room =
            roomHeight(available.top(), available.bottom() + 1, keyboard.shown, keyboard.top);
        const int frameExtra = isVisible() ? frameGeometry().height() - height() : 0;
        if (height() + frameExtra > room)
            resize(width(), std::max(room - frameExtra, 0));
        // With the keyboard up, the dialog also moves so that it ends above the keyboard.
        if (keyboard.shown && isVisible() && frameGeometry().bottom() >= available.top() + room)
            move(frameGeometry().left(),
                 std::max(available.top(), available.top() + room - frameGeometry().height()));
    }

    const int top = menuBarHeight();
    const int visible = visibleHeight();
    const bool needed = scrollingNeeded(m_contentHeight, visible);
    // The bar takes room only while the content does not fit.
    const int barWidth = needed ? m_scrollBar->sizeHint().width() : 0;
    // With the bar the page grows by its width, so that the content never gets narrower than
    // it needs.
    setMinimumWidth(m_contentMinimumWidth + barWidth);
    if (m_menuBar)
        m_menuBar->setGeometry(0, 0, width(), top);
    m_scrollBar->setGeometry(width() - barWidth, top, barWidth, visible);
    m_content->resize(std::max(width() - barWidth, 0), std::max(m_contentHeight, visible));

    const ScrollRange range = scrollRangeFor(m_contentHeight, visible);
    m_scrollBar->setRange(range.minimum, std::max(range.maximum, range.minimum));
    m_scrollBar->setPageStep(std::max(1, visible / kScrollUnitPixels));
    m_scrollBar->setValue(0);
    m_scrollBar->setEnabled(needed);
    m_scrollBar->setVisible(needed);
    m_inLayout = false;
}

int CScrollDlg::visibleHeight() const {
    return std::max(height() - menuBarHeight(), 0);
}

void CScrollDlg::setKeyboardStateOverride(std::optional<KeyboardState> state) {
    keyboardOverride = state;
}

void CScrollDlg::keyboardStateChanged() {
    restoreChildPositions();
    layoutForInputPanel();
}

QSize CScrollDlg::sizeHint() const {
    if (!m_setUp)
        return QDialog::sizeHint();
    return {m_content->sizeHint().width(), m_contentHeight + menuBarHeight()};
}

void CScrollDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_inLayout)
        return;
    restoreChildPositions();
    layoutForInputPanel();
}

void CScrollDlg::wheelEvent(QWheelEvent* event) {
    if (m_scrollBar->isEnabled())
        QCoreApplication::sendEvent(m_scrollBar, event);
    else
        QDialog::wheelEvent(event);
}

CScrollDlg::KeyboardState CScrollDlg::keyboardState() const {
    if (keyboardOverride)
        return *keyboardOverride;
    const QInputMethod* inputMethod = QGuiApplication::inputMethod();
    if (!inputMethod->isVisible())
        return {};
    // The rectangle comes in the focused control's coordinates; the transform takes it back
    // to the coordinates of the window, which is this dialog while it has the focus.
    const QRectF keyboard =
        inputMethod->inputItemTransform().mapRect(inputMethod->keyboardRectangle());
    if (keyboard.isEmpty())
        return {};
    return {true, mapToGlobal(QPoint(0, qRound(keyboard.top()))).y()};
}

int CScrollDlg::menuBarHeight() const {
    return m_menuBar ? m_menuBar->sizeHint().height() : 0;
}

void CScrollDlg::onScrollBarAction(int action) {
    ScrollCode code = ScrollCode::EndScroll;
    switch (QAbstractSlider::SliderAction(action)) {
    case QAbstractSlider::SliderSingleStepSub:
        code = ScrollCode::LineUp;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        code = ScrollCode::LineDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
    case QAbstractSlider::SliderToMinimum:
        code = ScrollCode::PageUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
    case QAbstractSlider::SliderToMaximum:
        code = ScrollCode::PageDown;
        break;
    case QAbstractSlider::SliderMove:
        code = m_scrollBar->isSliderDown() ? ScrollCode::ThumbTrack : ScrollCode::ThumbPosition;
        break;
    case QAbstractSlider::SliderNoAction:
        break;
    }
    onVScroll(int(code), m_scrollBar->sliderPosition() - m_scrollBar->minimum());
}

void CScrollDlg::onSliderMoved() {
    onVScroll(int(ScrollCode::ThumbTrack), 0);
}

// Keeps the control that receives the keyboard focus in view, so that tabbing through a
// scrolled dialog never lands on a hidden field.
void CScrollDlg::showFocusedControl(QWidget* focused) {
    if (!m_setUp || !focused || !m_scrollBar->isEnabled() || !m_content->isAncestorOf(focused))
        return;
    const int top = focused->mapTo(m_content, QPoint(0, 0)).y();
    const int bottom = top + focused->height();
    const int offset = m_scrollBar->value() * kScrollUnitPixels;
    const int visible = visibleHeight();
    int position = m_scrollBar->value();
    if (top < offset)
        position = top / kScrollUnitPixels;
    else if (bottom > offset + visible)
        position = (bottom - visible + kScrollUnitPixels - 1) / kScrollUnitPixels;
    else
        return;
    onVScroll(int(ScrollCode::ThumbPosition), position - m_scrollBar->minimum());
}
