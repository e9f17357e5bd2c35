#include "core/paths.h"
#include "db/calendar.h"
#include "db/fueldatabase.h"
#include "db/regional.h"
#include "filebytes.h"
#include "fullfilesystem.h"
#include "localisation/language.h"
#include "ui/import/importdlg.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "windowtest.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <sys/stat.h>

namespace {

const QString kHeader = QStringLiteral("station;odometer;fuel;cost;date;time;driver;notes\n");

QComboBox* picker(QDialog& dialog, const char* name) {
    return dialog.findChild<QComboBox*>(QString::fromLatin1(name));
}

QStringList entries(QComboBox* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->itemText(i));
    return texts;
}

const MessageBoxRecord& lastMessage() {
    return DialogSeams::askedMessages().constLast();
}

} // namespace

class CsvCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DialogSeams::enable(); }

    void init() {
        startWindowCase();
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char('.'), QStringLiteral("."), 1});
        m_window = std::make_unique<TestWindow>();
        m_window->open();
    }

    void cleanup() {
        m_window.reset();
        QCOMPARE(DialogSeams::pendingAnswers(), 0);
        setRegionalSettingsOverride(std::nullopt);
    }

    void exportCommand_data();
    void exportCommand();
    void importCommand_data();
    void importCommand();
    void importDialogShowsTheColumns();
    void importFileGoneBeforeImport();
    void importDialogStartsOnNamedColumns_data();
    void importDialogStartsOnNamedColumns();
    void importRefusalKeepsTheChoices();
    void importPickersAreNamedByTheirLabels();
    void importAnotherVehiclesHistory_data();
    void importAnotherVehiclesHistory();
    void importRefusesWhatIsNoRegularFile_data();
    void importRefusesWhatIsNoRegularFile();

private:
    // Imports text with columns 1 to 8 in the export's order.
    void importWithExportColumns(const QString& path) {
        DialogSeams::setNextFileName(path);
        DialogSeams::setNextDialogHandler([](QDialog& dialog) {
            const char* names[] = {"station", "odometer", "fuel",   "cost",
                                   "date",    "time",     "driver", "notes"};
            for (int column = 0; column < 8; ++column) {
                QComboBox* box = picker(dialog, names[column]);
                box->setCurrentIndex(box->findData(column));
            }
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
        });
        m_window->dispatchCommand(CMainWnd::CmdImportCsv);
    }

    std::unique_ptr<CMainWnd> m_window;
    QTemporaryDir m_dir;
};

void CsvCommandsTest::exportCommand_data() {
    QTest::addColumn<QString>("fileName"); // empty: cancelled
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QByteArray>("earlier"); // the file before the export, empty: none

    QTest::newRow("cancelled") << ""
                               << "" << false << QByteArray();
    QTest::newRow("written") << "out.csv"
                             << "Export successfully finished." << true << QByteArray();
    QTest::newRow("written over an earlier export")
        << "out.csv"
        << "Export successfully finished." << true << QByteArray("earlier export\n");
    // "blocker" is a plain file, so nothing can be created below it.
    QTest::newRow("cannot be written") << "blocker/out.csv"
                                       << "Error exporting database." << false << QByteArray();
    // A file system mounted on "full" with no room left.
    QTest::newRow("disk full") << "full/out.csv"
                               << "Error exporting database." << false
                               << QByteArray("earlier export\n");
}

void CsvCommandsTest::exportCommand() {
    QFETCH(QString, fileName);
    QFETCH(QString, message);
    QFETCH(bool, written);
    QFETCH(QByteArray, earlier);
    writeAll(m_dir.filePath(QStringLiteral("blocker")), "a file, not a folder");
    writeAll(m_dir.filePath(QStringLiteral("in.csv")),
             (kHeader + "Shell;12345;40.5;1000;18.5.2004;7:05:09;;a;b\n").toUtf8());
    importWithExportColumns(m_dir.filePath(QStringLiteral("in.csv")));
    DialogSeams::reset();

    const QString path = fileName.isEmpty() ? QString() : m_dir.filePath(fileName);
    std::optional<FullFileSystem> full;
    if (fileName.startsWith(QStringLiteral("full/"))) {
        full.emplace(m_dir.filePath(QStringLiteral("full")));
        REQUIRE_MOUNTED(*full);
    }
    if (!earlier.isEmpty())
        writeAll(path, earlier);
    if (full)
        QVERIFY(full->fill());
    DialogSeams::setNextFileName(path);
    m_window->dispatchCommand(CMainWnd::CmdExportCsv);
    QCOMPARE(DialogSeams::askedFileDialogs().size(), 1);
    const FileDialogRecord& asked = DialogSeams::askedFileDialogs().constFirst();
    QVERIFY(asked.mode == FileDialogMode::Save);
    QCOMPARE(asked.request.filter, QStringLiteral("CSV (*.csv)"));
    QCOMPARE(asked.request.defaultSuffix, QStringLiteral("csv"));
    if (message.isEmpty()) {
        QVERIFY(DialogSeams::askedMessages().isEmpty());
        return;
    }
    QCOMPARE(DialogSeams::askedMessages().size(), 1);
    QCOMPARE(lastMessage().caption, QStringLiteral("Export"));
    QCOMPARE(lastMessage().text, message);
    const QString expected = kHeader + "Shell;12345;40.50;1000.00;18.5.2004;7:05:09;;a\n";
    QCOMPARE(readAll(path), written ? expected.toUtf8() : earlier);
    QCOMPARE(m_window->listModel()->rowCount(), 1);
}

