#pragma once

// The debug log: time-stamped 8-bit lines appended to tkdebug.log in the program's state
// folder (stateFolder), written only while the process-wide debug flag is on. The file is its
// user's only (0600). A line that would take it past MaxDebugLogBytes first moves it to
// tkdebug.log.1, in place of an older one there, and starts a new file.

#include <QByteArray>
#include <QDateTime>
#include <QStringView>

inline constexpr qint64 MaxDebugLogBytes = 1024 * 1024;

class CDebugLog {
public:
    CDebugLog() = default;
    ~CDebugLog();

    // Appends one line stamped with the local time. The file is opened and closed for every
    // line; a line that cannot be written is lost without a message.
    void write(const QByteArray& message);
};

CDebugLog& debugLog();

bool debugFlag();
void setDebugFlag(bool on);

// "[d.M.yyyy hh:mm:ss] message\r\n"
QByteArray debugLogLine(const QDateTime& localTime, const QByteArray& message);

// Replaces the first "%S" in format by text in UTF-8 and cuts the result to at most
// MaxLogMessageBytes bytes, never inside a UTF-8 sequence.
inline constexpr qsizetype MaxLogMessageBytes = 255;
QByteArray formatLogMessage(const char* format, QStringView text);
