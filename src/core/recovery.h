#pragma once

// The recovery file of a log: where the open fills go when the log itself cannot be written (a
// full disk, a read-only file system, a folder that went away or became a file). It lies in the
// user's private state folder (recoveryFolder), never beside the log, and is a log file of its
// own, written whole or not at all and readable by its user only. Every log has its own: the
// name is the log's base name and a hash of its absolute path. The next start offers the fills
// of a recovery file that is newer than its log.

#include "db/databasefile.h"
#include "db/filestamp.h"

#include <QString>
#include <optional>

// The recovery file of the log at logPath.
QString recoveryFilePath(const QString& logPath);

// Writes the log file of header and tables as the recovery file of logPath. A file found there that
// is not the one this session last wrote (*ours, updated on success) was left by an earlier session
// and may hold fills the log lacks: it is first moved aside to its backup name (backupFilePath),
// never written over.
DatabaseWriteStatus writeRecoveryFile(const QString& logPath, const DatabaseHeader& header,
                                      const DatabaseTables& tables, FileStamp* ours);

// Where the fills of a log are once it is closed.
enum class SavedTo { Log, Recovery, Nowhere };

struct RecoveredFills {
    QString path; // the recovery file
    DatabaseTables tables;
};

// The recovery file of logPath when it is newer than the log (or the log is missing) and reads
// whole; nothing otherwise.
std::optional<RecoveredFills> pendingRecovery(const QString& logPath);
