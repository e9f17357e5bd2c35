#include "ui/stats/graphcommands.h"

#include "ui/main/mainwnd.h"
#include "ui/main/menubaraway.h"
#include "ui/stats/graphdlg.h"

namespace {

void showGraph(CMainWnd& mainWnd, int startIndex) {
    const CFuelDatabase& database = mainWnd.database();
    if (startIndex < 0 || startIndex >= database.getFillCount())
        return;
    MenuBarAway menuBarAway(mainWnd);
    CGraphDlg dialog(&mainWnd);
    dialog.setDatabase(&database);
    dialog.setStartIndex(startIndex);
    dialog.doModal();
}

} // namespace

void graphCommand(CMainWnd& mainWnd) {
    showGraph(mainWnd, 0);
}

void startGraphHereCommand(CMainWnd& mainWnd) {
    showGraph(mainWnd, mainWnd.currentRow());
}
