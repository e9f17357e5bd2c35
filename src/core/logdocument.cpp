#include "core/logdocument.h"

#include "core/debuglog.h"
#include "core/paths.h"
#include "core/vehicles.h"
#include "csv/csvreader.h"
#include "db/calendar.h"
#include "db/logmerge.h"
#include "localisation/language.h"
#include "stats/reminders.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QUndoStack>
#include <algorithm>
#include <utility>

namespace {

// Beyond this many separate runs of rows, a step is announced as a new log rather than run by
// run: each run moves the whole table once.
constexpr std::size_t kMaxAnnouncedRuns = 64;

struct Run {
    std::size_t begin; // index into the rows of the step
    std::size_t end;   // one past the last
};

std::vector<Run> runsOf(const std::vector<int>& rows) {
    std::vector<Run> runs;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (runs.empty() || rows[i] != rows[i - 1] + 1)
            runs.push_back({i, i});
        runs.back().end = i + 1;
    }
    return runs;
}

// The items of the run; a list shorter than the rows (flags) gives what it has of them.
template <typename Item> std::vector<Item> slice(const std::vector<Item>& items, const Run& run) {
    const std::size_t end = std::min(run.end, items.size());
    const std::size_t begin = std::min(run.begin, end);
    return {items.begin() + std::ptrdiff_t(begin), items.begin() + std::ptrdiff_t(end)};
}

const TextId& stepText(CLogDocument::StepKind kind) {
    switch (kind) {
    case CLogDocument::AddFillStep:
        return Text::undo_AddFill;
    case CLogDocument::EditFillStep:
        return Text::undo_EditFill;
    case CLogDocument::RemoveFillStep:
        return Text::undo_RemoveFill;
    case CLogDocument::OtherCopyStep:
        return Text::undo_OtherCopy;
    case CLogDocument::NoteMarkersStep:
        return Text::undo_NoteMarkers;
    case CLogDocument::RecoveredStep:
        return Text::undo_Recovered;
    case CLogDocument::AddCostStep:
        return Text::undo_AddCost;
    case CLogDocument::EditCostStep:
        return Text::undo_EditCost;
    case CLogDocument::RemoveCostsStep:
        return Text::undo_RemoveCosts;
    case CLogDocument::AddCategoryStep:
        return Text::undo_AddCategory;
    case CLogDocument::RenameCategoryStep:
        return Text::undo_RenameCategory;
    case CLogDocument::AddReminderStep:
        return Text::undo_AddReminder;
    case CLogDocument::EditReminderStep:
        return Text::undo_EditReminder;
    case CLogDocument::RemoveRemindersStep:
        return Text::undo_RemoveReminders;
    case CLogDocument::ReminderDoneStep:
        return Text::undo_ReminderDone;
    case CLogDocument::ImportCostsStep:
        return Text::undo_ImportCosts;
    case CLogDocument::ImportFillsCostsStep:
        return Text::undo_ImportFillsCosts;
    case CLogDocument::ImportStep:
        break;
    }
    return Text::undo_Import;
}

// Why the file at path cannot be a log, naming it; empty when it can (a log, a damaged one, or
// nothing there yet).
QString notALogText(const QString& path, DatabaseReadStatus status) {
    const QString name = QDir::toNativeSeparators(path);
    if (status == DatabaseReadStatus::BadHeader)
        return translate(Text::Main_NotALog).arg(name);
    if (status != DatabaseReadStatus::Unopenable)
        return {};
    const QFileInfo info(path);
    if (info.isDir())
        return translate(Text::Main_LogIsFolder).arg(name);
    return translate(info.isFile() ? Text::Main_LogUnreadable : Text::Main_LogNotRegular).arg(name);
}

} // namespace

// One step on the undo stack. Its first redo is the step itself.
class CLogStep : public QUndoCommand {
public:
    CLogStep(CLogDocument& document, CLogDocument::StepKind kind, LogChange change, int count,
             int shownRow, int costCount)
        : m_document(document), m_kind(kind), m_change(std::move(change)), m_count(count),
          m_costCount(costCount), m_shownRow(shownRow) {}

