#include "core/debuglog.h"

#include "core/paths.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {
bool g_debugFlag = false;

bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}
} // namespace

CDebugLog::~CDebugLog() = default;

void CDebugLog::write(const QByteArray& message) {
    if (!g_debugFlag)
        return;
    const QByteArray line = debugLogLine(QDateTime::currentDateTime(), message);
    const QString path = debugLogPath();
    if (QFileInfo(path).size() + line.size() > MaxDebugLogBytes) {
        const QString older = path + QStringLiteral(".1");
        QFile::remove(older);
        QFile::rename(path, older);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return;
    file.write(line);
    file.close();
}

CDebugLog& debugLog() {
    static CDebugLog log;
    return log;
}

bool debugFlag() {
    return g_debugFlag;
}

void setDebugFlag(bool on) {
    g_debugFlag = on;
}

QByteArray debugLogLine(const QDateTime& localTime, const QByteArray& message) {
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "[%d.%d.%d %.2d:%.2d:%.2d] ", date.day(), date.month(),
                  date.year(), time.hour(), time.minute(), time.second());
    QByteArray line(stamp);
    line += message;
    line += "\r\n";
    return line;
}

QByteArray formatLogMessage(const char* format, QStringView text) {
    QByteArray message(format);
    const qsizetype at = message.indexOf("%S");
    if (at >= 0)
        message.replace(at, 2, text.toUtf8());
    if (message.size() <= MaxLogMessageBytes)
        return message;
    qsizetype cut = MaxLogMessageBytes;
    while (cut > 0 && isUtf8Continuation(message.at(cut)))
        --cut;
    return message.left(cut);
}
