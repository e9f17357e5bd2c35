#include "core/logstorage.h"

#include "core/logdocument.h"
#include "core/recovery.h"
#include "db/logmerge.h"
#include "localisation/language.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QStringList>
#include <QTimer>
#include <QUndoStack>
#include <QtConcurrent/QtConcurrentRun>
#include <utility>

struct LogWrite {
    DatabaseWriteStatus status = DatabaseWriteStatus::WriteFailed;
    FileStamp stamp;
    bool keptOldFile = false;
    quint64 changeCount = 0;
    // The file of another kind that the write keeps, as a backup of this name.
    QString foreignBackup;
    // The state the write started from: a failure after a failure is not said again.
    CLogStorage::State startedFrom = CLogStorage::State::Idle;
};

CLogStorage::CLogStorage(CLogDocument& document)
    : QObject(&document), m_document(document), m_writeTimer(new QTimer(this)),
      m_writeWatcher(new QFutureWatcher<LogWrite>(this)),
      m_fileWatcher(new QFileSystemWatcher(this)) {
    m_writeTimer->setSingleShot(true);
    m_writeTimer->setInterval(kWriteDelayMs);
    connect(m_writeTimer, &QTimer::timeout, this, &CLogStorage::startWrite);
    connect(m_writeWatcher, &QFutureWatcher<LogWrite>::finished, this, &CLogStorage::finishWrite);
    // Another program wrote the file: its changes come in now, not only at the next change here.
    // During a write, the file is looked at when the write is done.
    connect(m_fileWatcher, &QFileSystemWatcher::fileChanged, this, [this] {
        watchFile();
        if (m_state != State::Writing && m_state != State::WritingAgain &&
            fileStamp(filePath()) != m_stamp)
            scheduleWrite();
    });
}

CLogStorage::~CLogStorage() = default;

QString CLogStorage::filePath() const {
    return m_document.filePath();
}

void CLogStorage::opened(const FileStamp& stamp, std::optional<DatabaseTables> tables) {
    m_state = State::Idle;
    m_changeCount = 0;
    m_recoveredChange.reset();
    m_stamp = stamp;
    m_baseIsLog = !tables;
    m_base = tables ? std::move(*tables) : DatabaseTables();
    m_olderBase.reset();
    m_keepForeignFile = false;
    watchFile();
    if (!stamp.exists)
        scheduleWrite();
}

void CLogStorage::changed() {
    ++m_changeCount;
    scheduleWrite();
}

void CLogStorage::settle() {
    m_writeWatcher->waitForFinished();
    finishWrite();
    m_writeTimer->stop();
}

bool CLogStorage::save() {
    settle();
    const CFuelDatabase& database = m_document.database();
    const bool onDisk = !m_document.hasUnsavedChanges() && !database.mustKeepOldFile() &&
                        !m_keepForeignFile && m_stamp.exists;
    if (onDisk && fileStamp(filePath()) == m_stamp)
        return true;
    return writeSynchronously();
}

bool CLogStorage::writeNow() {
    settle();
    return writeSynchronously();
}

SavedTo CLogStorage::saveWithoutMessages() {
    m_writeWatcher->waitForFinished();
    const bool writing = m_state == State::Writing || m_state == State::WritingAgain;
    const LogWrite last = writing ? m_writeWatcher->result() : LogWrite();
    const bool onDisk =
        !m_document.hasUnsavedChanges() || (writing && last.changeCount == m_changeCount &&
                                            last.status == DatabaseWriteStatus::Written);
    if (m_state == State::Closed || onDisk)
        return SavedTo::Log;
    // No window may be touched now, so nothing is merged: a file another program changed (or
    // took away) is left as it is, and the fills go to the recovery file, which the next start
    // offers.
    const CFuelDatabase& database = m_document.database();
    const bool lastWritten = writing && last.status == DatabaseWriteStatus::Written;
    const bool ours = fileStamp(filePath()) == (lastWritten ? last.stamp : m_stamp);
    if (ours && writeFile(database, filePath(), database.mustKeepOldFile() || m_keepForeignFile,
                          nullptr, false))
        return SavedTo::Log;
    keepInRecovery();
    return recoveryPath().isEmpty() ? SavedTo::Nowhere : SavedTo::Recovery;
}

