#include "ui/settings/settingscommands.h"

#include "core/debuglog.h"
#include "core/paths.h"
#include "core/settings.h"
#include "localisation/language.h"
#include "ui/main/mainwnd.h"
#include "ui/main/menubaraway.h"
#include "ui/messagebox.h"
#include "ui/settings/aboutdlg.h"
#include "ui/settings/settingsdlg.h"

#include <algorithm>
#include <iterator>

void settingsCommand(CMainWnd& mainWnd) {
    MenuBarAway menuBarAway(mainWnd);
    CSettingsDlg dialog(&mainWnd);
    if (dialog.doModal() != 1)
        return;

    language().load(dialog.langPath(), programFolder());
    const RegistryStatus statuses[] = {
        CRegistry::writeString(SettingsKey::Lang, dialog.langPath()),
        CRegistry::writeNumber(SettingsKey::ColDef, dialog.colDef()),
        CRegistry::writeNumber(SettingsKey::DebugMode, dialog.debugMode()),
        CRegistry::writeNumber(SettingsKey::FillingMethod, dialog.fillingMethod()),
    };
    setDebugFlag(dialog.debugMode() != 0);
    mainWnd.settingsEnded();
    // The list reads its columns and filling method from the store, so a refused write also
    // means the choices have not taken effect: the user must not take them as made.
    if (std::any_of(std::begin(statuses), std::end(statuses),
                    [](RegistryStatus status) { return status != RegistryOk; })) {
        showMessageBox(&mainWnd, QStringLiteral("Tankometer"), translate(Text::Settings_errorsave),
                       QMessageBox::Warning, QMessageBox::Ok);
    }
}

void aboutCommand(CMainWnd& mainWnd) {
    CAboutDlg dialog(&mainWnd);
    dialog.doModal();
}