    QString describe() const {
        const QString text = translate(stepText(m_kind));
        if (m_kind == CLogDocument::ImportFillsCostsStep)
            return text.arg(m_count).arg(m_costCount);
        const bool counted = m_kind == CLogDocument::ImportStep ||
                             m_kind == CLogDocument::ImportCostsStep ||
                             m_kind == CLogDocument::NoteMarkersStep;
        return counted ? text.arg(m_count) : text;
    }

    void redo() override {
        m_document.apply(m_change, true);
        emit m_document.stepShown(m_shownRow);
        // Done again after an undo, the step shows the row it changed (none when it changed
        // only costs).
        if (!m_change.insertedRows.empty())
            m_shownRow = m_change.insertedRows.front();
        else if (!m_change.removedRows.empty())
            m_shownRow =
                std::min(m_change.removedRows.front(), m_document.database().getFillCount() - 1);
    }

    void undo() override {
        m_document.apply(m_change, false);
        const std::vector<int>& restored = m_change.removedRows;
        const int count = m_document.database().getFillCount();
        int row = -1;
        if (!restored.empty())
            row = restored.front();
        else if (!m_change.insertedRows.empty())
            row = std::min(m_change.insertedRows.front(), count - 1);
        emit m_document.stepShown(row);
    }

private:
    CLogDocument& m_document;
    CLogDocument::StepKind m_kind;
    LogChange m_change;
    int m_count;
    int m_costCount;
    int m_shownRow;
};

CLogDocument::CLogDocument(const QString& filePath, QObject* parent)
    : QObject(parent), m_log(filePath), m_undoStack(new QUndoStack(this)),
      m_storage(new CLogStorage(*this)) {
    connect(m_undoStack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit unsavedChangesChanged(!clean); });
    connect(m_undoStack, &QUndoStack::indexChanged, m_storage, &CLogStorage::changed);
}

// What is not on disk yet goes there now: a log never loses a fill by being closed.
CLogDocument::~CLogDocument() {
    m_storage->saveWithoutMessages();
}

bool CLogDocument::hasUnsavedChanges() const {
    return !m_undoStack->isClean();
}

void CLogDocument::setMessageSink(CFuelDatabase::MessageSink sink) {
    m_messageSink = std::move(sink);
    m_log.setMessageSink(m_messageSink);
}

void CLogDocument::load() {
    if (!read(filePath(), !isDefaultDatabase(filePath())))
        read(databaseFilePath(), false);
}

bool CLogDocument::read(const QString& path, bool refuse) {
    CFuelDatabase database(path);
    // The read's own message is shown together with what it means for the file, in one box.
    QStringList messages;
    database.setMessageSink([&messages](const QString& text) { messages.append(text); });
    // Taken before the read: a write by another program while we read shows as a change.
    const FileStamp stamp = fileStamp(path);
    const DatabaseReadStatus status = database.load();
    const QString notALog = notALogText(path, status);
    if (refuse && !notALog.isEmpty()) {
        report(notALog + u'\n' + translate(Text::Main_LogNotOpened));
        return false;
    }
    if (status == DatabaseReadStatus::Unopenable)
        messages = QStringList{notALog};
    else if (leavesDataUnread(status))
        messages.append(translate(Text::Main_UnreadFileKept)
                            .arg(QDir::toNativeSeparators(backupFilePath(path))));
    if (!messages.isEmpty())
        report(messages.join(u'\n'));
    database.setMessageSink(m_messageSink);
    if (const QByteArray line = fillExtrasStatusText(database.fillExtrasStatus()); !line.isEmpty())
        debugLog().write(line);
    if (const QByteArray line = costSectionStatusText(database.costSectionStatus());
        !line.isEmpty())
        debugLog().write(line);
    if (database.mustKeepOldFile() && !leavesDataUnread(status))
        debugLog().write("the file is copied to " + QFile::encodeName(backupFilePath(path)) +
                         " before it is next written");
    m_fileUnread = status == DatabaseReadStatus::BadHeader ||
                   status == DatabaseReadStatus::UnknownFormat ||
                   status == DatabaseReadStatus::Unopenable;
    // A first start leaves the new log on disk at once, in the units of the user's country
    // (chosen before the log is shown, so that the list's headers name them from the start).
    std::optional<DatabaseTables> onDisk;
    if (!stamp.exists) {
        onDisk = database.tables();
        database.setNewLogUnits(localeUnits(QLocale()));
    }
    replaceDatabase(std::move(database), stamp, std::move(onDisk));
    return true;
}

