// The database loader on any bytes (both file formats, chosen by the header of the input).
// A load never crashes or allocates more than the file can hold; the fills come out in time
// order; the per-fill section gives flags only when it matched; what was loaded is saved whole
// and loads back to the same tables, flags and log settings; units stored into any settings block
// read back as stored, never change the unit the readings are stored in, and keep the bytes this
// version does not write.

#include "db/fueldatabase.h"
#include "fuzzinput.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace {

bool sameBytes(const void* a, const void* b, std::size_t size) {
    return std::memcmp(a, b, size) == 0;
}

bool sameTables(const CFuelDatabase& a, const CFuelDatabase& b) {
    if (a.getStationCount() != b.getStationCount() || a.getDriverCount() != b.getDriverCount() ||
        a.getFillCount() != b.getFillCount())
        return false;
    for (int i = 0; i < a.getStationCount(); ++i) {
        if (!sameBytes(a.getStation(i), b.getStation(i), sizeof(StationRecord)))
            return false;
    }
    for (int i = 0; i < a.getDriverCount(); ++i) {
        if (!sameBytes(a.getDriver(i), b.getDriver(i), sizeof(DriverRecord)))
            return false;
    }
    for (int i = 0; i < a.getFillCount(); ++i) {
        if (!sameBytes(a.getFill(i), b.getFill(i), sizeof(FillRecord)) ||
            a.getFillFlags(i) != b.getFillFlags(i))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QString input = fuzzFilePath(QStringLiteral("tkbase.fil"));
    const QString copy = fuzzFilePath(QStringLiteral("saved.fil"));
    writeFuzzFile(input, data, size);

    QStringList messages;
    const auto collect = [&messages](const QString& message) { messages << message; };
    CFuelDatabase loaded(input);
    loaded.setMessageSink(collect);
    loaded.load();
    fuzzCheck(messages.size() <= 1, "a load reports at most one message");
    fuzzCheck(qint64(loaded.getFillCount()) * 124 <= qint64(size),
              "more fills than the file holds");
    for (int i = 1; i < loaded.getFillCount(); ++i) {
        fuzzCheck(compareFileTime(loaded.getFill(i - 1)->dateTime, loaded.getFill(i)->dateTime) <=
                      0,
                  "fills out of time order after a load");
    }

    fuzzCheck(loaded.fillExtrasStatus() == FillExtrasStatus::Read || !loaded.anyFillFlagged(),
              "flags from a section that did not match");

    // Saved elsewhere, so the input is never copied to a backup.
    loaded.setFilePath(copy);
    fuzzCheck(loaded.save(), "the loaded tables could not be saved");
    fuzzCheck(QFileInfo(copy).size() ==
                  296 + 68 * qint64(loaded.getStationCount()) +
                      44 * qint64(loaded.getDriverCount()) + 128 * qint64(loaded.getFillCount()) +
                      (loaded.anyFillFlagged() ? fillExtrasSectionSize(loaded.getFillCount()) : 0),
              "saved file of the wrong length");
    messages.clear();
    CFuelDatabase reloaded(copy);
    reloaded.setMessageSink(collect);
    reloaded.load();
    fuzzCheck(messages.isEmpty(), "a saved file does not load without a message");
    fuzzCheck(reloaded.fillExtrasStatus() ==
                  (loaded.anyFillFlagged() ? FillExtrasStatus::Read : FillExtrasStatus::Absent),
              "a saved section does not read back");
    fuzzCheck(sameTables(loaded, reloaded), "a saved file loads to other tables");
    fuzzCheck(loaded.tables().settings == reloaded.tables().settings,
              "a saved file loads to another settings block");
    fuzzCheck(loaded.chosenUnits() == reloaded.chosenUnits(), "a saved file loads other units");

    // The units the input's block holds (or the defaults) with another currency, stored back.
    // Handed in with the other stored unit, as no dialog may change it.
    LogUnits units = loaded.units();
    units.currency = QStringLiteral("US$");
    const DistanceUnit stored = units.stored;
    units.stored = stored == DistanceUnit::Miles ? DistanceUnit::Kilometres : DistanceUnit::Miles;
    const LogSettingsBlock before = loaded.tables().settings;
    const bool wasValid = loaded.chosenUnits().has_value();
    loaded.setUnits(units);
    units.stored = stored;
    fuzzCheck(loaded.chosenUnits() == units, "stored units do not read back");
    const LogSettingsBlock& after = loaded.tables().settings;
    if (wasValid)
        fuzzCheck(std::equal(before.begin() + 26, before.end() - 4, after.begin() + 26),
                  "storing units lost bytes of a later version");
    return 0;
}