void CsvCommandsTest::importCommand_data() {
    QTest::addColumn<QString>("fileName"); // empty: the file dialog is cancelled
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("odometers"); // of the list, in its order
    QTest::addColumn<QString>("message");

    const QString lines = kHeader + "B;2000;40;60;2.1.2004;;;\n"
                                    "X;x;40;60;3.1.2004;;;\n"
                                    "A;1000;40;60;1.1.2004;;;\n";
    QTest::newRow("file dialog cancelled") << "" << false << lines << QStringList{"500"} << "";
    QTest::newRow("dialog cancelled") << "in.csv" << false << lines << QStringList{"500"} << "";
    QTest::newRow("imported in time order")
        << "in.csv" << true << lines << QStringList{"500", "1000", "2000"}
        << "Fills imported: 2. Lines skipped: 1.\nLine 3: Odometer \"x\" cannot be read.";
    QTest::newRow("every line comes in")
        << "in.csv" << true << kHeader + "A;1000;40;60;1.1.2004;;;\n"
        << QStringList{"500", "1000"}
        << "Import successfully finished.\nFills imported: 1. Lines skipped: 0.";
    QTest::newRow("a time that does not read, a fill already in the log")
        << "in.csv" << true
        << kHeader +
               "A;1000;40;60;1.1.2004;25:99;;\nE;500;1;1;1.12.2003;;;\nB;2000;40;60;2.1.2004;;;\n"
        << QStringList{"500", "2000"}
        << "Fills imported: 1. Lines skipped: 1.\nAlready in the log: 1\n"
           "Line 2: Time \"25:99\" cannot be read.";
    QString namedLines;
    for (int line = 2; line <= 6; ++line)
        namedLines += QStringLiteral("Line %1: Odometer \"x\" cannot be read.\n").arg(line);
    QTest::newRow("more lines skipped than named")
        << "in.csv" << true << kHeader + QStringLiteral("A;x;40;60;2.1.2004;;;\n").repeated(6)
        << QStringList{"500"}
        << "Nothing was imported.\nFills imported: 0. Lines skipped: 6.\n" + namedLines +
               QChar(0x2026);
    QTest::newRow("header only") << "in.csv" << true << kHeader << QStringList{"500"}
                                 << "Nothing was imported.\n"
                                    "Fills imported: 0. Lines skipped: 0.";
    QTest::newRow("nothing reads whole")
        << "in.csv" << true << kHeader + "A;41.230;40;60;2.1.2004;;;\nB;1;4O.5;60;2.1.2004;;;\n"
        << QStringList{"500"}
        << "Nothing was imported.\nFills imported: 0. Lines skipped: 2.\n"
           "Line 2: Odometer \"41.230\" cannot be read.\nLine 3: Fuel \"4O.5\" cannot be read.";
    QTest::newRow("a long line is one line")
        << "in.csv" << true << kHeader + "A;x;40;60;2.1.2004;;;" + QString(5000, u'n') + "\n"
        << QStringList{"500"}
        << "Nothing was imported.\nFills imported: 0. Lines skipped: 1.\n"
           "Line 2: Odometer \"x\" cannot be read.";
}