void CLogDocument::markCharges(const std::vector<int>& rows) {
    if (m_database.units().energy != VehicleEnergy::Electric)
        return;
    const auto mark = [this](int row) {
        FillFlags flags = m_database.getFillFlags(row);
        if (!flags.charge) {
            flags.charge = true;
            changeLog().setFillFlags(row, flags);
        }
    };
    if (!rows.empty())
        std::for_each(rows.begin(), rows.end(), mark);
    else
        for (int row = 0; row < m_database.getFillCount(); ++row)
            mark(row);
}

CFuelDatabase& CLogDocument::changeLog() {
    m_storage->keepBase();
    return m_log;
}

void CLogDocument::report(const QString& text) const {
    if (m_messageSink)
        m_messageSink(text);
}

bool CLogDocument::save() {
    return m_storage->save();
}

SavedTo CLogDocument::saveWithoutMessages() {
    return m_storage->saveWithoutMessages();
}

SavedTo CLogDocument::saveWithoutQuestions() {
    return m_storage->saveWithoutQuestions();
}

QString CLogDocument::recoveryPath() const {
    return m_storage->recoveryPath();
}

bool CLogDocument::saveAs(const QString& path) {
    if (!m_storage->saveAs(path))
        return false;
    emit logOpened();
    return true;
}

void CLogDocument::discardSession() {
    m_undoStack->setIndex(0);
}

void CLogDocument::replaceDatabase(CFuelDatabase database, const FileStamp& stamp,
                                   std::optional<DatabaseTables> onDisk) {
    emit aboutToReplaceLog();
    m_log = std::move(database);
    m_undoStack->clear();
    m_storage->opened(stamp, std::move(onDisk));
    markCharges();
    emit logReplaced();
    emit logOpened();
    emit costsChanged();
    emit remindersChanged();
}

CLogDocument::Switch CLogDocument::switchTo(const QString& path) {
    if (isLoaded() && !save())
        return Switch::NotSaved;
    // A fresh database: the previous vehicle's fills are never saved into another file.
    return read(path, true) ? Switch::Opened : Switch::NotALog;
}

bool CLogDocument::createLog(const QString& path, const LogUnits& units,
                             const QString& vehicleName) {
    if (isLoaded() && !save())
        return false;
    CFuelDatabase created(path);
    created.setNewLogUnits(units);
    created.setVehicleName(vehicleName);
    if (!m_storage->writeFile(created, path, false, nullptr, true))
        return false;
    changeLog().setFilePath(path);
    load();
    return true;
}

bool CLogDocument::setUnits(const LogUnits& units) {
    changeLog().setUnits(units);
    markCharges();
    emit unitsChanged();
    return m_storage->writeNow();
}

bool CLogDocument::setVehicleName(const QString& name) {
    changeLog().setVehicleName(name);
    emit vehicleNamed();
    return m_storage->writeNow();
}

QString CLogDocument::undoText() const {
    const auto* step = static_cast<const CLogStep*>(m_undoStack->command(m_undoStack->index() - 1));
    return step ? step->describe() : QString();
}

QString CLogDocument::redoText() const {
    const auto* step = static_cast<const CLogStep*>(m_undoStack->command(m_undoStack->index()));
    return step ? step->describe() : QString();
}

void CLogDocument::push(StepKind kind, LogChange change, int count, int shownRow, int costCount) {
    m_undoStack->push(new CLogStep(*this, kind, std::move(change), count, shownRow, costCount));
}

