// The statistics report: its pages and their text in a PDF file, and Print and Save as PDF in
// the statistics window. The PDF is read back with poppler's pdfinfo and pdftotext.

#include "db/calendar.h"
#include "db/fueldatabase.h"
#include "db/regional.h"
#include "localisation/language.h"
#include "ui/charts/chartsplugin.h"
#include "ui/charts/statisticswnd.h"
#include "ui/charts/statsreport.h"
#include "windowtest.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

FillRecord fillOn(QDate date, qint32 odometer) {
    FillRecord fill;
    fill.odometer = odometer;
    fill.fuel = 30.0f + float(date.day() % 7);
    fill.cost = fill.fuel * 1.7f;
    const SystemTime noon{
        quint16(date.year()), quint16(date.month()), 0, quint16(date.day()), 12, 0, 0, 0};
    if (!systemTimeToFileTime(noon, &fill.dateTime))
        qFatal("no file time for %s", qPrintable(date.toString()));
    return fill;
}

// A fill every 9 days from 1 January 2024 through the given number of months, none in the
// second month (an empty month in the table).
void writeLog(CFuelDatabase& database, int months) {
    const QDate end = QDate(2024, 1, 1).addMonths(months);
    qint32 odometer = 10000;
    for (QDate day(2024, 1, 1); day < end; day = day.addDays(9)) {
        odometer += 550;
        if (day.month() != 2 || day.year() != 2024)
            database.insertFill(fillOn(day, odometer));
    }
}

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& path) {
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                   QRegularExpression::MultilineOption);
    return pages.match(run(QStringLiteral("pdfinfo"), {path})).captured(1).toInt();
}

// The text of the pages, each run of blanks and line ends as one space, the ligatures the
// fonts set for "fi" and "fl" as their letters.
QString pdfText(const QString& path) {
    return run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")})
        .replace(QChar(0xFB01), QStringLiteral("fi"))
        .replace(QChar(0xFB02), QStringLiteral("fl"))
        .simplified();
}

QStringList monthLabels(int months) {
    QStringList labels;
    for (int i = 0; i < months; ++i)
        labels.append(
            QLocale().toString(QDate(2024, 1, 1).addMonths(i), QStringLiteral("MMM yyyy")));
    return labels;
}

} // namespace

class StatsReportTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        setLinkedChartsModule(&m_charts);
        DialogSeams::enable();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            QFAIL("pdftotext and pdfinfo (poppler-utils, see tools/install-deps.sh) are needed");
    }
    void init() { startPlainRegionWindowCase(); }
    void cleanup() { endPlainRegionWindowCase(); }

    // Every month of the period is in the table, on as many pages as it takes, and the pages
    // say which of how many they are.
    void pdfOfAPeriod_data() {
        QTest::addColumn<int>("months");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("fewestPages");
        QTest::addColumn<int>("mostPages");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("30 months")
            << 30 << QString() << 1 << 3 << QStringList{"Total statistics", "Month", "Total"};
        QTest::newRow("30 months in German")
            << 30 << "german.lng" << 1 << 3 << QStringList{"Gesamtstatistik", "Monat", "Gesamt"};
        QTest::newRow("10 years: the table runs on")
            << 120 << QString() << 4 << 6 << QStringList{"Month"};
        QTest::newRow("no fills") << 0 << QString() << 1 << 1
                                  << QStringList{"No fills in this period."};
    }
    void pdfOfAPeriod() {
        QFETCH(int, months);
        QFETCH(QString, language);
        QFETCH(int, fewestPages);
        QFETCH(int, mostPages);
        QFETCH(QStringList, texts);
        if (!language.isEmpty())
            ::language().load(language, QStringLiteral(TANKOMETER_LANG_DIR));
        CFuelDatabase database;
        writeLog(database, months);
        StatsReport report;
        report.vehicle = QStringLiteral("Octavia Kombi");
        report.source.database = &database;
        report.source.units = database.units();
        report.source.days = periodDays({}, database, QDate(2026, 12, 1));
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("report.pdf"));
        QVERIFY(writeStatsReportPdf(path, report));

        const int pages = pdfPages(path);
        QVERIFY2(pages >= fewestPages && pages <= mostPages, qPrintable(QString::number(pages)));
        const QString text = pdfText(path);
        texts.append(report.vehicle);
        texts.append(translate(Text::statswnd_ReportPage).arg(pages).arg(pages));
        if (months > 0) {
            texts.append(monthLabels(months));
            texts.append(statsChartSummary(report.source, StatsSeries::MonthlyDistance));
        }
        for (const QString& expected : std::as_const(texts))
            QVERIFY2(text.contains(expected.simplified()), qPrintable(expected));
    }

    // A file that cannot be written is reported, and one that was there stays as it was.
    void aFailedWriteIsReported() {
        CFuelDatabase database;
        writeLog(database, 3);
        StatsReport report{QStringLiteral("Fabia"), {}};
        report.source.database = &database;
        report.source.days = periodDays({}, database, QDate(2026, 12, 1));
        QTemporaryDir folder;
        QVERIFY(!writeStatsReportPdf(folder.filePath(QStringLiteral("gone/report.pdf")), report));
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("gone/report.pdf"))));
    }

    // The window's buttons give the report of the period it shows.
    void printAndSaveFromTheWindow() {
        {
            CFuelDatabase database(databaseFilePath());
            writeLog(database, 30);
            QVERIFY(database.save());
        }
        TestWindow main;
        main.open();
        main.dispatchCommand(CMainWnd::CmdStatisticsOverTime);
        auto* window = main.findChild<CStatisticsWnd*>(QStringLiteral("statisticsWindow"));
        QVERIFY(window);
        window->setPeriod(StatsPeriod{PeriodChoice::Year, 2025, {}, {}});
        window->refresh();
        QTemporaryDir folder;

        const QString saved = folder.filePath(QStringLiteral("saved.pdf"));
        DialogSeams::setNextFileName(saved);
        window->findChild<QPushButton*>(QStringLiteral("savePdf"))->click();
        QCOMPARE(DialogSeams::askedFileDialogs().constLast().request.defaultSuffix,
                 QStringLiteral("pdf"));

        const QString printed = folder.filePath(QStringLiteral("printed.pdf"));
        DialogSeams::setNextDialogHandler([&printed](QDialog& dialog) {
            QPrinter* printer = static_cast<QPrintDialog&>(dialog).printer();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printed);
            // accept() would take the dialog's own choice of printer over the one set here.
            dialog.done(QDialog::Accepted);
        });
        window->findChild<QPushButton*>(QStringLiteral("print"))->click();
        QCOMPARE(DialogSeams::ranDialogs().constLast(), QStringLiteral("printDialog"));

        const QString vehicle = QFileInfo(databaseFilePath()).completeBaseName();
        for (const QString& path : {saved, printed}) {
            const QString text = pdfText(path);
            QVERIFY2(text.contains(vehicle), qPrintable(path));
            QVERIFY(text.contains(QStringLiteral("Period: 1/1/25 to 12/31/25")));
            QVERIFY(!text.contains(QStringLiteral("Dec 2024")));
        }

        DialogSeams::setNextFileName(folder.filePath(QStringLiteral("gone/report.pdf")));
        window->findChild<QPushButton*>(QStringLiteral("savePdf"))->click();
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        QVERIFY(DialogSeams::askedMessages().constFirst().text.contains(
            QStringLiteral("could not be saved")));
        window->close();
        main.dispatchCommand(CMainWnd::CmdOk);
    }

private:
    CChartsPlugin m_charts;
};

QTEST_MAIN(StatsReportTest)
#include "tst_statsreport.moc"