void CsvCommandsTest::importCommand() {
    QFETCH(QString, fileName);
    QFETCH(bool, accept);
    QFETCH(QString, text);
    QFETCH(QStringList, odometers);
    QFETCH(QString, message);
    // One fill already there, dated after the ones imported.
    const QString existing = m_dir.filePath(QStringLiteral("existing.csv"));
    writeAll(existing, (kHeader + "E;500;1;1;1.12.2003;;;\n").toUtf8());
    importWithExportColumns(existing);
    DialogSeams::reset();

    const QString path = fileName.isEmpty() ? QString() : m_dir.filePath(fileName);
    if (!path.isEmpty())
        writeAll(path, text.toUtf8());
    if (accept) {
        importWithExportColumns(path);
    } else {
        DialogSeams::setNextFileName(path);
        m_window->dispatchCommand(CMainWnd::CmdImportCsv);
    }
    QCOMPARE(DialogSeams::askedFileDialogs().constFirst().mode, FileDialogMode::Open);
    QCOMPARE(DialogSeams::askedFileDialogs().constFirst().request.filter,
             QStringLiteral("CSV (*.csv)"));
    QCOMPARE(DialogSeams::ranDialogs().size(), path.isEmpty() ? 0 : 1);
    QStringList shown;
    for (int row = 0; row < m_window->listModel()->rowCount(); ++row)
        shown.append(m_window->listModel()->cellText(row, CFillListModel::Odometer));
    QCOMPARE(shown, odometers);
    QCOMPARE(m_window->database().getFillCount(), odometers.size());
    if (message.isEmpty()) {
        QVERIFY(DialogSeams::askedMessages().isEmpty());
    } else {
        QCOMPARE(lastMessage().caption, QStringLiteral("Import"));
        QCOMPARE(lastMessage().text, message);
    }
    // The menu bar is back after the dialog.
    QVERIFY(m_window->commandAction(CMainWnd::CmdImportCsv));
}

void CsvCommandsTest::importDialogShowsTheColumns() {
    const QString path = m_dir.filePath(QStringLiteral("columns.csv"));
    writeAll(path, "\"Tank\";km;l\n\n\"a;b\";1;2\nc;3;4\n");
    QStringList required;
    QStringList optional;
    QStringList headers;
    QString firstCell;
    int previewRows = 0;
    QString caption;
    QString focus;
    DialogSeams::setNextFileName(path);
    DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
        caption = dialog.windowTitle();
        focus = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
        required = entries(picker(dialog, "fuel"));
        QCOMPARE(picker(dialog, "fuel")->currentIndex(), 0);
        optional = entries(picker(dialog, "driver"));
        QCOMPARE(picker(dialog, "driver")->currentData().toInt(), -1);
        auto* preview = dialog.findChild<QTableWidget*>(QStringLiteral("preview"));
        previewRows = preview->rowCount();
        for (int column = 0; column < preview->columnCount(); ++column)
            headers.append(preview->horizontalHeaderItem(column)->text());
        firstCell = preview->item(0, 0)->text();
        dialog.reject();
    });
    m_window->dispatchCommand(CMainWnd::CmdImportCsv);
    QCOMPARE(caption, QStringLiteral("Import CVS"));
    QCOMPARE(focus, QStringLiteral("station"));
    const QStringList columns{"(1.) \"Tank\"", "(2.) km", "(3.) l"};
    QCOMPARE(required, columns);
    QCOMPARE(optional, QStringList{"--- missing ---"} + columns);
    QCOMPARE(headers, columns);
    QCOMPARE(previewRows, 2);
    QCOMPARE(firstCell, QStringLiteral("a;b"));
}

void CsvCommandsTest::importFileGoneBeforeImport() {
    const QString path = m_dir.filePath(QStringLiteral("gone.csv"));
    writeAll(path, (kHeader + "S;1;1;1;1.1.2004;;;\n").toUtf8());
    DialogSeams::setNextFileName(path);
    DialogSeams::setNextDialogHandler([&path](QDialog& dialog) {
        QFile::remove(path);
        dialog.accept();
    });
    m_window->dispatchCommand(CMainWnd::CmdImportCsv);
    QCOMPARE(DialogSeams::askedMessages().size(), 1);
    QCOMPARE(lastMessage().caption, QStringLiteral("Import"));
    QCOMPARE(lastMessage().text, QStringLiteral("Error importing database."));
    QCOMPARE(m_window->database().getFillCount(), 0);
}

void CsvCommandsTest::importDialogStartsOnNamedColumns_data() {
    QTest::addColumn<QString>("language"); // empty: English
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("chosen"); // station, odometer, fuel, cost, date, time, driver,
                                             // notes

    QTest::newRow("the export's names in another order")
        << ""
        << "date;STATION;x;Odometer;fuel;cost"
        << QStringList{"(2.) STATION", "(4.) Odometer",   "(5.) fuel",       "(6.) cost",
                       "(1.) date",    "--- missing ---", "--- missing ---", "--- missing ---"};
    QTest::newRow("German labels")
        << "german.lng"
        << "Tankstelle:;Kilometerstand;Kraftstoff;Kosten;Datum;Uhrzeit;Fahrer;Notizen"
        << QStringList{"(1.) Tankstelle:", "(2.) Kilometerstand", "(3.) Kraftstoff",
                       "(4.) Kosten",      "(5.) Datum",          "(6.) Uhrzeit",
                       "(7.) Fahrer",      "(8.) Notizen"};
    QTest::newRow("no names") << ""
                              << "a;b"
                              << QStringList{"(1.) a",          "(1.) a",         "(1.) a",
                                             "(1.) a",          "(1.) a",         "--- missing ---",
                                             "--- missing ---", "--- missing ---"};
}

