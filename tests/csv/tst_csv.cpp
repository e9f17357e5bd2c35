#include "csv/csvimport.h"
#include "csv/csvreader.h"
#include "csv/csvwriter.h"
#include "db/calendar.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "db/regional.h"
#include "testtime.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kHeader = QStringLiteral("station;odometer;fuel;cost;date;time;driver;notes\n");
const CsvColumnMap kExportColumns = {0, 1, 2, 3, 7, 4, 5, 6};

struct FillValues {
    QString station;
    qint32 odometer;
    float fuel;
    float cost;
    FileTime time;
    QString driver; // null: no driver
    QString notes;
};

void addFill(CFuelDatabase& database, const FillValues& values) {
    FillRecord fill;
    fill.stationId = database.findOrAddStation(values.station);
    fill.driverId = values.driver.isNull() ? -1 : database.findOrAddDriver(values.driver);
    fill.odometer = values.odometer;
    fill.fuel = values.fuel;
    fill.cost = values.cost;
    fill.dateTime = values.time;
    setFieldText(fill.notes, values.notes);
    database.insertFill(fill);
}

// One fill as "station|odometer|fuel|cost|date time|driver|notes", "-" for no driver, and
// "|p-", "|-m" or "|pm" after a flagged one.
QStringList describe(const CFuelDatabase& database) {
    QStringList lines;
    for (int i = 0; i < database.getFillCount(); ++i) {
        const FillRecord& fill = *database.getFill(i);
        const StationRecord* station = database.getStation(fill.stationId);
        const DriverRecord* driver = database.getDriver(fill.driverId);
        lines << QStringList{station ? fieldText(station->name) : QStringLiteral("?"),
                             QString::number(fill.odometer),
                             formatAmountWithPoint(fill.fuel),
                             formatAmountWithPoint(fill.cost),
                             formatDate(fill.dateTime) + u' ' + formatTime(fill.dateTime),
                             driver ? fieldText(driver->name) : QStringLiteral("-"),
                             fieldText(fill.notes)}
                     .join(u'|');
        if (const FillFlags flags = database.getFillFlags(i); flags.any())
            lines.last() += QStringLiteral("|%1%2").arg(QChar(flags.partial ? u'p' : u'-'),
                                                        QChar(flags.missedBefore ? u'm' : u'-'));
        if (const FillFlags flags = database.getFillFlags(i); flags.charge || flags.atHome)
            lines.last() +=
                QStringLiteral("|%1%2 %3/%4")
                    .arg(QChar(flags.charge ? u'c' : u'-'), QChar(flags.atHome ? u'h' : u'-'),
                         QString::number(flags.chargeBefore), QString::number(flags.chargeAfter));
    }
    return lines;
}

CsvImportResult importText(const QString& text, const CsvColumnMap& columns,
                           CFuelDatabase& database) {
    CCsvReader reader;
    reader.setText(text);
    return importCsv(reader, columns, database);
}

QString skippedSummary(const CsvImportResult& result) {
    QStringList lines;
    for (const CsvSkippedLine& line : result.firstSkipped)
        lines << QStringLiteral("%1:%2:%3")
                     .arg(line.lineNumber)
                     .arg(int(line.reason.value))
                     .arg(line.reason.text);
    return lines.join(u',');
}

} // namespace

class CsvTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char('.'), QStringLiteral("."), 1});
    }
    void cleanup() { setRegionalSettingsOverride(std::nullopt); }

    void exportLines_data();
    void exportLines();
    void exportWritesWholeOrNothing();
    void splitRecord_data();
    void splitRecord();
    void readRecords_data();
    void readRecords();
    void import_data();
    void import();
    void importEncodings_data();
    void importEncodings();
    void exportImportRoundTrip();
    void chargesExportAndImportBack();
    void importAcrossLocales_data();
    void importAcrossLocales();
    void importSkipsFillsInTheLog_data();
    void importSkipsFillsInTheLog();
    void headerNamesTheColumns_data();
    void headerNamesTheColumns();
    void unassignedValue_data();
    void unassignedValue();
    void newestFirstGivesTheSameTable();
    void mergeFillsKeepsInsertOrder();
};

