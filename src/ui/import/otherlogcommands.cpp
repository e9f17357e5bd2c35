#include "ui/import/otherlogcommands.h"

#include "csv/otherlogformat.h"
#include "csv/otherlogvalues.h"
#include "csv/vehiclelogs.h"
#include "localisation/language.h"
#include "localisation/textfile.h"
#include "ui/import/otherlogdlg.h"
#include "ui/main/mainwnd.h"
#include "ui/main/menubaraway.h"
#include "ui/messagebox.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The open log is left as it is; the new logs can be opened as vehicles.
void importPerVehicle(CMainWnd& mainWnd, const OtherLogFile& file,
                      const OtherLogSettings& settings) {
    const QString folder = askFolder(&mainWnd, {});
    if (folder.isEmpty())
        return;
    const auto sink = [&mainWnd](const QString& message) {
        showMessageBox(&mainWnd, translate(Text::Import_importcaption), message,
                       QMessageBox::Warning);
    };
    QStringList lines;
    for (const VehicleLogImport& import : importOtherLogPerVehicle(file, settings, folder, sink)) {
        if (import.saved)
            lines.append(QFileInfo(import.path).fileName() + u'\n' +
                         otherLogSummaryText(import.summary));
    }
    if (!lines.isEmpty())
        showMessageBox(&mainWnd, translate(Text::Import_importcaption),
                       lines.join(QStringLiteral("\n\n")), QMessageBox::Information);
}

} // namespace

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
    const int result = execDialog(dialog);
    if (result == COtherLogDlg::PerVehicleResult) {
        importPerVehicle(mainWnd, file, dialog.settings());
        return;
    }
    if (result != QDialog::Accepted)
        return;
    const OtherLogSummary summary = importOtherLog(dialog.rows(), &database);
    mainWnd.importEnded();
    showMessageBox(&mainWnd, translate(Text::Import_importcaption), otherLogSummaryText(summary),
                   QMessageBox::Information);
}