void CsvCommandsTest::importDialogStartsOnNamedColumns() {
    QFETCH(QString, language);
    QFETCH(QString, header);
    QFETCH(QStringList, chosen);
    if (!language.isEmpty())
        ::language().load(language, QStringLiteral(TANKOMETER_LANG_DIR));
    const QString path = m_dir.filePath(QStringLiteral("named.csv"));
    writeAll(path, (header + "\n").toUtf8());
    QStringList shown;
    DialogSeams::setNextFileName(path);
    DialogSeams::setNextDialogHandler([&shown](QDialog& dialog) {
        for (const char* name :
             {"station", "odometer", "fuel", "cost", "date", "time", "driver", "notes"})
            shown.append(picker(dialog, name)->currentText());
        dialog.reject();
    });
    m_window->dispatchCommand(CMainWnd::CmdImportCsv);
    QCOMPARE(shown, chosen);
}

// Import with a required value that has no column of its own names it and leaves the dialog
// open with every choice as it was.
void CsvCommandsTest::importRefusalKeepsTheChoices() {
    const QString path = m_dir.filePath(QStringLiteral("unnamed.csv"));
    writeAll(path, "a;b;c;d;e\nS;1;1;1;1.1.2004\n");
    bool open = false;
    QString focus;
    QList<int> chosen;
    DialogSeams::setNextFileName(path);
    DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
        dialog.show();
        picker(dialog, "date")->setCurrentIndex(4);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
        open = dialog.isVisible();
        focus = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
        for (const char* name : {"station", "odometer", "date", "time"})
            chosen.append(picker(dialog, name)->currentData().toInt());
        dialog.reject();
    });
    m_window->dispatchCommand(CMainWnd::CmdImportCsv);
    QVERIFY(open);
    QCOMPARE(focus, QStringLiteral("odometer"));
    QCOMPARE(chosen, (QList<int>{0, 0, 4, -1}));
    QCOMPARE(DialogSeams::askedMessages().size(), 1);
    QCOMPARE(lastMessage().text, QStringLiteral("Station and Odometer cannot share column 1. "
                                                "Please choose the column that holds Odometer."));
    QCOMPARE(m_window->database().getFillCount(), 0);
}

// Each picker is named by its label, not by the column it shows. (Qt's combo box reports its
// entry as its name on Unix and names the label through the labelled-by relation.)
void CsvCommandsTest::importPickersAreNamedByTheirLabels() {
    const QString path = m_dir.filePath(QStringLiteral("named.csv"));
    writeAll(path, (kHeader + "S;1;1;1;1.1.2004;;;\n").toUtf8());
    QStringList names;
    const auto collect = [&names](QDialog& dialog) {
        for (const char* name : {"station", "columnStation", "driver", "columnDriver"}) {
            if (QComboBox* box = picker(dialog, name))
                names.append(box->accessibleName());
        }
        dialog.reject();
    };
    DialogSeams::setNextFileName(path);
    DialogSeams::setNextDialogHandler(collect);
    m_window->dispatchCommand(CMainWnd::CmdImportCsv);
    DialogSeams::setNextFileName(path);
    DialogSeams::setNextDialogHandler(collect);
    m_window->dispatchCommand(CMainWnd::CmdImportOtherLog);
    QCOMPARE(names, (QStringList{"Station:", "Driver:", "Station:", "Driver:"}));
}

void CsvCommandsTest::importAnotherVehiclesHistory_data() {
    QTest::addColumn<bool>("otherLog"); // Import from another fuel log, else Import CSV
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<int>("openFills");  // of the log open at the end
    QTest::addColumn<int>("firstFills"); // of the log open at the start, as saved

    for (const bool otherLog : {false, true}) {
        const char* command = otherLog ? "other log: " : "CSV: ";
        QTest::addRow("%snew vehicle log", command) << otherLog << QMessageBox::Yes << 2 << 2;
        QTest::addRow("%sopen log", command) << otherLog << QMessageBox::No << 4 << 4;
        QTest::addRow("%scancelled", command) << otherLog << QMessageBox::Cancel << 2 << 2;
    }
}

