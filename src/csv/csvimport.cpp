#include "csv/csvimport.h"

#include "csv/csvwriter.h"
#include "db/formats.h"
#include "db/fueldatabase.h"

#include <QHash>
#include <cmath>
#include <vector>

namespace {

constexpr CsvValue kRequired[] = {CsvStation, CsvOdometer, CsvFuel, CsvCost, CsvDate};

// Adding a record to a table never changes which id a name already found resolves to, so a
// name's id can be remembered for the rest of the import.
class NameIds {
public:
    template <typename Lookup> int find(const QString& name, Lookup lookup) {
        const auto known = m_ids.constFind(name);
        if (known != m_ids.constEnd())
            return *known;
        const int id = lookup(name);
        m_ids.insert(name, id);
        return id;
    }

private:
    QHash<QString, int> m_ids;
};

// The column of the header record named `name`, or -1.
int headerColumn(const QStringList& header, QStringView name) {
    for (qsizetype i = 0; i < header.size(); ++i) {
        if (QStringView(header.at(i)).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

bool flagField(const QStringList& fields, int column) {
    if (column < 0 || column >= fields.size())
        return false;
    const QStringView text = QStringView(fields.at(column)).trimmed();
    return text == u"1" || text.compare(u"true", Qt::CaseInsensitive) == 0 ||
           text.compare(u"yes", Qt::CaseInsensitive) == 0;
}

} // namespace

CsvLineResult parseCsvLine(const QStringList& fields, const CsvColumnMap& columns,
                           StationRecord* station, FillRecord* fill, DriverRecord* driver,
                           const LogUnits& units) {
    std::array<QString, kCsvValueCount> texts;
    std::array<bool, kCsvValueCount> given{};
    for (int value = 0; value < kCsvValueCount; ++value) {
        const int column = columns[std::size_t(value)];
        if (column < 0 || column >= fields.size())
            continue;
        bool taken = false;
        for (int earlier = 0; earlier < value; ++earlier)
            taken = taken || columns[std::size_t(earlier)] == column;
        if (taken)
            continue;
        texts[std::size_t(value)] = fields.at(column);
        given[std::size_t(value)] = true;
    }
    for (const CsvValue value : kRequired) {
        if (!given[std::size_t(value)])
            return {CsvLineStatus::MissingColumn, value, {}};
    }
    const auto unreadable = [&texts](CsvValue value) {
        return CsvLineResult{CsvLineStatus::Unreadable, value, texts[std::size_t(value)]};
    };

    qint32 odometer = 0;
    float fuel = 0.0f;
    float cost = 0.0f;
    if (!readOdometer(texts[CsvOdometer], units, &odometer))
        return unreadable(CsvOdometer);
    if (!readVolume(texts[CsvFuel], units, &fuel))
        return unreadable(CsvFuel);
    if (!readAmount(texts[CsvCost], &cost))
        return unreadable(CsvCost);
    const QString time = given[CsvTime] ? texts[CsvTime] : QString();
    FileTime dateTime;
    const DateTimePart wrong = readDateTime(texts[CsvDate], time, &dateTime);
    if (wrong == DateTimePart::Date)
        return unreadable(CsvDate);
    if (wrong == DateTimePart::Time)
        readDateTime(texts[CsvDate], QString(), &dateTime);

    *station = StationRecord();
    *fill = FillRecord();
    *driver = DriverRecord();
    setFieldText(station->name, texts[CsvStation]);
    setFieldText(driver->name, texts[CsvDriver]);
    setFieldText(fill->notes, texts[CsvNotes]);
    fill->odometer = odometer;
    fill->fuel = fuel;
    fill->cost = cost;
    fill->dateTime = dateTime;
    return {};
}

CsvImportResult readCsvImport(CCsvReader& reader, const CsvColumnMap& columns,
                              CFuelDatabase& database) {
    CsvImportResult result;
    CsvRecord record;
    if (!reader.readRecord(&record))
        return result;

    std::vector<FillRecord>& fills = result.fills;
    // The program's own export guards its texts against spreadsheets; the guard comes off again.
    const QString header = record.fields.join(u';');
    const QString exportHeader = QString::fromUtf16(kCsvHeader);
    const bool ownExport =
        header == exportHeader || header == exportHeader + QString::fromUtf16(kCsvFlagColumns);
    QList<int> guardedColumns;
    if (ownExport) {
        for (const QStringView name : {u"station", u"driver", u"notes"})
            guardedColumns.append(headerColumn(record.fields, name));
    }
    const int partialColumn = headerColumn(record.fields, u"partial");
    const int missedColumn = headerColumn(record.fields, u"missed");
    NameIds stationIds;
    NameIds driverIds;
    const auto addStation = [&database](const QString& name) {
        return database.findOrAddStation(name);
    };
    const auto addDriver = [&database](const QString& name) {
        return database.findOrAddDriver(name);
    };
    const LogUnits units = database.units();
    while (reader.readRecord(&record)) {
        StationRecord station;
        FillRecord fill;
        DriverRecord driver;
        for (const int column : guardedColumns) {
            if (column >= 0 && column < record.fields.size())
                record.fields[column] = csvUnguardedText(record.fields.at(column));
        }
        const CsvLineResult line =
            parseCsvLine(record.fields, columns, &station, &fill, &driver, units);
        if (line.status != CsvLineStatus::Read) {
            if (record.isBlank())
                continue;
            ++result.skipped;
            if (result.firstSkipped.size() < kCsvReportedSkips)
                result.firstSkipped.append({record.lineNumber, line});
            continue;
        }
        fill.stationId = stationIds.find(fieldText(station.name), addStation);
        const QString driverName = fieldText(driver.name);
        fill.driverId = driverName.isEmpty() ? -1 : driverIds.find(driverName, addDriver);
        fills.push_back(fill);
        result.flags.push_back(
            {flagField(record.fields, partialColumn), flagField(record.fields, missedColumn)});
    }
    result.imported = int(fills.size());
    if (reader.hasError()) {
        result = {};
        result.readFailed = true;
    }
    return result;
}

CsvImportResult importCsv(CCsvReader& reader, const CsvColumnMap& columns,
                          CFuelDatabase& database) {
    CsvImportResult result = readCsvImport(reader, columns, database);
    database.mergeFills(result.fills, result.flags);
    result.fills.clear();
    result.flags.clear();
    return result;
}
