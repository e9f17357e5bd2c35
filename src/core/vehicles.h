#pragma once

// One fuel log per vehicle: each vehicle is a database file of its own. The default vehicle is
// the file the program has always used; the path of the log last opened and the recently opened
// logs are kept in the settings store, and only once the user has opened another log.

#include "core/settingskeys.h"

#include <QString>
#include <QStringList>
#include <QStringView>

inline constexpr int kMaxRecentVehicles = 8;

// The log to open at start: the stored one, or the default file when none is stored, the value
// cannot be read or names a file that is gone.
QString readDatabasePath();
// Remembers the open log; the default file leaves no value behind.
bool writeDatabasePath(const QString& path);

bool isDefaultDatabase(const QString& path);

// The name a vehicle goes by: the name it was given, else its log file's base name.
QString vehicleDisplayName(const QString& name, const QString& path);
// The same for the log file at path, its name read from the file.
QString vehicleDisplayName(const QString& path);

// The name to store for one typed for the vehicle of the log at path: none when it is the file's
// name, which the vehicle goes by anyway.
QString vehicleNameToStore(const QString& typed, const QString& path);

// The window title for the open log: the vehicle's name before the program's name, or the
// program's name alone for the default file without a name; the unsaved-changes mark "[*]"
// follows the log's name, and a log whose file was not read says so.
QString vehicleTitle(const QString& path, const QString& name, const QString& programName,
                     bool unread);

// Most recent first, without duplicates, at most kMaxRecentVehicles.
QStringList addRecentVehicle(QStringList recent, const QString& path);
QStringList readRecentVehicles();
bool writeRecentVehicles(const QStringList& recent);

// True when both paths name the same file.
bool sameLogFile(const QString& a, const QString& b);
