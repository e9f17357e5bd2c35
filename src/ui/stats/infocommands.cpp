#include "ui/stats/infocommands.h"

#include "ui/main/mainwnd.h"
#include "ui/main/menubaraway.h"
#include "ui/stats/fillinfodlg.h"
#include "ui/stats/totalsdlg.h"

void fillInformationCommand(CMainWnd& mainWnd) {
    const int row = mainWnd.currentRow();
    if (row < 0)
        return;
    // The menu bar stays as it is: this dialog changes nothing the menus show.
    CFillInfoDlg dialog(&mainWnd);
    dialog.setDatabase(&mainWnd.database());
    dialog.setCurrentIndex(row);
    dialog.doModal();
    mainWnd.fillInformationClosed(dialog.currentIndex());
}

void totalsCommand(CMainWnd& mainWnd) {
    MenuBarAway menuBarAway(mainWnd);
    CTotalsDlg dialog(&mainWnd);
    dialog.setDatabase(&mainWnd.database());
    dialog.doModal();
}
