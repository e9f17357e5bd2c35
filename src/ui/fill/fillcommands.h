#pragma once

class CMainWnd;

// Fill > Add fill: the fill dialog for a new fill; on OK the station and the driver are found
// or added by name, the fill is inserted in time order and the list shows it selected.
void addFillCommand(CMainWnd& mainWnd);

// Fill > Edit fill (and a double-click in the list): the fill dialog for the current fill.
// On OK the dialog's records are written back into the database's own station, fill and
// driver records, so a changed station or driver name renames it for every fill that refers
// to it; the fill then moves to its place in time order. Without a current row nothing
// happens.
void editFillCommand(CMainWnd& mainWnd);