void CsvTest::exportLines_data() {
    QTest::addColumn<QChar>("decimal");
    QTest::addColumn<QList<FillValues>>("fills");
    QTest::addColumn<QString>("expected");

    const FileTime may18 = fileTimeOf(2004, 5, 18, 7, 5, 9);
    const FillValues plain{"Shell", 12345, 40.5f, 1000.0f, may18, "Karel", "full"};
    QTest::newRow("empty database") << QChar(u'.') << QList<FillValues>{} << kHeader;
    QTest::newRow("point locale") << QChar(u'.') << QList<FillValues>{plain}
                                  << kHeader +
                                         "Shell;12345;40.50;1000.00;18.5.2004;7:05:09;Karel;full\n";
    QTest::newRow("comma locale") << QChar(u',') << QList<FillValues>{plain}
                                  << kHeader +
                                         "Shell;12345;40.50;1000.00;18.5.2004;7:05:09;Karel;full\n";
    QTest::newRow("no driver") << QChar(u'.')
                               << QList<FillValues>{{"Aral", -5, 0.004f, 2.5f, may18, QString(),
                                                     ""}}
                               << kHeader + "Aral;-5;0.00;2.50;18.5.2004;7:05:09;;\n";
    QTest::newRow("quoted fields")
        << QChar(u'.')
        << QList<FillValues>{{"A;B", 1, 1, 1, may18, "say \"hi\"", "two\nlines; \"x\""}}
        << kHeader + "\"A;B\";1;1.00;1.00;18.5.2004;7:05:09;\"say \"\"hi\"\"\";"
                     "\"two\nlines; \"\"x\"\"\"\n";
    QTest::newRow("time that cannot be converted")
        << QChar(u'.') << QList<FillValues>{{"S", 1, 1, 1, FileTime::fromValue(~0ull), "D", "n"}}
        << kHeader + "S;1;1.00;1.00;;;D;n\n";
    QTest::newRow("database order")
        << QChar(u'.')
        << QList<FillValues>{{"B", 2, 1, 1, fileTimeOf(2005, 1, 1), QString(), ""},
                             {"A", 1, 1, 1, fileTimeOf(2004, 1, 1), QString(), ""}}
        << kHeader + "A;1;1.00;1.00;1.1.2004;0:00:00;;\nB;2;1.00;1.00;1.1.2005;0:00:00;;\n";
}

void CsvTest::exportLines() {
    QFETCH(QChar, decimal);
    QFETCH(QList<FillValues>, fills);
    QFETCH(QString, expected);
    setRegionalSettingsOverride(RegionalSettings{decimal, QStringLiteral("."), 1});
    CFuelDatabase database;
    for (const FillValues& fill : fills)
        addFill(database, fill);
    QCOMPARE(csvExportText(database), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    QVERIFY(writeCsvFile(path, database));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected.toUtf8());
}

