#include "stats/icsexport.h"

#include "localisation/language.h"

namespace {

constexpr qsizetype kMostOctets = 75;

QString dateValue(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMMdd"));
}

} // namespace

QString icsEscaped(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' || c == u';' || c == u',') {
            escaped += u'\\';
            escaped += c;
        } else if (c == u'\r') {
            // CRLF and a lone CR are one line break.
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            escaped += QStringLiteral("\\n");
        } else if (c == u'\n') {
            escaped += QStringLiteral("\\n");
        } else if (c.unicode() < 0x20 && c != u'\t') {
            // Other control characters are not allowed in a text value.
            continue;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QByteArray icsFolded(const QString& line) {
    const QByteArray utf8 = line.toUtf8();
    QByteArray folded;
    qsizetype start = 0;
    qsizetype room = kMostOctets;
    while (utf8.size() - start > room) {
        qsizetype end = start + room;
        // Back to the first byte of a character (continuation bytes are 10xxxxxx).
        while (end > start && (quint8(utf8[end]) & 0xC0) == 0x80)
            --end;
        folded += utf8.mid(start, end - start) + "\r\n ";
        start = end;
        room = kMostOctets - 1; // the leading space counts
    }
    folded += utf8.mid(start) + "\r\n";
    return folded;
}

QByteArray remindersCalendar(const VehicleCosts& costs, const OdometerEstimate& estimate,
                             const QDate& today, const QString& distanceUnit,
                             const QDateTime& stamp) {
    QByteArray ics;
    const auto add = [&ics](const QString& line) { ics += icsFolded(line); };
    add(QStringLiteral("BEGIN:VCALENDAR"));
    add(QStringLiteral("VERSION:2.0"));
    add(QStringLiteral("PRODID:-//Tankometer//Reminders//EN"));
    add(QStringLiteral("CALSCALE:GREGORIAN"));
    const QString dtstamp = stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    for (const Reminder& reminder : costs.reminders) {
        const ReminderDue due = reminderDue(reminder, estimate, today);
        if (!due.daysLeft)
            continue;
        const QDate day = today.addDays(*due.daysLeft);
        QStringList notes;
        if (due.date.isValid())
            notes << translate(Text::ics_DueDate).arg(due.date.toString(Qt::ISODate));
        if (due.odometer != kNoReading)
            notes << translate(Text::ics_DueReading).arg(due.odometer).arg(distanceUnit);
        if (due.byOdometer)
            notes << translate(Text::ics_Estimated);
        const QString title = icsEscaped(reminder.title);
        add(QStringLiteral("BEGIN:VEVENT"));
        add(QStringLiteral("UID:reminder-%1@tankometer").arg(reminder.id, 8, 16, QLatin1Char('0')));
        add(QStringLiteral("DTSTAMP:") + dtstamp);
        add(QStringLiteral("DTSTART;VALUE=DATE:") + dateValue(day));
        add(QStringLiteral("DTEND;VALUE=DATE:") + dateValue(day.addDays(1)));
        add(QStringLiteral("SUMMARY:") + title);
        add(QStringLiteral("DESCRIPTION:") + icsEscaped(notes.join(u'\n')));
        add(QStringLiteral("BEGIN:VALARM"));
        add(QStringLiteral("ACTION:DISPLAY"));
        add(QStringLiteral("DESCRIPTION:") + title);
        add(QStringLiteral("TRIGGER:-P1D"));
        add(QStringLiteral("END:VALARM"));
        add(QStringLiteral("END:VEVENT"));
    }
    add(QStringLiteral("END:VCALENDAR"));
    return ics;
}
