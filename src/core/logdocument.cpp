#include "core/logdocument.h"

#include "csv/csvreader.h"
#include "db/calendar.h"
#include "localisation/language.h"

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

template <typename Item> std::vector<Item> slice(const std::vector<Item>& items, const Run& run) {
    return {items.begin() + std::ptrdiff_t(run.begin), items.begin() + std::ptrdiff_t(run.end)};
}

bool timeNotAfter(const FillRecord& fill, const FileTime& time) {
    return compareFileTime(fill.dateTime, time) <= 0;
}

// The rows at which fills merged into the database would stand, each after every existing
// fill of equal time and the new fills among themselves in time order, then in the given order;
// *ordered receives the fills in the order of those rows.
std::vector<int> mergeRows(const CFuelDatabase& database, std::vector<FillRecord> fills,
                           std::vector<FillRecord>* ordered) {
    std::stable_sort(fills.begin(), fills.end(), [](const FillRecord& a, const FillRecord& b) {
        return compareFileTime(a.dateTime, b.dateTime) < 0;
    });
    std::vector<int> rows;
    rows.reserve(fills.size());
    const int count = database.getFillCount();
    for (std::size_t k = 0; k < fills.size(); ++k) {
        int low = 0;
        int high = count;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (timeNotAfter(*database.getFill(middle), fills[k].dateTime))
                low = middle + 1;
            else
                high = middle;
        }
        rows.push_back(low + int(k));
    }
    *ordered = std::move(fills);
    return rows;
}

// Where the fill at row goes when its time changes: it stays while it is in order with its
// neighbours, else it goes after every other fill of its new time.
int rowForTime(const CFuelDatabase& database, int row, const FileTime& time) {
    const int count = database.getFillCount();
    const bool afterPrevious = row == 0 || timeNotAfter(*database.getFill(row - 1), time);
    const bool beforeNext =
        row == count - 1 || compareFileTime(time, database.getFill(row + 1)->dateTime) <= 0;
    if (afterPrevious && beforeNext)
        return row;
    int notAfter = 0;
    for (int i = 0; i < count; ++i) {
        if (i != row && timeNotAfter(*database.getFill(i), time))
            ++notAfter;
    }
    return notAfter;
}

const TextId& stepText(CLogDocument::StepKind kind) {
    switch (kind) {
    case CLogDocument::AddFillStep:
        return Text::undo_AddFill;
    case CLogDocument::EditFillStep:
        return Text::undo_EditFill;
    case CLogDocument::RemoveFillStep:
        return Text::undo_RemoveFill;
    case CLogDocument::ImportStep:
        break;
    }
    return Text::undo_Import;
}

} // namespace

// One step on the undo stack. Its first redo is the step itself.
class CLogStep : public QUndoCommand {
public:
    CLogStep(CLogDocument& document, CLogDocument::StepKind kind, LogChange change, int count,
             int shownRow)
        : m_document(document), m_kind(kind), m_change(std::move(change)), m_count(count),
          m_shownRow(shownRow) {}

    QString describe() const {
        const QString text = translate(stepText(m_kind));
        return m_kind == CLogDocument::ImportStep ? text.arg(m_count) : text;
    }

    void redo() override {
        m_document.apply(m_change, true);
        emit m_document.stepShown(m_shownRow);
        // Done again after an undo, the step shows the row it changed.
        m_shownRow =
            m_change.insertedRows.empty()
                ? std::min(m_change.removedRows.front(), m_document.database().getFillCount() - 1)
                : m_change.insertedRows.front();
    }

    void undo() override {
        m_document.apply(m_change, false);
        const std::vector<int>& restored = m_change.removedRows;
        const int count = m_document.database().getFillCount();
        const int row = restored.empty() ? std::min(m_change.insertedRows.front(), count - 1)
                                         : restored.front();
        emit m_document.stepShown(row);
    }

private:
    CLogDocument& m_document;
    CLogDocument::StepKind m_kind;
    LogChange m_change;
    int m_count;
    int m_shownRow;
};

CLogDocument::CLogDocument(const QString& filePath, QObject* parent)
    : QObject(parent), m_database(filePath), m_undoStack(new QUndoStack(this)) {
    connect(m_undoStack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit unsavedChangesChanged(!clean); });
}

CLogDocument::~CLogDocument() = default;

bool CLogDocument::hasUnsavedChanges() const {
    return !m_undoStack->isClean();
}

void CLogDocument::setMessageSink(CFuelDatabase::MessageSink sink) {
    m_messageSink = std::move(sink);
    m_database.setMessageSink(m_messageSink);
}

void CLogDocument::load() {
    CFuelDatabase database(m_database.filePath());
    database.setMessageSink(m_messageSink);
    database.load();
    replaceDatabase(std::move(database));
}

bool CLogDocument::save() {
    if (!m_database.save())
        return false;
    m_undoStack->setClean();
    return true;
}

void CLogDocument::replaceDatabase(CFuelDatabase database) {
    emit aboutToReplaceLog();
    m_database = std::move(database);
    m_loaded = true;
    m_undoStack->clear();
    emit logReplaced();
    emit logOpened();
}

bool CLogDocument::switchTo(const QString& path) {
    if (!m_loaded) {
        m_database.setFilePath(path);
        emit logOpened();
        return true;
    }
    if (!save())
        return false;
    CFuelDatabase database(path);
    database.setMessageSink(m_messageSink);
    // A fresh database: a file whose header is refused must not show the previous vehicle's
    // fills, nor have them saved into it.
    database.load();
    replaceDatabase(std::move(database));
    return true;
}

