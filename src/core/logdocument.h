#pragma once

// The open vehicle log: its database, its file, whether it has unsaved changes, and the undo
// history of its changes. The log reaches its file within a moment of every change (see
// CLogStorage). Every change of the log goes through here, as one undoable step, and is announced
// at the rows it touches, before and after it happens, so that a list model can follow it exactly.

#include "core/logstorage.h"
#include "csv/csvimport.h"
#include "csv/otherlogvalues.h"
#include "db/filestamp.h"
#include "db/fueldatabase.h"

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

class QUndoStack;
class CCsvReader;

// One step of the log: the fills it takes out and puts in (at their final rows, ascending) and
// the station and driver records it renames. Undo applies it backwards.
struct LogChange {
    std::vector<int> removedRows;
    std::vector<FillRecord> removedFills;
    std::vector<FillFlags> removedFlags; // beside removedFills; may be shorter (no flags)
    std::vector<int> insertedRows;
    std::vector<FillRecord> insertedFills;
    std::vector<FillFlags> insertedFlags;
    // A record as it was before the step and as the step leaves it.
    struct Renamed {
        int id = -1;
        QString before;
        QString after;
    };
    std::vector<Renamed> stations;
    std::vector<Renamed> drivers;
    // The costs, categories and reminders as they were before the step and as the step leaves
    // them; both given or neither (the step leaves them alone). A step may change fills and costs
    // together, as an import that brings costs along does: one undo takes back both.
    std::optional<VehicleCosts> costsBefore;
    std::optional<VehicleCosts> costsAfter;
};

class CLogDocument : public QObject {
    Q_OBJECT
public:
    enum StepKind {
        AddFillStep,
        EditFillStep,
        RemoveFillStep,
        ImportStep,
        OtherCopyStep,
        NoteMarkersStep,
        RecoveredStep,
        AddCostStep,
        EditCostStep,
        RemoveCostsStep,
        AddCategoryStep,
        RenameCategoryStep,
        AddReminderStep,
        EditReminderStep,
        RemoveRemindersStep,
        ReminderDoneStep,
        ImportCostsStep,
        ImportFillsCostsStep
    };

    explicit CLogDocument(const QString& filePath = {}, QObject* parent = nullptr);
    ~CLogDocument() override;

    const CFuelDatabase& database() const { return m_database; }
    QString filePath() const { return m_database.filePath(); }
    QUndoStack* undoStack() const { return m_undoStack; }
    bool hasUnsavedChanges() const;
    // Whether the log has been read from its file (before, the path is only chosen).
    bool isLoaded() const { return m_storage->state() != CLogStorage::State::Closed; }
    // Whether the file at the path held something this version could not read at all (a later
    // format, no log header, not a regular file): the log shows none of it.
    bool fileUnread() const { return m_fileUnread; }

    // Where the database reports why a load or a save failed.
    void setMessageSink(CFuelDatabase::MessageSink sink);

    // Reads the log from its file; whatever the read leaves is shown. A log that has no file
    // yet is written at once. A vehicle's file that is no log is refused as switchTo does, and
    // the default log opens instead.
    void load();
    // Writes what is not on disk yet and waits for it (and for a write under way); true when
    // the file holds the log. Reports its own failure.
    bool save();
    // Writes the log to path and makes that its file; false (nothing changes) when it failed.
    bool saveAs(const QString& path);
    // Takes the log back to the state it had when it was opened (undoing every step).
    void discardSession();
    // For the very end of the process (the display went away): writes what is not on disk,
    // with no message and no event loop. Returns where the fills are.
    SavedTo saveWithoutMessages();
    // As save, for a signal that ends the process: asks nothing and shows no message; the
    // fills go to the recovery file when the log cannot be written. Returns where they are.
    SavedTo saveWithoutQuestions();
    // The recovery file when it holds the log as it is now (the log could not be written);
    // empty otherwise.
    QString recoveryPath() const;

    // The steps. Each returns the row the changed fill now has (-1 when nothing changed).
    int addFill(const QString& station, const FillRecord& fill, const QString& driver,
                FillFlags flags = {});
    // The fill at row takes the edited values. A station or driver name that another record
    // already has (letter case ignored) moves the fill to that record; any other changed name
    // renames the fill's own station or driver for every fill that refers to it.
    int editFill(int row, const QString& station, const FillRecord& fill, const QString& driver,
                 FillFlags flags = {});
    int removeFill(int row);
    CsvImportResult importCsv(CCsvReader& reader, const CsvColumnMap& columns);
    // Adds the fills of a readCsvImport of this log that it does not hold yet.
    CsvImportResult importCsv(CsvImportResult read);
    // The fills of the rows and the costs of the cost rows that are not skipped, in one step (the
    // categories the costs name that the log lacks are added with them).
    OtherLogSummary importOtherLog(const QList<OtherLogRow>& rows,
                                   const QList<OtherCostRow>& costs = {});
    // Fills whose notes begin with the partial or missed markers that imports once wrote there
    // (any of the given texts) take the flags instead, and lose the markers; one step. Returns
    // how many fills changed.
    int convertNoteMarkers(const NoteMarkers& markers);
    // How many fills convertNoteMarkers would change.
    int noteMarkerCount(const NoteMarkers& markers) const;
    // The fills of a recovery file that the log lacks (mergeOtherCopy), and its costs,
    // categories and reminders that the log lacks, added as one step; returns how many fills.
    int addRecoveredFills(const DatabaseTables& recovered);