int CLogDocument::addFill(const QString& station, const FillRecord& fill, const QString& driver,
                          FillFlags flags) {
    LogChange change;
    FillRecord added = fill;
    added.stationId = changeLog().findOrAddStation(station);
    added.driverId = changeLog().findOrAddDriver(driver);
    change.insertedFills = {added};
    change.insertedFlags = {flags};
    change.insertedRows = m_database.mergeRows(&change.insertedFills);
    const int row = change.insertedRows.front();
    push(AddFillStep, std::move(change), 1, row);
    return row;
}

namespace {

// The record a fill refers to after an edit gave it the name `name`: when another record
// already has that name, that one, and `own` keeps its name; otherwise `own`, renamed (for every
// fill that refers to it). A fill without a record of its own finds or adds one by the name.
template <typename Record>
int reassign(CFuelDatabase& database, int ownId, const QString& name, const Record* own,
             int (CFuelDatabase::*find)(const QString&) const,
             int (CFuelDatabase::*findOrAdd)(const QString&),
             std::vector<LogChange::Renamed>* renamed) {
    const int other = (database.*find)(name);
    if (!own || (other >= 0 && other != ownId))
        return (database.*findOrAdd)(name);
    const QString before = fieldText(own->name);
    const QString after = fieldFit(name, qsizetype(std::extent_v<decltype(own->name)>));
    if (before != after)
        renamed->push_back({ownId, before, after});
    return ownId;
}

} // namespace

int CLogDocument::editFill(int row, const QString& station, const FillRecord& fill,
                           const QString& driver, FillFlags flags) {
    const FillRecord* old = m_database.getFill(row);
    if (!old)
        return -1;
    LogChange change;
    change.removedRows = {row};
    change.removedFills = {*old};
    change.removedFlags = {m_database.getFillFlags(row)};
    change.insertedFlags = {flags};
    FillRecord edited = fill;
    edited.stationId =
        reassign(changeLog(), old->stationId, station, m_database.getStation(old->stationId),
                 &CFuelDatabase::findStation, &CFuelDatabase::findOrAddStation, &change.stations);
    edited.driverId =
        reassign(changeLog(), old->driverId, driver, m_database.getDriver(old->driverId),
                 &CFuelDatabase::findDriver, &CFuelDatabase::findOrAddDriver, &change.drivers);
    const int newRow = m_database.rowForTime(row, edited.dateTime);
    change.insertedRows = {newRow};
    change.insertedFills = {edited};
    push(EditFillStep, std::move(change), 1, newRow);
    return newRow;
}

int CLogDocument::removeFill(int row) {
    const FillRecord* fill = m_database.getFill(row);
    if (!fill)
        return -1;
    LogChange change;
    change.removedRows = {row};
    change.removedFills = {*fill};
    change.removedFlags = {m_database.getFillFlags(row)};
    push(RemoveFillStep, std::move(change), 1, std::min(row, m_database.getFillCount() - 2));
    return row;
}

CsvImportResult CLogDocument::importCsv(CCsvReader& reader, const CsvColumnMap& columns) {
    return importCsv(readCsvImport(reader, columns, m_database));
}

CsvImportResult CLogDocument::importCsv(CsvImportResult read) {
    LogChange change;
    change.insertedFills = csvNewFills(read, &changeLog(), &change.insertedFlags);
    change.insertedRows = m_database.mergeRows(&change.insertedFills, &change.insertedFlags);
    read.imported = int(change.insertedRows.size());
    if (read.imported > 0) {
        // The selection stays with the fill it was on.
        push(ImportStep, std::move(change), read.imported, -1);
    }
    return read;
}

