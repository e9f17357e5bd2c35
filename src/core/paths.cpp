#include "core/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
std::optional<QString> programFolderOverride;

// Makes folder open to its user only when it is new; its parent is made as usual.
QString privateFolder(const QString& folder) {
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QDir().mkdir(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
}
} // namespace

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

QString stateFolder() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // A relative XDG_STATE_HOME is to be ignored.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#endif
    return privateFolder(QDir(base).filePath(QStringLiteral("Tankometer")));
}

QString debugLogPath() {
    return QDir(stateFolder()).filePath(QStringLiteral("tkdebug.log"));
}

QString recoveryFolder() {
    return privateFolder(QDir(stateFolder()).filePath(QStringLiteral("recovery")));
}

QString programFolder() {
    return programFolderOverride ? *programFolderOverride : QCoreApplication::applicationDirPath();
}

void setProgramFolderOverride(std::optional<QString> folder) {
    programFolderOverride = std::move(folder);
}

QString languageBaseFolder() {
    const auto hasLanguages = [](const QString& folder) {
        return QFileInfo(folder + QStringLiteral("/lang")).isDir();
    };
    const QString program = programFolder();
    if (hasLanguages(program))
        return program;
    // The path from the installed executable's folder to the installed data folder.
    const QString installed =
        QDir::cleanPath(program + u'/' + QStringLiteral(TANKOMETER_DATA_FROM_PROGRAM));
    return hasLanguages(installed) ? installed : program;
}

QStringList moduleFolders() {
    const QString program = programFolder();
    return {program,
            QDir::cleanPath(program + u'/' + QStringLiteral(TANKOMETER_MODULES_FROM_PROGRAM))};
}
