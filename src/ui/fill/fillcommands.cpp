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

namespace {

// After the dialog gave the name of `edited` to the station (or driver) `own` of a fill: when
// another record already has that name, the fill moves to it and `own` keeps its name;
// otherwise `own` takes the name, for every fill that refers to it. Returns the id the fill
// refers to from now on. `own` is null for a fill without a station (or driver).
template <typename Record>
int reassign(Record* own, int ownId, const Record& edited,
             int (CFuelDatabase::*find)(const QString&) const,
             int (CFuelDatabase::*findOrAdd)(const QString&), CFuelDatabase& database) {
    const QString name = fieldText(edited.name);
    const int other = (database.*find)(name);
    if (own && (other < 0 || other == ownId))
        *own = edited;
    return (database.*findOrAdd)(name);
}

} // namespace

void editFillCommand(CMainWnd& mainWnd) {
    CFuelDatabase& database = mainWnd.database();
    const int row = mainWnd.currentRow();
    FillRecord* fill = database.getFill(row);
    if (!fill)
        return;
    StationRecord* station = database.getStation(fill->stationId);
    DriverRecord* driver = database.getDriver(fill->driverId);

    MenuBarAway menuBarAway(mainWnd);
    CFillDlg dialog(&mainWnd, station, fill, driver);
    dialog.setDatabase(&database);
    if (dialog.doModal() != 1)
        return;

    StationRecord editedStation;
    DriverRecord editedDriver;
    dialog.getRecords(&editedStation, fill, &editedDriver);
    // Adding a station or a driver leaves the fill table, and so `fill`, where it is.
    fill->stationId = reassign(station, fill->stationId, editedStation, &CFuelDatabase::findStation,
                               &CFuelDatabase::findOrAddStation, database);
    fill->driverId = reassign(driver, fill->driverId, editedDriver, &CFuelDatabase::findDriver,
                              &CFuelDatabase::findOrAddDriver, database);
    int first = 0;
    int last = 0;
    mainWnd.fillEdited(database.repositionFill(row, &first, &last));
}
