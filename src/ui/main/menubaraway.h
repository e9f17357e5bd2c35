#pragma once

#include "ui/main/mainwnd.h"

// Held by a command while its dialog is open: the menu bar goes away and comes back, freshly
// translated (the dialog may have changed the language), whatever the dialog's result.
class MenuBarAway {
public:
    explicit MenuBarAway(CMainWnd& mainWnd) : m_mainWnd(mainWnd) { m_mainWnd.destroyMenuBar(); }
    ~MenuBarAway() { m_mainWnd.restoreMenuBar(); }
    MenuBarAway(const MenuBarAway&) = delete;
    MenuBarAway& operator=(const MenuBarAway&) = delete;

private:
    CMainWnd& m_mainWnd;
};
