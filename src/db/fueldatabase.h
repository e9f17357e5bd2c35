#pragma once

#include "db/databasefile.h"
#include "db/records.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// Stations, drivers and fills of the fuel log, kept in memory between one load and one save.
// Fills are kept in ascending time order; stations and drivers are only ever appended, so an
// id is the record's position in its table. Pointers returned by the accessors stay valid
// until the next operation that adds or removes a record of the same table.
class CFuelDatabase {
public:
    using MessageSink = std::function<void(const QString&)>;

    explicit CFuelDatabase(QString filePath = {});
    ~CFuelDatabase();
    // A move hands the tables over; a copy copies every fill.
    CFuelDatabase(const CFuelDatabase&) = default;
    CFuelDatabase& operator=(const CFuelDatabase&) = default;
    CFuelDatabase(CFuelDatabase&&) noexcept = default;
    CFuelDatabase& operator=(CFuelDatabase&&) noexcept = default;

    void setFilePath(const QString& filePath);
    QString filePath() const;

    // Where load and save report their fixed messages; without a sink they go to stderr.
    void setMessageSink(MessageSink sink);

    // Replaces the tables with the file's and sorts the fills. A missing file gives an empty
    // database without a message; a refused header leaves the database as it was. Returns how
    // the file read.
    DatabaseReadStatus load();
    // Writes the whole database; true when the file was written whole and put in place.
    // A failed save leaves the previous file as it was.
    bool save();
    // What save() writes, for writing it elsewhere (see databaseFileBytes, writeDatabaseBytes).
    const DatabaseHeader& header() const;
    const DatabaseTables& tables() const;
    // True while the file at filePath() holds data the last load could not read: the next
    // write over it passes keepOldFile, and calls oldFileKept() once that write succeeded.
    bool mustKeepOldFile() const;
    void oldFileKept();

    // Whole-name, case-insensitive lookup of the name as the field would store it; the first
    // match wins, and a name not found is appended. Returns the id.
    int findOrAddStation(const QString& name);
    // The same lookup without adding: the id, or -1 when no record has the name.
    int findStation(const QString& name) const;
    int findDriver(const QString& name) const;
    int findOrAddDriver(const QString& name);

    // Inserts a copy after every fill whose time is earlier or equal; returns its index.
    int insertFill(const FillRecord& fill, FillFlags flags = {});
    // Adds many fills at once, each where insertFill would put it had they been inserted one
    // by one in the given order: after every existing fill of equal time, and among the new
    // ones of equal time in the given order. Runs in O(n log n), whatever the order given.
    // Returns the final index of every new fill, ascending: removeFillsAt of them gives back
    // the table as it was, and insertFillsAt of them with the fills found there repeats the
    // merge. Wherever a fill goes in this class, its flags go with it: flags[k] belongs to
    // fills[k] (flags may be shorter, the fills beyond it have none).
    std::vector<int> mergeFills(const std::vector<FillRecord>& fills,
                                const std::vector<FillFlags>& flags = {});
    // Where mergeFills would put the fills, without adding them: sorts *fills (and *flags, when
    // given) into the order of the rows it returns.
    std::vector<int> mergeRows(std::vector<FillRecord>* fills,
                               std::vector<FillFlags>* flags = nullptr) const;
    // Inserts a copy at index (clamped to 0..count) without looking at its time.
    void insertFillAt(int index, const FillRecord& fill, FillFlags flags = {});
    // Inserts fills[k] so that it ends up at positions[k], in one pass. Positions are indices
    // in the grown table, ascending; one that is not (or lies outside) is moved to the nearest
    // place that is. Only as many fills as there are positions are inserted.
    void insertFillsAt(const std::vector<int>& positions, const std::vector<FillRecord>& fills,
                       const std::vector<FillFlags>& flags = {});
    // Removes the fills at the ascending positions in one pass; a position outside the table,
    // repeated or out of order is skipped.
    void removeFillsAt(const std::vector<int>& positions);
    // Takes the fill at `from` out and puts `fill` at `to` (its index in the table without the
    // old one, clamped to the table), moving only the fills between the two places: the same
    // table as removeFillsAt({from}) and insertFillsAt({to}, {fill}, {flags}).
    void moveFill(int from, int to, const FillRecord& fill, FillFlags flags = {});
    // The row the fill at index takes when its time becomes `time`: it stays while it is in
    // order with its neighbours, else it goes after every other fill of that time. -1 for an
    // index outside the table.
    int rowForTime(int index, const FileTime& time) const;
    // Removes the fill at index; an index outside the table changes nothing.
    void removeFill(int index);

    FillRecord* getFill(int index);
    const FillRecord* getFill(int index) const;
    // None for an index outside the table.
    FillFlags getFillFlags(int index) const { return flagsAt(m_tables.fillFlags, index); }
    void setFillFlags(int index, FillFlags flags);
    bool anyFillFlagged() const { return ::anyFillFlagged(m_tables.fillFlags); }
    const VehicleCosts& costs() const { return m_tables.costs; }
    void setCosts(VehicleCosts costs) { m_tables.costs = std::move(costs); }
    StationRecord* getStation(int id);
    const StationRecord* getStation(int id) const;
    DriverRecord* getDriver(int id);
    const DriverRecord* getDriver(int id) const;
    // Puts a whole record (id field included) in place of the record at id; an id outside the
    // table changes nothing.
    void setStation(int id, const StationRecord& station);
    void setDriver(int id, const DriverRecord& driver);

    // The units the log is shown in: those stored in the file, or km, l, l / 100 km and the
    // language file's currency when none are (chosenUnits() is then empty).
    LogUnits units() const;
    std::optional<LogUnits> chosenUnits() const;
    // Other units to show the log in; the readings stay in the unit they are stored in.
    void setUnits(const LogUnits& units);
    // The units of a log that has no readings yet: from now on they are stored in its distance
    // unit.
    void setNewLogUnits(const LogUnits& units);
    // The name the vehicle was given, empty when none (the log's file name stands for it then).
    QString vehicleName() const;
    void setVehicleName(const QString& name);
    // The log's settings block as a whole (another copy's, taken over by a merge).
    void setSettingsBlock(const LogSettingsBlock& block);

    int getFillCount() const;
    int getStationCount() const;
    int getDriverCount() const;

    void sortFills();
    // What became of the per-fill section at the last load.
    FillExtrasStatus fillExtrasStatus() const { return m_fillExtrasStatus; }
    // What became of the section of costs at the last load.
    CostSectionStatus costSectionStatus() const { return m_costSectionStatus; }

private:
    void report(const QString& message) const;
    // The flags table as long as the fill table, so that it can follow the fills' moves. While
    // no fill was ever flagged it stays empty and costs nothing.
    bool flagsFollow(bool anyNew);

    DatabaseTables m_tables;
    DatabaseHeader m_header;
    QString m_filePath;
    MessageSink m_messageSink;
    // The file at this path holds data the last load could not read; it is copied to a
    // backup before the next save replaces it.
    QString m_unreadFilePath;
    FillExtrasStatus m_fillExtrasStatus = FillExtrasStatus::Absent;
    CostSectionStatus m_costSectionStatus = CostSectionStatus::Absent;
};
