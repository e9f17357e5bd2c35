#include "core/recovery.h"

#include "core/paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString recoveryFilePath(const QString& logPath) {
    const QFileInfo log(logPath);
    // The folder may be gone: the path is taken as given, made absolute and clean.
    const QString absolute = QDir::cleanPath(log.absoluteFilePath());
    const QByteArray hash =
        QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    const QString name =
        log.completeBaseName() + u'-' + QString::fromLatin1(hash) + QStringLiteral(".fil");
    return QDir(recoveryFolder()).filePath(name);
}

DatabaseWriteStatus writeRecoveryFile(const QString& logPath, const DatabaseHeader& header,
                                      const DatabaseTables& tables, FileStamp* ours) {
    const QString path = recoveryFilePath(logPath);
    const FileStamp found = fileStamp(path);
    if (found.exists && found != *ours && !QFile::rename(path, backupFilePath(path)))
        return DatabaseWriteStatus::BackupFailed;
    return writeDatabaseFile(path, header, tables, false, ours);
}

std::optional<RecoveredFills> pendingRecovery(const QString& logPath) {
    RecoveredFills found{recoveryFilePath(logPath), {}};
    const FileStamp recovery = fileStamp(found.path);
    const FileStamp log = fileStamp(logPath);
    if (!recovery.exists || (log.exists && log.modifiedNs >= recovery.modifiedNs))
        return std::nullopt;
    if (readDatabaseFile(found.path, &found.tables) != DatabaseReadStatus::Complete)
        return std::nullopt;
    return found;
}
