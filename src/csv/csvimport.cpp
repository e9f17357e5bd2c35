#include "csv/csvimport.h"

#include "csv/csvwriter.h"
#include "csv/knownfills.h"
#include "db/formats.h"
#include "db/fueldatabase.h"

#include <QHash>
#include <cmath>
#include <vector>

namespace {

constexpr CsvValue kRequired[] = {CsvStation, CsvOdometer, CsvFuel, CsvCost, CsvDate};

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

bool chargeField(const QStringList& fields, int column) {
    return column >= 0 && column < fields.size() &&
           QStringView(fields.at(column))
                   .trimmed()
                   .compare(kCsvElectricEnergy, Qt::CaseInsensitive) == 0;
}

qint8 chargeLevelField(const QStringList& fields, int column) {
    if (column < 0 || column >= fields.size())
        return kNoChargeLevel;
    QStringView text = QStringView(fields.at(column)).trimmed();
    if (text.endsWith(u'%'))
        text.chop(1);
    bool ok = false;
    const int level = text.trimmed().toInt(&ok);
    return ok && level >= 0 && level <= 100 ? qint8(level) : kNoChargeLevel;
}

} // namespace

CsvLineResult parseCsvLine(const QStringList& fields, const CsvColumnMap& columns,
                           StationRecord* station, FillRecord* fill, DriverRecord* driver,
                           const LogUnits& units, bool charge) {
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
    if (!(charge ? readAmount(texts[CsvFuel], &fuel) : readVolume(texts[CsvFuel], units, &fuel)))
        return unreadable(CsvFuel);
    if (!readAmount(texts[CsvCost], &cost))
        return unreadable(CsvCost);
    const QString time = given[CsvTime] ? texts[CsvTime] : QString();
    FileTime dateTime;
    const DateTimePart wrong = readDateTime(texts[CsvDate], time, &dateTime);
    if (wrong == DateTimePart::Date)
        return unreadable(CsvDate);
    if (wrong == DateTimePart::Time)
        return unreadable(CsvTime);

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

std::optional<CsvUnassigned> csvUnassignedValue(const CsvColumnMap& columns) {
    for (const CsvValue value : kRequired) {
        const int column = columns[std::size_t(value)];
        if (column < 0)
            return CsvUnassigned{value, -1};
        for (int earlier = 0; earlier < int(value); ++earlier) {
            if (columns[std::size_t(earlier)] == column)
                return CsvUnassigned{value, earlier};
        }
    }
    return std::nullopt;
}

CsvColumnMap csvHeaderColumns(const QStringList& header,
                              const std::array<QString, kCsvValueCount>& names) {
    static constexpr const char16_t* kExportNames[kCsvValueCount] = {
        u"station", u"odometer", u"fuel", u"cost", u"notes", u"date", u"time", u"driver"};
    const auto key = [](const QString& name) {
        QString plain;
        for (const QChar c : name) {
            if (!c.isSpace())
                plain.append(c);
        }
        if (plain.endsWith(u':'))
            plain.chop(1);
        return plain.toCaseFolded();
    };
    CsvColumnMap columns;
    columns.fill(-1);
    for (int value = 0; value < kCsvValueCount; ++value) {
        const QString exportName = QString::fromUtf16(kExportNames[value]);
        const QString name = key(names[std::size_t(value)]);
        for (qsizetype column = 0; column < header.size(); ++column) {
            const QString field = key(header.at(column));
            if (!field.isEmpty() && (field == exportName || field == name)) {
                columns[std::size_t(value)] = int(column);
                break;
            }
        }
    }
    return columns;
}

CsvImportResult readCsvImport(CCsvReader& reader, const CsvColumnMap& columns,
                              const CFuelDatabase& log) {
    CsvImportResult result;
    CsvRecord record;
    if (!reader.readRecord(&record))
        return result;

    // The program's own export guards its texts against spreadsheets; the guard comes off again.
    const QString header = record.fields.join(u';');
    const QString exportHeader = QString::fromUtf16(kCsvHeader);
    const QString flagHeader = exportHeader + QString::fromUtf16(kCsvFlagColumns);
    const bool ownExport = header == exportHeader || header == flagHeader ||
                           header == flagHeader + QString::fromUtf16(kCsvChargeColumns);
    QList<int> guardedColumns;
    if (ownExport) {
        for (const QStringView name : {u"station", u"driver", u"notes"})
            guardedColumns.append(headerColumn(record.fields, name));
    }
    const int partialColumn = headerColumn(record.fields, u"partial");
    const int missedColumn = headerColumn(record.fields, u"missed");
    const int energyColumn = headerColumn(record.fields, u"energy");
    const int beforeColumn = headerColumn(record.fields, u"charge before");
    const int afterColumn = headerColumn(record.fields, u"charge after");
    const int homeColumn = headerColumn(record.fields, u"home");
    const LogUnits units = log.units();
    CKnownFills known(log);
    while (reader.readRecord(&record)) {
        StationRecord station;
        DriverRecord driver;
        CsvFill read;
        for (const int column : guardedColumns) {
            if (column >= 0 && column < record.fields.size())
                record.fields[column] = csvUnguardedText(record.fields.at(column));
        }
        // In the log of an electric vehicle every fill is a charge, its amount kWh.
        const bool charge =
            units.energy == VehicleEnergy::Electric || chargeField(record.fields, energyColumn);
        const CsvLineResult line =
            parseCsvLine(record.fields, columns, &station, &read.fill, &driver, units, charge);
        if (line.status != CsvLineStatus::Read) {
            if (record.isBlank())
                continue;
            ++result.skipped;
            if (result.firstSkipped.size() < kCsvReportedSkips)
                result.firstSkipped.append({record.lineNumber, line});
            continue;
        }
        read.station = fieldText(station.name);
        read.driver = fieldText(driver.name);
        read.flags = {flagField(record.fields, partialColumn),
                      flagField(record.fields, missedColumn),
                      charge,
                      flagField(record.fields, homeColumn),
                      chargeLevelField(record.fields, beforeColumn),
                      chargeLevelField(record.fields, afterColumn)};
        read.alreadyInLog = !known.addNew(read.fill.dateTime, read.fill.odometer, read.fill.fuel);
        result.alreadyInLog += read.alreadyInLog ? 1 : 0;
        result.read.append(read);
    }
    if (reader.hasError()) {
        result = {};
        result.readFailed = true;
    }
    return result;
}

std::vector<OdometerReading> csvNewReadings(const CsvImportResult& result) {
    std::vector<OdometerReading> readings;
    for (const CsvFill& read : result.read) {
        if (!read.alreadyInLog)
            readings.push_back({read.fill.dateTime, read.fill.odometer});
    }
    return readings;
}

std::vector<FillRecord> csvNewFills(const CsvImportResult& result, CFuelDatabase* log,
                                    std::vector<FillFlags>* flags) {
    // Adding a record to a table never changes which id a name already found resolves to, so a
    // name's id can be remembered for the rest of the import.
    QHash<QString, int> stationIds;
    QHash<QString, int> driverIds;
    std::vector<FillRecord> fills;
    for (const CsvFill& read : result.read) {
        if (read.alreadyInLog)
            continue;
        FillRecord fill = read.fill;
        auto station = stationIds.constFind(read.station);
        if (station == stationIds.constEnd())
            station = stationIds.insert(read.station, log->findOrAddStation(read.station));
        fill.stationId = *station;
        fill.driverId = -1;
        if (!read.driver.isEmpty()) {
            auto driver = driverIds.constFind(read.driver);
            if (driver == driverIds.constEnd())
                driver = driverIds.insert(read.driver, log->findOrAddDriver(read.driver));
            fill.driverId = *driver;
        }
        fills.push_back(fill);
        flags->push_back(read.flags);
    }
    return fills;
}

CsvImportResult importCsv(CCsvReader& reader, const CsvColumnMap& columns,
                          CFuelDatabase& database) {
    CsvImportResult result = readCsvImport(reader, columns, database);
    std::vector<FillFlags> flags;
    const std::vector<FillRecord> fills = csvNewFills(result, &database, &flags);
    database.mergeFills(fills, flags);
    result.imported = int(fills.size());
    return result;
}
