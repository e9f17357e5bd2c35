#include "ui/main/vehiclecommands.h"

#include "core/paths.h"
#include "core/vehicles.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "ui/main/mainwnd.h"
#include "ui/main/menubaraway.h"
#include "ui/messagebox.h"
#include "ui/stats/comparedlg.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QTimer>

namespace {

FileDialogRequest logFileRequest() {
    FileDialogRequest request;
    request.filter = QStringLiteral("Tankometer logs (*.fil)");
    request.defaultSuffix = QStringLiteral("fil");
    request.directory = documentsFolder();
    return request;
}

void rememberVehicles(const QString& previous, const QString& opened) {
    writeDatabasePath(opened);
    QStringList recent = readRecentVehicles();
    // A default log never saved is no vehicle to come back to.
    if (QFileInfo(previous).isFile())
        recent = addRecentVehicle(recent, previous);
    writeRecentVehicles(addRecentVehicle(recent, opened));
}

} // namespace

bool openVehicle(CMainWnd& mainWnd, const QString& path) {
    const QString previous = mainWnd.vehiclePath();
    if (!mainWnd.switchToLog(path))
        return false;
    rememberVehicles(previous, path);
    return true;
}

void openVehicleWhenIdle(CMainWnd& mainWnd, const QString& path) {
    if (QApplication::activeModalWidget() == nullptr) {
        openVehicle(mainWnd, path);
        return;
    }
    QPointer<CMainWnd> window(&mainWnd);
    QTimer::singleShot(250, &mainWnd, [window, path] {
        if (window)
            openVehicleWhenIdle(*window, path);
    });
}

void newVehicleCommand(CMainWnd& mainWnd) {
    const QString path = askSaveFileName(&mainWnd, logFileRequest());
    if (path.isEmpty())
        return;
    // An existing log is opened as it is, never replaced by an empty one.
    if (QFileInfo::exists(path)) {
        openVehicle(mainWnd, path);
        return;
    }
    const QString previous = mainWnd.vehiclePath();
    if (!mainWnd.switchToLog(path))
        return;
    // The save has reported why it failed; the previous log, saved a moment ago, comes back.
    if (!mainWnd.database().save()) {
        mainWnd.switchToLog(previous);
        return;
    }
    rememberVehicles(previous, path);
}

void openVehicleCommand(CMainWnd& mainWnd) {
    const QString path = askOpenFileName(&mainWnd, logFileRequest());
    if (!path.isEmpty())
        openVehicle(mainWnd, path);
}

void openRecentVehicle(CMainWnd& mainWnd, const QString& path) {
    if (QFileInfo(path).isFile()) {
        openVehicle(mainWnd, path);
        return;
    }
    QStringList recent = readRecentVehicles();
    recent.removeIf([&path](const QString& entry) { return entry == path; });
    writeRecentVehicles(recent);
    showMessageBox(&mainWnd, QStringLiteral("Tankometer"),
                   translate(Text::Main_VehicleMissing).arg(QDir::toNativeSeparators(path)),
                   QMessageBox::Warning);
}

void fillRecentVehiclesMenu(CMainWnd& mainWnd) {
    QMenu* menu = mainWnd.recentVehiclesMenu();
    if (!menu)
        return;
    menu->clear();
    for (const QString& path : readRecentVehicles()) {
        QString name = QFileInfo(path).fileName();
        name.replace(u'&', QStringLiteral("&&"));
        QAction* action = menu->addAction(name);
        action->setObjectName(QStringLiteral("recentVehicle"));
        action->setToolTip(QDir::toNativeSeparators(path));
        action->setStatusTip(action->toolTip());
        action->setCheckable(true);
        action->setChecked(sameLogFile(path, mainWnd.vehiclePath()));
        QObject::connect(action, &QAction::triggered, &mainWnd,
                         [&mainWnd, path] { openRecentVehicle(mainWnd, path); });
    }
}

void compareVehiclesCommand(CMainWnd& mainWnd) {
    QStringList others = readRecentVehicles();
    others.removeIf(
        [&mainWnd](const QString& path) { return sameLogFile(path, mainWnd.vehiclePath()); });
    MenuBarAway menuBarAway(mainWnd);
    CCompareDlg dialog(&mainWnd);
    dialog.setVehicles(mainWnd.database(), others);
    dialog.doModal();
}
