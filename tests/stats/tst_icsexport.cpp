#include "filebytes.h"
#include "localisation/language.h"
#include "stats/icsexport.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

// Reads an iCalendar file with Python's icalendar library (Debian's python3-icalendar) and prints
// its events as JSON, after checking the lines themselves: CRLF only, at most 75 octets each.
const char* const kReader = R"(
import json, sys, icalendar
raw = open(sys.argv[1], 'rb').read()
lines = raw.split(b'\r\n')
assert lines[-1] == b'' and b'\n' not in raw.replace(b'\r\n', b''), 'line ends'
assert all(len(line) <= 75 for line in lines), 'a line longer than 75 octets'
calendar = icalendar.Calendar.from_ical(raw)
events = []
for event in calendar.walk('VEVENT'):
    alarms = event.walk('VALARM')
    events.append({
        'uid': str(event['UID']),
        'summary': str(event['SUMMARY']),
        'start': event.decoded('DTSTART').isoformat(),
        'end': event.decoded('DTEND').isoformat(),
        'description': str(event['DESCRIPTION']),
        'alarm': str(alarms[0]['ACTION']) + ' ' + str(alarms[0].decoded('TRIGGER')) if alarms else '',
    })
print(json.dumps(events))
)";

QJsonArray readBack(const QByteArray& ics) {
    const QString path = QDir::home().filePath(QStringLiteral("reminders.ics"));
    writeAll(path, ics);
    QProcess python;
    // Debian's own Python, which has Debian's packages (not one of a Python version manager).
    const QString debianPython = QStringLiteral("/usr/bin/python3");
    python.start(QFileInfo::exists(debianPython) ? debianPython : QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(kReader), path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning() << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

} // namespace

class IcsExportTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { language().clear(); }

    // A calendar library reads every reminder that falls due as an all-day event on its day,
    // with its title as it was typed (however long, whatever it holds) and an alarm; a reminder
    // that is not due has none. Exported again later, each event keeps its UID.
    void calendarReadsItBack() {
        VehicleCosts costs;
        const QString longTitle =
            QStringLiteral("Technická kontrola a měření emisí, potom přezutí pneumatik na letní "
                           "— nezapomenout; klíč\\kola");
        costs.reminders = {
            {0x1234ABCD,
             QStringLiteral("Service, oil; filter\nand plugs"),
             QDate(2024, 4, 20),
             kNoReading,
             0,
             0,
             {},
             kNoReading},
            {7, longTitle, {}, 16050, 0, 0, {}, kNoReading},
            {8, QStringLiteral("Nothing due"), {}, kNoReading, 0, 0, {}, kNoReading},
        };
        OdometerEstimate estimate;
        estimate.lastDate = QDate(2024, 3, 31);
        estimate.lastReading = 14500;
        estimate.perDay = 50;
        const QDate today(2024, 4, 10);
        const QByteArray ics = remindersCalendar(costs, estimate, today, QStringLiteral("km"),
                                                 QDateTime(today, QTime(9, 0), Qt::UTC));

        const QJsonArray events = readBack(ics);
        QCOMPARE(events.size(), 2);
        const QJsonObject byDate = events[0].toObject();
        QCOMPARE(byDate[u"uid"].toString(), QStringLiteral("reminder-1234abcd@tankometer"));
        QCOMPARE(byDate[u"summary"].toString(), costs.reminders[0].title);
        QCOMPARE(byDate[u"start"].toString(), QStringLiteral("2024-04-20"));
        QCOMPARE(byDate[u"end"].toString(), QStringLiteral("2024-04-21"));
        QCOMPARE(byDate[u"description"].toString(), QStringLiteral("Due on 2024-04-20"));
        QCOMPARE(byDate[u"alarm"].toString(), QStringLiteral("DISPLAY -1 day, 0:00:00"));
        const QJsonObject byReading = events[1].toObject();
        QCOMPARE(byReading[u"summary"].toString(), longTitle);
        QCOMPARE(byReading[u"start"].toString(), QStringLiteral("2024-05-01"));
        QCOMPARE(byReading[u"description"].toString(),
                 QStringLiteral("Due at 16050 km\nThe day is estimated from the recent distance "
                                "per day."));

        const QByteArray later =
            remindersCalendar(costs, estimate, today.addDays(3), QStringLiteral("km"),
                              QDateTime::currentDateTimeUtc());
        const QJsonArray again = readBack(later);
        QCOMPARE(again.size(), 2);
        QCOMPARE(again[0].toObject()[u"uid"], byDate[u"uid"]);
        QCOMPARE(again[1].toObject()[u"uid"], byReading[u"uid"]);
    }
};

QTEST_GUILESS_MAIN(IcsExportTest)
#include "tst_icsexport.moc"
