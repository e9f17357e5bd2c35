#pragma once

// File > New vehicle, Open vehicle and Recent vehicles, and Statistics > Compare vehicles.

#include <QString>

class CMainWnd;

void newVehicleCommand(CMainWnd& mainWnd);
void openVehicleCommand(CMainWnd& mainWnd);
// Makes the log at path the open vehicle and remembers it among the recent ones; false when
// the open log could not be saved and stays open.
bool openVehicle(CMainWnd& mainWnd, const QString& path);
// A log handed over by a later start: opened at once, or once no dialog of this window is
// open (the dialog works on the open log).
void openVehicleWhenIdle(CMainWnd& mainWnd, const QString& path);
// A recent vehicle whose file is gone is taken off the list, with a message.
void openRecentVehicle(CMainWnd& mainWnd, const QString& path);
// One entry per recent vehicle, the open one checked.
void fillRecentVehiclesMenu(CMainWnd& mainWnd);
void compareVehiclesCommand(CMainWnd& mainWnd);