SavedTo CLogStorage::saveWithoutQuestions() {
    m_quiet = true;
    const bool saved = save();
    m_quiet = false;
    if (saved)
        return SavedTo::Log;
    return recoveryPath().isEmpty() ? SavedTo::Nowhere : SavedTo::Recovery;
}

QString CLogStorage::recoveryPath() const {
    return m_recoveredChange == m_changeCount ? recoveryFilePath(filePath()) : QString();
}

QString CLogStorage::keepInRecovery() {
    const CFuelDatabase& database = m_document.database();
    const QString path = QDir::toNativeSeparators(recoveryFilePath(filePath()));
    const DatabaseWriteStatus status =
        writeRecoveryFile(filePath(), database.header(), database.tables(), &m_recoveryStamp);
    if (status != DatabaseWriteStatus::Written) {
        m_recoveredChange.reset();
        return translate(Text::Main_RecoveryFailed).arg(path);
    }
    m_recoveredChange = m_changeCount;
    return translate(Text::Main_RecoveryWritten).arg(path);
}

bool CLogStorage::writeFile(const CFuelDatabase& database, const QString& path, bool keepOldFile,
                            FileStamp* stamp, bool report) const {
    const DatabaseWriteStatus status =
        writeDatabaseFile(path, database.header(), database.tables(), keepOldFile, stamp);
    if (status != DatabaseWriteStatus::Written && report)
        m_document.report(writeStatusMessage(status));
    return status == DatabaseWriteStatus::Written;
}

void CLogStorage::keepBase() {
    if (!m_baseIsLog)
        return;
    m_base = copyOfTables(m_document.database().tables());
    m_baseIsLog = false;
}

const DatabaseTables& CLogStorage::base() const {
    return m_baseIsLog ? m_document.database().tables() : m_base;
}

void CLogStorage::newBase(DatabaseTables tables) {
    keepBase();
    m_olderBase = std::move(m_base);
    m_base = std::move(tables);
}

void CLogStorage::logWritten(const FileStamp& stamp, DatabaseTables written, bool keptOldFile,
                             bool clean) {
    if (keptOldFile) {
        m_document.changeLog().oldFileKept();
        m_keepForeignFile = false;
    }
    m_stamp = stamp;
    newBase(std::move(written));
    m_state = State::Idle;
    if (clean)
        m_document.undoStack()->setClean();
    watchFile();
    emit m_document.written();
}

void CLogStorage::cannotWrite(State state, const QString& text) {
    const bool said = m_state == state;
    QString kept;
    if (m_state != State::Closed) {
        m_state = state;
        // Every time: the recovery file then holds the log as it is now.
        kept = keepInRecovery();
    }
    emit m_document.notice(kept.isEmpty() ? text : text + u' ' + kept);
    if (!said && !m_quiet)
        m_document.report(kept.isEmpty() ? text : text + u'\n' + kept);
}

bool CLogStorage::writeSynchronously() {
    DatabaseWriteStatus status = DatabaseWriteStatus::Changed;
    bool keep = false;
    QString foreignBackup;
    FileStamp stamp;
    // Another program that keeps replacing the file while this one writes wins in the end: its
    // file stays, and the fills stay open here.
    for (int attempt = 0; attempt < kWriteAttempts && status == DatabaseWriteStatus::Changed;
         ++attempt) {
        if (!checkFile())
            return false;
        const CFuelDatabase& database = m_document.database();
        keep = database.mustKeepOldFile() || m_keepForeignFile;
        foreignBackup = m_keepForeignFile ? backupFilePath(filePath()) : QString();
        status = writeDatabaseFile(filePath(), database.header(), database.tables(), keep, &stamp,
                                   &m_stamp);
    }
    if (status != DatabaseWriteStatus::Written) {
        // Asked for by the user: said every time.
        if (m_state == State::Unwritable)
            m_state = State::Idle;
        cannotWrite(State::Unwritable, writeStatusMessage(status));
        return false;
    }
    logWritten(stamp, copyOfTables(m_document.database().tables()), keep, true);
    foreignFileKept(foreignBackup);
    return true;
}

