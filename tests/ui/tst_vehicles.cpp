#include "core/paths.h"
#include "core/settings.h"
#include "core/vehicles.h"
#include "db/databasefile.h"
#include "db/fueldatabase.h"
#include "filebytes.h"
#include "localisation/language.h"
#include "stats/totals.h"
#include "ui/main/commands.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "ui/stats/comparedlg.h"
#include "windowtest.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

constexpr quint64 kDay = 864000000000ull; // 100 ns units
constexpr quint64 kFirstDay = 154000ull * kDay;

// A log of fills `daySteps` days apart from day 0, with the odometer going up by `step` from 1000.
void writeLog(const QString& path, int fillCount, int step = 500, int daySteps = 1) {
    CFuelDatabase database(path);
    for (int i = 0; i < fillCount; ++i) {
        FillRecord fill;
        fill.odometer = 1000 + step * i;
        fill.fuel = 40.0f;
        fill.cost = 60.0f;
        fill.dateTime = FileTime::fromValue(kFirstDay + quint64(i * daySteps) * kDay);
        fill.stationId = database.findOrAddStation(QStringLiteral("Station"));
        database.insertFill(fill);
    }
    QVERIFY(database.save());
}

int fillsIn(const QString& path) {
    CFuelDatabase database(path);
    database.setMessageSink([](const QString&) {});
    database.load();
    return database.getFillCount();
}

void addFill(CMainWnd& window, qint32 odometer) {
    FillRecord fill;
    fill.odometer = odometer;
    fill.fuel = 30.0f;
    fill.dateTime = FileTime::fromValue(kFirstDay + 100 * kDay);
    window.document().addFill(QString(), fill, QString());
}

// Something at path that is no log: a text file, an empty file, a named pipe or a folder.
void makeNoLog(const QString& kind, const QString& path) {
    if (kind == u"pipe") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == u"folder") {
        QVERIFY(QDir().mkdir(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == u"text")
            file.write("Date;Litres\n2004-01-01;40\n");
    }
}

QStringList messageTexts() {
    QStringList texts;
    for (const MessageBoxRecord& message : DialogSeams::askedMessages())
        texts.append(message.text);
    return texts;
}

QStringList recentNames() {
    QStringList names;
    for (const QString& path : readRecentVehicles())
        names.append(QFileInfo(path).fileName());
    return names;
}

} // namespace

class VehiclesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DialogSeams::enable(); }

    void init() {
        // A folder that a failed case left at the default log's path must not fail the next.
        QDir().rmdir(databaseFilePath());
        startWindowCase();
        QVERIFY(m_folder.isValid());
    }

    void cleanup() { endWindowCase(); }

    void defaultLogLeavesNoVehicleSettings() {
        writeLog(databaseFilePath(), 2);
        {
            TestWindow window;
            window.open();
            QCOMPARE(window.windowTitle(), QStringLiteral("Tankometer[*]"));
            QCOMPARE(window.vehiclePath(), databaseFilePath());
            addFill(window, 5000);
            window.dispatchCommand(CMainWnd::CmdOk);
        }
        QCOMPARE(fillsIn(databaseFilePath()), 3);
        QVERIFY(!programSettings().contains(QStringLiteral("Database")));
        QVERIFY(!programSettings().contains(QStringLiteral("RecentVehicles")));
    }

    void storedDatabaseIsOpenedAtStart_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("opensStored");
        QTest::newRow("an existing log") << QStringLiteral("car.fil") << true;
        QTest::newRow("a log that is gone") << QStringLiteral("gone.fil") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void storedDatabaseIsOpenedAtStart() {
        QFETCH(QString, stored);
        QFETCH(bool, opensStored);
        writeLog(m_folder.filePath(QStringLiteral("car.fil")), 3);
        const QString path = stored.isEmpty() ? QString() : m_folder.filePath(stored);
        programSettings().setValue(QStringLiteral("Database"), path);
        QCOMPARE(readDatabasePath(), opensStored ? path : databaseFilePath());
        TestWindow window;
        window.open();
        QCOMPARE(window.listModel()->rowCount(), opensStored ? 3 : 0);
        QCOMPARE(window.windowTitle(), opensStored ? QStringLiteral("car[*] \u2013 Tankometer")
                                                   : QStringLiteral("Tankometer[*]"));
    }

    void switchingSavesTheOpenLogAndLoadsTheOther() {
        const QString van = m_folder.filePath(QStringLiteral("van.fil"));
        writeLog(databaseFilePath(), 2);
        writeLog(van, 4);
        TestWindow window;
        window.open();
        addFill(window, 9000);
        QVERIFY(window.commands().openVehicleAt(van));
        QCOMPARE(fillsIn(databaseFilePath()), 3);
        QCOMPARE(window.listModel()->rowCount(), 4);
        QVERIFY(!window.hasUnsavedChanges());
        // Another log starts with no history.
        QVERIFY(!window.commandAction(CMainWnd::CmdUndo)->isEnabled());
        QCOMPARE(window.windowTitle(), QStringLiteral("van[*] \u2013 Tankometer"));
        QCOMPARE(readDatabasePath(), QFileInfo(van).canonicalFilePath());
        QCOMPARE(recentNames(),
                 (QStringList{QStringLiteral("van.fil"), QStringLiteral("tkbase.fil")}));

        // Back to the default log: the title is the program's name and no value stays behind.
        QVERIFY(window.commands().openVehicleAt(databaseFilePath()));
        QCOMPARE(window.listModel()->rowCount(), 3);
        QCOMPARE(window.windowTitle(), QStringLiteral("Tankometer[*]"));
        QVERIFY(!programSettings().contains(QStringLiteral("Database")));
    }

    void failedSaveKeepsTheOpenLog() {
        const QString blocker = m_folder.filePath(QStringLiteral("plain"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString unwritable = blocker + QStringLiteral("/truck.fil");
        const QString van = m_folder.filePath(QStringLiteral("van2.fil"));
        writeLog(van, 4);
        TestWindow window;
        window.open();
        QCOMPARE(window.document().switchTo(unwritable), CLogDocument::Switch::Opened);
        addFill(window, 1234);
        DialogSeams::reset();
        QVERIFY(!window.commands().openVehicleAt(van));
        QCOMPARE(window.vehiclePath(), unwritable);
        QCOMPARE(window.listModel()->rowCount(), 1);
        QVERIFY(window.hasUnsavedChanges());
        const auto& asked = DialogSeams::askedMessages();
        QVERIFY(!asked.isEmpty());
        QCOMPARE(asked.last().text, translate(Text::Main_VehicleNotSaved));
        QVERIFY(!programSettings().contains(QStringLiteral("Database")));
    }

    // A store that refuses to remember the vehicle says so, as the Settings command does; the
    // vehicle is open all the same.
    void aRefusedSettingsWriteIsReported() {
        const QString van = m_folder.filePath(QStringLiteral("van4.fil"));
        writeLog(van, 2);
        TestWindow window;
        window.open();
        QFile blocker(m_folder.filePath(QStringLiteral("plain-settings")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           blocker.fileName() + QStringLiteral("/settings"));
        QVERIFY(window.commands().openVehicleAt(van));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           qEnvironmentVariable("XDG_CONFIG_HOME"));
        QCOMPARE(window.listModel()->rowCount(), 2);
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        QCOMPARE(DialogSeams::askedMessages().at(0).text, translate(Text::Settings_errorsave));
    }

    // Save as writes the open log to another file, which becomes the open vehicle.
    void saveAsMakesTheCopyTheOpenLog() {
        const QString copy = m_folder.filePath(QStringLiteral("copy5.fil"));
        writeLog(databaseFilePath(), 2);
        TestWindow window;
        window.open();
        addFill(window, 9000);
        DialogSeams::setNextFileName(copy);
        window.dispatchCommand(CMainWnd::CmdSaveAs);
        QCOMPARE(window.vehiclePath(), copy);
        QCOMPARE(fillsIn(copy), 3);
        QCOMPARE(readDatabasePath(), copy);
        QCOMPARE(window.windowTitle(), QStringLiteral("copy5[*] \u2013 Tankometer"));
        QVERIFY(!window.hasUnsavedChanges());
    }

    // Opened as a vehicle, named by the stored setting, or at the default log's path, something
    // that is no log is left as it is: never adopted, never written over, and said so at once.
    void somethingThatIsNoLogIsNeverAdopted_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("text file") << "text" << translate(Text::Main_NotALog);
        QTest::newRow("empty file") << "empty" << translate(Text::Main_NotALog);
        QTest::newRow("named pipe") << "pipe" << translate(Text::Main_LogNotRegular);
        QTest::newRow("folder") << "folder" << translate(Text::Main_LogIsFolder);
    }
    void somethingThatIsNoLogIsNeverAdopted() {
        QFETCH(QString, kind);
        QFETCH(QString, says);
        const QString van = m_folder.filePath(QStringLiteral("van9.fil"));
        writeLog(van, 2);
        const QString other = m_folder.filePath(QStringLiteral("notes-%1.csv").arg(kind));
        makeNoLog(kind, other);
        const QByteArray before = readAll(other);
        const QString refused =
            says.arg(QDir::toNativeSeparators(other)) + u'\n' + translate(Text::Main_LogNotOpened);
        {
            TestWindow window;
            window.open();
            QVERIFY(window.commands().openVehicleAt(van));
            DialogSeams::reset();
            DialogSeams::setNextFileName(other);
            window.dispatchCommand(CMainWnd::CmdOpenVehicle);
            QCOMPARE(messageTexts(), QStringList{refused});
            QCOMPARE(window.vehiclePath(), van);
            QCOMPARE(window.listModel()->rowCount(), 2);
            window.dispatchCommand(CMainWnd::CmdOk);
        }
        QCOMPARE(readDatabasePath(), QFileInfo(van).canonicalFilePath());
        QVERIFY(!recentNames().contains(QFileInfo(other).fileName()));

        // A stored vehicle that is no longer a log: the default log opens (what is no file at
        // all has always been passed over without a word).
        const bool regular = QFileInfo(other).isFile();
        programSettings().setValue(QStringLiteral("Database"), other);
        DialogSeams::reset();
        {
            TestWindow window;
            window.open();
            QCOMPARE(window.vehiclePath(), databaseFilePath());
            QCOMPARE(messageTexts(), regular ? QStringList{refused} : QStringList());
        }
        QCOMPARE(readAll(other), before);
        QVERIFY(!QFileInfo::exists(other + QStringLiteral(".bak")));

        // The default log has nothing to fall back to: it says what is wrong, and the title
        // that the log was not read.
        programSettings().clear();
        const QString log = databaseFilePath();
        QVERIFY(QFile::remove(log));
        makeNoLog(kind, log);
        DialogSeams::reset();
        {
            TestWindow window;
            window.open();
            QCOMPARE(window.windowTitle(), QStringLiteral("Tankometer (not read)[*]"));
            const QString kept = translate(Text::Main_UnreadFileKept)
                                     .arg(QDir::toNativeSeparators(log + QStringLiteral(".bak")));
            QCOMPARE(messageTexts(),
                     QStringList{regular ? QStringLiteral("Error loading database header!\n") + kept
                                         : says.arg(QDir::toNativeSeparators(log))});
        }
        QCOMPARE(readAll(log), before);
        QVERIFY(regular ? QFile::remove(log) : QDir().rmdir(log) || QFile::remove(log));
    }

    // A log of a later version is opened empty; its file is kept as the backup the message
    // names before the first write, and the title says that it was not read.
    void aLaterFormatIsKeptAsTheBackupItsMessageNames() {
        const QString later = m_folder.filePath(QStringLiteral("later.fil"));
        writeLog(later, 3);
        QByteArray bytes = readAll(later);
        const qint32 formatMajor = 2;
        bytes.replace(16, 4, reinterpret_cast<const char*>(&formatMajor), 4);
        writeAll(later, bytes);
        TestWindow window;
        window.open();
        DialogSeams::reset();
        QVERIFY(window.commands().openVehicleAt(later));
        QCOMPARE(window.windowTitle(), QStringLiteral("later (not read)[*] \u2013 Tankometer"));
        QCOMPARE(
            messageTexts(),
            QStringList{QStringLiteral("Unknown database version!\nNo data will be loaded.\n") +
                        translate(Text::Main_UnreadFileKept)
                            .arg(QDir::toNativeSeparators(later + QStringLiteral(".bak")))});
        QCOMPARE(window.listModel()->rowCount(), 0);
        addFill(window, 5000);
        QVERIFY(window.document().save());
        QCOMPARE(readAll(later + QStringLiteral(".bak")), bytes);
        QCOMPARE(fillsIn(later), 1);
    }

    void recentListKeepsEightMostRecentFirst() {
        QStringList recent;
        for (int i = 0; i < 10; ++i)
            recent = addRecentVehicle(recent, m_folder.filePath(QStringLiteral("v%1.fil").arg(i)));
        recent = addRecentVehicle(recent, m_folder.filePath(QStringLiteral("v5.fil")));
        QCOMPARE(recent.size(), kMaxRecentVehicles);
        QStringList names;
        for (const QString& path : recent)
            names.append(QFileInfo(path).completeBaseName());
        QCOMPARE(names,
                 (QStringList{QStringLiteral("v5"), QStringLiteral("v9"), QStringLiteral("v8"),
                              QStringLiteral("v7"), QStringLiteral("v6"), QStringLiteral("v4"),
                              QStringLiteral("v3"), QStringLiteral("v2")}));
    }

    void recentMenuMarksTheOpenLogAndDropsMissingFiles() {
        const QString car = m_folder.filePath(QStringLiteral("car3.fil"));
        const QString gone = m_folder.filePath(QStringLiteral("gone3.fil"));
        writeLog(car, 1);
        writeLog(gone, 1);
        TestWindow window;
        window.open();
        QVERIFY(window.commands().openVehicleAt(gone));
        QVERIFY(window.commands().openVehicleAt(car));
        QVERIFY(QFile::remove(gone));
        window.commands().fillRecentVehiclesMenu(window.recentVehiclesMenu());
        const QList<QAction*> actions = window.recentVehiclesMenu()->actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions.at(0)->text(), QStringLiteral("car3"));
        QVERIFY(actions.at(0)->isChecked());
        QVERIFY(!actions.at(1)->isChecked());

        DialogSeams::reset();
        actions.at(1)->trigger();
        QCOMPARE(window.vehiclePath(), car);
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        QVERIFY(DialogSeams::askedMessages().first().text.contains(QStringLiteral("gone3.fil")));
        QCOMPARE(recentNames(),
                 (QStringList{QStringLiteral("car3.fil"), QStringLiteral("tkbase.fil")}));
    }

    void newVehicleStartsEmptyAndNeverReplacesALog() {
        const QString fresh = m_folder.filePath(QStringLiteral("fresh.fil"));
        const QString existing = m_folder.filePath(QStringLiteral("existing.fil"));
        writeLog(existing, 2);
        writeLog(databaseFilePath(), 1);
        TestWindow window;
        window.open();
        // The units it is kept in are asked next; OK takes those offered.
        const auto acceptUnits = [] {
            DialogSeams::setNextDialogHandler([](QDialog& dialog) { dialog.accept(); });
        };
        DialogSeams::setNextFileName(fresh);
        acceptUnits();
        window.dispatchCommand(CMainWnd::CmdNewVehicle);
        QVERIFY(QFileInfo(fresh).isFile());
        QCOMPARE(window.listModel()->rowCount(), 0);
        QCOMPARE(window.windowTitle(), QStringLiteral("fresh[*] \u2013 Tankometer"));
        const FileDialogRecord request = DialogSeams::askedFileDialogs().last();
        QVERIFY(request.mode == FileDialogMode::Save);
        QCOMPARE(request.request.filter, QStringLiteral("Tankometer logs (*.fil)"));
        QCOMPARE(request.request.defaultSuffix, QStringLiteral("fil"));

        DialogSeams::setNextFileName(existing);
        window.dispatchCommand(CMainWnd::CmdNewVehicle);
        QCOMPARE(fillsIn(existing), 2);
        QCOMPARE(window.listModel()->rowCount(), 2);

        // A log that cannot be written (its folder is a plain file) is not opened: the open
        // log stays as it was, with its unsaved fill, and the message says what happened.
        addFill(window, 9000);
        const QString unwritable = existing + QStringLiteral("/truck.fil");
        DialogSeams::reset();
        DialogSeams::setNextFileName(unwritable);
        acceptUnits();
        window.dispatchCommand(CMainWnd::CmdNewVehicle);
        QCOMPARE(window.vehiclePath(), existing);
        QCOMPARE(window.listModel()->rowCount(), 3);
        QCOMPARE(fillsIn(existing), 3);
        QCOMPARE(DialogSeams::askedMessages().last().text,
                 translate(Text::Main_VehicleNotCreated).arg(unwritable));
        QCOMPARE(readDatabasePath(), existing);
    }

    void compareShowsEveryRecentLogAndADamagedOne() {
        const QString car = m_folder.filePath(QStringLiteral("cmpcar.fil"));
        const QString van = m_folder.filePath(QStringLiteral("cmpvan.fil"));
        const QString bad = m_folder.filePath(QStringLiteral("cmpbad.fil"));
        writeLog(car, 3, 500);
        writeLog(van, 2, 200);
        {
            QFile file(bad);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a fuel log at all");
        }
        writeRecentVehicles({bad, van, car});
        TestWindow window;
        window.open();
        QCOMPARE(window.document().switchTo(car), CLogDocument::Switch::Opened);
        QTableWidget* table = nullptr;
        DialogSeams::setNextDialogHandler([&table](QDialog& dialog) {
            table = dialog.findChild<QTableWidget*>(QStringLiteral("compareTable"));
            QVERIFY(table);
            QCOMPARE(table->columnCount(), 3);
            // Every column and row in view, with no room kept for scroll bars.
            QCOMPARE(table->viewport()->size(),
                     QSize(table->horizontalHeader()->length(), table->verticalHeader()->length()));
            QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("cmpcar"));
            QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("cmpbad"));
            QCOMPARE(table->horizontalHeaderItem(2)->text(), QStringLiteral("cmpvan"));
            // Distance, then fuel, for each readable log.
            QCOMPARE(table->item(0, 0)->text(), QStringLiteral("1000"));
            QCOMPARE(table->item(0, 2)->text(), QStringLiteral("200"));
            QCOMPARE(table->item(1, 2)->text(), QStringLiteral("40.00"));
            for (int row = 0; row < table->rowCount(); ++row)
                QCOMPARE(table->item(row, 1)->text(), translate(Text::stats_Unreadable));
            dialog.accept();
        });
        window.dispatchCommand(CMainWnd::CmdCompareVehicles);
        QVERIFY(table);
        QCOMPARE(QFileInfo(bad).size(), qint64(21));
    }

    // The monthly figures of a period shorter than a month are left empty rather than
    // extrapolated.
    void comparePeriodsAndMonthlyFigures_data() {
        QTest::addColumn<int>("daySteps");
        QTest::addColumn<QStringList>("shown"); // period, monthly cost, monthly distance
        QTest::newRow("one day") << 0 << QStringList{"1", "", ""};
        QTest::newRow("two days") << 1 << QStringList{"2", "", ""};
        QTest::newRow("just under a month") << 28 << QStringList{"29", "", ""};
        QTest::newRow("a month") << 29 << QStringList{"30", "60", "500"};
    }
    void comparePeriodsAndMonthlyFigures() {
        QFETCH(int, daySteps);
        QFETCH(QStringList, shown);
        const QString car = m_folder.filePath(QStringLiteral("periodcar.fil"));
        writeLog(car, 2, 500, daySteps);
        TestWindow window;
        window.open();
        QCOMPARE(window.document().switchTo(car), CLogDocument::Switch::Opened);
        QStringList texts;
        DialogSeams::setNextDialogHandler([&texts](QDialog& dialog) {
            auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("compareTable"));
            for (const TotalsRow row :
                 {TotalsRow::Period, TotalsRow::MonthlyCost, TotalsRow::MonthlyDistance})
                texts.append(table->item(int(row), 0)->text());
        });
        window.dispatchCommand(CMainWnd::CmdCompareVehicles);
        QCOMPARE(texts, shown);
    }

    // Every vehicle in the units of the one chosen, named once beside each row's label.
    void compareConvertsIntoOneSetOfUnits_data() {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QStringList>("labels"); // distance, fuel, consumption
        QTest::addColumn<QStringList>("car");
        QTest::addColumn<QStringList>("van");
        QTest::newRow("the open vehicle's")
            << 0 << QStringList{"Distance, km", "Fuel, l", "Consumption, l / 100 km"}
            << QStringList{"1000", "80.00", "8.00"} << QStringList{"483", "40.00", "8.28"};
        QTest::newRow("the other vehicle's")
            << 1 << QStringList{"Distance, mi", "Fuel, gal (US)", "Consumption, mpg (US)"}
            << QStringList{"621", "21.13", "29.40"} << QStringList{"300", "10.57", "28.39"};
    }
    void compareConvertsIntoOneSetOfUnits() {
        QFETCH(int, chosen);
        QFETCH(QStringList, labels);
        QFETCH(QStringList, car);
        QFETCH(QStringList, van);
        const QString carPath = m_folder.filePath(QStringLiteral("unitcar.fil"));
        const QString vanPath = m_folder.filePath(QStringLiteral("unitvan.fil"));
        writeLog(carPath, 3, 500);
        {
            CFuelDatabase us(vanPath);
            us.setNewLogUnits({DistanceUnit::Miles, VolumeUnit::UsGallons, ConsumptionUnit::MpgUs,
                               QStringLiteral("$")});
            us.setVehicleName(QStringLiteral("Camper"));
            for (int i = 0; i < 2; ++i) {
                FillRecord fill;
                fill.odometer = 1000 + 300 * i;
                fill.fuel = 40.0f;
                fill.cost = 60.0f;
                fill.dateTime = FileTime::fromValue(kFirstDay + quint64(i) * kDay);
                fill.stationId = us.findOrAddStation(QStringLiteral("Station"));
                us.insertFill(fill);
            }
            QVERIFY(us.save());
        }
        writeRecentVehicles({vanPath});
        TestWindow window;
        window.open();
        QCOMPARE(window.document().switchTo(carPath), CLogDocument::Switch::Opened);
        QStringList shownLabels, shownCar, shownVan, headers;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            auto* compare = qobject_cast<CCompareDlg*>(&dialog);
            QVERIFY(compare);
            QCOMPARE(compare->unitsOf()->count(), 2);
            compare->unitsOf()->setCurrentIndex(chosen);
            QTableWidget* table = compare->table();
            for (int column = 0; column < 2; ++column)
                headers.append(table->horizontalHeaderItem(column)->text());
            for (const TotalsRow row :
                 {TotalsRow::Distance, TotalsRow::Fuel, TotalsRow::Consumption}) {
                shownLabels.append(table->verticalHeaderItem(int(row))->text());
                shownCar.append(table->item(int(row), 0)->text());
                shownVan.append(table->item(int(row), 1)->text());
            }
            // A cost in another currency than the units' names its own.
            QCOMPARE(table->item(int(TotalsRow::Cost), chosen == 0 ? 1 : 0)->text(),
                     chosen == 0 ? QStringLiteral("60.00 $") : QStringLiteral("120.00 Kč"));
        });
        window.dispatchCommand(CMainWnd::CmdCompareVehicles);
        QCOMPARE(headers, (QStringList{QStringLiteral("unitcar"), QStringLiteral("Camper")}));
        QCOMPARE(shownLabels, labels);
        QCOMPARE(shownCar, car);
        QCOMPARE(shownVan, van);
    }

    // A vehicle goes by the name typed for it, else by its file's name: in the title, Recent
    // vehicles and the file, where a name left as the file's stores nothing.
    void namesTheVehicle_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("a name") << " Camper "
                                << "Camper"
                                << "Camper";
        QTest::newRow("the file's name") << "named"
                                         << "named"
                                         << "";
        QTest::newRow("none") << ""
                              << "named"
                              << "";
    }
    void namesTheVehicle() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        const QString path = m_folder.filePath(QStringLiteral("named.fil"));
        QFile::remove(path);
        TestWindow window;
        window.open();
        const auto typeName = [](const QString& name) {
            DialogSeams::setNextDialogHandler([name](QDialog& dialog) {
                auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("vehicleName"));
                QVERIFY(field);
                field->setText(name);
                if (auto* done = dialog.findChild<QPushButton*>(QStringLiteral("done")))
                    done->click();
                else
                    dialog.accept();
            });
        };
        DialogSeams::setNextFileName(path);
        typeName(typed);
        window.dispatchCommand(CMainWnd::CmdNewVehicle);
        QCOMPARE(window.windowTitle(), shown + QStringLiteral("[*] \u2013 Tankometer"));
        QCOMPARE(readVehicleName(readSettingsBlock(path)), stored);
        window.commands().fillRecentVehiclesMenu(window.recentVehiclesMenu());
        QCOMPARE(window.recentVehiclesMenu()->actions().first()->text(), shown);

        typeName(QStringLiteral("Van"));
        window.dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(window.windowTitle(), QStringLiteral("Van[*] \u2013 Tankometer"));
        QCOMPARE(vehicleDisplayName(path), QStringLiteral("Van"));
        typeName(QString());
        window.dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(window.windowTitle(), QStringLiteral("named[*] \u2013 Tankometer"));
        QCOMPARE(vehicleDisplayName(path), QStringLiteral("named"));
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(VehiclesTest)
#include "tst_vehicles.moc"
