#include "ui/fill/fillcommands.h"

#include "ui/fill/filldlg.h"
#include "ui/main/mainwnd.h"
#include "ui/main/menubaraway.h"

void addFillCommand(CMainWnd& mainWnd) {
    MenuBarAway menuBarAway(mainWnd);
    CFuelDatabase& database = mainWnd.database();
    CFillDlg dialog(&mainWnd, nullptr, nullptr, nullptr);
    dialog.setDatabase(&database);
    if (dialog.doModal() != 1)
        return;

    StationRecord station;
    FillRecord fill;
    DriverRecord driver;
    dialog.getRecords(&station, &fill, &driver);
    fill.stationId = database.findOrAddStation(fieldText(station.name));
    fill.driverId = database.findOrAddDriver(fieldText(driver.name));
    mainWnd.fillAdded(database.insertFill(fill));
}

void editFillCommand(CMainWnd& mainWnd) {
    CFuelDatabase& database = mainWnd.database();
    const int row = mainWnd.currentRow();
    FillRecord* fill = database.getFill(row);
    if (!fill)
        return;
    StationRecord blankStation;
    DriverRecord blankDriver;
    StationRecord* station = database.getStation(fill->stationId);
    if (!station)
        station = &blankStation;
    DriverRecord* driver = database.getDriver(fill->driverId);
    if (!driver)
        driver = &blankDriver;

    MenuBarAway menuBarAway(mainWnd);
    CFillDlg dialog(&mainWnd, station, fill, driver);
    dialog.setDatabase(&database);
    if (dialog.doModal() != 1)
        return;

    dialog.getRecords(station, fill, driver);
    // Adding a station or a driver leaves the fill table, and so `fill`, where it is.
    fill->stationId = database.findOrAddStation(fieldText(station->name));
    fill->driverId = database.findOrAddDriver(fieldText(driver->name));
    int first = 0;
    int last = 0;
    mainWnd.fillEdited(database.repositionFill(row, &first, &last));
}