OtherLogSummary CLogDocument::importOtherLog(const QList<OtherLogRow>& rows,
                                             const QList<OtherCostRow>& costs) {
    LogChange change;
    change.insertedFills = otherLogFills(rows, &changeLog(), &change.insertedFlags);
    change.insertedRows = m_database.mergeRows(&change.insertedFills, &change.insertedFlags);
    OtherLogSummary summary = summariseOtherLog(rows);
    summary.costs = summariseOtherCosts(costs);
    VehicleCosts after = withOtherLogCosts(m_database.costs(), costs);
    if (after != m_database.costs()) {
        change.costsBefore = m_database.costs();
        change.costsAfter = std::move(after);
    }
    // Named by what it brings: fills, costs or both.
    const int fills = int(change.insertedRows.size());
    if (fills > 0 && change.costsAfter)
        push(ImportFillsCostsStep, std::move(change), fills, -1, summary.costs.added);
    else if (fills > 0)
        push(ImportStep, std::move(change), fills, -1);
    else if (change.costsAfter)
        push(ImportCostsStep, std::move(change), summary.costs.added, -1);
    return summary;
}

LogChange CLogDocument::noteMarkerChange(const NoteMarkers& markers) const {
    LogChange change;
    for (int row = 0; row < m_database.getFillCount(); ++row) {
        FillRecord fill = *m_database.getFill(row);
        QString notes = fieldText(fill.notes);
        FillFlags flags = m_database.getFillFlags(row);
        if (!takeNoteMarkers(&notes, &flags, markers))
            continue;
        change.removedRows.push_back(row);
        change.removedFills.push_back(fill);
        change.removedFlags.push_back(m_database.getFillFlags(row));
        setFieldText(fill.notes, notes);
        change.insertedRows.push_back(row);
        change.insertedFills.push_back(fill);
        change.insertedFlags.push_back(flags);
    }
    return change;
}

int CLogDocument::noteMarkerCount(const NoteMarkers& markers) const {
    return int(noteMarkerChange(markers).insertedRows.size());
}

int CLogDocument::addRecoveredFills(const DatabaseTables& recovered) {
    CFuelDatabase merged = m_database;
    const std::vector<int> rows = mergeOtherCopy(merged, recovered);
    for (int id = m_database.getStationCount(); id < merged.getStationCount(); ++id)
        changeLog().findOrAddStation(fieldText(merged.getStation(id)->name));
    for (int id = m_database.getDriverCount(); id < merged.getDriverCount(); ++id)
        changeLog().findOrAddDriver(fieldText(merged.getDriver(id)->name));
    LogChange change;
    change.insertedRows = rows;
    for (const int row : rows) {
        change.insertedFills.push_back(*merged.getFill(row));
        change.insertedFlags.push_back(merged.getFillFlags(row));
    }
    // The costs and reminders of that session come along: every one of either side stays.
    if (std::optional<VehicleCosts> costs = mergeCosts({}, m_database.costs(), recovered.costs)) {
        change.costsBefore = m_database.costs();
        change.costsAfter = std::move(costs);
    }
    if (!rows.empty() || change.costsAfter)
        push(RecoveredStep, std::move(change), int(rows.size()), -1);
    return int(rows.size());
}

int CLogDocument::convertNoteMarkers(const NoteMarkers& markers) {
    LogChange change = noteMarkerChange(markers);
    const int count = int(change.insertedRows.size());
    if (count > 0)
        push(NoteMarkersStep, std::move(change), count, -1);
    return count;
}

void CLogDocument::apply(const LogChange& change, bool forward) {
    for (const auto& station : change.stations) {
        if (StationRecord* record = changeLog().getStation(station.id))
            setFieldText(record->name, forward ? station.after : station.before);
    }
    for (const auto& driver : change.drivers) {
        if (DriverRecord* record = changeLog().getDriver(driver.id))
            setFieldText(record->name, forward ? driver.after : driver.before);
    }
    const std::vector<int>& removed = forward ? change.removedRows : change.insertedRows;
    const std::vector<int>& inserted = forward ? change.insertedRows : change.removedRows;
    const std::vector<FillRecord>& fills = forward ? change.insertedFills : change.removedFills;
    const std::vector<FillFlags>& flags = forward ? change.insertedFlags : change.removedFlags;
    if (removed == inserted) {
        // Fills edited where they stand.
        for (std::size_t i = 0; i < inserted.size(); ++i) {
            *changeLog().getFill(inserted[i]) = fills[i];
            changeLog().setFillFlags(inserted[i], flagsAt(flags, int(i)));
            markCharges({inserted[i]});
            emit fillsChanged(inserted[i], inserted[i]);
        }
    } else {
        applyRows(removed, inserted, fills, flags);
    }
    // A renamed station or driver shows in every fill of it.
    if ((!change.stations.empty() || !change.drivers.empty()) && m_database.getFillCount() > 0)
        emit fillsChanged(0, m_database.getFillCount() - 1);
    if (change.costsBefore && change.costsAfter) {
        VehicleCosts costs = forward ? *change.costsAfter : *change.costsBefore;
        const bool costsDiffer = costs.costs != m_database.costs().costs ||
                                 costs.categories != m_database.costs().categories;
        const bool remindersDiffer = costs.reminders != m_database.costs().reminders;
        changeLog().setCosts(std::move(costs));
        if (costsDiffer)
            emit costsChanged();
        if (remindersDiffer)
            emit remindersChanged();
    }
}

