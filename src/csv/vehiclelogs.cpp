#include "csv/vehiclelogs.h"

#include "db/fueldatabase.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr qsizetype kMaxBaseNameLength = 100;

QString safeFileBaseName(const QString& vehicle) {
    QString name;
    for (const QChar c : vehicle.trimmed()) {
        const bool unsafe =
            c.category() == QChar::Other_Control || QStringView(u"/\\:*?\"<>|").contains(c);
        name.append(unsafe ? u'_' : c);
    }
    name = name.left(kMaxBaseNameLength).trimmed();
    // Names of only dots would name the folder or its parent; hidden files are no better.
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    return name.isEmpty() ? QStringLiteral("vehicle") : name;
}

} // namespace

QString vehicleLogPath(const QString& folder, const QString& vehicle) {
    const QDir dir(folder);
    const QString base = safeFileBaseName(vehicle);
    QString path = dir.filePath(base + QStringLiteral(".fil"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).fil").arg(base).arg(n));
    return path;
}

QList<VehicleLogImport> importOtherLogPerVehicle(const OtherLogFile& file,
                                                 OtherLogSettings settings, const QString& folder,
                                                 const std::function<void(const QString&)>& sink) {
    QList<VehicleLogImport> imports;
    for (const QString& vehicle : otherLogVehicles(file, settings)) {
        settings.vehicle = vehicle;
        VehicleLogImport import;
        import.vehicle = vehicle;
        import.path = vehicleLogPath(folder, vehicle);
        CFuelDatabase log(import.path);
        log.setMessageSink(sink);
        import.summary = importOtherLog(convertOtherLog(file, settings, log), &log);
        import.saved = log.save();
        imports.append(import);
    }
    return imports;
}