void CLogStorage::foreignFileKept(const QString& backup) {
    if (backup.isEmpty())
        return;
    const QString text =
        translate(Text::Main_OtherCopyUnreadable)
            .arg(QDir::toNativeSeparators(filePath()), QDir::toNativeSeparators(backup));
    emit m_document.notice(text);
}

void CLogStorage::scheduleWrite() {
    if (m_state == State::Closed)
        return;
    if (m_state == State::Writing)
        m_state = State::WritingAgain;
    else if (m_state != State::WritingAgain && !m_writeTimer->isActive())
        m_writeTimer->start();
}

void CLogStorage::startWrite() {
    if (m_state == State::Writing || m_state == State::WritingAgain) {
        m_state = State::WritingAgain;
        return;
    }
    if (!checkFile())
        return;
    // A file of another kind in the log's place is moved aside now, not at the next change.
    if (!m_document.hasUnsavedChanges() && m_stamp.exists && !m_keepForeignFile)
        return;
    const CFuelDatabase& database = m_document.database();
    const bool keep = database.mustKeepOldFile() || m_keepForeignFile;
    const bool foreign = m_keepForeignFile;
    const QString path = filePath();
    const quint64 changeCount = m_changeCount;
    const State from = m_state;
    const FileStamp expected = m_stamp;
    // The tables are copied here, on this thread, so that the log may change while the worker
    // writes the copy; the file's bytes are made from it on the worker, straight into the file.
    const DatabaseHeader header = database.header();
    m_writing = std::make_shared<DatabaseTables>(copyOfTables(database.tables()));
    std::shared_ptr<const DatabaseTables> tables = m_writing;
    m_state = State::Writing;
    m_writeWatcher->setFuture(
        QtConcurrent::run([path, header, tables, keep, foreign, changeCount, from, expected] {
            LogWrite write;
            if (foreign)
                write.foreignBackup = backupFilePath(path);
            write.status = writeDatabaseFile(path, header, *tables, keep, &write.stamp, &expected);
            write.keptOldFile = keep;
            write.changeCount = changeCount;
            write.startedFrom = from;
            return write;
        }));
}

void CLogStorage::finishWrite() {
    if (m_state != State::Writing && m_state != State::WritingAgain)
        return;
    bool again = m_state == State::WritingAgain;
    const LogWrite write = m_writeWatcher->result();
    if (write.status == DatabaseWriteStatus::Written) {
        logWritten(write.stamp, std::move(*m_writing), write.keptOldFile,
                   write.changeCount == m_changeCount);
        foreignFileKept(write.foreignBackup);
        // Another program's copy renamed over the file since this write's rename is merged now.
        const FileStamp now = fileStamp(filePath());
        if (now.exists && now != m_stamp)
            again = true;
    } else if (write.status == DatabaseWriteStatus::Changed) {
        // Another program replaced the file while it was written: its copy is merged and the
        // log written again.
        m_state = write.startedFrom;
        startWrite();
        return;
    } else {
        // The fills stay here, and every change tries again.
        m_state = write.startedFrom;
        cannotWrite(State::Unwritable, writeStatusMessage(write.status));
    }
    if (again || write.changeCount != m_changeCount)
        scheduleWrite();
}

