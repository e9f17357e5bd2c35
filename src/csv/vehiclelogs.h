#pragma once

// The import of a file from another fuel log that holds several vehicles into one new log per
// vehicle, each a database file of its own in a chosen folder.

#include "csv/otherlogformat.h"
#include "csv/otherlogvalues.h"

#include <QList>
#include <QString>
#include <functional>

// A file name for the vehicle's log in folder: characters that are not safe in a file name
// become "_", an empty name is "vehicle"; " (2)", " (3)", ... keep it from an existing file.
QString vehicleLogPath(const QString& folder, const QString& vehicle);

struct VehicleLogImport {
    QString vehicle;
    QString path;
    OtherLogSummary summary;
    bool saved = false;
};

// One new log per vehicle of the file, read with the given settings but each vehicle's rows.
// Never writes over an existing file; messages of the saves go to sink.
QList<VehicleLogImport> importOtherLogPerVehicle(const OtherLogFile& file,
                                                 OtherLogSettings settings, const QString& folder,
                                                 const std::function<void(const QString&)>& sink);
