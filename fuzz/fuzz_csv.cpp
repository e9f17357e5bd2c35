// The CSV reader and import on any text, with a column assignment and regional settings taken
// from the input. The input is text:
//   line 1  the column of each value (station, odometer, fuel, cost, notes, date, time,
//           driver): a digit is that column, any other character or none leaves the value
//           without a column
//   line 2  the date order digit (0, 1 or 2), the decimal character, then the date separator
//   rest    the CSV file
// Every record is read and either imported or skipped; the fills come out in time order with
// stations and drivers that exist; and, under regional settings a locale can have, the export of
// what was imported, imported again, exports the same text. The first line of the file, as a
// station, driver and notes text, comes back whole through the export's formula guard, and read
// as an amount, its export form reads back to the same amount.

#include "csv/csvimport.h"
#include "csv/csvwriter.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "db/regional.h"
#include "fuzzinput.h"

namespace {

CsvColumnMap columnsFrom(const QString& line) {
    CsvColumnMap columns;
    for (int value = 0; value < kCsvValueCount; ++value) {
        const QChar c = value < line.size() ? line.at(value) : QChar(u'-');
        columns[std::size_t(value)] = c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1;
    }
    return columns;
}

void checkTables(const CFuelDatabase& db) {
    for (int i = 0; i < db.getFillCount(); ++i) {
        const FillRecord* fill = db.getFill(i);
        fuzzCheck(i == 0 || compareFileTime(db.getFill(i - 1)->dateTime, fill->dateTime) <= 0,
                  "imported fills out of time order");
        fuzzCheck(db.getStation(fill->stationId) != nullptr, "a fill of no station");
        fuzzCheck(fill->driverId == -1 || db.getDriver(fill->driverId) != nullptr,
                  "a fill of no driver");
    }
}

// One fill whose station, driver and notes are text, as far as their fields hold it.
void addTextsFill(CFuelDatabase& db, const QString& text) {
    FillRecord fill;
    fill.stationId = db.findOrAddStation(text);
    fill.driverId = db.findOrAddDriver(text);
    fill.odometer = 1;
    fill.fuel = 1.0f;
    fill.dateTime = FileTime::fromValue(0);
    setFieldText(fill.notes, text);
    db.insertFill(fill);
}

int recordCount(const QString& text) {
    CCsvReader reader;
    reader.setText(text);
    CsvRecord record;
    int count = 0;
    int lastLine = 0;
    while (reader.readRecord(&record)) {
        fuzzCheck(record.fields.size() == record.rawFields.size() && !record.fields.isEmpty(),
                  "a record whose fields and raw fields differ");
        fuzzCheck(record.lineNumber > lastLine, "records not in line order");
        lastLine = record.lineNumber;
        ++count;
    }
    return count;
}

// Whether the regional settings print a date that reads back (a separator of several characters
// that are not blanks does not). Before ISO dates read, no date read under such settings at all.
bool datesReadBack() {
    FileTime day;
    return readDateTime(formatDate(FileTime::fromValue(0)), QString(), &day) == DateTimePart::None;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QStringList lines = fuzzLines(data, size, 3);
    const CsvColumnMap columns = columnsFrom(lines.at(0));
    const RegionalSettings regional = fuzzRegionalSettings(lines.at(1));
    setRegionalSettingsOverride(regional);
    const QString& text = lines.at(2);

    const int records = recordCount(text);
    CFuelDatabase db;
    CCsvReader reader;
    reader.setText(text);
    const CsvImportResult result = importCsv(reader, columns, db);
    fuzzCheck(result.imported >= 0 && result.skipped >= 0 && result.alreadyInLog >= 0 &&
                  result.imported + result.skipped + result.alreadyInLog <=
                      std::max(0, records - 1),
              "more fills imported or skipped than records after the header");
    fuzzCheck(result.imported + result.alreadyInLog == result.read.size(),
              "a fill read is neither imported nor already in the log");
    fuzzCheck(result.firstSkipped.size() == std::min(result.skipped, kCsvReportedSkips),
              "the reported skips do not match their count");
    fuzzCheck(db.getFillCount() == result.imported, "imported count differs from the table");
    checkTables(db);

    // Export, import with the export's own columns, export again: the same text.
    if (!fuzzPrintsReadBack(regional) || !datesReadBack())
        return 0;
    const QString exported = csvExportText(db);
    CFuelDatabase again;
    CCsvReader exportReader;
    exportReader.setText(exported);
    const CsvImportResult reimport =
        importCsv(exportReader, CsvColumnMap{0, 1, 2, 3, 7, 4, 5, 6}, again);
    fuzzCheck(reimport.skipped == 0 && reimport.imported == result.imported,
              "an export does not import whole");
    checkTables(again);
    fuzzCheck(csvExportText(again) == exported, "an export imported again exports other text");

    const QString first = text.section(u'\n', 0, 0);
    CFuelDatabase guarded;
    addTextsFill(guarded, first);
    const QString guardedExport = csvExportText(guarded);
    CFuelDatabase unguarded;
    CCsvReader guardedReader;
    guardedReader.setText(guardedExport);
    importCsv(guardedReader, CsvColumnMap{0, 1, 2, 3, 7, 4, 5, 6}, unguarded);
    fuzzCheck(csvExportText(unguarded) == guardedExport,
              "a text does not come back through the export's formula guard");
    float amount = 0.0f;
    float readBack = 0.0f;
    if (readAmount(first, &amount))
        fuzzCheck(readAmount(formatAmountWithPoint(amount), &readBack) &&
                      formatAmountWithPoint(readBack) == formatAmountWithPoint(amount),
                  "an exported amount does not read back");
    return 0;
}
