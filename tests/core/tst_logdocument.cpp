#include "core/logdocument.h"
#include "csv/csvreader.h"
#include "csv/csvwriter.h"
#include "filebytes.h"
#include "localisation/language.h"
#include "testtime.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

namespace {

QString homeFile(const QString& name) {
    return QDir::home().filePath(name);
}

FillRecord fillOn(int day, qint32 odometer) {
    FillRecord fill;
    fill.odometer = odometer;
    fill.fuel = 40.0f + float(day);
    fill.cost = 60.0f;
    fill.dateTime = fileTimeOf(2024, 3, day, 12);
    return fill;
}

// A fill as the user sees it: its own bytes and flags with the names of its station and driver
// in place of their ids.
QString described(const CFuelDatabase& database, int row) {
    FillRecord fill = *database.getFill(row);
    const StationRecord* station = database.getStation(fill.stationId);
    const DriverRecord* driver = database.getDriver(fill.driverId);
    const QString names = (station ? fieldText(station->name) : QStringLiteral("-")) + u'/' +
                          (driver ? fieldText(driver->name) : QStringLiteral("-"));
    fill.stationId = fill.driverId = 0;
    const FillFlags flags = database.getFillFlags(row);
    return names + u'/' + (flags.partial ? u'p' : u'-') + (flags.missedBefore ? u'm' : u'-') +
           u'/' +
           QString::fromLatin1(
               QByteArray(reinterpret_cast<const char*>(&fill), sizeof fill).toHex());
}

const LogUnits kMiles{DistanceUnit::Miles,
                      VolumeUnit::UsGallons,
                      ConsumptionUnit::MpgUs,
                      QStringLiteral("$"),
                      DistanceUnit::Kilometres,
                      VehicleEnergy::Fuel,
                      ElectricConsumptionUnit::KwhPer100Mi};

int fillsIn(const QString& path) {
    CFuelDatabase database(path);
    database.setMessageSink([](const QString&) {});
    database.load();
    return database.getFillCount();
}

// What another program does to the log's file: puts the bytes in place the way a sync tool does
// (a new file renamed over it), or writes them into the file and sets its modification time back
// (rsync --inplace -t).
void replaceFile(const QString& path, const QByteArray& bytes) {
    const QString other = path + QStringLiteral(".sync");
    writeAll(other, bytes);
    QCOMPARE(std::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()),
             0);
}

void rewriteInPlace(const QString& path, const QByteArray& bytes) {
    struct stat before;
    QVERIFY(::stat(QFile::encodeName(path).constData(), &before) == 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
    const timespec times[2] = {before.st_atim, before.st_mtim};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
}

// The log at path with a change another program made to it, as the bytes of its file.
QByteArray changedCopy(const QString& path, const std::function<void(CFuelDatabase&)>& change) {
    CFuelDatabase other(path);
    other.load();
    change(other);
    return databaseFileBytes(other.header(), other.tables());
}

// The fills as odometer, cost and notes: what the merge cases below change.
QStringList fillsOf(const CFuelDatabase& database) {
    QStringList fills;
    for (int row = 0; row < database.getFillCount(); ++row) {
        const FillRecord* fill = database.getFill(row);
        fills.append(QStringLiteral("%1/%2/%3")
                         .arg(fill->odometer)
                         .arg(double(fill->cost))
                         .arg(fieldText(fill->notes)));
    }
    return fills;
}

QStringList fillsOf(const QString& path) {
    CFuelDatabase database(path);
    database.setMessageSink([](const QString&) {});
    database.load();
    return fillsOf(database);
}

QStringList snapshot(const CFuelDatabase& database) {
    QStringList fills;
    for (int row = 0; row < database.getFillCount(); ++row)
        fills.append(described(database, row));
    return fills;
}

// Follows the document's row signals the way a list model does; after each step it must hold
// what the database holds.
class RowMirror : public QObject {
public:
    explicit RowMirror(CLogDocument& document) : m_document(document) {
        m_rows = snapshot(document.database());
        connect(&document, &CLogDocument::fillsInserted, this, [this](int first, int last) {
            for (int row = first; row <= last; ++row)
                m_rows.insert(row, described(m_document.database(), row));
        });
        connect(&document, &CLogDocument::fillsRemoved, this,
                [this](int first, int last) { m_rows.remove(first, last - first + 1); });
        connect(&document, &CLogDocument::fillsChanged, this, [this](int first, int last) {
            for (int row = first; row <= last; ++row)
                m_rows[row] = described(m_document.database(), row);
        });
        connect(&document, &CLogDocument::logReplaced, this,
                [this] { m_rows = snapshot(m_document.database()); });
    }
    const QStringList& rows() const { return m_rows; }

private:
    CLogDocument& m_document;
    QStringList m_rows;
};

enum Step {
    AddBetween,
    AddWithNewNames,
    EditInPlace,
    EditLater,
    EditRenamesStation,
    EditMovesToOtherStation,
    Remove,
    ImportCsvBetween,
    ImportOtherLog,
    ImportOtherLogWithCosts,
    EditFlagsOnly,
    ConvertNoteMarkers,
    RemoveSeveral,
    RemoveAll,
};

} // namespace

