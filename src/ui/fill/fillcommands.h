#pragma once

class CMainWnd;

// Fill > Add fill: the fill dialog for a new fill; on OK the station and the driver are found
// or added by name, the fill is inserted in time order and the list shows it selected.
void addFillCommand(CMainWnd& mainWnd);

// Fill > Edit fill (and a double-click in the list): the fill dialog for the current fill.
// On OK the fill takes the dialog's values. A station or driver name that another station or
// driver already has (letter case ignored) moves the fill to it; any other changed name renames
// the fill's own station or driver for every fill that refers to it. The fill then moves to its
// place in time order. Without a current row nothing happens.
void editFillCommand(CMainWnd& mainWnd);