void CsvTest::exportWritesWholeOrNothing() {
    CFuelDatabase database;
    addFill(database, {"Shell", 1, 1, 1, fileTimeOf(2004, 5, 18), QString(), ""});
    QTemporaryDir dir;
    // A folder that is a plain file: nothing can be created in it.
    const QString plainFile = dir.filePath(QStringLiteral("plain"));
    QFile blocker(plainFile);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!writeCsvFile(plainFile + QStringLiteral("/out.csv"), database));

    // A file that is replaced keeps its old bytes until the new ones are complete.
    const QString path = dir.filePath(QStringLiteral("old.csv"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    QVERIFY(writeCsvFile(path, database));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QVERIFY(old.readAll().startsWith(kHeader.toUtf8()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

void CsvTest::splitRecord_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("rawFields");

    QTest::newRow("plain") << "a;b;;c" << QStringList{"a", "b", "", "c"}
                           << QStringList{"a", "b", "", "c"};
    QTest::newRow("trailing separator") << "a;" << QStringList{"a", ""} << QStringList{"a", ""};
    QTest::newRow("empty line") << "" << QStringList{""} << QStringList{""};
    QTest::newRow("whole-field quotes") << "\"Shell\";\"40,5\"" << QStringList{"Shell", "40,5"}
                                        << QStringList{"\"Shell\"", "\"40,5\""};
    QTest::newRow("quoted separator and doubled quote")
        << "\"a;b\";\"say \"\"hi\"\"\";x" << QStringList{"a;b", "say \"hi\"", "x"}
        << QStringList{"\"a;b\"", "\"say \"\"hi\"\"\"", "x"};
    QTest::newRow("blanks stay") << " a ; \"b\"" << QStringList{" a ", " \"b"}
                                 << QStringList{" a ", " \"b\""};
    QTest::newRow("empty quoted") << "\"\";x" << QStringList{"", "x"} << QStringList{"\"\"", "x"};
    // Quotes that do not form quoted fields: every ';' separates, one quote off each end.
    QTest::newRow("stray quote") << "\"He said \"hi\"\";b" << QStringList{"He said \"hi\"", "b"}
                                 << QStringList{"\"He said \"hi\"\"", "b"};
    QTest::newRow("unclosed quote") << "\"a;b" << QStringList{"a", "b"} << QStringList{"\"a", "b"};
    QTest::newRow("lone quote") << "\"" << QStringList{""} << QStringList{"\""};
}

void CsvTest::splitRecord() {
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, rawFields);
    CsvRecord record;
    splitCsvRecord(text, &record);
    QCOMPARE(record.fields, fields);
    QCOMPARE(record.rawFields, rawFields);
}

void CsvTest::readRecords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("records"); // "line:field|field|..."

    QTest::newRow("line ends") << "a;b\r\nc\n\nd" << QStringList{"1:a|b", "2:c", "3:", "4:d"};
    QTest::newRow("quoted line break") << "h\n\"two\nlines\";x\ny\n"
                                       << QStringList{"1:h", "2:two\nlines|x", "4:y"};
    QTest::newRow("quoted CRLF kept") << "\"a\r\nb\"\r\n" << QStringList{"1:a\r\nb"};
    QTest::newRow("quote open to the end of the file") << "\"a;b\nc;d\n"
                                                       << QStringList{"1:a|b", "2:c|d"};
    QTest::newRow("quote open past a stray quote") << "\"a;b\nc\"d;e\n"
                                                   << QStringList{"1:a|b", "2:c\"d|e"};
    const QString longLine = QString(1023, u'x') + QStringLiteral("yz;1\nnext");
    QTest::newRow("long line cut") << longLine << QStringList{"1:" + QString(1023, u'x'), "2:next"};
    QTest::newRow("long line of many pieces")
        << "a\n" + QString(5000, u'y') + "\r\nb"
        << QStringList{"1:a", "2:" + QString(1023, u'y'), "3:b"};
    QTest::newRow("CR line ends") << "a;b\rc\r\rd" << QStringList{"1:a|b", "2:c", "3:", "4:d"};
    const QString longQuoted =
        QStringLiteral("\"") + QString(1020, u'q') + QStringLiteral("\nmore\";2\nlast");
    QTest::newRow("quoted record beyond the line limit")
        << longQuoted << QStringList{"1:" + QString(1020, u'q'), "2:more|2", "3:last"};
}

void CsvTest::readRecords() {
    QFETCH(QString, text);
    QFETCH(QStringList, records);
    CCsvReader reader;
    reader.setText(text);
    QStringList read;
    CsvRecord record;
    while (reader.readRecord(&record))
        read << QString::number(record.lineNumber) + u':' + record.fields.join(u'|');
    QCOMPARE(read, records);
}

void CsvTest::import_data() {
    QTest::addColumn<QChar>("decimal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<CsvColumnMap>("columns");
    QTest::addColumn<QStringList>("fills");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QString>("firstSkipped"); // line:value:text, ...

    const QChar point(u'.');
    const CsvColumnMap all = kExportColumns;
    QTest::newRow("header only") << point << kHeader << all << QStringList{} << 0 << "";
    QTest::newRow("empty file") << point << "" << all << QStringList{} << 0 << "";
    QTest::newRow("last line without line end")
        << point << kHeader + "S;100;40.5;60;18.5.2004;10:30:15;Eva;n" << all
        << QStringList{"S|100|40.50|60.00|18.5.2004 10:30:15|Eva|n"} << 0 << "";
    QTest::newRow("blank lines are not counted")
        << point << kHeader + "\n  \nS;1;1;1;1.1.2004;;;\n\n"
        << all << QStringList{"S|1|1.00|1.00|1.1.2004 0:00:00|-|"} << 0 << "";
    QTest::newRow("quoted fields with a decimal comma")
        << QChar(u',') << "h\n\"Shell\";12000;\"40,5\";1000;18.5.2004;10:30:15;;notes\n"
        << all << QStringList{"Shell|12000|40.50|1000.00|18.5.2004 10:30:15|-|notes"} << 0 << "";
    QTest::newRow("station and date on one column")
        << point << kHeader + "S;1;1;1;1.1.2004;;;\n"
        << CsvColumnMap{4, 1, 2, 3, -1, 4, -1, -1} << QStringList{} << 1
        << QStringLiteral("2:%1:").arg(int(CsvDate));
    QTest::newRow("optional columns absent")
        << point << "h\n1.1.2004;S;5;6;7\n"
        << CsvColumnMap{1, 2, 3, 4, -1, 0, -1, -1}
        << QStringList{"S|5|6.00|7.00|1.1.2004 0:00:00|-|"} << 0 << "";
    QTest::newRow("short line") << point << kHeader + "S;1;1;1\n"
                                << all << QStringList{} << 1
                                << QStringLiteral("2:%1:").arg(int(CsvDate));
    QTest::newRow("unreadable values skipped and counted")
        << point
        << kHeader + "A;1;1;1;30.2.2004;;;\n"
                     "B;km;1;1;1.1.2004;;;\n"
                     "C;1;;1;1.1.2004;;;\n"
                     "D;1;1;x;1.1.2004;;;\n"
                     "E;1;1;1;;;;\n"
                     "F;1;1;1;18.5.04x;;;\n"
                     "G;99999999999;1;1;1.1.2004;;;\n"
                     "I;1;1e99;1;1.1.2004;;;\n"
                     "H; 7 ;1.5 ;2e3;2.1.2004; ;;kept\n"
        << all << QStringList{"H|7|1.50|2000.00|2.1.2004 0:00:00|-|kept"} << 8
        << QStringLiteral("2:%1:30.2.2004,3:%2:km,4:%3:,5:%4:x,6:%1:")
               .arg(int(CsvDate))
               .arg(int(CsvOdometer))
               .arg(int(CsvFuel))
               .arg(int(CsvCost));
    QTest::newRow("a time that does not read skips the line")
        << point
        << kHeader + "A;1;1;1;1.1.2004;25:99;;\nB;2;1;1;2.1.2004;;;\nC;3;1;1;3.1.2004;10:30;;\n"
        << all
        << QStringList{"B|2|1.00|1.00|2.1.2004 0:00:00|-|", "C|3|1.00|1.00|3.1.2004 10:30:00|-|"}
        << 1 << QStringLiteral("2:%1:25:99").arg(int(CsvTime));
    QTest::newRow("twelve columns, picks the tenth")
        << point << "h\n0;1;2;3;4;5;6;7;8;S10;1.1.2004;12\n"
        << CsvColumnMap{9, 11, 1, 2, -1, 10, -1, -1}
        << QStringList{"S10|12|1.00|2.00|1.1.2004 0:00:00|-|"} << 0 << "";
    QTest::newRow("names cut to their fields")
        << point
        << "h\n" + QString(40, u's') + ";1;1;1;1.1.2004;;" + QString(25, u'd') + ";" +
               QString(60, u'n') + "\n"
        << all
        << QStringList{QString(31, u's') + "|1|1.00|1.00|1.1.2004 0:00:00|" + QString(19, u'd') +
                       "|" + QString(49, u'n')}
        << 0 << "";
    const QString longNotes = QString(1100, u'n');
    QTest::newRow("line longer than 1023 characters")
        << point << "h\nS;1;1;1;1.1.2004;;;" + longNotes + "\nT;2;2;2;2.1.2004;;;\n"
        << all
        << QStringList{"S|1|1.00|1.00|1.1.2004 0:00:00|-|" + QString(49, u'n'),
                       "T|2|2.00|2.00|2.1.2004 0:00:00|-|"}
        << 0 << "";
    QTest::newRow("numbers that do not read whole")
        << point
        << kHeader +
               "A;41.230;1;1;1.1.2004;;;\n"
               "B;1;4O.5;1;1.1.2004;;;\n"
               "C;1;1;1,234.50;1.1.2004;;;\n"
               "D;15" +
               QChar(0) +
               "00;1;1;1.1.2004;;;\n"
               "E; 2 ; 3.5 ; 4 ;1.1.2004;;;\n"
        << all
        << QStringList{"C|1|1.00|1234.50|1.1.2004 0:00:00|-|", "E|2|3.50|4.00|1.1.2004 0:00:00|-|"}
        << 3
        << QStringLiteral("2:%1:41.230,3:%2:4O.5,5:%1:15%3")
               .arg(int(CsvOdometer))
               .arg(int(CsvFuel))
               .arg(QChar(0) + QStringLiteral("00"));
    QTest::newRow("the export's guard comes off")
        << point << kHeader + "'=S;1;1;1;1.1.2004;;'@d;''-n\n"
        << all << QStringList{"=S|1|1.00|1.00|1.1.2004 0:00:00|@d|'-n"} << 0 << "";
    QTest::newRow("another program's quote stays")
        << point << "h\n'=S;1;1;1;1.1.2004;;'@d;''-n\n"
        << all << QStringList{"'=S|1|1.00|1.00|1.1.2004 0:00:00|'@d|''-n"} << 0 << "";
}

void CsvTest::import() {
    QFETCH(QChar, decimal);
    QFETCH(QString, text);
    QFETCH(CsvColumnMap, columns);
    QFETCH(QStringList, fills);
    QFETCH(int, skipped);
    QFETCH(QString, firstSkipped);
    setRegionalSettingsOverride(RegionalSettings{decimal, QStringLiteral("."), 1,
                                                 decimal == u',' ? QChar(u'.') : QChar(u',')});
    CFuelDatabase database;
    const CsvImportResult result = importText(text, columns, database);
    QCOMPARE(describe(database), fills);
    QCOMPARE(result.imported, fills.size());
    QCOMPARE(result.skipped, skipped);
    QCOMPARE(skippedSummary(result), firstSkipped);
}

void CsvTest::importEncodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QString text = QStringLiteral("h\nČepro;1;1;1;1.1.2004;;Jiří;\n");
    const auto encode = [&text](QStringConverter::Encoding encoding, QByteArray bom) {
        QStringEncoder encoder(encoding);
        return bom + QByteArray(encoder.encode(text));
    };
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-8 with BOM") << encode(QStringConverter::Utf8, "\xEF\xBB\xBF");
    QTest::newRow("UTF-16LE") << encode(QStringConverter::Utf16LE, "\xFF\xFE");
    QTest::newRow("UTF-16BE") << encode(QStringConverter::Utf16BE, "\xFE\xFF");
}

void CsvTest::importEncodings() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("in.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    CCsvReader reader;
    QVERIFY(reader.open(path));
    CFuelDatabase database;
    importCsv(reader, kExportColumns, database);
    QCOMPARE(describe(database),
             QStringList{QStringLiteral("Čepro|1|1.00|1.00|1.1.2004 0:00:00|Jiří|")});
    QVERIFY(!reader.open(dir.filePath(QStringLiteral("missing.csv"))));
}

void CsvTest::exportImportRoundTrip() {
    for (const char* locale : {"en_US", "de_DE", "C"}) {
        setRegionalSettingsOverride(regionalSettingsFor(QLocale(QString::fromLatin1(locale))));
        CFuelDatabase original;
        const FileTime time = fileTimeOf(2004, 5, 18, 10, 30, 15);
        addFill(original, {"Shell", 12000, 40.456f, 999.999f, time, "Eva", "plain"});
        addFill(original, {"A;B \"C\"", 12500, 1, 2, fileTimeOf(2004, 6, 1, 23, 59, 59), "",
                           "semi;colon \"quote\"\nline"});
        addFill(original, {"", -3, 0, 0, fileTimeOf(1601, 1, 1), QString(), "\"\""});
        // Texts a spreadsheet would run as formulas, guarded in the file and whole again after.
        addFill(original,
                {"=SUM(A1)", 1, 1234567.5f, 1, fileTimeOf(2005, 1, 1), "@x", "'=already"});
        addFill(original, {"+1", 2, 1, 1, fileTimeOf(2005, 1, 2), "-2", "\tt"});
        addFill(original, {"\rr", 3, 1, 1, fileTimeOf(2005, 1, 3), "'", "''+"});
        // The flags come back by their columns' names, wherever the notes go.
        original.setFillFlags(0, {true, true});
        original.setFillFlags(2, {false, true});
        const QString text = csvExportText(original);
        QVERIFY(
            text.startsWith(QString::fromUtf16(kCsvHeader) + QStringLiteral(";partial;missed\n")));
        for (const char* guarded : {"\n'=SUM(A1);", ";'@x;''=already;", "\n'+1;", ";'-2;'\tt;",
                                    "\n\"'\rr\";", ";';'''+;"})
            QVERIFY2(text.contains(QString::fromLatin1(guarded)), guarded);
        CFuelDatabase imported;
        const CsvImportResult result = importText(text, kExportColumns, imported);
        QCOMPARE(result.imported, 6);
        QCOMPARE(result.skipped, 0);
        QStringList expected = describe(original);
        for (QString& line : expected) {
            if (line.startsWith(u"A;B")) // an empty driver name is no driver
                line.replace(QStringLiteral(":59||"), QStringLiteral(":59|-|"));
        }
        QCOMPARE(describe(imported), expected);
        QCOMPARE(imported.getFill(1)->fuel, 40.46f);
        QCOMPARE(imported.getFill(1)->cost, 1000.0f);
    }
}

// A plug-in hybrid's log in miles and US gallons: the kWh of a charge are written and read as
// they are, the fuel in gallons, and the charge columns bring back what the fills were.
void CsvTest::chargesExportAndImportBack() {
    setRegionalSettingsOverride(RegionalSettings{u'.', QStringLiteral("."), 1});
    LogUnits units;
    units.distance = DistanceUnit::Miles;
    units.volume = VolumeUnit::UsGallons;
    units.energy = VehicleEnergy::PlugInHybrid;
    CFuelDatabase original;
    original.setNewLogUnits(units);
    const auto add = [&original](int day, float amount, FillFlags flags) {
        FillRecord fill;
        fill.stationId = original.findOrAddStation(QStringLiteral("Home"));
        fill.odometer = 1000 * day;
        fill.fuel = amount;
        fill.cost = 10.0f;
        fill.dateTime = fileTimeOf(2024, 3, day);
        original.insertFill(fill, flags);
    };
    add(1, 37.854118f, {});
    add(2, 38.4f, {false, false, true, true, 20, 80});
    add(3, 12.5f, {true, false, true, false, kNoChargeLevel, 100});
    add(4, 7.0f, {false, true, true, false, 0, kNoChargeLevel});
    const QString text = csvExportText(original);
    QCOMPARE(text.section(u'\n', 0, 2),
             QString::fromUtf16(kCsvHeader) +
                 QStringLiteral(";partial;missed;energy;charge before;charge after;home\n"
                                "Home;1000;10.00;10.00;1.3.2024;0:00:00;;;;;fuel;;;\n"
                                "Home;2000;38.40;10.00;2.3.2024;0:00:00;;;;;electricity;20;80;1"));
    CFuelDatabase imported;
    imported.setNewLogUnits(units);
    const CsvImportResult result = importText(text, kExportColumns, imported);
    QCOMPARE(result.imported, 4);
    QCOMPARE(describe(imported), describe(original));
    // Written by hand: other spellings of the values.
    const CsvImportResult typed =
        importText(QString::fromUtf16(kCsvHeader) +
                       QStringLiteral(";energy;charge before;charge after;home\n"
                                      "A;5;30.0;9;1.4.2024;;;;Electricity;15 %;101;yes\n"
                                      "A;6;30.0;9;2.4.2024;;;;diesel;x;-1;\n"),
                   kExportColumns, imported);
    QCOMPARE(typed.imported, 2);
    QCOMPARE(describe(imported).mid(4),
             (QStringList{"A|5|30.00|9.00|1.4.2024 0:00:00|-||--|ch 15/-1",
                          "A|6|113.56|9.00|2.4.2024 0:00:00|-|"}));

    // Into an electric vehicle's log, a file without the columns gives charges of kWh.
    units.energy = VehicleEnergy::Electric;
    CFuelDatabase electric;
    electric.setNewLogUnits(units);
    QCOMPARE(importText(kHeader + "A;7;30.0;9;3.4.2024;;;\n", kExportColumns, electric).imported,
             1);
    QCOMPARE(describe(electric), QStringList{"A|7|30.00|9.00|3.4.2024 0:00:00|-||--|c- -1/-1"});
}

void CsvTest::importAcrossLocales_data() {
    QTest::addColumn<QString>("exportLocale"); // empty: the file below as it stands
    QTest::addColumn<QString>("importLocale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fills");

    const QString fill = QStringLiteral("S|12000|40.50|60.00|%1 10:30:15|-|");
    QTest::newRow("year-month-day export read in German")
        << "sv_SE"
        << "de_DE" << QString() << QStringList{fill.arg("18.5.2004")};
    QTest::newRow("year-month-day export read in US English")
        << "sv_SE"
        << "en_US" << QString() << QStringList{fill.arg("5/18/2004")};
    QTest::newRow("ISO dates of another program")
        << ""
        << "de_DE" << kHeader + "S;12000;40.5;60;2004-05-18;10:30:15;;\n"
        << QStringList{fill.arg("18.5.2004")};
    // Another order with another separator does not read: skipped, never a wrong day.
    QTest::newRow("US export in German") << "en_US"
                                         << "de_DE" << QString() << QStringList{};
}

// An export made under one locale imported under another.
void CsvTest::importAcrossLocales() {
    QFETCH(QString, exportLocale);
    QFETCH(QString, importLocale);
    QFETCH(QString, text);
    QFETCH(QStringList, fills);
    if (!exportLocale.isEmpty()) {
        setRegionalSettingsOverride(regionalSettingsFor(QLocale(exportLocale)));
        CFuelDatabase exported;
        addFill(exported,
                {"S", 12000, 40.5f, 60, fileTimeOf(2004, 5, 18, 10, 30, 15), QString(), ""});
        text = csvExportText(exported);
    }
    setRegionalSettingsOverride(regionalSettingsFor(QLocale(importLocale)));
    CFuelDatabase imported;
    const CsvImportResult result = importText(text, kExportColumns, imported);
    QCOMPARE(describe(imported), fills);
    QCOMPARE(result.skipped, 1 - int(fills.size()));
}

void CsvTest::importSkipsFillsInTheLog_data() {
    QTest::addColumn<LogUnits>("units");
    QTest::addColumn<QString>("line"); // imported into a log that holds the export's fill
    QTest::addColumn<int>("imported");
    QTest::addColumn<int>("already");

    const LogUnits metric;
    const LogUnits imperial{DistanceUnit::Miles, VolumeUnit::UsGallons, ConsumptionUnit::MpgUs, {}};
    QTest::newRow("the log's own export") << metric << "" << 0 << 2;
    // Kilometres and litres that do not convert back whole still match as the export wrote them.
    QTest::newRow("the export of a log in miles and gallons") << imperial << "" << 0 << 2;
    QTest::newRow("a line twice in the file")
        << metric << "S;900;5;5;1.1.2005;10:00;;\nT;900;5;5;1.1.2005;10:00:00;;" << 1 << 3;
    QTest::newRow("another second") << metric << "S;12000;40.46;0;18.5.2004;10:30:16;;" << 1 << 2;
    QTest::newRow("another odometer") << metric << "S;12001;40.46;0;18.5.2004;10:30:15;;" << 1 << 2;
    QTest::newRow("another amount") << metric << "S;12000;40.47;0;18.5.2004;10:30:15;;" << 1 << 2;
}

// Importing what the log holds never doubles it: the fill of a line the log or the file has
// already had is counted, not added.
void CsvTest::importSkipsFillsInTheLog() {
    QFETCH(LogUnits, units);
    QFETCH(QString, line);
    QFETCH(int, imported);
    QFETCH(int, already);
    CFuelDatabase log;
    log.setUnits(units);
    addFill(log, {"Shell", 12000, 40.456f, 60, fileTimeOf(2004, 5, 18, 10, 30, 15), "Eva", ""});
    addFill(log, {"Aral", 12500, 30, 45, fileTimeOf(2004, 6, 1, 8, 0, 0), QString(), "n"});
    const QString text = csvExportText(log) + line;
    const int before = log.getFillCount();
    const CsvImportResult result = importText(text, kExportColumns, log);
    QCOMPARE(result.imported, imported);
    QCOMPARE(result.alreadyInLog, already);
    QCOMPARE(result.skipped, 0);
    QCOMPARE(log.getFillCount(), before + imported);
}

void CsvTest::headerNamesTheColumns_data() {
    QTest::addColumn<QString>("header");
    QTest::addColumn<CsvColumnMap>("columns");

    const CsvColumnMap none = {-1, -1, -1, -1, -1, -1, -1, -1};
    QTest::newRow("the export's header")
        << QString::fromUtf16(kCsvHeader) + ";partial;missed" << kExportColumns;
    QTest::newRow("the labels, any case, blanks and colon")
        << "Datum:;TANKSTELLE; Kilometer stand ;Kraftstoff:;Kosten;Uhrzeit :;x"
        << CsvColumnMap{1, 2, 3, 4, -1, 0, 5, -1};
    QTest::newRow("the export's names in another order")
        << "Notes;DATE;driver;x;Station" << CsvColumnMap{4, -1, -1, -1, 0, 1, -1, 2};
    QTest::newRow("no names") << "a;b;c;;:" << none;
    QTest::newRow("the first of two columns of one name")
        << "cost;Cost:" << CsvColumnMap{-1, -1, -1, 0, -1, -1, -1, -1};
}

// The labels here are the German ones; the export's names hold in every language.
void CsvTest::headerNamesTheColumns() {
    QFETCH(QString, header);
    QFETCH(CsvColumnMap, columns);
    const std::array<QString, kCsvValueCount> labels = {
        "Tankstelle:", "Kilometerstand:", "Kraftstoff:", "Kosten:",
        "Notizen:",    "Datum:",          "Uhrzeit:",    "Fahrer:"};
    QCOMPARE(csvHeaderColumns(header.split(u';'), labels), columns);
}

void CsvTest::unassignedValue_data() {
    QTest::addColumn<CsvColumnMap>("columns");
    QTest::addColumn<int>("value"); // -1: every required value has a column of its own
    QTest::addColumn<int>("sharedWith");

    QTest::newRow("all assigned") << kExportColumns << -1 << -1;
    QTest::newRow("optional values share and miss")
        << CsvColumnMap{0, 1, 2, 3, 0, 4, -1, 0} << -1 << -1;
    QTest::newRow("every picker on column 1")
        << CsvColumnMap{0, 0, 0, 0, 0, 0, 0, 0} << int(CsvOdometer) << int(CsvStation);
    QTest::newRow("date shares with an optional value before it")
        << CsvColumnMap{0, 1, 2, 3, 4, 4, -1, -1} << int(CsvDate) << int(CsvNotes);
    QTest::newRow("no column") << CsvColumnMap{0, 1, -1, 3, -1, 4, -1, -1} << int(CsvFuel) << -1;
}

void CsvTest::unassignedValue() {
    QFETCH(CsvColumnMap, columns);
    QFETCH(int, value);
    QFETCH(int, sharedWith);
    const std::optional<CsvUnassigned> unassigned = csvUnassignedValue(columns);
    QCOMPARE(unassigned ? int(unassigned->value) : -1, value);
    QCOMPARE(unassigned ? unassigned->sharedWith : -1, sharedWith);
}

void CsvTest::newestFirstGivesTheSameTable() {
    QStringList lines;
    for (int day = 1; day <= 28; ++day) {
        lines << QStringLiteral("S%1;%2;1;1;%3.2.2004;;;").arg(day % 3).arg(day).arg(day);
        // Two fills at the same time keep their file order.
        lines << QStringLiteral("T;%1;2;2;%2.2.2004;;;").arg(100 + day).arg(day);
    }
    CFuelDatabase oldestFirst;
    CFuelDatabase newestFirst;
    addFill(oldestFirst, {"Old", 0, 1, 1, fileTimeOf(2004, 2, 10), QString(), ""});
    addFill(newestFirst, {"Old", 0, 1, 1, fileTimeOf(2004, 2, 10), QString(), ""});
    importText(kHeader + lines.join(u'\n'), kExportColumns, oldestFirst);
    QStringList reversed;
    for (int i = 0; i < lines.size(); i += 2)
        reversed.prepend(lines.at(i) + u'\n' + lines.at(i + 1));
    importText(kHeader + reversed.join(u'\n'), kExportColumns, newestFirst);
    QCOMPARE(describe(newestFirst), describe(oldestFirst));
    QCOMPARE(oldestFirst.getFill(18)->odometer, 0); // existing fill before the new ones of day 10
    QCOMPARE(oldestFirst.getFill(19)->odometer, 10);
    QCOMPARE(oldestFirst.getFill(20)->odometer, 110);
}

void CsvTest::mergeFillsKeepsInsertOrder() {
    // Times with many ties, in an order that is neither ascending nor descending.
    const int times[] = {5, 3, 5, 1, 9, 3, 3, 0, 9, 5, 2};
    CFuelDatabase inserted;
    CFuelDatabase merged;
    for (const int time : {3, 5, 9}) {
        FillRecord fill;
        fill.odometer = -time;
        fill.dateTime = FileTime::fromValue(quint64(time));
        inserted.insertFill(fill);
        merged.insertFill(fill);
    }
    std::vector<FillRecord> fills;
    for (int i = 0; i < int(std::size(times)); ++i) {
        FillRecord fill;
        fill.odometer = i;
        fill.dateTime = FileTime::fromValue(quint64(times[i]));
        fills.push_back(fill);
        inserted.insertFill(fill);
    }
    merged.mergeFills(fills);
    merged.mergeFills({});
    QCOMPARE(merged.getFillCount(), inserted.getFillCount());
    for (int i = 0; i < merged.getFillCount(); ++i)
        QCOMPARE(merged.getFill(i)->odometer, inserted.getFill(i)->odometer);
}

QTEST_GUILESS_MAIN(CsvTest)
#include "tst_csv.moc"
