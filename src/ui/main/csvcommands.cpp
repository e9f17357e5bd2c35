#include "ui/main/csvcommands.h"

#include "csv/csvwriter.h"
#include "localisation/language.h"
#include "ui/import/importdlg.h"
#include "ui/main/mainwnd.h"
#include "ui/main/menubaraway.h"
#include "ui/messagebox.h"

namespace {

FileDialogRequest csvFileRequest() {
    FileDialogRequest request;
    request.filter = QStringLiteral("CSV (*.csv)");
    request.defaultSuffix = QStringLiteral("csv");
    return request;
}

} // namespace

void exportCsvCommand(CMainWnd& mainWnd) {
    const QString path = askSaveFileName(&mainWnd, csvFileRequest());
    if (path.isEmpty())
        return;
    const bool written = writeCsvFile(path, mainWnd.database());
    showMessageBox(&mainWnd, translate(Text::FillList_exportcaption),
                   translate(written ? Text::FillList_exported : Text::FillList_errorsave),
                   written ? QMessageBox::Information : QMessageBox::Warning);
}

void importCsvCommand(CMainWnd& mainWnd) {
    const QString path = askOpenFileName(&mainWnd, csvFileRequest());
    if (path.isEmpty())
        return;
    MenuBarAway menuBarAway(mainWnd);
    CImportDlg dialog(&mainWnd);
    dialog.setCsvPath(path);
    dialog.setDatabase(&mainWnd.database());
    if (dialog.doModal() == 1)
        mainWnd.importEnded();
}
