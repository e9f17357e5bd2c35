#include "db/crc32.h"
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
const FillFlags kFlagsOnly[] = {{}, {true, false}, {true, true}};
// The same as a plug-in hybrid's: a fill of fuel, a partial charge at home from 20 % to 80 %,
// and a charge after a missed fill from an empty battery.
const FillFlags kHybrid[] = {
    {}, {true, false, true, true, 20, 80}, {true, true, true, false, 0, kNoChargeLevel}};

CFuelDatabase flaggedLog(const FillFlags (&flags)[3] = kFlagsOnly) {
    CFuelDatabase database(logPath());
    const qint32 odometers[] = {1000, 1500, 1900};
    for (int i = 0; i < 3; ++i) {
        FillRecord fill;
        fill.odometer = odometers[i];
        fill.dateTime = FileTime::fromValue(quint64(10 + i));
        database.insertFill(fill, flags[i]);
    }
    return database;
}

// "odometer:p/m/-" for every fill in table order, followed for a charge by "c", "h" when at
// home and its states of charge before and after ("?" not given).
QString flagsByFill(const CFuelDatabase& database) {
    QStringList fills;
    const auto level = [](qint8 percent) {
        return percent == kNoChargeLevel ? QStringLiteral("?") : QString::number(percent);
    };
    for (int i = 0; i < database.getFillCount(); ++i) {
        const FillFlags flags = database.getFillFlags(i);
        QString fill = QString::number(database.getFill(i)->odometer) + u':' +
                       (flags.partial ? u'p' : u'-') + (flags.missedBefore ? u'm' : u'-');
        if (flags.charge || flags.atHome || flags.chargeBefore != kNoChargeLevel ||
            flags.chargeAfter != kNoChargeLevel)
            fill += QStringLiteral("c%1 %2/%3")
                        .arg(flags.atHome ? QStringLiteral("h") : QString(),
                             level(flags.chargeBefore), level(flags.chargeAfter));
        fills.append(fill);
    }
    return fills.join(u' ');
}

// A section with its checksum made right again after a change.
QByteArray resealed(QByteArray section) {
    const quint32 crc = crc32(QByteArrayView(section).chopped(4));
    std::memcpy(section.data() + section.size() - 4, &crc, sizeof crc);
    return section;
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
const QString kHybridFlags = QStringLiteral("1000:-- 1500:p-ch 20/80 1900:pmc 0/?");

} // namespace

Q_DECLARE_METATYPE(FillExtrasStatus)

class FillExtrasTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data() {
        QTest::addColumn<bool>("hybrid");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QByteArray>("section");
        // Only partial and missed flags: the section earlier versions wrote, byte for byte.
        QTest::newRow("fuel") << false << kAllFlags
                              << resealed(QByteArray::fromHex("544b4658 01000000 17000000 03000000 "
                                                              "000103 00000000"));
        QTest::newRow("hybrid") << true << kHybridFlags
                                << resealed(QByteArray::fromHex(
                                       "544b4658 02000000 20000000 03000000 00ffff00 "
                                       "0d145000 0700ff00 00000000"));
    }
    // The flags come back with their fills, also from a file whose fills are out of time order;
    // a log without flags has no section at all.
    void roundTrip() {
        QFETCH(bool, hybrid);
        QFETCH(QString, expected);
        QFETCH(QByteArray, section);
        const FillFlags(&written)[3] = hybrid ? kHybrid : kFlagsOnly;
        CFuelDatabase database = flaggedLog(written);
        QVERIFY(database.save());
        QByteArray bytes = readAll(logPath());
        QCOMPARE(bytes.mid(kFillTableEnd).toHex(' '), section.toHex(' '));
        QStringList messages;
        QCOMPARE(flagsByFill(loaded(bytes, &messages)), expected);

        // The first and last fill records swapped in the file, and their entries with them.
        QByteArray swapped = bytes.left(kFillTableEnd);
        swapped.replace(296, 128, bytes.mid(296 + 256, 128));
        swapped.replace(296 + 256, 128, bytes.mid(296, 128));
        swapped += fillExtrasSection({written[2], written[1], written[0]}, 3);
        QCOMPARE(flagsByFill(loaded(swapped, &messages)), expected);

        for (int i = 0; i < 3; ++i)
            database.setFillFlags(i, {});
        QVERIFY(database.save());
        QCOMPARE(readAll(logPath()), bytes.left(kFillTableEnd));
        QVERIFY(messages.isEmpty());
    }

    void cutAtEveryOffset_data() {
        QTest::addColumn<bool>("hybrid");
        QTest::newRow("fuel") << false;
        QTest::newRow("hybrid") << true;
    }
    // Cut anywhere in the section, the file still gives its three fills whole, without flags and
    // without a message; the file is kept as a backup before a save drops the rest of the section.
    void cutAtEveryOffset() {
        QFETCH(bool, hybrid);
        CFuelDatabase database = flaggedLog(hybrid ? kHybrid : kFlagsOnly);
        QVERIFY(database.save());
        const QByteArray bytes = readAll(logPath());
        for (qsizetype size = kFillTableEnd; size < bytes.size(); ++size) {
            QStringList messages;
            const CFuelDatabase cut = loaded(bytes.left(size), &messages);
            QCOMPARE(flagsByFill(cut), kNoFlags);
            QVERIFY(messages.isEmpty());
            QCOMPARE(cut.fillExtrasStatus(),
                     size == kFillTableEnd ? FillExtrasStatus::Absent : FillExtrasStatus::Cut);
            QCOMPARE(cut.mustKeepOldFile(), size > kFillTableEnd);
        }
    }

    // A section that does not match its file is ignored, whatever else is wrong with it.
    void sectionThatDoesNotMatch_data() {
        QTest::addColumn<int>("offset"); // into the section
        QTest::addColumn<quint32>("word");
        QTest::addColumn<FillExtrasStatus>("status");
        QTest::newRow("unknown tag") << 0 << quint32(0x58464b55) << FillExtrasStatus::UnknownTag;
        QTest::newRow("unknown version") << 4 << quint32(3) << FillExtrasStatus::UnknownVersion;
        QTest::newRow("version 2, length of 1") << 4 << quint32(2) << FillExtrasStatus::BadLength;
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

    // States of charge above 100 % and bits and bytes this version does not know read as nothing.
    void unknownValuesReadAsNothing() {
        CFuelDatabase database = flaggedLog(kHybrid);
        QVERIFY(database.save());
        QByteArray bytes = readAll(logPath());
        // The entries of the first two fills: unknown bits, a spare byte set, 101 % and 255 %.
        const QByteArray entries = QByteArray::fromHex("f0ff65ff 0d14c8ff");
        bytes.replace(kFillTableEnd + 16, entries.size(), entries);
        bytes = bytes.left(kFillTableEnd) + resealed(bytes.mid(kFillTableEnd));
        QStringList messages;
        const CFuelDatabase read = loaded(bytes, &messages);
        QCOMPARE(read.fillExtrasStatus(), FillExtrasStatus::Read);
        QCOMPARE(flagsByFill(read), QStringLiteral("1000:-- 1500:p-ch 20/? 1900:pmc 0/?"));
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
