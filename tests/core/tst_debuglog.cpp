#include "core/debuglog.h"
#include "core/paths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class DebugLogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void nothingIsWrittenWhileFlagIsOff();
    void linesAreAppendedAcrossRuns();
    void flagTakesEffectWithNextLine();
    void lineFormat_data();
    void lineFormat();
    void stampIsCurrentLocalTime();
    void unwritableLogDoesNotStopProgram();
    void logIsPrivate();
    void logLiesInTheStateFolder();
    void sizeIsCapped_data();
    void sizeIsCapped();
    void formatLogMessage_data();
    void formatLogMessage();

private:
    QByteArray logContents() const;
    QString state() const { return m_home.filePath(QStringLiteral("state/Tankometer")); }

    QTemporaryDir m_home;
};

void DebugLogTest::initTestCase() {
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("state"))));
    QCOMPARE(debugLogPath(), state() + QStringLiteral("/tkdebug.log"));
}

void DebugLogTest::init() {
    setDebugFlag(false);
    QFile::remove(debugLogPath());
    QFile::remove(debugLogPath() + QStringLiteral(".1"));
}

void DebugLogTest::cleanup() {
    setDebugFlag(false);
}

QByteArray DebugLogTest::logContents() const {
    QFile file(debugLogPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void DebugLogTest::nothingIsWrittenWhileFlagIsOff() {
    QDir(state()).removeRecursively();

    debugLog().write("Application started");
    debugLog().write("");

    QVERIFY(!QFileInfo::exists(state()));
}

// Strips the stamps so that lines written at different seconds compare.
static QList<QByteArray> messagesOf(const QByteArray& log) {
    static const QRegularExpression stamp(
        QStringLiteral("^\\[\\d{1,2}\\.\\d{1,2}\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\\] "));
    QList<QByteArray> messages;
    for (const QByteArray& line : log.split('\n')) {
        if (line.isEmpty())
            continue;
        const QString text = QString::fromUtf8(line);
        const auto match = stamp.match(text);
        messages.append(match.hasMatch() ? line.mid(match.capturedLength()) : "NO STAMP " + line);
    }
    return messages;
}

void DebugLogTest::linesAreAppendedAcrossRuns() {
    setDebugFlag(true);
    for (const char* message : {"-----------------------------------", "Tankometer 1.2 ",
                                "Application started", "Application exited", ""})
        debugLog().write(message);
    const QByteArray firstRun = logContents();

    debugLog().write("Application started");
    debugLog().write("");

    const QByteArray log = logContents();
    QVERIFY(log.startsWith(firstRun));
    QVERIFY(log.endsWith("] \r\n"));
    QCOMPARE(log.count("\r\n"), 7);
    QCOMPARE(log.count('\n'), 7);
    QCOMPARE(messagesOf(log),
             (QList<QByteArray>{"-----------------------------------\r", "Tankometer 1.2 \r",
                                "Application started\r", "Application exited\r", "\r",
                                "Application started\r", "\r"}));
}

void DebugLogTest::flagTakesEffectWithNextLine() {
    setDebugFlag(true);
    debugLog().write("one");
    setDebugFlag(false);
    debugLog().write("two");
    setDebugFlag(true);
    debugLog().write("three");

    QCOMPARE(messagesOf(logContents()), (QList<QByteArray>{"one\r", "three\r"}));
}

void DebugLogTest::lineFormat_data() {
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("single-digit day and month")
        << QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)) << QByteArray("Application started")
        << QByteArray("[5.3.2026 14:07:09] Application started\r\n");
    QTest::newRow("early morning")
        << QDateTime(QDate(2026, 12, 8), QTime(2, 5, 7)) << QByteArray("Application started")
        << QByteArray("[8.12.2026 02:05:07] Application started\r\n");
    QTest::newRow("midnight") << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0))
                              << QByteArray("Application exited")
                              << QByteArray("[1.1.2027 00:00:00] Application exited\r\n");
    QTest::newRow("last second of the year")
        << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)) << QByteArray("x")
        << QByteArray("[31.12.2026 23:59:59] x\r\n");
    QTest::newRow("empty message") << QDateTime(QDate(2026, 10, 10), QTime(10, 10, 10))
                                   << QByteArray() << QByteArray("[10.10.2026 10:10:10] \r\n");
    QTest::newRow("8-bit text passes unchanged")
        << QDateTime(QDate(2026, 6, 1), QTime(8, 0, 0))
        << QByteArray("station is: M\xc3\xbcller %d")
        << QByteArray("[1.6.2026 08:00:00] station is: M\xc3\xbcller %d\r\n");
}

void DebugLogTest::lineFormat() {
    QFETCH(QDateTime, when);
    QFETCH(QByteArray, message);
    QTEST(debugLogLine(when, message), "line");
}

void DebugLogTest::stampIsCurrentLocalTime() {
    setDebugFlag(true);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    debugLog().write("now");
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    const QByteArray line = logContents();
    const QDateTime stamped =
        QDateTime::fromString(QString::fromLatin1(line.mid(1, line.indexOf(']') - 1)),
                              QStringLiteral("d.M.yyyy HH:mm:ss"));
    QVERIFY2(stamped.isValid(), line.constData());
    QVERIFY(stamped >= before && stamped <= after);
}

