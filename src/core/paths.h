#pragma once

// Where the program keeps its files.

#include <QString>
#include <QStringList>
#include <optional>

// The user's documents folder, created when missing.
QString documentsFolder();

QString databaseFilePath();

// The program's own state, kept apart from the documents folder (often synced to other
// devices): $XDG_STATE_HOME/Tankometer (~/.local/state/Tankometer by default), created when
// missing, open to its user only.
QString stateFolder();
QString debugLogPath();
// Where the fills of a log that could not be written are kept: "recovery" in the state folder,
// created when missing, open to its user only.
QString recoveryFolder();

// The folder holding the executable.
QString programFolder();
// Replaces the executable's folder (tests), or restores it with std::nullopt.
void setProgramFolderOverride(std::optional<QString> folder);

// The folder whose lang/ holds the language files, which the settings name relative to it
// ("lang\german.lng"): the program's folder when lang/ lies beside the executable (the build
// tree, or a copy unpacked anywhere), else the installed data folder of the same prefix
// (share/tankometer, found from the executable's folder), else the program's folder.
QString languageBaseFolder();

// Where the program's loadable modules are looked for, in this order: the program's folder (the
// build tree, or a copy unpacked anywhere), then the installed library folder of the same prefix
// (lib/tankometer, found from the executable's folder).
QStringList moduleFolders();
