#include "core/vehicles.h"

#include "core/paths.h"
#include "core/settings.h"
#include "db/databasefile.h"
#include "localisation/language.h"

#include <QFileInfo>

namespace {

// Paths are compared as the file system would see them, so that one log is never listed twice.
QString normalised(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

bool sameLogFile(const QString& a, const QString& b) {
    return normalised(a) == normalised(b);
}

bool isDefaultDatabase(const QString& path) {
    return path.isEmpty() || sameLogFile(path, databaseFilePath());
}

QString readDatabasePath() {
    QString path;
    if (CRegistry::readValue(SettingsKey::Database, &path) != RegistryOk || path.isEmpty() ||
        !QFileInfo(path).isFile())
        return databaseFilePath();
    return path;
}

bool writeDatabasePath(const QString& path) {
    if (isDefaultDatabase(path)) {
        QString stored;
        if (CRegistry::readValue(SettingsKey::Database, &stored) == RegistryNotFound)
            return true;
        return CRegistry::removeValue(SettingsKey::Database) == RegistryOk;
    }
    return CRegistry::writeString(SettingsKey::Database, normalised(path)) == RegistryOk;
}

QString vehicleDisplayName(const QString& name, const QString& path) {
    return name.isEmpty() ? QFileInfo(path).completeBaseName() : name;
}

QString vehicleDisplayName(const QString& path) {
    return vehicleDisplayName(readVehicleName(readSettingsBlock(path)), path);
}

QString vehicleNameToStore(const QString& typed, const QString& path) {
    const QString name = fittedVehicleName(typed);
    return name == QFileInfo(path).completeBaseName() ? QString() : name;
}

QString vehicleTitle(const QString& path, const QString& vehicleName, const QString& programName,
                     bool unread) {
    const bool isDefault = isDefaultDatabase(path) && vehicleName.isEmpty();
    QString name = isDefault ? programName : vehicleDisplayName(vehicleName, path);
    if (unread)
        name = translate(Text::Main_TitleNotRead).arg(name);
    // "[*]" is where the window shows that the log has unsaved changes.
    name += QStringLiteral("[*]");
    return isDefault ? name : name + QStringLiteral(" \u2013 ") + programName;
}

QStringList addRecentVehicle(QStringList recent, const QString& path) {
    recent.removeIf([&path](const QString& entry) { return sameLogFile(entry, path); });
    recent.prepend(normalised(path));
    while (recent.size() > kMaxRecentVehicles)
        recent.removeLast();
    return recent;
}

QStringList readRecentVehicles() {
    QString stored;
    if (CRegistry::readValue(SettingsKey::RecentVehicles, &stored) != RegistryOk)
        return {};
    QStringList recent = stored.split(u'\n', Qt::SkipEmptyParts);
    while (recent.size() > kMaxRecentVehicles)
        recent.removeLast();
    return recent;
}

bool writeRecentVehicles(const QStringList& recent) {
    return CRegistry::writeString(SettingsKey::RecentVehicles, recent.join(u'\n')) == RegistryOk;
}
