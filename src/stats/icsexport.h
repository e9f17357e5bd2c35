#pragma once

// The reminders as an iCalendar file (RFC 5545), for the user's calendar: one all-day event on
// the day each reminder falls due, with an alarm the day before.

#include "stats/reminders.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The calendar of the reminders that fall due (by date, or on the day their reading is estimated
// to be reached), in UTF-8 with CRLF line ends and lines folded at 75 octets. Each event's UID
// comes from its reminder's id, so that a calendar that imports the file again updates the event
// instead of adding a second one. stamp is the moment of the export (DTSTAMP); distanceUnit names
// the unit of the readings in the events' descriptions.
QByteArray remindersCalendar(const VehicleCosts& costs, const OdometerEstimate& estimate,
                             const QDate& today, const QString& distanceUnit,
                             const QDateTime& stamp);

// A text value escaped for iCalendar: backslash, semicolon, comma and line breaks.
QString icsEscaped(const QString& text);

// A content line folded for iCalendar: at most 75 octets a line (never inside a UTF-8
// character), each following one begun with a space; every line ends with CRLF.
QByteArray icsFolded(const QString& line);
