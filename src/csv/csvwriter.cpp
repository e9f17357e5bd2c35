#include "csv/csvwriter.h"

#include "db/filewrite.h"
#include "db/formats.h"
#include "db/fueldatabase.h"

#include <QSaveFile>

QString csvField(const QString& text) {
    const bool needsQuotes =
        text.contains(u';') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r');
    if (!needsQuotes)
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

namespace {

// A text that starts with some "'" and then a character that starts a spreadsheet formula.
bool startsLikeFormula(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u'\'')
        ++i;
    return i < text.size() && QStringView(u"=+-@\t\r").contains(text.at(i));
}

} // namespace

QString csvGuardedText(const QString& text) {
    return startsLikeFormula(text) ? u'\'' + text : text;
}

QString csvUnguardedText(const QString& guarded) {
    return guarded.startsWith(u'\'') && startsLikeFormula(guarded) ? guarded.sliced(1) : guarded;
}

namespace {

bool anyCharge(const CFuelDatabase& database) {
    for (int i = 0; i < database.getFillCount(); ++i) {
        if (database.getFillFlags(i).charge)
            return true;
    }
    return false;
}

QString chargeLevelText(qint8 level) {
    return level == kNoChargeLevel ? QString() : QString::number(level);
}

} // namespace

QString csvExportText(const CFuelDatabase& database) {
    const bool flagged = database.anyFillFlagged();
    const bool charges = flagged && anyCharge(database);
    QString text = QString::fromUtf16(kCsvHeader);
    if (flagged)
        text += QString::fromUtf16(kCsvFlagColumns);
    if (charges)
        text += QString::fromUtf16(kCsvChargeColumns);
    text += u'\n';
    text.reserve(qsizetype(database.getFillCount()) * 80 + text.size());
    const LogUnits units = database.units();
    for (int i = 0; i < database.getFillCount(); ++i) {
        const FillRecord& fill = *database.getFill(i);
        const FillFlags flags = database.getFillFlags(i);
        const StationRecord* station = database.getStation(fill.stationId);
        const DriverRecord* driver = database.getDriver(fill.driverId);
        text += csvField(csvGuardedText(station ? fieldText(station->name) : QString()));
        text += u';';
        text += QString::number(distanceIn(units, fill.odometer));
        text += u';';
        text += formatAmountWithPoint(amountIn(units, flags.charge, fill.fuel));
        text += u';';
        text += formatAmountWithPoint(fill.cost);
        text += u';';
        text += csvField(formatDate(fill.dateTime));
        text += u';';
        text += csvField(formatTime(fill.dateTime));
        text += u';';
        text += csvField(csvGuardedText(driver ? fieldText(driver->name) : QString()));
        text += u';';
        text += csvField(csvGuardedText(fieldText(fill.notes)));
        if (flagged) {
            text += QStringView(flags.partial ? u";1" : u";");
            text += QStringView(flags.missedBefore ? u";1" : u";");
        }
        if (charges) {
            text += u';';
            text += QStringView(flags.charge ? kCsvElectricEnergy : kCsvFuelEnergy);
            text += u';' + chargeLevelText(flags.chargeBefore);
            text += u';' + chargeLevelText(flags.chargeAfter);
            text += QStringView(flags.atHome ? u";1" : u";");
        }
        text += u'\n';
    }
    return text;
}

bool writeCsvFile(const QString& path, const CFuelDatabase& database) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           commitSaveFile(file, csvExportText(database).toUtf8());
}