Q_DECLARE_METATYPE(Step)

class LogDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        language().clear();
        // Aral on days 1 and 3, Shell on day 5; the fill of day 3 is partial. The notes of days 1
        // and 5 begin with the words an import wrote before the flags.
        CFuelDatabase database(homeFile(QStringLiteral("log.fil")));
        const struct {
            int day;
            const char* station;
            const char* driver;
            const char* notes;
        } fills[] = {{1, "Aral", "Jan", "Teilbetankung"},
                     {3, "Aral", "Eva", "partial fill"},
                     {5, "Shell", "Jan", "partial fill; after missed fills; ok"}};
        for (const auto& fill : fills) {
            FillRecord record = fillOn(fill.day, 1000 * fill.day);
            record.stationId = database.findOrAddStation(QString::fromLatin1(fill.station));
            record.driverId = database.findOrAddDriver(QString::fromLatin1(fill.driver));
            setFieldText(record.notes, QString::fromLatin1(fill.notes));
            database.insertFill(record, {fill.day == 3, false});
        }
        QVERIFY(database.save());
    }

    // Each kind of step, undone and done again: the log is exactly as before and after, the
    // rows are announced where they change, and Undo names the step.
    void everyStepUndoesAndRedoes_data() {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("undoText");
        QTest::addColumn<int>("shownRow");
        QTest::newRow("add between") << AddBetween << "Add fill" << 1;
        QTest::newRow("add with new names") << AddWithNewNames << "Add fill" << 3;
        QTest::newRow("edit in place") << EditInPlace << "Edit fill" << 1;
        QTest::newRow("edit to a later time") << EditLater << "Edit fill" << 1;
        QTest::newRow("edit renames the station") << EditRenamesStation << "Edit fill" << 0;
        QTest::newRow("edit moves to another station")
            << EditMovesToOtherStation << "Edit fill" << 1;
        QTest::newRow("remove") << Remove << "Remove fill" << 1;
        QTest::newRow("csv import between") << ImportCsvBetween << "Import of 3 fills" << -1;
        QTest::newRow("import from another log") << ImportOtherLog << "Import of 2 fills" << -1;
        QTest::newRow("import with costs")
            << ImportOtherLogWithCosts << "Import of 2 fills and 1 costs" << -1;
        QTest::newRow("edit the flags only") << EditFlagsOnly << "Edit fill" << 1;
        QTest::newRow("flags from import notes")
            << ConvertNoteMarkers << "Flags of 3 fills from their notes" << -1;
        // In any order, rows outside the log passed over; one step, and one undo brings all
        // back with their flags.
        QTest::newRow("remove several") << RemoveSeveral << "Remove 2 fills" << 0;
        QTest::newRow("remove all") << RemoveAll << "Remove 3 fills" << -1;
    }
    void everyStepUndoesAndRedoes() {
        QFETCH(Step, step);
        QFETCH(QString, undoText);
        QFETCH(int, shownRow);
        CLogDocument document(homeFile(QStringLiteral("log.fil")));
        document.load();
        RowMirror mirror(document);
        QSignalSpy shown(&document, &CLogDocument::stepShown);
        QSignalSpy unsaved(&document, &CLogDocument::unsavedChangesChanged);
        const QStringList before = snapshot(document.database());

        runStep(step, document);
        const QStringList after = snapshot(document.database());
        QVERIFY(after != before);
        QCOMPARE(mirror.rows(), after);
        QCOMPARE(document.undoText(), undoText);
        QCOMPARE(shown.last().at(0).toInt(), shownRow);
        QVERIFY(document.hasUnsavedChanges());

        document.undoStack()->undo();
        QCOMPARE(snapshot(document.database()), before);
        QCOMPARE(mirror.rows(), before);
        QVERIFY(!document.hasUnsavedChanges());
        QCOMPARE(document.redoText(), undoText);
        const int undoneRow = shown.last().at(0).toInt();
        QVERIFY(undoneRow >= 0 && undoneRow < document.database().getFillCount());

        document.undoStack()->redo();
        QCOMPARE(snapshot(document.database()), after);
        QCOMPARE(mirror.rows(), after);
        QCOMPARE(unsaved.size(), 3);
    }

    // Every change is on disk within a second, without a question; Undo is a change too.
    void changesReachTheDiskWithinASecond() {
        CLogDocument document(homeFile(QStringLiteral("log.fil")));
        document.load();
        QSignalSpy written(&document, &CLogDocument::written);
        document.addFill(QStringLiteral("Aral"), fillOn(7, 7000), QStringLiteral("Jan"));
        QVERIFY(written.wait(1000));
        QVERIFY(!document.hasUnsavedChanges());
        QCOMPARE(fillsOnDisk(), 4);
        document.undoStack()->undo();
        QVERIFY(written.wait(1000));
        QCOMPARE(fillsOnDisk(), 3);
    }

    // Another program puts something at the log's path while it is open; the next write finds
    // it there. A copy of the log is merged, never written over; what does not read is kept
    // as a backup; a file that is gone is reported and not made again.
    void aFileReplacedByAnotherProgram_data() {
        QTest::addColumn<QString>("replacement"); // "copy", "damaged" or "gone"
        QTest::addColumn<int>("fillsShown");
        QTest::addColumn<int>("fillsOnDisk");
        QTest::addColumn<bool>("backup");
        QTest::newRow("a newer copy") << "copy" << 5 << 5 << false;
        QTest::newRow("not a log") << "damaged" << 4 << 4 << true;
        QTest::newRow("gone") << "gone" << 4 << -1 << false;
    }
    void aFileReplacedByAnotherProgram() {
        QFETCH(QString, replacement);
        QFETCH(int, fillsShown);
        QFETCH(int, fillsOnDisk);
        QFETCH(bool, backup);
        const QString path = homeFile(QStringLiteral("log.fil"));
        QFile::remove(path + QStringLiteral(".bak"));
        CLogDocument document(path);
        QStringList messages;
        document.setMessageSink([&messages](const QString& text) { messages.append(text); });
        document.load();
        QSignalSpy notices(&document, &CLogDocument::notice);

        if (replacement == QLatin1String("copy")) {
            // Written on another computer: the same three fills and one more.
            CFuelDatabase other(path);
            other.load();
            FillRecord fill = fillOn(9, 9000);
            fill.stationId = other.findOrAddStation(QStringLiteral("Total"));
            other.insertFill(fill, {false, true});
            other.setUnits(kMiles);
            QVERIFY(other.save());
        } else if (replacement == QLatin1String("damaged")) {
            QFile file(path + QStringLiteral(".new"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("half a file from a sync tool");
            file.close();
            QVERIFY(QFile::remove(path) && QFile::rename(file.fileName(), path));
        } else {
            QVERIFY(QFile::remove(path));
        }
        document.addFill(QStringLiteral("Aral"), fillOn(7, 7000), QStringLiteral("Jan"));
        QVERIFY(!document.save() == (replacement == QLatin1String("gone")));

        QCOMPARE(document.database().getFillCount(), fillsShown);
        QCOMPARE(fillsOnDisk, QFile::exists(path) ? this->fillsOnDisk() : -1);
        QCOMPARE(QFile::exists(path + QStringLiteral(".bak")), backup);
        QCOMPARE(notices.size(), 1);
        if (replacement == QLatin1String("copy")) {
            QCOMPARE(notices.first().first().toString(),
                     QStringLiteral(
                         "Changes from another copy of this log: added 1, removed 0, changed 0."));
            QVERIFY(messages.isEmpty());
            // Undo takes back the step of the other copy like any other.
            QCOMPARE(document.undoText(), QStringLiteral("Changes from another copy"));
            QCOMPARE(document.database().getFillFlags(4), (FillFlags{false, true}));
            // Units chosen there (and not here) come along.
            QCOMPARE(document.database().chosenUnits(), std::optional(kMiles));
            CFuelDatabase onDisk(path);
            onDisk.load();
            QCOMPARE(onDisk.chosenUnits(), std::optional(kMiles));
        }
        if (replacement == QLatin1String("gone")) {
            QCOMPARE(messages.size(), 1);
            QVERIFY(document.hasUnsavedChanges());
            QVERIFY(document.saveAs(homeFile(QStringLiteral("rescued.fil"))));
            QCOMPARE(document.filePath(), homeFile(QStringLiteral("rescued.fil")));
            QVERIFY(!document.hasUnsavedChanges());
        }
    }

    // Another program changes the open log's file, and nothing changes here after it (or a fill is
    // added here at once): the window and the file come to agree by themselves. A file that does
    // not read is moved aside byte for byte and the open fills written in its place at once.
    void anotherProgramsChangeIsTakenAtOnce_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("here");      // a change made here before the write
        QTest::addColumn<QStringList>("fills"); // shown and on disk afterwards
        QTest::addColumn<QString>("notice");    // of a merge
        const QString first = QStringLiteral("1000/60/Teilbetankung");
        const QString second = QStringLiteral("3000/60/partial fill");
        const QString third = QStringLiteral("5000/60/partial fill; after missed fills; ok");
        const QString added = QStringLiteral("7000/60/");
        const QString merged = QStringLiteral("Changes from another copy of this log: added %1, "
                                              "removed %2, changed %3.");
        QTest::newRow("a copy cut short") << "cut"
                                          << "" << QStringList{first, second, third} << QString();
        QTest::newRow("a CSV file")
            << "csv"
            << "add" << QStringList{first, second, third, added} << QString();
        QTest::newRow("a fill removed there")
            << "remove"
            << "" << QStringList{first, third} << merged.arg(0).arg(1).arg(0);
        QTest::newRow("the cost edited there, a fill added here")
            << "cost"
            << "add" << QStringList{first, QStringLiteral("3000/99.5/partial fill"), third, added}
            << merged.arg(0).arg(0).arg(1);
        QTest::newRow("the notes edited there, a fill added here")
            << "notes"
            << "add" << QStringList{first, QStringLiteral("3000/60/full"), third, added}
            << merged.arg(0).arg(0).arg(1);
        QTest::newRow("rewritten in place with the old time")
            << "in place"
            << ""
            << QStringList{first, second,
                           QStringLiteral("5000/99.5/partial fill; after missed fills; ok")}
            << merged.arg(0).arg(0).arg(1);
        QTest::newRow("the cost edited on both sides")
            << "both"
            << ""
            << QStringList{first, QStringLiteral("3000/70/partial fill"),
                           QStringLiteral("3000/99.5/partial fill"), third}
            << merged.arg(1).arg(0).arg(0) +
                   QStringLiteral(" Fills changed differently in both copies are kept in both "
                                  "versions: 1.");
        // Made here right after the read: the base of the merge is still the file as read.
        QTest::newRow("the cost edited there, the notes edited here")
            << "cost"
            << "edit"
            << QStringList{QStringLiteral("1000/60/here"), QStringLiteral("3000/99.5/partial fill"),
                           third}
            << merged.arg(0).arg(0).arg(1);
        QTest::newRow("the cost edited there, a fill removed here")
            << "cost"
            << "remove" << QStringList{first, QStringLiteral("3000/99.5/partial fill")}
            << merged.arg(0).arg(0).arg(1);
        QTest::newRow("a car wash noted there")
            << "expense"
            << "" << QStringList{first, second, third}
            << QStringLiteral("Costs and reminders from another copy of this log were taken over.");
    }
    void anotherProgramsChangeIsTakenAtOnce() {
        QFETCH(QString, change);
        QFETCH(QString, here);
        QFETCH(QStringList, fills);
        QFETCH(QString, notice);
        const QString path = homeFile(QStringLiteral("log.fil"));
        const QString backup = path + QStringLiteral(".bak");
        QFile::remove(backup);
        CLogDocument document(path);
        document.load();
        QSignalSpy notices(&document, &CLogDocument::notice);
        QByteArray foreign;
        if (change == QLatin1String("cut"))
            foreign = readAll(path).chopped(100);
        else if (change == QLatin1String("csv"))
            foreign = "Date;Odometer;Fuel\n2024-03-09;9000;40\n";
        if (!foreign.isEmpty())
            replaceFile(path, foreign);
        const auto cost = [](CFuelDatabase& log) { log.getFill(1)->cost = 99.5f; };
        if (change == QLatin1String("remove"))
            replaceFile(path, changedCopy(path, [](CFuelDatabase& log) { log.removeFill(1); }));
        if (change == QLatin1String("cost"))
            replaceFile(path, changedCopy(path, cost));
        if (change == QLatin1String("expense")) {
            replaceFile(path, changedCopy(path, [](CFuelDatabase& log) {
                            CostEntry wash;
                            wash.date = QDate(2024, 3, 9);
                            wash.amount = 12.0;
                            log.setCosts(VehicleCosts{{}, {wash}, {}});
                        }));
        }
        if (change == QLatin1String("notes")) {
            replaceFile(path, changedCopy(path, [](CFuelDatabase& log) {
                            setFieldText(log.getFill(1)->notes, QStringLiteral("full"));
                        }));
        }
        if (change == QLatin1String("in place")) {
            rewriteInPlace(
                path, changedCopy(path, [](CFuelDatabase& log) { log.getFill(2)->cost = 99.5f; }));
        }
        if (change == QLatin1String("both")) {
            // The other copy was made before the edit here reached the file.
            const QByteArray theirs = changedCopy(path, cost);
            FillRecord fill = *document.database().getFill(1);
            fill.cost = 70.0f;
            document.editFill(1, QStringLiteral("Aral"), fill, QStringLiteral("Eva"),
                              document.database().getFillFlags(1));
            QTRY_VERIFY(!document.hasUnsavedChanges());
            replaceFile(path, theirs);
        }
        if (here == QLatin1String("add"))
            document.addFill(QStringLiteral("Aral"), fillOn(7, 7000), QStringLiteral("Jan"));
        if (here == QLatin1String("edit")) {
            FillRecord fill = *document.database().getFill(0);
            setFieldText(fill.notes, QStringLiteral("here"));
            document.editFill(0, QStringLiteral("Aral"), fill, QStringLiteral("Jan"),
                              document.database().getFillFlags(0));
        }
        if (here == QLatin1String("remove"))
            document.removeFill(2);

        // No change here is needed for the other side's to come in and the result to be written.
        QTRY_COMPARE(fillsOf(document.database()), fills);
        QTRY_VERIFY(!document.hasUnsavedChanges());
        QTRY_COMPARE(fillsOf(path), fills);
        if (!foreign.isEmpty()) {
            // Said once the write is done.
            QTRY_COMPARE(notices.size(), 1);
            QCOMPARE(readAll(backup), foreign);
            const QString text = notices.first().first().toString();
            QVERIFY2(text.contains(path) && text.contains(backup), qPrintable(text));
        } else {
            QTRY_COMPARE(notices.size(), 1);
            QCOMPARE(notices.first().first().toString(), notice);
            QCOMPARE(document.undoText(), QStringLiteral("Changes from another copy"));
        }
    }

    // Two programs on one log each add a fill and write at the same moment: the one that
    // writes second takes the other's fill in first.
    void twoDocumentsOnOneFileKeepBothFills() {
        const QString path = homeFile(QStringLiteral("log.fil"));
        CLogDocument first(path);
        CLogDocument second(path);
        first.load();
        second.load();
        QSignalSpy firstWritten(&first, &CLogDocument::written);
        QSignalSpy secondWritten(&second, &CLogDocument::written);
        first.addFill(QStringLiteral("Aral"), fillOn(7, 7000), QStringLiteral("Jan"));
        second.addFill(QStringLiteral("Shell"), fillOn(8, 8000), QStringLiteral("Eva"));
        QTRY_VERIFY(!firstWritten.isEmpty() && !secondWritten.isEmpty());
        QCOMPARE(fillsOnDisk(), 5);
    }

    // Units chosen here win over those of a copy another program put there since.
    void unitsChosenHereStay() {
        const QString path = homeFile(QStringLiteral("log.fil"));
        CLogDocument document(path);
        document.load();
        LogUnits litres = kMiles;
        litres.volume = VolumeUnit::Litres;
        document.setUnits(litres);
        CFuelDatabase other(path);
        other.load();
        other.setUnits(kMiles);
        other.insertFill(fillOn(9, 9000));
        QVERIFY(other.save());
        document.setUnits(LogUnits{});
        QCOMPARE(document.database().getFillCount(), 4);
        QCOMPARE(document.database().chosenUnits(), std::optional(LogUnits{}));
    }

    // A copy the handheld saved over a log of miles has no settings block: its fills are added,
    // and the readings stay in miles, on disk too.
    void aHandheldCopyKeepsTheReadingsUnit() {
        const QString path = homeFile(QStringLiteral("log.fil"));
        {
            CFuelDatabase created(path);
            created.load();
            created.setNewLogUnits(kMiles);
            QVERIFY(created.save());
        }
        CLogDocument document(path);
        document.load();
        CFuelDatabase handheld(path);
        handheld.load();
        handheld.setSettingsBlock(LogSettingsBlock{});
        handheld.insertFill(fillOn(9, 9000));
        QVERIFY(handheld.save());
        document.addFill(QStringLiteral("Aral"), fillOn(7, 7000), QStringLiteral("Jan"));
        QVERIFY(document.save());
        QCOMPARE(document.database().getFillCount(), 5);
        QCOMPARE(document.database().units().stored, DistanceUnit::Miles);
        CFuelDatabase onDisk(path);
        onDisk.load();
        QCOMPARE(onDisk.units().stored, DistanceUnit::Miles);
    }

    // In a log of an electric vehicle every fill is a charge, however it came there: read from
    // a file that lost the marks, added, edited, done again after an undo; a hybrid's fills stay
    // as they are.
    void anElectricLogHoldsOnlyCharges_data() {
        QTest::addColumn<int>("energy");
        QTest::addColumn<bool>("fromTheFile");
        QTest::addColumn<bool>("charges");
        QTest::newRow("electric in the file") << int(VehicleEnergy::Electric) << true << true;
        QTest::newRow("made electric") << int(VehicleEnergy::Electric) << false << true;
        QTest::newRow("made a hybrid") << int(VehicleEnergy::PlugInHybrid) << false << false;
    }
    void anElectricLogHoldsOnlyCharges() {
        QFETCH(int, energy);
        QFETCH(bool, fromTheFile);
        QFETCH(bool, charges);
        const QString path = homeFile(QStringLiteral("log.fil"));
        LogUnits units;
        units.energy = VehicleEnergy(energy);
        if (fromTheFile) {
            CFuelDatabase database(path);
            database.load();
            database.setUnits(units);
            QVERIFY(database.save());
        }
        CLogDocument document(path);
        document.load();
        // A step recorded before the vehicle changed, undone and done again after.
        document.addFill(QStringLiteral("Aral"), fillOn(7, 7000), QStringLiteral("Jan"));
        if (!fromTheFile)
            document.setUnits(units);
        document.undoStack()->undo();
        document.undoStack()->redo();
        document.addFill(QStringLiteral("Aral"), fillOn(9, 9000), QStringLiteral("Jan"));
        document.editFill(0, QStringLiteral("Aral"), *document.database().getFill(0),
                          QStringLiteral("Jan"), {true, false});
        QVERIFY(document.save());
        CFuelDatabase onDisk(path);
        onDisk.load();
        const CFuelDatabase* databases[] = {&document.database(), &onDisk};
        for (const CFuelDatabase* database : databases) {
            QCOMPARE(database->getFillCount(), 5);
            for (int row = 0; row < 5; ++row)
                QCOMPARE(database->getFillFlags(row).charge, charges);
            QVERIFY(database->getFillFlags(0).partial);
        }
    }

private:
    static int fillsOnDisk() { return fillsIn(homeFile(QStringLiteral("log.fil"))); }

    static void runStep(Step step, CLogDocument& document) {
        const CFuelDatabase& database = document.database();
        const auto edited = [&database](int row, int day) {
            FillRecord fill = *database.getFill(row);
            fill.dateTime = fileTimeOf(2024, 3, day, 12);
            return fill;
        };
        switch (step) {
        case AddBetween:
            QCOMPARE(
                document.addFill(QStringLiteral("shell"), fillOn(2, 2000), QStringLiteral("Eva")),
                1);
            break;
        case AddWithNewNames:
            document.addFill(QStringLiteral("Esso"), fillOn(6, 6000), QStringLiteral("Max"));
            break;
        case EditInPlace: {
            FillRecord fill = *database.getFill(1);
            fill.odometer = 3333;
            QCOMPARE(document.editFill(1, QStringLiteral("Aral"), fill, QStringLiteral("Eva"),
                                       database.getFillFlags(1)),
                     1);
            break;
        }
        case EditFlagsOnly:
            QCOMPARE(document.editFill(1, QStringLiteral("Aral"), *database.getFill(1),
                                       QStringLiteral("Eva"), {false, true}),
                     1);
            break;
        case ConvertNoteMarkers: {
            // The words of earlier imports in German and in English.
            const NoteMarkers markers = {
                {QStringLiteral("Teilbetankung"), QStringLiteral("x")},
                {QStringLiteral("partial fill"), QStringLiteral("after missed fills")}};
            QCOMPARE(document.noteMarkerCount(markers), 3);
            QCOMPARE(document.convertNoteMarkers(markers), 3);
            QCOMPARE(fieldText(database.getFill(2)->notes), QStringLiteral("ok"));
            QCOMPARE(database.getFillFlags(2), (FillFlags{true, true}));
            QCOMPARE(database.getFillFlags(0), (FillFlags{true, false}));
            QVERIFY(fieldText(database.getFill(0)->notes).isEmpty());
            break;
        }
        case EditLater:
            QCOMPARE(
                document.editFill(0, QStringLiteral("Aral"), edited(0, 4), QStringLiteral("Jan")),
                1);
            break;
        case EditRenamesStation:
            document.editFill(0, QStringLiteral("Aral Nord"), edited(0, 1), QStringLiteral("Jan"));
            QCOMPARE(fieldText(database.getStation(database.getFill(1)->stationId)->name),
                     QStringLiteral("Aral Nord"));
            break;
        case EditMovesToOtherStation:
            document.editFill(1, QStringLiteral("SHELL"), edited(1, 3), QStringLiteral("Eva"));
            QCOMPARE(fieldText(database.getStation(database.getFill(0)->stationId)->name),
                     QStringLiteral("Aral"));
            break;
        case Remove:
            document.removeFill(1);
            break;
        case RemoveSeveral:
            QCOMPARE(document.removeFills({2, -1, 0, 7, 2}), 2);
            break;
        case RemoveAll:
            QCOMPARE(document.removeFills({1, 2, 0}), 3);
            break;
        case ImportCsvBetween: {
            CFuelDatabase older;
            for (const int day : {2, 4, 9})
                older.insertFill(fillOn(day, 1000 * day), {false, day == 4});
            const QString csv = homeFile(QStringLiteral("older.csv"));
            QVERIFY(writeCsvFile(csv, older));
            CCsvReader reader;
            QVERIFY(reader.open(csv));
            QCOMPARE(document.importCsv(reader, {0, 1, 2, 3, 7, 4, 5, 6}).imported, 3);
            QCOMPARE(database.getFillFlags(3), (FillFlags{false, true}));
            break;
        }
        case ImportOtherLog:
        case ImportOtherLogWithCosts: {
            QList<OtherLogRow> rows(3);
            for (int i = 0; i < 3; ++i) {
                rows[i].dateTime = fileTimeOf(2024, 3, 2 + 2 * i, 8);
                rows[i].odometer = 1500 + 2000 * i;
                rows[i].litres = 30.0f;
                rows[i].station = QStringLiteral("Total");
            }
            rows[1].skip = OtherLogSkip::AlreadyInLog;
            rows[2].partial = rows[2].missed = true;
            QList<OtherCostRow> costs;
            if (step == ImportOtherLogWithCosts) {
                costs.resize(1);
                costs[0].cost.date = QDate(2024, 3, 5);
                costs[0].cost.amount = 80.0;
            }
            document.importOtherLog(rows, costs);
            QCOMPARE(database.getFillFlags(4), (FillFlags{true, true}));
            QCOMPARE(document.costs().costs.size(), std::size_t(costs.size()));
            break;
        }
        }
    }
};

QTEST_GUILESS_MAIN(LogDocumentTest)
#include "tst_logdocument.moc"
