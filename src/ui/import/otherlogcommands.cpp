#include "ui/import/otherlogcommands.h"

#include "csv/otherlogformat.h"
#include "csv/otherlogvalues.h"
#include "localisation/language.h"
#include "localisation/textfile.h"
#include "ui/import/otherlogdlg.h"
#include "ui/main/mainwnd.h"
#include "ui/main/menubaraway.h"
#include "ui/messagebox.h"

#include <QFile>

void importOtherLogCommand(CMainWnd& mainWnd) {
    MenuBarAway menuBarAway(mainWnd);
    FileDialogRequest request;
    // The apps name their exports freely: any file may be chosen.
    request.filter = QStringLiteral("CSV (*.csv *.txt);;* (*)");
    const QString path = askOpenFileName(&mainWnd, request);
    if (path.isEmpty())
        return;

    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        showMessageBox(&mainWnd, translate(Text::Import_importcaption),
                       translate(Text::Import_errorload), QMessageBox::Warning);
        return;
    }
    const OtherLogFile file = readOtherLog(decodeTextFile(input.readAll()));
    input.close();

    CFuelDatabase& database = mainWnd.database();
    COtherLogDlg dialog(&mainWnd, database, file);
    if (execDialog(dialog) != QDialog::Accepted)
        return;
    const OtherLogSummary summary = importOtherLog(dialog.rows(), &database);
    mainWnd.importEnded();
    showMessageBox(&mainWnd, translate(Text::Import_importcaption), otherLogSummaryText(summary),
                   QMessageBox::Information);
}
