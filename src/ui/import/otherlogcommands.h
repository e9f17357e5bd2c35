#pragma once

class CMainWnd;

// File > Import from another fuel log: asks for the file, shows the import dialog for it, and
// after Import adds the fills in one step, updates the list once and reports what was added
// and skipped. Cancel in either dialog adds nothing.
void importOtherLogCommand(CMainWnd& mainWnd);