void CLogDocument::applyRows(const std::vector<int>& removedRows,
                             const std::vector<int>& insertedRows,
                             const std::vector<FillRecord>& insertedFills,
                             const std::vector<FillFlags>& insertedFlags) {
    // One fill taken out and put back elsewhere (an edit of its time, or the undo of one): only
    // the fills between its two places move, and they are the rows that changed.
    if (removedRows.size() == 1 && insertedRows.size() == 1 && !insertedFills.empty()) {
        const int from = removedRows.front();
        const int to = insertedRows.front();
        const int count = m_database.getFillCount();
        if (from >= 0 && from < count && to >= 0 && to < count) {
            changeLog().moveFill(from, to, insertedFills.front(), flagsAt(insertedFlags, 0));
            markCharges({to});
            emit fillsChanged(std::min(from, to), std::max(from, to));
            return;
        }
    }
    const std::vector<Run> removedRuns = runsOf(removedRows);
    const std::vector<Run> insertedRuns = runsOf(insertedRows);
    if (removedRuns.size() + insertedRuns.size() > kMaxAnnouncedRuns) {
        emit aboutToReplaceLog();
        changeLog().removeFillsAt(removedRows);
        changeLog().insertFillsAt(insertedRows, insertedFills, insertedFlags);
        if (!insertedRows.empty())
            markCharges(insertedRows);
        emit logReplaced();
        return;
    }
    // From the last run back, so that the rows of the earlier runs stay where they are.
    for (auto run = removedRuns.rbegin(); run != removedRuns.rend(); ++run) {
        const int first = removedRows[run->begin];
        const int last = removedRows[run->end - 1];
        emit fillsAboutToBeRemoved(first, last);
        changeLog().removeFillsAt(slice(removedRows, *run));
        emit fillsRemoved(first, last);
    }
    // From the first run on: every row before a run is then already in place.
    for (const Run& run : insertedRuns) {
        const int first = insertedRows[run.begin];
        const int last = insertedRows[run.end - 1];
        emit fillsAboutToBeInserted(first, last);
        const std::vector<int> rows = slice(insertedRows, run);
        changeLog().insertFillsAt(rows, slice(insertedFills, run), slice(insertedFlags, run));
        markCharges(rows);
        emit fillsInserted(first, last);
    }
}

void CLogDocument::pushCosts(StepKind kind, VehicleCosts after, int count) {
    if (after == m_database.costs())
        return;
    LogChange change;
    change.costsBefore = m_database.costs();
    change.costsAfter = std::move(after);
    push(kind, std::move(change), count, -1);
}