bool CLogDocument::createLog(const QString& path) {
    if (m_loaded && !save())
        return false;
    CFuelDatabase database(path);
    database.setMessageSink(m_messageSink);
    if (!database.save())
        return false;
    replaceDatabase(std::move(database));
    return true;
}

QString CLogDocument::undoText() const {
    const auto* step = static_cast<const CLogStep*>(m_undoStack->command(m_undoStack->index() - 1));
    return step ? step->describe() : QString();
}

QString CLogDocument::redoText() const {
    const auto* step = static_cast<const CLogStep*>(m_undoStack->command(m_undoStack->index()));
    return step ? step->describe() : QString();
}

void CLogDocument::push(StepKind kind, LogChange change, int count, int shownRow) {
    m_undoStack->push(new CLogStep(*this, kind, std::move(change), count, shownRow));
}

int CLogDocument::addFill(const QString& station, const FillRecord& fill, const QString& driver) {
    LogChange change;
    FillRecord added = fill;
    added.stationId = m_database.findOrAddStation(station);
    added.driverId = m_database.findOrAddDriver(driver);
    change.insertedFills = {added};
    std::vector<FillRecord> unused;
    change.insertedRows = mergeRows(m_database, change.insertedFills, &unused);
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
                           const QString& driver) {
    const FillRecord* old = m_database.getFill(row);
    if (!old)
        return -1;
    LogChange change;
    change.removedRows = {row};
    change.removedFills = {*old};
    FillRecord edited = fill;
    edited.stationId =
        reassign(m_database, old->stationId, station, m_database.getStation(old->stationId),
                 &CFuelDatabase::findStation, &CFuelDatabase::findOrAddStation, &change.stations);
    edited.driverId =
        reassign(m_database, old->driverId, driver, m_database.getDriver(old->driverId),
                 &CFuelDatabase::findDriver, &CFuelDatabase::findOrAddDriver, &change.drivers);
    const int newRow = rowForTime(m_database, row, edited.dateTime);
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
    push(RemoveFillStep, std::move(change), 1, std::min(row, m_database.getFillCount() - 2));
    return row;
}

CsvImportResult CLogDocument::importCsv(CCsvReader& reader, const CsvColumnMap& columns) {
    CsvImportResult result = readCsvImport(reader, columns, m_database);
    LogChange change;
    change.insertedRows = mergeRows(m_database, std::move(result.fills), &change.insertedFills);
    result.fills.clear();
    if (!change.insertedRows.empty()) {
        // The selection stays with the fill it was on.
        push(ImportStep, std::move(change), result.imported, -1);
    }
    return result;
}

OtherLogSummary CLogDocument::importOtherLog(const QList<OtherLogRow>& rows) {
    LogChange change;
    change.insertedRows =
        mergeRows(m_database, otherLogFills(rows, &m_database), &change.insertedFills);
    const int count = int(change.insertedRows.size());
    if (count > 0) {
        push(ImportStep, std::move(change), count, -1);
    }
    return summariseOtherLog(rows);
}

void CLogDocument::apply(const LogChange& change, bool forward) {
    for (const auto& station : change.stations) {
        if (StationRecord* record = m_database.getStation(station.id))
            setFieldText(record->name, forward ? station.after : station.before);
    }
    for (const auto& driver : change.drivers) {
        if (DriverRecord* record = m_database.getDriver(driver.id))
            setFieldText(record->name, forward ? driver.after : driver.before);
    }
    const std::vector<int>& removed = forward ? change.removedRows : change.insertedRows;
    const std::vector<int>& inserted = forward ? change.insertedRows : change.removedRows;
    const std::vector<FillRecord>& fills = forward ? change.insertedFills : change.removedFills;
    if (removed == inserted) {
        // Fills edited where they stand.
        for (std::size_t i = 0; i < inserted.size(); ++i) {
            *m_database.getFill(inserted[i]) = fills[i];
            emit fillsChanged(inserted[i], inserted[i]);
        }
    } else {
        applyRows(removed, inserted, fills);
    }
    // A renamed station or driver shows in every fill of it.
    if ((!change.stations.empty() || !change.drivers.empty()) && m_database.getFillCount() > 0)
        emit fillsChanged(0, m_database.getFillCount() - 1);
}

void CLogDocument::applyRows(const std::vector<int>& removedRows,
                             const std::vector<int>& insertedRows,
                             const std::vector<FillRecord>& insertedFills) {
    const std::vector<Run> removedRuns = runsOf(removedRows);
    const std::vector<Run> insertedRuns = runsOf(insertedRows);
    if (removedRuns.size() + insertedRuns.size() > kMaxAnnouncedRuns) {
        emit aboutToReplaceLog();
        m_database.removeFillsAt(removedRows);
        m_database.insertFillsAt(insertedRows, insertedFills);
        emit logReplaced();
        return;
    }
    // From the last run back, so that the rows of the earlier runs stay where they are.
    for (auto run = removedRuns.rbegin(); run != removedRuns.rend(); ++run) {
        const int first = removedRows[run->begin];
        const int last = removedRows[run->end - 1];
        emit fillsAboutToBeRemoved(first, last);
        m_database.removeFillsAt(slice(removedRows, *run));
        emit fillsRemoved(first, last);
    }
    // From the first run on: every row before a run is then already in place.
    for (const Run& run : insertedRuns) {
        const int first = insertedRows[run.begin];
        const int last = insertedRows[run.end - 1];
        emit fillsAboutToBeInserted(first, last);
        m_database.insertFillsAt(slice(insertedRows, run), slice(insertedFills, run));
        emit fillsInserted(first, last);
    }
}
