#pragma once

class CMainWnd;

// File > Settings: the settings page. When it ends, the chosen language is loaded, the four
// settings are stored (Lang, ColDef, DebugMode, FillingMethod, all of them even when nothing
// changed), debug mode is switched and the list is rebuilt; the menus come back in the new
// language.
void settingsCommand(CMainWnd& mainWnd);

// File > About: the About box.
void aboutCommand(CMainWnd& mainWnd);
