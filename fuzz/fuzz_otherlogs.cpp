// The import from other fuel logs on any text. The input is text: its first line holds the
// format (the code of its first character, modulo the number of formats), the user's date
// order (the second) and decimal character (the third); the rest is the exported file.
// Every row becomes a fill or is skipped for a reason; the fills come out in time order with
// stations and drivers that exist.

#include "csv/otherlogformat.h"
#include "csv/otherlogvalues.h"
#include "db/fueldatabase.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QStringList lines = fuzzLines(data, size, 2);
    const QString& choices = lines.at(0);
    const auto choice = [&choices](int i) {
        return i < choices.size() ? choices.at(i).unicode() : 0;
    };
    const auto format = OtherLogFormat(choice(0) % kOtherLogFormatCount);
    const auto userOrder = DateOrder(choice(1) % 3);
    const QChar userDecimal = choices.size() > 2 ? choices.at(2) : QChar(u'.');

    const OtherLogFile file = readOtherLog(lines.at(1));
    const OtherLogSettings settings = guessOtherLogSettings(file, format, userOrder, userDecimal);
    otherLogVehicles(file, settings);
    CFuelDatabase log;
    const QList<OtherLogRow> rows = convertOtherLog(file, settings, log);
    fuzzCheck(rows.size() <= file.table.rows.size(), "more rows converted than the table has");
    const OtherLogSummary expected = summariseOtherLog(rows);
    const OtherLogSummary summary = importOtherLog(rows, &log);
    fuzzCheck(summary.added == expected.added && log.getFillCount() == summary.added,
              "the fills added differ from the rows that read");
    for (int i = 0; i < log.getFillCount(); ++i) {
        const FillRecord* fill = log.getFill(i);
        fuzzCheck(i == 0 || compareFileTime(log.getFill(i - 1)->dateTime, fill->dateTime) <= 0,
                  "imported fills out of time order");
        fuzzCheck(log.getStation(fill->stationId) != nullptr, "a fill of no station");
        fuzzCheck(fill->driverId == -1 || log.getDriver(fill->driverId) != nullptr,
                  "a fill of no driver");
    }
    // A second import of the same file finds every fill already in the log.
    const OtherLogSummary again = summariseOtherLog(convertOtherLog(file, settings, log));
    fuzzCheck(again.added == 0, "fills imported once are not found in the log again");
    return 0;
}
