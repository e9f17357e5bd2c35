#include "core/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {
std::optional<QString> programFolderOverride;
}

QString documentsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    // When it cannot be created (for example a plain file of that name), the files inside it
    // fail to open and their users report that in their own way.
    QDir().mkpath(folder);
    return folder;
}

QString databaseFilePath() {
    return QDir(documentsFolder()).filePath(QStringLiteral("tkbase.fil"));
}

QString debugLogPath() {
    return QDir(documentsFolder()).filePath(QStringLiteral("tkdebug.log"));
}

QString programFolder() {
    return programFolderOverride ? *programFolderOverride : QCoreApplication::applicationDirPath();
}

void setProgramFolderOverride(std::optional<QString> folder) {
    programFolderOverride = std::move(folder);
}
