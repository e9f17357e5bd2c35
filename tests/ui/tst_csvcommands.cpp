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
        DialogSeams::reset();
        QFile::remove(databaseFilePath());
        language().clear();
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
        << "Import successfully finished.\nFills imported: 2. Lines skipped: 1.\n"
           "Line 3: Odometer \"x\" cannot be read.";
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
