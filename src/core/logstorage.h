#pragma once

// Where the open log meets its file. Every change is written within a moment, atomically, on a
// worker thread. The file is watched and checked again before each write and before the rename
// that ends it: a copy that another program (a sync tool) put there is merged three-way into the
// log (against the state this program last read or wrote) and the result written at once; a file
// that does not read is moved aside. A file that went away or cannot be written is reported
// once, the fills stay open, and they are written at once to the
// log's recovery file (core/recovery.h), every time the log cannot be written.

#include "core/recovery.h"
#include "db/databasefile.h"
#include "db/filestamp.h"
#include "db/logsettings.h"

#include <QObject>
#include <memory>
#include <optional>

class CFuelDatabase;
class CLogDocument;
class QFileSystemWatcher;
class QTimer;
template <typename T> class QFutureWatcher;
struct LogWrite;

class CLogStorage : public QObject {
    Q_OBJECT
public:
    // Where the storage stands; exactly one of these at a time.
    enum class State {
        Closed,       // no log read yet: nothing is written
        Idle,         // no write under way (a change may wait for the timer)
        Writing,      // the worker writes the log
        WritingAgain, // the worker writes, and a change came since: another write follows
        Unwritable,   // the last write failed (said once); every change tries again
        Gone,         // the file went away (said once); only Save as writes again
    };

    // How long after a change its write starts: changes made in one go are written once.
    static constexpr int kWriteDelayMs = 200;
    // How often a write asked for (save, Exit) merges and tries again when another program
    // replaced the file while it was written.
    static constexpr int kWriteAttempts = 5;

    explicit CLogStorage(CLogDocument& document);
    ~CLogStorage() override;

    State state() const { return m_state; }

    // The document's log was just read from its file; stamp is the file's before the read,
    // tables what the read gave, none when the log itself is still just that.
    void opened(const FileStamp& stamp, std::optional<DatabaseTables> tables);
    // The open log is about to change: a base that is still the log itself becomes a copy.
    void keepBase();
    // A step, an undo or a redo changed the log.
    void changed();

    // Writes what is not on disk yet and waits for it (and for a write under way); true when
    // the file holds the log. Reports its own failure.
    bool save();
    // Writes the log now, whether or not it changed (the per-log settings are no step).
    bool writeNow();
    // Writes the log to path and makes that its file; false (nothing changes) when it failed.
    bool saveAs(const QString& path);
    // For the very end of the process: writes what is not on disk, with no message and no
    // event loop, into the log or, failing that (or when another program changed it), into the
    // recovery file.
    SavedTo saveWithoutMessages();
    // As save, but asking nothing and showing no message (a signal ends the process).
    SavedTo saveWithoutQuestions();
    // The recovery file when it holds the log as it is now; empty otherwise.
    QString recoveryPath() const;

    // The database's file written at path; a failure is reported when `report` is set.
    bool writeFile(const CFuelDatabase& database, const QString& path, bool keepOldFile,
                   FileStamp* stamp, bool report) const;

private:
    QString filePath() const;
    void scheduleWrite();
    void startWrite();
    void finishWrite();
    // Waits for the worker, takes in its write and stops the timer: nothing is under way after.
    void settle();
    // Before a write: whether the file is still ours. A copy another program put there is
    // merged (as a step); a file that does not read is kept as a backup by the write; a file
    // that is gone is reported and not written. False when the write must not happen.
    bool checkFile();
    void mergeOtherCopy(const DatabaseTables& theirs);
    bool writeSynchronously();
    // A write of the whole log reached the disk: the file is ours as `stamp` says.
    void logWritten(const FileStamp& stamp, DatabaseTables written, bool keptOldFile, bool clean);
    // The file now holds tables (read or written here).
    void newBase(DatabaseTables tables);
    const DatabaseTables& base() const;
    // The log could not be written to its file (state Unwritable or Gone); `text` says why
    // and is shown once per run of failures.
    void cannotWrite(State state, const QString& text);
    // After a write that moved a file of another kind from the log's path to backup (empty:
    // none): the user hears of both files.
    void foreignFileKept(const QString& backup);
    // Writes the log to its recovery file; says where the fills are now.
    QString keepInRecovery();
    void watchFile();

    CLogDocument& m_document;
    State m_state = State::Closed;
    QTimer* m_writeTimer = nullptr;
    QFutureWatcher<LogWrite>* m_writeWatcher = nullptr;
    QFileSystemWatcher* m_fileWatcher = nullptr;
    // The file as this program last read or wrote it.
    FileStamp m_stamp;
    // The log as the file held it then: the base of a merge with another copy. Right after a
    // read the open log itself is that base, until its first change (see keepBase), so that the
    // read costs no copy of its tables.
    DatabaseTables m_base;
    bool m_baseIsLog = false;
    // The base before the last write, for a copy made from the file before that write.
    std::optional<DatabaseTables> m_olderBase;
    // What the write under way puts on disk (the worker reads it until the write is done): the
    // base once it is there.
    std::shared_ptr<DatabaseTables> m_writing;
    // Counts every change; a write makes the log clean only if none came since it started.
    quint64 m_changeCount = 0;
    // The file at the path is something else than a log: the next write keeps it as a backup.
    bool m_keepForeignFile = false;
    // The recovery file as this session last wrote it, and the change it holds.
    FileStamp m_recoveryStamp;
    std::optional<quint64> m_recoveredChange;
    // No message is shown (a signal ends the process).
    bool m_quiet = false;
};
