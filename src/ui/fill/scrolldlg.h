#pragma once

#include "ui/fill/scrollarithmetic.h"

#include <QDialog>
#include <optional>

class QScrollBar;

// The base of the dialogs whose controls may not all fit on the screen. The derived dialog puts
// its controls into contentWidget() and calls setupScrolling() at the end of its initialisation.
// The content is then moved up and down in steps of eight pixels by a scroll bar at the right
// edge, whenever it is taller than the room the dialog has: the screen area available to it,
// less its menu bar, or down to the top of the on-screen keyboard while one is shown.
class CScrollDlg : public QDialog {
    Q_OBJECT
public:
    explicit CScrollDlg(QWidget* parent = nullptr);
    ~CScrollDlg() override;

    QWidget* contentWidget() const { return m_content; }
    QScrollBar* scrollBar() const { return m_scrollBar; }

    // Measures the content and lays the dialog out. menuBar, when given, is a child of the
    // dialog kept above the scrolled content.
    void setupScrolling(QWidget* menuBar = nullptr);

    // A scroll bar request; code is a ScrollCode value, thumbPosition the thumb's release
    // position relative to the minimum.
    void onVScroll(int code, int thumbPosition);
    void scrollContent(int offset);
    void restoreChildPositions();
    void layoutForInputPanel();

    int contentHeight() const { return m_contentHeight; }
    int visibleHeight() const;

    // The on-screen keyboard as the layout sees it; the top is in screen coordinates.
    struct KeyboardState {
        bool shown = false;
        int top = 0;
    };
    // Replaces the platform's keyboard state (tests); std::nullopt returns to the platform.
    static void setKeyboardStateOverride(std::optional<KeyboardState> state);
    // Lays the dialog out again for a changed keyboard state.
    void keyboardStateChanged();

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    KeyboardState keyboardState() const;
    int menuBarHeight() const;
    void onScrollBarAction(int action);
    void onSliderMoved();
    void showFocusedControl(QWidget* focused);

    QWidget* m_content = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    QWidget* m_menuBar = nullptr;
    int m_contentHeight = 0;
    int m_contentMinimumWidth = 0;
    bool m_setUp = false;
    bool m_inLayout = false;
    QMetaObject::Connection m_focusConnection;
};