// Readings that do not continue the open log's are shown beside the log's, and go into a new
// vehicle's log or, when the user says so, into the open one.
void CsvCommandsTest::importAnotherVehiclesHistory() {
    QFETCH(bool, otherLog);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(int, openFills);
    QFETCH(int, firstFills);
    const QString existing = m_dir.filePath(QStringLiteral("existing.csv"));
    writeAll(existing,
             (kHeader + "E;212477;40;60;1.1.2024;;;\nE;213000;40;60;1.2.2024;;;\n").toUtf8());
    importWithExportColumns(existing);
    DialogSeams::reset();
    const QString firstLog = m_window->vehiclePath();

    const QString path = m_dir.filePath(QStringLiteral("other.csv"));
    const QString newLog = m_dir.filePath(QStringLiteral("other vehicle.fil"));
    QFile::remove(newLog);
    if (otherLog) {
        writeAll(path, "date,odometer,litres,cost\n2024-03-01,31492,40,60\n"
                       "2024-04-01,32000,40,60\n");
        DialogSeams::setNextFileName(path);
        DialogSeams::setNextDialogHandler([](QDialog& dialog) { dialog.accept(); });
    } else {
        writeAll(path,
                 (kHeader + "O;31492;40;60;1.3.2024;;;\nO;32000;40;60;1.4.2024;;;\n").toUtf8());
        DialogSeams::setNextFileName(path);
        DialogSeams::setNextDialogHandler([](QDialog& dialog) {
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
        });
    }
    DialogSeams::setNextAnswer(answer);
    if (answer == QMessageBox::Yes) {
        DialogSeams::setNextFileName(newLog);
        DialogSeams::setNextDialogHandler([](QDialog& dialog) { dialog.accept(); });
    }
    m_window->dispatchCommand(otherLog ? CMainWnd::CmdImportOtherLog : CMainWnd::CmdImportCsv);

    const MessageBoxRecord& question = DialogSeams::askedMessages().constFirst();
    QCOMPARE(question.text,
             QStringLiteral("The odometer readings of the file do not continue those of the open "
                            "log: they may be another vehicle's.\n"
                            "In the file: 31492 to 32000 km, from 1.3.2024 to 1.4.2024.\n"
                            "In the open log: 212477 to 213000 km, from 1.1.2024 to 1.2.2024.\n"
                            "Import them into a new vehicle log? (No imports them into the open "
                            "log.)"));
    QCOMPARE(question.defaultButton, QMessageBox::Yes);
    QCOMPARE(DialogSeams::askedMessages().size(), answer == QMessageBox::Cancel ? 1 : 2);
    QCOMPARE(m_window->database().getFillCount(), openFills);
    QCOMPARE(m_window->vehiclePath(), answer == QMessageBox::Yes ? newLog : firstLog);
    QVERIFY(m_window->document().save());
    CFuelDatabase first(firstLog);
    first.load();
    QCOMPARE(first.getFillCount(), firstFills);
}

void CsvCommandsTest::importRefusesWhatIsNoRegularFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("otherLog");
    for (const bool otherLog : {false, true}) {
        const char* command = otherLog ? "other log: " : "CSV: ";
        QTest::addRow("%snamed pipe", command) << "fifo" << otherLog;
        QTest::addRow("%sendless device", command) << "/dev/zero" << otherLog;
        QTest::addRow("%sfolder", command) << "folder" << otherLog;
    }
}

// Both imports refuse at once, with the message of a file that cannot be opened.
void CsvCommandsTest::importRefusesWhatIsNoRegularFile() {
    QFETCH(QString, kind);
    QFETCH(bool, otherLog);
    QString path = kind;
    if (kind == u"fifo") {
        path = m_dir.filePath(QStringLiteral("fifo.csv"));
        QFile::remove(path);
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == u"folder") {
        path = m_dir.path();
    }
    if (otherLog) {
        DialogSeams::setNextFileName(path);
        m_window->dispatchCommand(CMainWnd::CmdImportOtherLog);
        QCOMPARE(DialogSeams::ranDialogs(), QList<QString>{});
    } else {
        importWithExportColumns(path);
    }
    QCOMPARE(DialogSeams::askedMessages().size(), 1);
    QCOMPARE(lastMessage().caption, QStringLiteral("Import"));
    QCOMPARE(lastMessage().text, QStringLiteral("Error importing database."));
    QCOMPARE(m_window->database().getFillCount(), 0);
}

QTEST_MAIN(CsvCommandsTest)
#include "tst_csvcommands.moc"