bool CLogStorage::checkFile() {
    const FileStamp now = fileStamp(filePath());
    if (now == m_stamp)
        return true;
    if (m_stamp.exists && !now.exists) {
        // A removable disk taken away, a folder renamed: the fills stay here until the user
        // saves them elsewhere. The file is not made again behind the user's back.
        cannotWrite(State::Gone,
                    translate(Text::Main_LogFileGone).arg(QDir::toNativeSeparators(filePath())));
        return false;
    }
    DatabaseTables theirs;
    const DatabaseReadStatus status = readDatabaseFile(filePath(), &theirs);
    m_stamp = now;
    if (status == DatabaseReadStatus::Complete) {
        mergeOtherCopy(theirs);
        newBase(std::move(theirs));
    } else if (status != DatabaseReadStatus::NoFile) {
        // Never merged: the write that follows keeps it as a backup (and says so).
        m_keepForeignFile = true;
    }
    return true;
}

namespace {

// How much of the open log a merge takes away.
int loss(const LogMerge& merge) {
    return merge.removed + merge.changed;
}

} // namespace

// The merge is applied as a step of its own, so that the list hears of each row it changes and
// Undo can take it back. The per-log settings are no step: they are taken over as they are.
void CLogStorage::mergeOtherCopy(const DatabaseTables& theirs) {
    CFuelDatabase& database = m_document.changeLog();
    LogMerge merge = mergeThreeWay(base(), database.tables(), theirs);
    // A copy made from the file as it was before this program's last write (a sync tool bringing
    // an edit made elsewhere a moment late) lacks what that write changed: against the earlier
    // state that is no change of theirs. Of the two bases, the one that takes less away from the
    // open log is taken, the later one when they take as much: in doubt, nothing is lost.
    if (m_olderBase && loss(merge) > 0) {
        LogMerge older = mergeThreeWay(*m_olderBase, database.tables(), theirs);
        if (loss(older) < loss(merge))
            merge = std::move(older);
    }
    // A copy the handheld saved has lost the settings block: its readings are still in ours.
    if (merge.settings &&
        readLogSettings(*merge.settings).value_or(LogUnits{}).stored == database.units().stored) {
        database.setSettingsBlock(*merge.settings);
        m_document.markCharges();
        emit m_document.unitsChanged();
    }
    if (merge.removedRows.empty() && merge.insertedRows.empty() && !merge.costs)
        return;
    LogChange change;
    if (merge.costs) {
        change.costsBefore = database.costs();
        change.costsAfter = std::move(*merge.costs);
    }
    change.removedRows = merge.removedRows;
    for (const int row : merge.removedRows) {
        change.removedFills.push_back(*database.getFill(row));
        change.removedFlags.push_back(database.getFillFlags(row));
    }
    resolveMergedFills(database, merge, &change.insertedFills, &change.insertedFlags);
    change.insertedRows = merge.insertedRows;
    m_document.push(CLogDocument::OtherCopyStep, std::move(change), 0, -1);
    QStringList said;
    // A change of the costs alone is not told as fills added, removed and changed, all none.
    if (merge.added > 0 || merge.removed > 0 || merge.changed > 0 || !merge.costs) {
        said.append(translate(Text::Main_OtherCopyMerged)
                        .arg(merge.added)
                        .arg(merge.removed)
                        .arg(merge.changed));
    }
    if (merge.conflicts > 0)
        said.append(translate(Text::Main_OtherCopyConflicts).arg(merge.conflicts));
    if (merge.costs)
        said.append(translate(Text::Main_OtherCopyCosts));
    emit m_document.notice(said.join(u' '));
}

void CLogStorage::watchFile() {
    if (!m_fileWatcher->files().isEmpty())
        m_fileWatcher->removePaths(m_fileWatcher->files());
    if (m_state != State::Closed && QFileInfo::exists(filePath()))
        m_fileWatcher->addPath(filePath());
}

bool CLogStorage::saveAs(const QString& path) {
    settle();
    FileStamp stamp;
    if (!writeFile(m_document.database(), path, false, &stamp, true)) {
        if (m_document.hasUnsavedChanges())
            scheduleWrite();
        return false;
    }
    m_document.changeLog().setFilePath(path);
    m_keepForeignFile = false;
    logWritten(stamp, copyOfTables(m_document.database().tables()), false, true);
    m_olderBase.reset();
    return true;
}