namespace {

// The costs with one more, in date order.
void insertCost(std::vector<CostEntry>* costs, const CostEntry& cost) {
    costs->insert(costs->begin() + std::ptrdiff_t(costInsertionIndex(*costs, cost.date)), cost);
}

// The records of a list without those at the indexes (any order; one outside the list is
// passed over). Returns how many went.
template <typename Item> int removeAt(std::vector<Item>* items, std::vector<int> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    int removed = 0;
    for (auto index = indexes.rbegin(); index != indexes.rend(); ++index) {
        if (*index < 0 || std::size_t(*index) >= items->size())
            continue;
        items->erase(items->begin() + *index);
        ++removed;
    }
    return removed;
}

bool validIndex(int index, std::size_t size) {
    return index >= 0 && std::size_t(index) < size;
}

// An id no reminder of the log has: the calendar export names a reminder by it, so it is drawn
// at random rather than counted up, and two copies of a log that each add one rarely meet.
quint32 freeReminderId(const std::vector<Reminder>& reminders) {
    for (;;) {
        const quint32 id = QRandomGenerator::global()->generate();
        if (id != 0 && std::none_of(reminders.begin(), reminders.end(),
                                    [id](const Reminder& r) { return r.id == id; }))
            return id;
    }
}

} // namespace

void CLogDocument::addCost(const CostEntry& cost) {
    VehicleCosts after = m_database.costs();
    insertCost(&after.costs, cost);
    pushCosts(AddCostStep, std::move(after));
}

void CLogDocument::editCost(int index, const CostEntry& cost) {
    VehicleCosts after = m_database.costs();
    if (!validIndex(index, after.costs.size()))
        return;
    after.costs.erase(after.costs.begin() + index);
    insertCost(&after.costs, cost);
    pushCosts(EditCostStep, std::move(after));
}

void CLogDocument::removeCosts(const std::vector<int>& indexes) {
    VehicleCosts after = m_database.costs();
    const int removed = removeAt(&after.costs, indexes);
    pushCosts(RemoveCostsStep, std::move(after), removed);
}

int CLogDocument::addCostCategory(const QString& name) {
    VehicleCosts after = m_database.costs();
    after.categories = costCategories(after);
    // Ids are never reused: a cost that still names a removed one (from another copy of the log)
    // never lands in a new category.
    int id = kDefaultCostCategoryCount;
    for (const CostCategory& category : after.categories)
        id = std::max(id, category.id + 1);
    after.categories.push_back({id, name});
    pushCosts(AddCategoryStep, std::move(after));
    return id;
}

void CLogDocument::renameCostCategory(int id, const QString& name) {
    VehicleCosts after = m_database.costs();
    after.categories = costCategories(after);
    const auto found =
        std::find_if(after.categories.begin(), after.categories.end(),
                     [id](const CostCategory& category) { return category.id == id; });
    if (found == after.categories.end())
        return;
    found->name = name;
    pushCosts(RenameCategoryStep, std::move(after));
}

void CLogDocument::addReminder(const Reminder& reminder) {
    VehicleCosts after = m_database.costs();
    Reminder added = reminder;
    const auto sameId = [&added](const Reminder& r) { return r.id == added.id; };
    if (added.id == 0 || std::any_of(after.reminders.begin(), after.reminders.end(), sameId))
        added.id = freeReminderId(after.reminders);
    after.reminders.push_back(added);
    pushCosts(AddReminderStep, std::move(after));
}

void CLogDocument::editReminder(int index, const Reminder& reminder) {
    VehicleCosts after = m_database.costs();
    if (!validIndex(index, after.reminders.size()))
        return;
    Reminder& edited = after.reminders[std::size_t(index)];
    const quint32 id = edited.id;
    edited = reminder;
    edited.id = id; // the calendar knows it by its id
    pushCosts(EditReminderStep, std::move(after));
}

void CLogDocument::removeReminders(const std::vector<int>& indexes) {
    VehicleCosts after = m_database.costs();
    const int removed = removeAt(&after.reminders, indexes);
    pushCosts(RemoveRemindersStep, std::move(after), removed);
}

void CLogDocument::reminderDone(int index, const QDate& date, qint32 reading,
                                const std::optional<CostEntry>& cost) {
    VehicleCosts after = m_database.costs();
    if (!validIndex(index, after.reminders.size()))
        return;
    Reminder& reminder = after.reminders[std::size_t(index)];
    reminder = reminderDoneAt(reminder, date, reading);
    if (cost)
        insertCost(&after.costs, *cost);
    pushCosts(ReminderDoneStep, std::move(after));
}