    // Saves the open log and opens the one at path, with no undo history. Something at the path
    // that is not a log (no log header, not a regular file) is refused with a message naming
    // it: the open log stays (before the first load, the chosen path) and the file is left as
    // it is. A path with nothing there yet becomes a new log.
    enum class Switch { Opened, NotSaved, NotALog };
    Switch switchTo(const QString& path);
    // Saves the open log, writes an empty log in the given units at path and opens it; false
    // when either write failed, and the open log stays open as it was.
    bool createLog(const QString& path, const LogUnits& units, const QString& vehicleName = {});
    // Stores the units in the log and writes it at once; they are a setting of the log, not a
    // step of its history. False (the units stay chosen here) when the write failed. This is also
    // where the vehicle's energy changes: once it is electric, every fill is a charge (fills
    // added or brought back later too). A vehicle that stops being electric keeps its charges.
    bool setUnits(const LogUnits& units);
    // Names the vehicle (an empty name leaves it to the file's name), stored and written at once
    // like the units.
    bool setVehicleName(const QString& name);

    // Costs, their categories and reminders. Each change is one undoable step like a change of
    // fills, announced by costsChanged or remindersChanged. A cost or reminder is named by its
    // index in costs().costs or costs().reminders (costs stay in date order, so an edit may move
    // one).
    const VehicleCosts& costs() const { return m_database.costs(); }
    void addCost(const CostEntry& cost);
    void editCost(int index, const CostEntry& cost);
    void removeCosts(const std::vector<int>& indexes); // several at once: one step
    // Returns the new category's id.
    int addCostCategory(const QString& name);
    void renameCostCategory(int id, const QString& name);
    void addReminder(const Reminder& reminder);
    void editReminder(int index, const Reminder& reminder);
    void removeReminders(const std::vector<int>& indexes);
    // The reminder was done on date at reading (kNoReading: not given), optionally recorded as
    // the cost given, in one step: a repeating reminder falls due again from there.
    void reminderDone(int index, const QDate& date, qint32 reading,
                      const std::optional<CostEntry>& cost = {});

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
    // Every distance, volume, cost and derived value is now shown in other units.
    void unitsChanged();
    // After a step, an undo or a redo: the row the user should see selected (-1: the selection
    // stays with the fill it was on).
    void stepShown(int row);
    void unsavedChangesChanged(bool unsaved);
    // Another log was opened, or the first one loaded (after logReplaced), or only its path
    // chosen before the first load.
    void logOpened();
    // One line for the user about what happened to the file (shown in the status line).
    void notice(const QString& text);
    // A write of the log has reached the disk.
    void written();
    // The costs or their categories, or the reminders, changed (a step, an undo, another log).
    void costsChanged();
    void remindersChanged();
    // The vehicle was given another name.
    void vehicleNamed();

private:
    friend class CLogStep;
    friend class CLogStorage;
    void push(StepKind kind, LogChange change, int count, int shownRow, int costCount = 0);
    // Pushes the step that turns the costs into `after`; nothing when they are unchanged.
    void pushCosts(StepKind kind, VehicleCosts after, int count = 1);
    LogChange noteMarkerChange(const NoteMarkers& markers) const;
    void apply(const LogChange& change, bool forward);
    void applyRows(const std::vector<int>& removedRows, const std::vector<int>& insertedRows,
                   const std::vector<FillRecord>& insertedFills,
                   const std::vector<FillFlags>& insertedFlags);
    // Reads the log at path and makes it the open log; false (a message said why, nothing
    // changes) when refuse is set and the file is no log.
    bool read(const QString& path, bool refuse);
    void report(const QString& text) const;
    // In a log whose vehicle is electric, the fills at rows (all when empty) become charges.
    void markCharges(const std::vector<int>& rows = {});
    // Makes database the open log, with no undo history; the file was as stamp says and held
    // onDisk.
    void replaceDatabase(CFuelDatabase database, const FileStamp& stamp,
                         std::optional<DatabaseTables> onDisk);

    // The log, to change it: the base of a later merge is kept first.
    CFuelDatabase& changeLog();

    CFuelDatabase m_log;
    // The log, to read it; every change goes through changeLog().
    const CFuelDatabase& m_database = m_log;
    QUndoStack* m_undoStack = nullptr;
    CFuelDatabase::MessageSink m_messageSink;
    bool m_fileUnread = false;
    CLogStorage* m_storage = nullptr;
};