void DebugLogTest::unwritableLogDoesNotStopProgram() {
    // The log's folder is a plain file: the log cannot be opened there.
    QDir(state()).removeRecursively();
    QFile blocker(state());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    setDebugFlag(true);
    debugLog().write("lost");
    QVERIFY(QFileInfo(state()).isFile());

    // The next line tries again.
    QVERIFY(QFile::remove(state()));
    debugLog().write("kept");
    QCOMPARE(messagesOf(logContents()), QList<QByteArray>{"kept\r"});
}

// What the user typed is in the log: neither the file nor its folder is open to others.
void DebugLogTest::logIsPrivate() {
    QDir(state()).removeRecursively();
    const mode_t savedMask = ::umask(0);
    setDebugFlag(true);
    debugLog().write("station is: Shell");
    ::umask(savedMask);
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QCOMPARE(QFileInfo(debugLogPath()).permissions() & others, QFileDevice::Permissions());
    QCOMPARE(QFileInfo(state()).permissions() & others, QFileDevice::Permissions());
}

// Without XDG_STATE_HOME, or with a relative one (to be ignored), the default below home.
void DebugLogTest::logLiesInTheStateFolder() {
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    for (const QByteArray& stateHome : {QByteArray(), QByteArray("state")}) {
        qputenv("XDG_STATE_HOME", stateHome);
        QCOMPARE(debugLogPath(),
                 m_home.filePath(QStringLiteral(".local/state/Tankometer/tkdebug.log")));
    }
    qputenv("XDG_STATE_HOME", saved);
}

void DebugLogTest::sizeIsCapped_data() {
    QTest::addColumn<qint64>("over"); // by how much the new line would pass the cap
    QTest::addColumn<bool>("olderFile");
    QTest::addColumn<bool>("moved");
    QTest::newRow("line fits exactly") << qint64(0) << false << false;
    QTest::newRow("one byte too many") << qint64(1) << false << true;
    QTest::newRow("older file replaced") << qint64(1) << true << true;
}

void DebugLogTest::sizeIsCapped() {
    QFETCH(qint64, over);
    QFETCH(bool, olderFile);
    QFETCH(bool, moved);
    const QByteArray message = "Application started";
    const qint64 lineSize = debugLogLine(QDateTime::currentDateTime(), message).size();
    const QByteArray earlier = QByteArray(MaxDebugLogBytes - lineSize + over - 1, 'e') + '\n';
    const QString older = debugLogPath() + QStringLiteral(".1");
    QFile file(debugLogPath());
    QFile old(older);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
    file.close();
    QVERIFY(!olderFile || (old.open(QIODevice::WriteOnly) && old.write("oldest") == 6));
    old.close();

    setDebugFlag(true);
    debugLog().write(message);

    const QByteArray log = logContents();
    QCOMPARE(messagesOf(log).constLast(), message + '\r');
    QCOMPARE(log.size(), moved ? lineSize : MaxDebugLogBytes);
    QCOMPARE(old.open(QIODevice::ReadOnly) ? old.readAll() : QByteArray(),
             moved ? earlier : QByteArray(olderFile ? "oldest" : ""));
}

void DebugLogTest::formatLogMessage_data() {
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("message");

    const QByteArray prefix = "CFillDlg::saveData: notes is: ";
    QTest::newRow("plain") << QByteArray("CFillDlg::saveData: station is: %S")
                           << QStringLiteral("Shell")
                           << QByteArray("CFillDlg::saveData: station is: Shell");
    QTest::newRow("empty text") << QByteArray("Tankometer 1.2 %S") << QString()
                                << QByteArray("Tankometer 1.2 ");
    QTest::newRow("not ASCII") << QByteArray("driver is: %S")
                               << QStringLiteral("J\u00fcrgen \u20ac")
                               << QByteArray("driver is: J\xc3\xbcrgen \xe2\x82\xac");
    QTest::newRow("percent signs in the text")
        << QByteArray("notes is: %S") << QStringLiteral("50% %S %d")
        << QByteArray("notes is: 50% %S %d");
    QTest::newRow("no placeholder") << QByteArray("CFillDlg::saveData: fuel") << QStringLiteral("x")
                                    << QByteArray("CFillDlg::saveData: fuel");
    QTest::newRow("long text cut to 255 bytes")
        << prefix + "%S" << QString(300, u'n') << prefix + QByteArray(255 - prefix.size(), 'n');
    // Two-byte characters from an even offset: the last one would straddle the 255-byte limit.
    QByteArray twoByte;
    for (int i = 0; i < (255 - prefix.size()) / 2; ++i)
        twoByte += "\xc3\xa4";
    QVERIFY((255 - prefix.size()) % 2 == 1);
    QTest::newRow("never splits a character")
        << prefix + "%S" << QString(200, u'\u00e4') << prefix + twoByte;
    QTest::newRow("four-byte characters")
        << QByteArray("%S") << QString::fromUtf8("\xf0\x9f\x9a\x97").repeated(100)
        << QByteArray("\xf0\x9f\x9a\x97").repeated(63);
}

void DebugLogTest::formatLogMessage() {
    QFETCH(QByteArray, format);
    QFETCH(QString, text);
    QFETCH(QByteArray, message);

    const QByteArray formatted = ::formatLogMessage(format.constData(), text);
    QCOMPARE(formatted, message);
    QVERIFY(formatted.size() <= 255);
}

QTEST_GUILESS_MAIN(DebugLogTest)
#include "tst_debuglog.moc"
