#include "ui/settings/settingscommands.h"

#include "core/debuglog.h"
#include "core/paths.h"
#include "core/settings.h"
#include "localisation/language.h"
#include "ui/main/mainwnd.h"
#include "ui/main/menubaraway.h"
#include "ui/settings/aboutdlg.h"
#include "ui/settings/settingsdlg.h"

void settingsCommand(CMainWnd& mainWnd) {
    MenuBarAway menuBarAway(mainWnd);
    CSettingsDlg dialog(&mainWnd);
    if (dialog.doModal() != 1)
        return;

    language().load(dialog.langPath(), programFolder());
    CRegistry::writeString(SettingsKey::Lang, dialog.langPath());
    CRegistry::writeNumber(SettingsKey::ColDef, dialog.colDef());
    CRegistry::writeNumber(SettingsKey::DebugMode, dialog.debugMode());
    CRegistry::writeNumber(SettingsKey::FillingMethod, dialog.fillingMethod());
    setDebugFlag(dialog.debugMode() != 0);
    mainWnd.settingsEnded();
}

void aboutCommand(CMainWnd& mainWnd) {
    CAboutDlg dialog(&mainWnd);
    dialog.doModal();
}
