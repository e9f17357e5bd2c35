#pragma once

// Where the program keeps its files.

#include <QString>

// The user's documents folder, created when missing.
QString documentsFolder();

QString databaseFilePath();
QString debugLogPath();

// The folder holding the executable; the language files lie in lang/ below it.
QString programFolder();
