#pragma once

class CMainWnd;

// File > Export CSV: asks for a file and writes every fill of the database in memory to it,
// then reports success or failure. The database and the list are not changed.
void exportCsvCommand(CMainWnd& mainWnd);

// File > Import CSV: asks for a file, lets the user assign its columns in the import dialog,
// and after an import shows the new fills in the list.
void importCsvCommand(CMainWnd& mainWnd);
