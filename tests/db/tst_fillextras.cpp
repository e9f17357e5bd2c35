#include "db/fueldatabase.h"
#include "filebytes.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <cstring>

namespace {

QString logPath() {
    return QDir::home().filePath(QStringLiteral("extras.fil"));
}

// Three fills written out of time order, the middle one of the table partial, the last
// after a missed fill and partial: sorted on loading, the flags go with their fills.
CFuelDatabase flaggedLog() {
    CFuelDatabase database(logPath());
    const qint32 odometers[] = {1000, 1500, 1900};
    const FillFlags flags[] = {{}, {true, false}, {true, true}};
    for (int i = 0; i < 3; ++i) {
        FillRecord fill;
        fill.odometer = odometers[i];
        fill.dateTime = FileTime::fromValue(quint64(10 + i));
        database.insertFill(fill, flags[i]);
    }
    return database;
}

// "odometer:p/m/-" for every fill in table order.
QString flagsByFill(const CFuelDatabase& database) {
    QStringList fills;
    for (int i = 0; i < database.getFillCount(); ++i) {
        const FillFlags flags = database.getFillFlags(i);
        fills.append(QString::number(database.getFill(i)->odometer) + u':' +
                     (flags.partial ? u'p' : u'-') + (flags.missedBefore ? u'm' : u'-'));
    }
    return fills.join(u' ');
}

CFuelDatabase loaded(const QByteArray& bytes, QStringList* messages) {
    writeAll(logPath(), bytes);
    CFuelDatabase database(logPath());
    database.setMessageSink([messages](const QString& text) { messages->append(text); });
    database.load();
    return database;
}

constexpr qsizetype kFillTableEnd = 296 + 3 * 128;
const QString kAllFlags = QStringLiteral("1000:-- 1500:p- 1900:pm");
const QString kNoFlags = QStringLiteral("1000:-- 1500:-- 1900:--");

} // namespace

Q_DECLARE_METATYPE(FillExtrasStatus)

class FillExtrasTest : public QObject {
    Q_OBJECT
private slots:
    // The flags come back with their fills, also from a file whose fills are out of time order;
    // a log without flags has no section at all.
    void roundTrip() {
        CFuelDatabase database = flaggedLog();
        QVERIFY(database.save());
        QByteArray bytes = readAll(logPath());
        QCOMPARE(bytes.size(), kFillTableEnd + 20 + 3);
        QStringList messages;
        QCOMPARE(flagsByFill(loaded(bytes, &messages)), kAllFlags);

        // The first and last fill records swapped in the file, and their entries with them.
        QByteArray swapped = bytes.left(kFillTableEnd);
        swapped.replace(296, 128, bytes.mid(296 + 256, 128));
        swapped.replace(296 + 256, 128, bytes.mid(296, 128));
        swapped += fillExtrasSection({{true, true}, {true, false}, {}}, 3);
        QCOMPARE(flagsByFill(loaded(swapped, &messages)), kAllFlags);

        for (int i = 0; i < 3; ++i)
            database.setFillFlags(i, {});
        QVERIFY(database.save());
        QCOMPARE(readAll(logPath()), bytes.left(kFillTableEnd));
        QVERIFY(messages.isEmpty());
    }

    // Cut anywhere in the section, the file still gives its three fills whole, without flags and
    // without a message.
    void cutAtEveryOffset() {
        CFuelDatabase database = flaggedLog();
        QVERIFY(database.save());
        const QByteArray bytes = readAll(logPath());
        for (qsizetype size = kFillTableEnd; size < bytes.size(); ++size) {
            QStringList messages;
            const CFuelDatabase cut = loaded(bytes.left(size), &messages);
            QCOMPARE(flagsByFill(cut), kNoFlags);
            QVERIFY(messages.isEmpty());
            QCOMPARE(cut.fillExtrasStatus(),
                     size == kFillTableEnd ? FillExtrasStatus::Absent : FillExtrasStatus::Cut);
            QVERIFY(!cut.mustKeepOldFile());
        }
    }

    // A section that does not match its file is ignored, whatever else is wrong with it.
    void sectionThatDoesNotMatch_data() {
        QTest::addColumn<int>("offset"); // into the section
        QTest::addColumn<quint32>("word");
        QTest::addColumn<FillExtrasStatus>("status");
        QTest::newRow("unknown tag") << 0 << quint32(0x58464b55) << FillExtrasStatus::UnknownTag;
        QTest::newRow("unknown version") << 4 << quint32(2) << FillExtrasStatus::UnknownVersion;
        QTest::newRow("length too long") << 8 << quint32(24) << FillExtrasStatus::BadLength;
        QTest::newRow("huge length") << 8 << quint32(0xffffffff) << FillExtrasStatus::BadLength;
        QTest::newRow("count changed alone") << 12 << quint32(2) << FillExtrasStatus::BadLength;
        QTest::newRow("bad checksum") << 19 << quint32(0) << FillExtrasStatus::BadChecksum;
        QTest::newRow("an entry changed")
            << 16 << quint32(0x00020103) << FillExtrasStatus::BadChecksum;
    }
    void sectionThatDoesNotMatch() {
        QFETCH(int, offset);
        QFETCH(quint32, word);
        QFETCH(FillExtrasStatus, status);
        CFuelDatabase database = flaggedLog();
        QVERIFY(database.save());
        QByteArray bytes = readAll(logPath());
        std::memcpy(bytes.data() + kFillTableEnd + offset, &word, sizeof word);
        QStringList messages;
        const CFuelDatabase read = loaded(bytes, &messages);
        QCOMPARE(read.fillExtrasStatus(), status);
        QCOMPARE(flagsByFill(read), kNoFlags);
        QVERIFY(messages.isEmpty());
        QVERIFY(!fillExtrasStatusText(status).isEmpty());
    }

    // A section that counts the fills of another table: the same layout for two fills, after a
    // table of three.
    void sectionOfAnotherCount() {
        CFuelDatabase two = flaggedLog();
        two.removeFill(0);
        QVERIFY(two.save());
        const QByteArray section = readAll(logPath()).mid(296 + 2 * 128);
        CFuelDatabase three = flaggedLog();
        three.setFillFlags(1, {});
        three.setFillFlags(2, {});
        QVERIFY(three.save());
        QStringList messages;
        const CFuelDatabase read = loaded(readAll(logPath()) + section, &messages);
        QCOMPARE(read.fillExtrasStatus(), FillExtrasStatus::WrongCount);
        QCOMPARE(flagsByFill(read), kNoFlags);
    }
};

QTEST_GUILESS_MAIN(FillExtrasTest)
#include "tst_fillextras.moc"
