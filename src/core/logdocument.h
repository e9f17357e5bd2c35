#pragma once

// The open vehicle log: its database, its file, whether it has unsaved changes, and the undo
// history of its changes. Every change of the log goes through here, as one undoable step, and
// is announced at the rows it touches, before and after it happens, so that a list model can
// follow it exactly.

#include "csv/csvimport.h"
#include "csv/otherlogvalues.h"
#include "db/fueldatabase.h"

#include <QObject>
#include <QString>
#include <vector>

class QUndoStack;
class CCsvReader;

// One step of the log: the fills it takes out and puts in (at their final rows, ascending) and
// the station and driver records it renames. Undo applies it backwards.
struct LogChange {
    std::vector<int> removedRows;
    std::vector<FillRecord> removedFills;
    std::vector<int> insertedRows;
    std::vector<FillRecord> insertedFills;
    // A record as it was before the step and as the step leaves it.
    struct Renamed {
        int id = -1;
        QString before;
        QString after;
    };
    std::vector<Renamed> stations;
    std::vector<Renamed> drivers;
};

class CLogDocument : public QObject {
    Q_OBJECT
public:
    enum StepKind { AddFillStep, EditFillStep, RemoveFillStep, ImportStep };

    explicit CLogDocument(const QString& filePath = {}, QObject* parent = nullptr);
    ~CLogDocument() override;

    const CFuelDatabase& database() const { return m_database; }
    QString filePath() const { return m_database.filePath(); }
    QUndoStack* undoStack() const { return m_undoStack; }
    bool hasUnsavedChanges() const;
    // Whether the log has been read from its file (before, the path is only chosen).
    bool isLoaded() const { return m_loaded; }

    // Where the database reports why a load or a save failed.
    void setMessageSink(CFuelDatabase::MessageSink sink);

    // Reads the log from its file; whatever the read leaves is shown.
    void load();
    // Writes the log; true when the file was written whole. Reports its own failure.
    bool save();

    // The steps. Each returns the row the changed fill now has (-1 when nothing changed).
    int addFill(const QString& station, const FillRecord& fill, const QString& driver);
    // The fill at row takes the edited values. A station or driver name that another record
    // already has (letter case ignored) moves the fill to that record; any other changed name
    // renames the fill's own station or driver for every fill that refers to it.
    int editFill(int row, const QString& station, const FillRecord& fill, const QString& driver);
    int removeFill(int row);
    CsvImportResult importCsv(CCsvReader& reader, const CsvColumnMap& columns);
    OtherLogSummary importOtherLog(const QList<OtherLogRow>& rows);

    // Saves the open log and opens the one at path, with no undo history; false (the open log
    // stays) when the open log could not be saved. Before the first load, only chooses the path.
    bool switchTo(const QString& path);
    // Saves the open log, writes an empty log at path and opens it; false when either write
    // failed, and the open log stays open as it was.
    bool createLog(const QString& path);

    // The text of the step that Undo or Redo would take back or do again, in the current language.
    QString undoText() const;
    QString redoText() const;

signals:
    // Around a change of rows first..last (inclusive): the rows are about to be inserted or
    // removed, then they have been. The fills around them are left as they were, but their
    // derived values (which depend on the fill before) may change.
    void fillsAboutToBeInserted(int first, int last);
    void fillsInserted(int first, int last);
    void fillsAboutToBeRemoved(int first, int last);
    void fillsRemoved(int first, int last);
    // Fills changed in place (their own values or their station's or driver's name).
    void fillsChanged(int first, int last);
    void aboutToReplaceLog();
    void logReplaced();
    // After a step, an undo or a redo: the row the user should see selected (-1: the selection
    // stays with the fill it was on).
    void stepShown(int row);
    void unsavedChangesChanged(bool unsaved);
    // Another log was opened, or the first one loaded (after logReplaced), or only its path
    // chosen before the first load.
    void logOpened();

private:
    friend class CLogStep;
    void push(StepKind kind, LogChange change, int count, int shownRow);
    void apply(const LogChange& change, bool forward);
    void applyRows(const std::vector<int>& removedRows, const std::vector<int>& insertedRows,
                   const std::vector<FillRecord>& insertedFills);
    void replaceDatabase(CFuelDatabase database);

    CFuelDatabase m_database;
    QUndoStack* m_undoStack = nullptr;
    CFuelDatabase::MessageSink m_messageSink;
    bool m_loaded = false;
};
