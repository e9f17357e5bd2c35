#pragma once

#include "ui/main/mainwnd.h"

// Held by a command while its dialog is open. The menu bar stays where it is (the modal dialog
// blocks it anyway, and the list below must not move); when the dialog has closed, whatever its
// result, the menus are translated again, since the dialog may have changed the language.
class MenuBarAway {
public:
    explicit MenuBarAway(CMainWnd& mainWnd) : m_mainWnd(mainWnd) {}
    ~MenuBarAway() { m_mainWnd.languageMayHaveChanged(); }
    MenuBarAway(const MenuBarAway&) = delete;
    MenuBarAway& operator=(const MenuBarAway&) = delete;

private:
    CMainWnd& m_mainWnd;
};
