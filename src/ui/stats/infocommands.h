#pragma once

class CMainWnd;

// Fill > Fill information (and the context menu): the fill information dialog on the current
// row; when it closes, the fill it showed last becomes the selected row. Without a current row
// nothing happens.
void fillInformationCommand(CMainWnd& mainWnd);

// Statistics > Totals: the totals of the whole history, whatever the number of fills.
void totalsCommand(CMainWnd& mainWnd);
