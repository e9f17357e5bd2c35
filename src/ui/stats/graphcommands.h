#pragma once

class CMainWnd;

// Statistics > Graph: the graph dialog from the first fill; without fills nothing happens.
void graphCommand(CMainWnd& mainWnd);

// Start graph here (context menu): the graph dialog from the current fill; without a current
// row nothing happens.
void startGraphHereCommand(CMainWnd& mainWnd);
