#include "csv/otherlogformat.h"
#include "csv/otherlogvalues.h"
#include "db/calendar.h"
#include "db/fueldatabase.h"

#include <QTest>

namespace {

// One vehicle in miles and US gallons; quoted markers, a marker with empty fields, an older
// section after the log, a partial, a missed and an unreadable fill.
const char kFuelio[] =
    "\"## Vehicle\"\n"
    "\"Name\",\"Description\",\"DistUnit\",\"FuelUnit\",\"ConsumptionUnit\",\"Make\"\n"
    "\"Civic\",\"\",\"1\",\"1\",\"0\",\"Honda\"\n"
    "\"## Log\",,,,\n"
    "\"Data\",\"Odo (mi)\",\"Fuel (us gallons)\",\"Full\",\"Price (optional)\",\"mpg "
    "(optional)\",\"latitude (optional)\",\"longitude (optional)\",\"City (optional)\",\"Notes "
    "(optional)\",\"Missed\",\"TankNumber\",\"FuelType\",\"VolumePrice\",\"StationID "
    "(optional)\",\"ExcludeDistance\",\"UniqueId\",\"TankCalc\"\n"
    "\"2023-05-01 15:04\",\"10000.0\",\"10.5\",\"1\",\"36.75\",\"0.0\",\"0.0\",\"0.0\","
    "\"Springfield\",\"\",\"0\",\"1\",\"110\",\"3.5\",\"0\",\"0.0\",\"1\",\"0.0\"\n"
    "\"2023-05-08 08:30:00\",\"10300.0\",\"9.0\",\"0\",\"\",\"33.3\",\"0.0\",\"0.0\","
    "\"Shelbyville\",\"cash\",\"0\",\"1\",\"110\",\"3.6\",\"0\",\"0.0\",\"2\",\"0.0\"\n"
    "\"2023-05-15\",\"10600\",\"11.2\",\"1\",\"40.32\",\"\",\"\",\"\",\"\",\"\",\"1\",\"1\","
    "\"110\",\"3.6\",\"0\",\"0\",\"3\",\"0\"\n"
    "\"2023-05-20 25:00\",\"10900\",\"10\",\"1\",\"35\",\"\",\"\",\"\",\"\",\"\",\"0\",\"1\","
    "\"110\",\"3.5\",\"0\",\"0\",\"4\",\"0\"\n"
    "\"## Costs\"\n"
    "\"CostTitle\",\"Date\",\"Odo\",\"CostTypeID\",\"Notes\",\"Cost\"\n"
    "\"Oil\",\"2023-05-02\",\"10050\",\"1\",\"\",\"50\"\n";

// A plug-in hybrid in miles and US gallons: petrol (110) in its first tank, charges at an AC
// (500) and a DC (501) charger in its second, their kWh in the fuel column.
const char kFuelioHybrid[] =
    "\"## Vehicle\"\n"
    "\"Name\",\"Description\",\"DistUnit\",\"FuelUnit\",\"ConsumptionUnit\",\"Make\"\n"
    "\"Outlander\",\"\",\"1\",\"1\",\"0\",\"Mitsubishi\"\n"
    "\"## Log\"\n"
    "\"Data\",\"Odo (mi)\",\"Fuel (us gallons)\",\"Full\",\"Price (optional)\",\"City "
    "(optional)\",\"Notes (optional)\",\"Missed\",\"TankNumber\",\"FuelType\",\"VolumePrice\"\n"
    "\"2024-03-01 10:00\",\"1000\",\"10.5\",\"1\",\"36.75\",\"\",\"\",\"0\",\"1\",\"110\","
    "\"3.5\"\n"
    "\"2024-03-02 19:00\",\"1040\",\"12.4\",\"1\",\"3.72\",\"Home\",\"\",\"0\",\"2\",\"500\","
    "\"0.30\"\n"
    "\"2024-03-05 12:30\",\"1180\",\"30\",\"0\",\"\",\"Ionity\",\"\",\"0\",\"2\",\"501\","
    "\"0.59\"\n";

// The older layout without blanks in the names, in km and litres.
const char kFuelioOld[] = "## Vehicle\n"
                          "Name,DistUnit,FuelUnit\n"
                          "Polo,0,0\n"
                          "## Log\n"
                          "Data,Odo(km),Fuel(litres),Full,Price(optional),City(optional),"
                          "Notes(optional),Missed\n"
                          "2022-01-02 10:00,1000,40.5,1,60.75,Brno,,0\n";

// Two vehicles, newest first, a blank after every comma of the header, miles and gallons.
const char kFuelly[] =
    "car_name, model, mpg, odometer, miles, gallons, price, city_percentage, fuelup_date, "
    "date_added, tags, notes, missed_fuelup, partial_fuelup, latitude, longitude, brand\n"
    "Wagon,Outback,30.1,21000,301,10,3.459,50,2023-06-20,2023-06-20 10:00:00,,,0,1,,,Shell\n"
    "Roadster,MX-5,35.0,5400,350,10,3.999,0,2023-06-18,2023-06-18 10:00:00,,weekend,0,0,,,BP\n"
    "Wagon,Outback,29.5,20699,295,10,3.299,50,2023-06-10,2023-06-10 10:00:00,,,0,0,,,Costco\n"
    "Wagon,Outback,0,20404,0,10.0,3.199,50,2023-06-01,2023-06-01 10:00:00,,\"first, full\",1,0,"
    ",,\n";

// Blocks with bare titles, the app's own date format, thousands separators, currency signs,
// Yes/No flags, units per row and a second block repeating the column names.
const char kACar[] =
    "Metadata\n"
    "\"Date Format\",\"Time Format\",\"Exported At\"\n"
    "\"M/d/yyyy\",\"HH:mm\",\"8/1/2023\"\n"
    "\n"
    "Vehicles\n"
    "\"Name\",\"Make\",\"Model\"\n"
    "\"Golf\",\"VW\",\"Golf\"\n"
    "\n"
    "Fill-Up Records\n"
    "\"Vehicle\",\"Date\",\"Time\",\"Odometer Reading\",\"Distance Unit\",\"Volume\",\"Volume "
    "Unit\",\"Price per Unit\",\"Total Cost\",\"Payment\",\"Partial Fill-Up?\",\"Previously "
    "Missed Fill-Ups?\",\"Fuel Type\",\"Fuel Brand\",\"Fueling Station Address\",\"Notes\"\n"
    "\"Golf\",\"7/3/2023\",\"18:15\",\"106,421\",\"km\",\"45.10\",\"L\",\"$1.769\",\"$79.78\","
    "\"Cash\",\"No\",\"No\",\"Diesel\",\"Aral\",\"Hauptstr. 1\",\"\"\n"
    "\"Golf\",\"7/13/2023\",\"7:05 AM\",\"106,900\",\"km\",\"40.00\",\"L\",\"$1.799\",\"\","
    "\"Card\",\"Yes\",\"No\",\"Diesel\",\"\",\"Ring 2\",\"short\"\n"
    "\"Golf\",\"7/20/2023\",\"12:00\",\"66,700\",\"mi\",\"10.0\",\"gal\",\"$3.50\",\"$35.00\","
    "\"Card\",\"No\",\"No\",\"Diesel\",\"Sunoco\",\"\",\"\"\n"
    "\n"
    "Event Records\n"
    "\"Vehicle\",\"Date\",\"Time\",\"Odometer Reading\",\"Notes\"\n"
    "\"Golf\",\"7/5/2023\",\"10:00\",\"106,500\",\"Oil\"\n";

// Sections, every field quoted, a repeated column name with a digit after its quote, newest
// first, an odometer that was not recorded.
const char kDrivvo[] =
    "\"##Refuelling\"\n"
    "\"Odometer (km)\",\"Date\",\"Fuel\",\"Price / L\",\"Total cost\",\"Volume\",\"Full "
    "tank\",\"Full tank\" 2,\"Gas station\",\"Driver\",\"Note\"\n"
    "\"15230.0\",\"2023-08-02 17:45:10\",\"Gasoline\",\"1.859\",\"55.77\",\"30.0\",\"Yes\","
    "\"No\",\"Shell Nord\",\"Anna\",\"trip\"\n"
    "\"0.0\",\"2023-08-01 09:00:00\",\"Gasoline\",\"1.9\",\"38.00\",\"20.0\",\"Yes\",\"No\","
    "\"\",\"Anna\",\"\"\n"
    "\"14800.0\",\"2023-07-25 12:00:00\",\"Gasoline\",\"1.898\",\"\",\"25.0\",\"No\",\"No\","
    "\"Esso\",\"Ben\",\"\"\n"
    "\"##Expense\"\n"
    "\"Odometer (km)\",\"Date\",\"Expense type\",\"Total cost\"\n"
    "\"15000.0\",\"2023-07-30 10:00:00\",\"Parking\",\"5.0\"\n";

// The same app with its headers in Portuguese.
const char kDrivvoPortuguese[] =
    "\"##Refuelling\"\n"
    "\"Od\u00f4metro (km)\",\"Data\",\"Combust\u00edvel\",\"Pre\u00e7o / L\",\"Valor "
    "total\",\"Volume\",\"Tanque cheio\",\"Posto\",\"Motorista\",\"Observa\u00e7\u00e3o\"\n"
    "\"15230.0\",\"2023-08-02 17:45:10\",\"Gasolina\",\"1.859\",\"55.77\",\"30.0\",\"Sim\","
    "\"Shell\",\"Ana\",\"\"\n";

// A server with German conventions: decimal commas, day-first dates, True/False.
const char kLubeLogger[] = "Date,Odometer,FuelConsumed,Cost,FuelEconomy,IsFillToFull,"
                           "MissedFuelUp,Notes,Tags,extrafield_Station\n"
                           "13.09.2023,52100,\"40,5\",\"72,49\",\"6,8\",True,False,,,\n"
                           "01.09.2023,51500,\"38,25\",\"68,85\",0,True,False,Urlaub,,\n"
                           "20.08.2023,abc,10,20,0,False,True,,,\n";

// Semicolons, decimal commas, a thousands point, dates that do not show their order, 12- and
// 24-hour times, a price per unit only.
const char kOther[] = "Date;Time;Odometer (km);Litres;Price;Station;Comment\n"
                      "05/04/2023;3:04 PM;1.234;40,00;1,50;Aral;\n"
                      "06/04/2023;15:04;1.600;35,5;1,60;;hello\n"
                      ";;2000;10;1;;\n";

// Spritmonitor's German export, newest first: decimal commas, day-first dates, a note with an
// escaped separator, fill types 0 (invalid), 1 (full), 2 (partial), 3 (first), a charge (fuel
// 19, kWh) and AdBlue (21).
const char kSpritmonitor[] =
    "Datum;Km-Stand;Teil-Km;Spritmenge;Kosten;W\xc3\xa4hrung;Tankart;Reifen;Strecken;Fahrweise;"
    "Kraftstoff;Bemerkung;Verbrauch\n"
    "16.04.2026;53700;750;37,00;61,90;EUR;0;1;3;2;7;;\n"
    "09.04.2026;53300;;10,00;12,90;EUR;1;;;;21;AdBlue;\n"
    "05.04.2026;52950;60;12,5;4,38;EUR;1;1;4;2;19;;\n"
    "02.04.2026;52890;410;40,00;70,00;EUR;1;1;3;2;7;;6,91\n"
    "28.03.2026;52480;480;30,02;52,10;EUR;2;1;3;2;7;Autobahn\\; A8;\n"
    "14.03.2026;52000;;42,15;71,61;EUR;3;1;1;2;7;;\n";

// The same in English, with the columns of the on-board computer.
const char kSpritmonitorEnglish[] =
    "Date;Odometer;Trip;Quantity;Total price;Unit price;Currency;Type;Tires;Roads;Driving "
    "style;Fuel;Note;Consumption;BC-Consumption;BC-Speed\n"
    "14.03.2026;52000;610;42,15;71,61;1,699;EUR;1;1;1;2;1;Highway\\; A8;6,91;6,5;98\n";

// Fuelio's backup with the costs of a vehicle in miles: its categories by id, costs with and
// without a reading, income, a template, a date that does not read, a cost given twice, two
// costs in a category the log does not have, a cost in a category the file does not name.
const char kFuelioCosts[] =
    "\"## Vehicle\"\n"
    "\"Name\",\"Description\",\"DistUnit\",\"FuelUnit\",\"ConsumptionUnit\"\n"
    "\"Golf\",\"\",\"1\",\"0\",\"0\"\n"
    "\"## Log\"\n"
    "\"Data\",\"Odo (mi)\",\"Fuel (litres)\",\"Full\",\"Price (optional)\",\"City "
    "(optional)\",\"Notes (optional)\",\"Missed\",\"TankNumber\",\"FuelType\",\"VolumePrice\"\n"
    "\"2024-02-01 10:00\",\"1000\",\"40\",\"1\",\"60\",\"\",\"\",\"0\",\"1\",\"100\","
    "\"1.5\"\n"
    "\"## CostCategories\"\n"
    "\"CostTypeID\",\"Name\",\"priority\",\"color\",\"guid\",\"lastupdated\"\n"
    "\"1\",\"Service\",\"0\",\"\",\"a1\",\"1\"\n"
    "\"2\",\"Maintenance\",\"0\",\"\",\"a2\",\"1\"\n"
    "\"8\",\"Tickets/Fines\",\"0\",\"\",\"a8\",\"1\"\n"
    "\"31\",\"Insurance\",\"0\",\"\",\"a31\",\"1\"\n"
    "\"## Costs\"\n"
    "\"CostTitle\",\"Date\",\"Odo\",\"CostTypeID\",\"Notes\",\"Cost\",\"flag\",\"idR\",\"read\","
    "\"RemindOdo\",\"RemindDate\",\"isTemplate\",\"RepeatOdo\",\"RepeatMonths\",\"isIncome\","
    "\"UniqueId\",\"guid\",\"lastupdated\"\n"
    "\"Oil change\",\"2024-02-10 09:30\",\"1100\",\"1\",\"5W-30\",\"89.9\",\"0\",\"0\","
    "\"1\",\"0\",\"2011-01-01\",\"0\",\"0\",\"0\",\"0\",\"1\",\"b1\",\"1\"\n"
    "\"Speeding\",\"2024-03-01 12:00\",\"0\",\"8\",\"\",\"60.0\",\"0\",\"0\",\"1\",\"0\","
    "\"2011-01-01\",\"0\",\"0\",\"0\",\"0\",\"2\",\"b2\",\"1\"\n"
    "\"Insurance\",\"2024-01-01\",\"0\",\"31\",\"\",\"480.0\",\"0\",\"0\",\"1\",\"0\","
    "\"2011-01-01\",\"0\",\"0\",\"0\",\"0\",\"3\",\"b3\",\"1\"\n"
    "\"Sold rims\",\"2024-03-05\",\"0\",\"2\",\"\",\"100.0\",\"0\",\"0\",\"1\",\"0\","
    "\"2011-01-01\",\"0\",\"0\",\"0\",\"1\",\"4\",\"b4\",\"1\"\n"
    "\"Oil\",\"2024-01-01\",\"0\",\"1\",\"\",\"0.0\",\"0\",\"0\",\"1\",\"0\",\"2011-01-01\","
    "\"1\",\"0\",\"0\",\"0\",\"5\",\"b5\",\"1\"\n"
    "\"Wipers\",\"2024-13-01\",\"0\",\"2\",\"\",\"20\",\"0\",\"0\",\"1\",\"0\",\"2011-01-01\","
    "\"0\",\"0\",\"0\",\"0\",\"6\",\"b6\",\"1\"\n"
    "\"Oil change\",\"2024-02-10 09:30\",\"1100\",\"1\",\"5W-30\",\"89.9\",\"0\",\"0\","
    "\"1\",\"0\",\"2011-01-01\",\"0\",\"0\",\"0\",\"0\",\"7\",\"b7\",\"1\"\n"
    "\"Parking fine\",\"2024-03-02\",\"0\",\"8\",\"\",\"30\",\"0\",\"0\",\"1\",\"0\","
    "\"2011-01-01\",\"0\",\"0\",\"0\",\"0\",\"8\",\"b8\",\"1\"\n"
    "\"Jack\",\"2024-03-03\",\"0\",\"77\",\"\",\"25\",\"0\",\"0\",\"1\",\"0\","
    "\"2011-01-01\",\"0\",\"0\",\"0\",\"0\",\"9\",\"b9\",\"1\"\n"
    "\"## FavStations\"\n"
    "\"NameBrand\",\"Latitude\",\"Longitude\",\"StationID\"\n";

// Fuelio's backup whose cost sections lack the columns their rows need.
const char kFuelioDamaged[] = "## Vehicle\n"
                              "Name,DistUnit,FuelUnit\n"
                              "Polo,0,0\n"
                              "## Log\n"
                              "Data,Odo(km),Fuel(litres),Full,Price(optional)\n"
                              "2022-01-02 10:00,1000,40.5,1,60.75\n"
                              "## Costs\n"
                              "Title,When,Amount\n"
                              "Oil,2022-01-03,50\n"
                              "## CostCategories\n"
                              "Id\n"
                              "1\n";

// LubeLogger's service records of a US server: currency signs, a thousands separator, credits.
const char kLubeLoggerService[] =
    "Date,Odometer,Description,Notes,Cost,Tags,ExtraFields,Files\n"
    "3/14/2026,52000,Oil change,\"5W-30, 4.5 qt\",$89.99,oil filter,,\n"
    "4/2/2026,52600,Timing belt,,\"$1,234.56\",,,\n"
    "4/9/2026,52700,Warranty credit,,-$5.00,,,\n"
    "4/16/2026,52800,Warranty credit,,($5.00),,,\n";

// Spritmonitor's German costs export: cost type codes, a title with an escaped separator, a row
// without a code, the purchase price and a refund.
const char kSpritmonitorCosts[] =
    "Datum;Km-Stand;Kostenart;Bezeichnung;Kosten;W\xc3\xa4hrung;Bemerkung\n"
    "03.04.2026;;16;Erstattung;50,00;EUR;\n"
    "02.04.2026;;10;Kaufpreis;15000,00;EUR;\n"
    "21.03.2026;;;Vignette;40,00;EUR;\n"
    "20.03.2026;51900;4;;99,00;EUR;\n"
    "12.03.2026;;12;W\xc3\xa4sche\\; innen;12,00;EUR;\n"
    "01.03.2026;;5;;480,00;EUR;\n"
    "10.02.2026;51200;1;Inspektion;289,90;EUR;mit \xc3\x96lwechsel\n"
    "15.01.2026;;6;Kfz-Steuer;120,00;EUR;\n";

// Tankometer's own export.
const char kOwnExport[] = "station;odometer;fuel;cost;date;time;driver;notes\n"
                          "OMV;1000;40.50;60.75;2024-3-9;7:05:09;Eva;x\n";

// "|p", "|m", "|pm", with "c" for a charge, for a flagged fill, nothing for one without flags.
QString flagsText(FillFlags flags) {
    if (!flags.any())
        return {};
    return QStringLiteral("|") + (flags.partial ? QStringLiteral("p") : QString()) +
           (flags.missedBefore ? QStringLiteral("m") : QString()) +
           (flags.charge ? QStringLiteral("c") : QString());
}

QString fillText(const CFuelDatabase& log, int index) {
    const FillRecord* fill = log.getFill(index);
    SystemTime t;
    fileTimeToSystemTime(fill->dateTime, &t);
    const StationRecord* station = log.getStation(fill->stationId);
    const DriverRecord* driver = log.getDriver(fill->driverId);
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d|%d|%.2f|%.2f|", t.year, t.month, t.day,
                             t.hour, t.minute, t.second, fill->odometer, double(fill->fuel),
                             double(fill->cost)) +
           (station ? fieldText(station->name) : QString()) + u'|' +
           (driver ? fieldText(driver->name) : QString()) + u'|' + fieldText(fill->notes) +
           flagsText(log.getFillFlags(index));
}

QStringList fillTexts(const CFuelDatabase& log) {
    QStringList texts;
    for (int i = 0; i < log.getFillCount(); ++i)
        texts.append(fillText(log, i));
    return texts;
}

using Skipped = QList<int>; // by OtherLogSkip: None, Date, Odometer, Volume, Cost, NoOdometer,
                            // AlreadyInLog, NotFuel

Skipped skippedOf(const OtherLogSummary& summary) {
    return Skipped(summary.skipped.begin(), summary.skipped.end());
}

OtherLogSettings settingsFor(const OtherLogFile& file, DateOrder order = DateOrder::DayMonthYear) {
    return guessOtherLogSettings(file, file.recognised, order, u'.');
}

// "2024-02-10|1770|0|89.90|notes": date, reading (-1: none), category id, amount, notes.
QStringList costTexts(const VehicleCosts& costs) {
    QStringList texts;
    for (const CostEntry& cost : costs.costs)
        texts.append(QStringLiteral("%1|%2|%3|%4|%5")
                         .arg(cost.date.toString(Qt::ISODate))
                         .arg(cost.odometer)
                         .arg(cost.categoryId)
                         .arg(cost.amount, 0, 'f', 2)
                         .arg(cost.notes));
    return texts;
}

QString dateTimeText(const FileTime& time) {
    SystemTime t;
    fileTimeToSystemTime(time, &t);
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                             t.minute, t.second);
}

} // namespace

class OtherLogsTest : public QObject {
    Q_OBJECT
private slots:
    void splitsRecords_data();
    void splitsRecords();
    void recognisesFormat_data();
    void recognisesFormat();
    void importsFile_data();
    void importsFile();
    void importsCosts_data();
    void importsCosts();
    void secondImportAddsNothing_data();
    void secondImportAddsNothing();
    void readsNumbers_data();
    void readsNumbers();
    void readsDatesAndTimes_data();
    void readsDatesAndTimes();
    void detectsDecimalAndDateOrder_data();
    void detectsDecimalAndDateOrder();
    void convertsUnits_data();
    void convertsUnits();
    void gallonsOfUnknownKind_data();
    void gallonsOfUnknownKind();
    void cutsTextsToTheirFields();
    void mergesAmongTheFillsOfTheLog();
    void namesWhatDoesNotRead_data();
    void namesWhatDoesNotRead();
};

void OtherLogsTest::splitsRecords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("delimiter");
    QTest::addColumn<QList<QStringList>>("records");
    QTest::addColumn<QChar>("escape");

    using R = QList<QStringList>;
    QTest::newRow("plain") << "a,b\r\nc,d\n" << QChar(u',') << R{{"a", "b"}, {"c", "d"}} << QChar();
    QTest::newRow("no final line end")
        << "a;b\nc" << QChar(u';') << R{{"a", "b"}, {"c"}} << QChar();
    QTest::newRow("empty fields") << ",,\n" << QChar(u',') << R{{"", "", ""}} << QChar();
    QTest::newRow("quoted delimiter and quote") << "\"a,\"\"b\"\"\",c\n"
                                                << QChar(u',') << R{{"a,\"b\"", "c"}} << QChar();
    QTest::newRow("line break inside quotes")
        << "\"one\ntwo\",x\ny\n"
        << QChar(u',') << R{{"one\ntwo", "x"}, {"y"}} << QChar();
    QTest::newRow("text after the closing quote")
        << "\"Full tank\",\"Full tank\" 2,z\n"
        << QChar(u',') << R{{"Full tank", "Full tank 2", "z"}} << QChar();
    QTest::newRow("quote never closed")
        << "a,\"b,c\nd" << QChar(u',') << R{{"a", "b,c\nd"}} << QChar();
    QTest::newRow("blank line") << "a\n\nb\n" << QChar(u',') << R{{"a"}, {""}, {"b"}} << QChar();
    QTest::newRow("tab") << "a\tb,c\n" << QChar(u'\t') << R{{"a", "b,c"}} << QChar();
    QTest::newRow("escaped delimiter, line break and escape")
        << "a\\;b;c\\\nd\\\\;e\n"
        << QChar(u';') << R{{"a;b", "c\nd\\", "e"}} << QChar(u'\\');
    QTest::newRow("escape at the end") << "a;b\\" << QChar(u';') << R{{"a", "b\\"}} << QChar(u'\\');
    QTest::newRow("no escape") << "a\\;b\n" << QChar(u';') << R{{"a\\", "b"}} << QChar();
}

void OtherLogsTest::splitsRecords() {
    QFETCH(QString, text);
    QFETCH(QChar, delimiter);
    QFETCH(QList<QStringList>, records);
    QFETCH(QChar, escape);
    QCOMPARE(splitDelimitedRecords(text, delimiter, escape), records);
}

void OtherLogsTest::recognisesFormat_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<OtherLogFormat>("format");
    QTest::addColumn<QChar>("delimiter");
    QTest::addColumn<int>("rows");

    QTest::newRow("Fuelio") << QString::fromUtf8(kFuelio) << OtherLogFormat::Fuelio << QChar(u',')
                            << 4;
    QTest::newRow("Fuelio, older names")
        << QString::fromUtf8(kFuelioOld) << OtherLogFormat::Fuelio << QChar(u',') << 1;
    QTest::newRow("Fuelly") << QString::fromUtf8(kFuelly) << OtherLogFormat::Fuelly << QChar(u',')
                            << 4;
    QTest::newRow("aCar") << QString::fromUtf8(kACar) << OtherLogFormat::ACar << QChar(u',') << 3;
    QTest::newRow("Drivvo") << QString::fromUtf8(kDrivvo) << OtherLogFormat::Drivvo << QChar(u',')
                            << 3;
    QTest::newRow("Drivvo in Portuguese")
        << QString::fromUtf8(kDrivvoPortuguese) << OtherLogFormat::OtherCsv << QChar(u',') << 1;
    QTest::newRow("LubeLogger") << QString::fromUtf8(kLubeLogger) << OtherLogFormat::LubeLogger
                                << QChar(u',') << 3;
    QTest::newRow("other, semicolons")
        << QString::fromUtf8(kOther) << OtherLogFormat::OtherCsv << QChar(u';') << 3;
    QTest::newRow("Spritmonitor") << QString::fromUtf8(kSpritmonitor)
                                  << OtherLogFormat::Spritmonitor << QChar(u';') << 6;
    QTest::newRow("Spritmonitor in English") << QString::fromUtf8(kSpritmonitorEnglish)
                                             << OtherLogFormat::Spritmonitor << QChar(u';') << 1;
    QTest::newRow("own export") << QString::fromUtf8(kOwnExport) << OtherLogFormat::OtherCsv
                                << QChar(u';') << 1;
    QTest::newRow("tabs") << "date\todometer\tlitres\tcost\n2024-01-01\t1\t2\t3\n"
                          << OtherLogFormat::OtherCsv << QChar(u'\t') << 1;
    QTest::newRow("empty") << QString() << OtherLogFormat::OtherCsv << QChar(u',') << 0;
    QTest::newRow("not delimited")
        << "\x01\x02 binary\n\xff" << OtherLogFormat::OtherCsv << QChar(u',') << 1;
}

void OtherLogsTest::recognisesFormat() {
    QFETCH(QString, text);
    QFETCH(OtherLogFormat, format);
    QFETCH(QChar, delimiter);
    QFETCH(int, rows);
    const OtherLogFile file = readOtherLog(text);
    QCOMPARE(file.recognised, format);
    QCOMPARE(file.delimiter, delimiter);
    QCOMPARE(file.table.rows.size(), rows);
    QCOMPARE(file.vehicleName.isEmpty(), format != OtherLogFormat::Fuelio);
}

void OtherLogsTest::importsFile_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("vehicle"); // empty: the first
    QTest::addColumn<QStringList>("fills");
    QTest::addColumn<Skipped>("skipped");
    QTest::addColumn<int>("partial");
    QTest::addColumn<int>("missed");
    QTest::addColumn<int>("energy"); // of the log imported into

    QTest::newRow("Fuelio in miles and US gallons")
        << QString::fromUtf8(kFuelio) << QString()
        << QStringList{"2023-05-01 15:04:00|16093|39.75|36.75|Springfield||",
                       "2023-05-08 08:30:00|16576|34.07|32.40|Shelbyville||cash|p",
                       "2023-05-15 00:00:00|17059|42.40|40.32||||m"}
        << Skipped{0, 1, 0, 0, 0, 0, 0, 0} << 1 << 1 << 0;
    QTest::newRow("Fuelly, first vehicle, newest first")
        << QString::fromUtf8(kFuelly) << QString()
        << QStringList{"2023-06-01 00:00:00|32837|37.85|31.99|||first, full|m",
                       "2023-06-10 00:00:00|33312|37.85|32.99|Costco||",
                       "2023-06-20 00:00:00|33796|37.85|34.59|Shell|||p"}
        << Skipped{0, 0, 0, 0, 0, 0, 0, 0} << 1 << 1 << 0;
    QTest::newRow("Fuelly, second vehicle")
        << QString::fromUtf8(kFuelly) << QStringLiteral("Roadster")
        << QStringList{"2023-06-18 00:00:00|8690|37.85|39.99|BP||weekend"}
        << Skipped{0, 0, 0, 0, 0, 0, 0, 0} << 0 << 0 << 0;
    QTest::newRow("aCar") << QString::fromUtf8(kACar) << QString()
                          << QStringList{"2023-07-03 18:15:00|106421|45.10|79.78|Aral||",
                                         "2023-07-13 07:05:00|106900|40.00|71.96|Ring 2||short|p",
                                         "2023-07-20 12:00:00|107343|37.85|35.00|Sunoco||"}
                          << Skipped{0, 0, 0, 0, 0, 0, 0, 0} << 1 << 0 << 0;
    QTest::newRow("Drivvo")
        << QString::fromUtf8(kDrivvo) << QString()
        << QStringList{"2023-07-25 12:00:00|14800|25.00|47.45|Esso|Ben||p",
                       "2023-08-02 17:45:10|15230|30.00|55.77|Shell Nord|Anna|trip"}
        << Skipped{0, 0, 0, 0, 0, 1, 0, 0} << 1 << 0 << 0;
    QTest::newRow("LubeLogger with decimal commas")
        << QString::fromUtf8(kLubeLogger) << QString()
        << QStringList{"2023-09-01 00:00:00|51500|38.25|68.85|||Urlaub",
                       "2023-09-13 00:00:00|52100|40.50|72.49|||"}
        << Skipped{0, 0, 1, 0, 0, 0, 0, 0} << 0 << 0 << 0;
    QTest::newRow("other, semicolons and decimal commas")
        << QString::fromUtf8(kOther) << QString()
        << QStringList{"2023-04-05 15:04:00|1234|40.00|60.00|Aral||",
                       "2023-04-06 15:04:00|1600|35.50|56.80|||hello"}
        << Skipped{0, 1, 0, 0, 0, 0, 0, 0} << 0 << 0 << 0;
    QTest::newRow("own export") << QString::fromUtf8(kOwnExport) << QString()
                                << QStringList{"2024-03-09 07:05:09|1000|40.50|60.75|OMV|Eva|x"}
                                << Skipped{0, 0, 0, 0, 0, 0, 0, 0} << 0 << 0 << 0;
    QTest::newRow("unreadable values")
        << "date,odometer,litres,total\n"
           "2024-01-01,1000,40,60\n"
           "2024-01-02,10x,40,60\n"
           "2024-01-03,1100,,60\n"
           "2024-01-04,1200,40,free\n"
           "2024-01-05,1300,40,\n"
           "2024-02-30,1400,40,60\n"
           "2024-01-06,-5,40,60\n"
           "2024-01-01,1000,40,60\n"
        << QString() << QStringList{"2024-01-01 00:00:00|1000|40.00|60.00|||"}
        << Skipped{0, 1, 2, 1, 2, 0, 1, 0} << 0 << 0 << 0;
    QTest::newRow("Fuelio plug-in hybrid")
        << QString::fromUtf8(kFuelioHybrid) << QString()
        << QStringList{"2024-03-01 10:00:00|1609|39.75|36.75|||",
                       "2024-03-02 19:00:00|1674|12.40|3.72|Home|||c",
                       "2024-03-05 12:30:00|1899|30.00|17.70|Ionity|||pc"}
        << Skipped{0, 0, 0, 0, 0, 0, 0, 0} << 1 << 0 << int(VehicleEnergy::PlugInHybrid);
    QTest::newRow("Spritmonitor, its codes")
        << QString::fromUtf8(kSpritmonitor) << QString()
        << QStringList{"2026-03-14 00:00:00|52000|42.15|71.61||||m",
                       "2026-03-28 00:00:00|52480|30.02|52.10|||Autobahn; A8|p",
                       "2026-04-02 00:00:00|52890|40.00|70.00|||",
                       "2026-04-05 00:00:00|52950|12.50|4.38||||c",
                       "2026-04-16 00:00:00|53700|37.00|61.90||||m"}
        << Skipped{0, 0, 0, 0, 0, 0, 0, 1} << 1 << 2 << 0;
    QTest::newRow("LubeLogger of an electric vehicle")
        << QString::fromUtf8(kLubeLogger) << QString()
        << QStringList{"2023-09-01 00:00:00|51500|38.25|68.85|||Urlaub|c",
                       "2023-09-13 00:00:00|52100|40.50|72.49||||c"}
        << Skipped{0, 0, 1, 0, 0, 0, 0, 0} << 0 << 0 << int(VehicleEnergy::Electric);
}

// The fills of a file land in an empty log in time order, with the skipped rows counted.
void OtherLogsTest::importsFile() {
    QFETCH(QString, text);
    QFETCH(QString, vehicle);
    QFETCH(QStringList, fills);
    QFETCH(Skipped, skipped);
    QFETCH(int, partial);
    QFETCH(int, missed);
    QFETCH(int, energy);

    const OtherLogFile file = readOtherLog(text);
    OtherLogSettings settings = settingsFor(file);
    if (!vehicle.isEmpty())
        settings.vehicle = vehicle;
    CFuelDatabase log;
    LogUnits units;
    units.energy = VehicleEnergy(energy);
    log.setUnits(units);
    const OtherLogSummary summary = importOtherLog(convertOtherLog(file, settings, log), &log);
    QCOMPARE(fillTexts(log), fills);
    QCOMPARE(summary.added, fills.size());
    QCOMPARE(skippedOf(summary), skipped);
    QCOMPARE(summary.partial, partial);
    QCOMPARE(summary.missed, missed);
}

void OtherLogsTest::importsCosts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("costs");
    QTest::addColumn<QStringList>("categories"); // added, as "id name"
    QTest::addColumn<QList<int>>("skipped");     // by OtherCostSkip
    QTest::addColumn<QStringList>("damaged");
    QTest::addColumn<int>("fills");

    QTest::newRow("Fuelio") << QString::fromUtf8(kFuelioCosts)
                            << QStringList{"2024-01-01|-1|3|480.00|Insurance",
                                           "2024-02-10|1770|0|89.90|Oil change; 5W-30",
                                           "2024-03-01|-1|9|60.00|Speeding",
                                           "2024-03-02|-1|9|30.00|Parking fine",
                                           "2024-03-03|-1|8|25.00|Jack"}
                            << QStringList{"9 Tickets/Fines"} << QList<int>{0, 1, 0, 2, 1}
                            << QStringList() << 1;
    QTest::newRow("Fuelio, damaged cost sections")
        << QString::fromUtf8(kFuelioDamaged) << QStringList() << QStringList()
        << QList<int>{0, 0, 0, 0, 0} << QStringList{"Costs", "CostCategories"} << 1;
    QTest::newRow("LubeLogger service records")
        << QString::fromUtf8(kLubeLoggerService)
        << QStringList{"2026-03-14|52000|0|89.99|Oil change; 5W-30, 4.5 qt",
                       "2026-04-02|52600|0|1234.56|Timing belt"}
        << QStringList() << QList<int>{0, 0, 1, 1, 0} << QStringList() << 0;
    QTest::newRow("Spritmonitor costs")
        << QString::fromUtf8(kSpritmonitorCosts)
        << QStringList{"2026-01-15|-1|4|120.00|Kfz-Steuer",
                       "2026-02-10|51200|0|289.90|Inspektion; mit \u00d6lwechsel",
                       "2026-03-01|-1|3|480.00|",
                       "2026-03-12|-1|7|12.00|W\u00e4sche; innen",
                       "2026-03-20|51900|0|99.00|",
                       "2026-03-21|-1|8|40.00|Vignette"}
        << QStringList() << QList<int>{0, 0, 0, 2, 0} << QStringList() << 0;
}

// The costs of a file land in an empty log in date order, in the log's categories or new ones.
void OtherLogsTest::importsCosts() {
    QFETCH(QString, text);
    QFETCH(QStringList, costs);
    QFETCH(QStringList, categories);
    QFETCH(QList<int>, skipped);
    QFETCH(QStringList, damaged);
    QFETCH(int, fills);

    const OtherLogFile file = readOtherLog(text);
    QCOMPARE(file.damagedSections, damaged);
    const OtherLogSettings settings = settingsFor(file);
    CFuelDatabase log;
    const QList<OtherCostRow> rows = convertOtherCosts(file, settings, log);
    importOtherLog(convertOtherLog(file, settings, log), &log, rows);
    QCOMPARE(log.getFillCount(), fills);
    QCOMPARE(costTexts(log.costs()), costs);
    QStringList added;
    for (const CostCategory& category : log.costs().categories) {
        if (!category.name.isEmpty())
            added.append(QStringLiteral("%1 %2").arg(category.id).arg(category.name));
    }
    QCOMPARE(added, categories);
    const OtherCostSummary summary = summariseOtherCosts(rows);
    QCOMPARE(summary.added, costs.size());
    QCOMPARE(QList<int>(summary.skipped.begin(), summary.skipped.end()), skipped);
}

void OtherLogsTest::secondImportAddsNothing_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("Fuelio") << QString::fromUtf8(kFuelio);
    QTest::newRow("Fuelly") << QString::fromUtf8(kFuelly);
    QTest::newRow("aCar") << QString::fromUtf8(kACar);
    QTest::newRow("Drivvo") << QString::fromUtf8(kDrivvo);
    QTest::newRow("LubeLogger") << QString::fromUtf8(kLubeLogger);
    QTest::newRow("other") << QString::fromUtf8(kOther);
    QTest::newRow("Spritmonitor") << QString::fromUtf8(kSpritmonitor);
    QTest::newRow("Fuelio with costs") << QString::fromUtf8(kFuelioCosts);
    QTest::newRow("Spritmonitor costs") << QString::fromUtf8(kSpritmonitorCosts);
}

// Every fill of a second import is already in the log, also with fills of its own around them.
void OtherLogsTest::secondImportAddsNothing() {
    QFETCH(QString, text);
    const OtherLogFile file = readOtherLog(text);
    const OtherLogSettings settings = settingsFor(file);
    CFuelDatabase log;
    FillRecord own;
    own.odometer = 1;
    own.fuel = 1.0f;
    log.insertFill(own);
    const OtherLogSummary first = importOtherLog(convertOtherLog(file, settings, log), &log,
                                                 convertOtherCosts(file, settings, log));
    const QStringList afterFirst = fillTexts(log);
    const VehicleCosts costsAfterFirst = log.costs();

    const QList<OtherCostRow> costs = convertOtherCosts(file, settings, log);
    const OtherLogSummary second =
        importOtherLog(convertOtherLog(file, settings, log), &log, costs);
    QCOMPARE(fillTexts(log), afterFirst);
    QCOMPARE(log.costs(), costsAfterFirst);
    QCOMPARE(summariseOtherCosts(costs).added, 0);
    QCOMPARE(second.added, 0);
    QCOMPARE(second.alreadyInLog(), first.added);
    QCOMPARE(second.unreadable(), first.unreadable());
}

void OtherLogsTest::readsNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("decimal");
    QTest::addColumn<NumberRead>("result");
    QTest::addColumn<double>("value");

    QTest::newRow("plain") << "40.5" << QChar(u'.') << NumberRead::Read << 40.5;
    QTest::newRow("currency before") << "$79.78" << QChar(u'.') << NumberRead::Read << 79.78;
    QTest::newRow("currency after") << "79,78 \u20ac" << QChar(u',') << NumberRead::Read << 79.78;
    QTest::newRow("thousands comma") << "106,421" << QChar(u'.') << NumberRead::Read << 106421.0;
    QTest::newRow("thousands and decimal")
        << "1.234.567,5" << QChar(u',') << NumberRead::Read << 1234567.5;
    QTest::newRow("thousands blank") << "1 234,5" << QChar(u',') << NumberRead::Read << 1234.5;
    QTest::newRow("decimal comma") << "23,07" << QChar(u',') << NumberRead::Read << 23.07;
    QTest::newRow("decimal comma read with point")
        << "23,07" << QChar(u'.') << NumberRead::Bad << 0.0;
    QTest::newRow("uneven groups") << "1,23,456" << QChar(u'.') << NumberRead::Bad << 0.0;
    QTest::newRow("negative") << "-3.5" << QChar(u'.') << NumberRead::Read << -3.5;
    QTest::newRow("no integer digits") << ".5" << QChar(u'.') << NumberRead::Read << 0.5;
    QTest::newRow("trailing text") << "12abc" << QChar(u'.') << NumberRead::Bad << 0.0;
    QTest::newRow("exponent") << "1e5" << QChar(u'.') << NumberRead::Bad << 0.0;
    QTest::newRow("two decimals") << "1.2.3" << QChar(u',') << NumberRead::Bad << 0.0;
    QTest::newRow("sign alone") << "-" << QChar(u'.') << NumberRead::Bad << 0.0;
    QTest::newRow("empty") << "" << QChar(u'.') << NumberRead::Empty << 0.0;
    QTest::newRow("currency alone") << " \u20ac " << QChar(u'.') << NumberRead::Empty << 0.0;
}

void OtherLogsTest::readsNumbers() {
    QFETCH(QString, text);
    QFETCH(QChar, decimal);
    QFETCH(NumberRead, result);
    QFETCH(double, value);
    double read = 0.0;
    QCOMPARE(readOtherLogNumber(text, decimal, &read), result);
    QCOMPARE(read, value);
}

void OtherLogsTest::readsDatesAndTimes_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<DateOrder>("order");
    QTest::addColumn<QString>("expected"); // empty: does not read

    const auto dmy = DateOrder::DayMonthYear;
    const auto mdy = DateOrder::MonthDayYear;
    QTest::newRow("date and time in one") << "2023-05-01 15:04"
                                          << "" << dmy << "2023-05-01 15:04:00";
    QTest::newRow("ISO with T and seconds") << "2023-05-01T15:04:05"
                                            << "" << mdy << "2023-05-01 15:04:05";
    QTest::newRow("year first whatever the order") << "2023/05/01"
                                                   << "" << mdy << "2023-05-01 00:00:00";
    QTest::newRow("afternoon") << "5/1/2023"
                               << "3:04 PM" << mdy << "2023-05-01 15:04:00";
    QTest::newRow("half past midnight") << "5/1/2023"
                                        << "12:30 am" << mdy << "2023-05-01 00:30:00";
    QTest::newRow("noon") << "5/1/2023"
                          << "12:30 p.m." << mdy << "2023-05-01 12:30:00";
    QTest::newRow("12-hour with seconds") << "1.5.2023"
                                          << "3:04:59 PM" << dmy << "2023-05-01 15:04:59";
    QTest::newRow("day first, two-digit year") << "1/5/23"
                                               << "" << dmy << "2023-05-01 00:00:00";
    QTest::newRow("separate time wins") << "2023-05-01 08:00"
                                        << "09:15" << dmy << "2023-05-01 09:15:00";
    QTest::newRow("no such day") << "31/02/2023"
                                 << "" << dmy << "";
    QTest::newRow("month 13") << "5/13/2023"
                              << "" << dmy << "";
    QTest::newRow("hour 24") << "2023-05-01"
                             << "24:00" << dmy << "";
    QTest::newRow("13 PM") << "2023-05-01"
                           << "13:00 PM" << dmy << "";
    QTest::newRow("minute 60") << "2023-05-01 10:60"
                               << "" << dmy << "";
    QTest::newRow("words") << "yesterday"
                           << "" << dmy << "";
    QTest::newRow("mixed separators") << "2023-05/01"
                                      << "" << dmy << "";
    QTest::newRow("trailing text") << "2023-05-01 10:00 tomorrow"
                                   << "" << dmy << "";
    QTest::newRow("year before 1601") << "1500-01-01"
                                      << "" << dmy << "";
    QTest::newRow("empty") << ""
                           << "" << dmy << "";
}

void OtherLogsTest::readsDatesAndTimes() {
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(DateOrder, order);
    QFETCH(QString, expected);
    OtherLogSettings settings;
    settings.dateOrder = order;
    FileTime read;
    const bool ok = readOtherLogDateTime(date, time, settings, &read);
    QCOMPARE(ok, !expected.isEmpty());
    if (ok)
        QCOMPARE(dateTimeText(read), expected);
}

void OtherLogsTest::detectsDecimalAndDateOrder_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<DateOrder>("userOrder");
    QTest::addColumn<QChar>("userDecimal");
    QTest::addColumn<QChar>("decimal");
    QTest::addColumn<DateOrder>("order");
    QTest::addColumn<bool>("orderGuessed");

    const auto dmy = DateOrder::DayMonthYear;
    const auto mdy = DateOrder::MonthDayYear;
    const auto ymd = DateOrder::YearMonthDay;
    QTest::newRow("day above 12 first") << "date;litres\n1/2/2023;1\n13/2/2023;1\n"
                                        << mdy << QChar(u'.') << QChar(u'.') << dmy << false;
    QTest::newRow("day above 12 second") << "date;litres\n1/2/2023;1\n2/13/2023;1\n"
                                         << dmy << QChar(u'.') << QChar(u'.') << mdy << false;
    QTest::newRow("ambiguous: user's order") << "date;litres\n1/2/2023;1\n"
                                             << mdy << QChar(u'.') << QChar(u'.') << mdy << true;
    QTest::newRow("year first") << "date,litres\n2023-01-02,1\n"
                                << dmy << QChar(u',') << QChar(u'.') << ymd << false;
    QTest::newRow("decimal comma") << "date;litres\n2023-01-02;40,5\n"
                                   << dmy << QChar(u'.') << QChar(u',') << ymd << false;
    QTest::newRow("thousands comma means point")
        << "date;litres;odometer\n2023-01-02;40;12,345,678\n"
        << dmy << QChar(u',') << QChar(u'.') << ymd << false;
    QTest::newRow("both marks, comma last") << "date;litres\n2023-01-02;1.234,5\n"
                                            << dmy << QChar(u'.') << QChar(u',') << ymd << false;
    QTest::newRow("undecided: user's decimal with semicolons")
        << "date;odometer\n2023-01-02;12,345\n"
        << dmy << QChar(u',') << QChar(u',') << ymd << false;
    QTest::newRow("undecided: point with commas")
        << "date,odometer\n2023-01-02,\"12,345\"\n"
        << dmy << QChar(u',') << QChar(u'.') << ymd << false;
}

void OtherLogsTest::detectsDecimalAndDateOrder() {
    QFETCH(QString, text);
    QFETCH(DateOrder, userOrder);
    QFETCH(QChar, userDecimal);
    QFETCH(QChar, decimal);
    QFETCH(DateOrder, order);
    QFETCH(bool, orderGuessed);
    const OtherLogFile file = readOtherLog(text);
    const OtherLogSettings settings =
        guessOtherLogSettings(file, OtherLogFormat::OtherCsv, userOrder, userDecimal);
    QCOMPARE(settings.decimal, decimal);
    QCOMPARE(settings.dateOrder, order);
    QCOMPARE(settings.dateOrderGuessed, orderGuessed);
}

void OtherLogsTest::convertsUnits_data() {
    QTest::addColumn<QString>("header");
    QTest::addColumn<DistanceUnit>("distanceUnit");
    QTest::addColumn<VolumeUnit>("volumeUnit");
    QTest::addColumn<VolumeUnit>("chosenVolume"); // the user's choice after the guess
    QTest::addColumn<qint32>("odometer");
    QTest::addColumn<float>("litres");
    QTest::addColumn<float>("cost");
    QTest::addColumn<qint32>("inMilesLog"); // the odometer as a log that stores miles keeps it

    const auto km = DistanceUnit::Kilometres;
    const auto mi = DistanceUnit::Miles;
    const auto l = VolumeUnit::Litres;
    const auto us = VolumeUnit::UsGallons;
    const auto imp = VolumeUnit::ImperialGallons;
    // Each row reads odometer 1000, volume 10 and a price per unit of 1.555.
    QTest::newRow("km and litres") << "date;odometer (km);fuel (l);price" << km << l << l
                                   << qint32(1000) << 10.0f << 15.55f << qint32(621);
    QTest::newRow("miles and gallons") << "date;odometer (mi);gallons;price" << mi << us << us
                                       << qint32(1609) << 37.854118f << 15.55f << qint32(1000);
    QTest::newRow("gallons picked imperial")
        << "date;odometer (mi);gallons;price" << mi << us << imp << qint32(1609) << 45.4609f
        << 15.55f << qint32(1000);
    QTest::newRow("imperial gallons named")
        << "date;odometer;volume (imp gal);price" << km << imp << imp << qint32(1000) << 45.4609f
        << 15.55f << qint32(621);
}

// Miles and gallons become km and litres (the odometer the log's stored unit); a price per unit
// is for the file's own unit.
void OtherLogsTest::convertsUnits() {
    QFETCH(QString, header);
    QFETCH(DistanceUnit, distanceUnit);
    QFETCH(VolumeUnit, volumeUnit);
    QFETCH(VolumeUnit, chosenVolume);
    QFETCH(qint32, odometer);
    QFETCH(float, litres);
    QFETCH(float, cost);
    QFETCH(qint32, inMilesLog);
    const OtherLogFile file = readOtherLog(header + QStringLiteral("\n2024-01-01;1000;10;1.555\n"));
    OtherLogSettings settings = settingsFor(file);
    QCOMPARE(settings.distanceUnit, distanceUnit);
    QCOMPARE(settings.volumeUnit, volumeUnit);
    settings.volumeUnit = chosenVolume;
    CFuelDatabase log;
    const QList<OtherLogRow> rows = convertOtherLog(file, settings, log);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().skip, OtherLogSkip::None);
    QCOMPARE(rows.first().odometer, odometer);
    QCOMPARE(rows.first().litres, litres);
    QCOMPARE(rows.first().cost, cost);

    LogUnits miles;
    miles.distance = DistanceUnit::Miles;
    CFuelDatabase milesLog;
    milesLog.setNewLogUnits(miles);
    QCOMPARE(convertOtherLog(file, settings, milesLog).first().odometer, inMilesLog);
}

void OtherLogsTest::gallonsOfUnknownKind_data() {
    QTest::addColumn<QString>("unit");
    QTest::addColumn<VolumeUnit>("chosen");
    QTest::addColumn<float>("litres");

    QTest::newRow("gal") << "gal" << VolumeUnit::UsGallons << 3.785411784f;
    QTest::newRow("gal, imperial chosen") << "gal" << VolumeUnit::ImperialGallons << 4.54609f;
    QTest::newRow("US gal, imperial chosen")
        << "US gal" << VolumeUnit::ImperialGallons << 3.785411784f;
    QTest::newRow("imp gal") << "Imp. gal" << VolumeUnit::UsGallons << 4.54609f;
    QTest::newRow("litres whatever chosen") << "L" << VolumeUnit::ImperialGallons << 1.0f;
    QTest::newRow("no unit: the choice") << "" << VolumeUnit::ImperialGallons << 4.54609f;
}

// A unit given per row wins over the choice, except that the choice says what kind a plain
// gallon is.
void OtherLogsTest::gallonsOfUnknownKind() {
    QFETCH(QString, unit);
    QFETCH(VolumeUnit, chosen);
    QFETCH(float, litres);
    const OtherLogFile file = readOtherLog(
        QStringLiteral("Fill-Up Records\n\"Date\",\"Odometer Reading\",\"Volume\",\"Volume "
                       "Unit\",\"Total Cost\"\n\"2024-01-01\",\"1\",\"1\",\"%1\",\"2\"\n")
            .arg(unit));
    QCOMPARE(file.recognised, OtherLogFormat::ACar);
    OtherLogSettings settings = settingsFor(file);
    settings.volumeUnit = chosen;
    CFuelDatabase log;
    const QList<OtherLogRow> rows = convertOtherLog(file, settings, log);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().litres, litres);
}

// Station names and notes are cut as the fill dialog cuts them.
void OtherLogsTest::cutsTextsToTheirFields() {
    const QString longName(40, u'S');
    const QString longNotes(60, u'n');
    const OtherLogFile file = readOtherLog(
        QStringLiteral(
            "date,odometer,litres,cost,station,driver,notes,\n2024-01-01,1,2,3,%1,%2,%3\n")
            .arg(longName, longName, longNotes));
    CFuelDatabase log;
    const QList<OtherLogRow> rows = convertOtherLog(file, settingsFor(file), log);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().station, QString(31, u'S'));
    QCOMPARE(rows.first().driver, QString(19, u'S'));
    QCOMPARE(rows.first().notes, QString(49, u'n'));
    importOtherLog(rows, &log);
    QCOMPARE(fieldText(log.getStation(0)->name), QString(31, u'S'));
}

// Imported fills go between the log's own by time, after those of equal time; fills of one day
// without a time keep the order of their odometers whatever the order of the file.
void OtherLogsTest::mergesAmongTheFillsOfTheLog() {
    CFuelDatabase log;
    for (const auto& [date, odometer] :
         {std::pair{"2024-01-01 10:00", 100}, std::pair{"2024-01-03 00:00", 300}}) {
        FillRecord fill;
        OtherLogSettings settings;
        QVERIFY(readOtherLogDateTime(QString::fromLatin1(date), {}, settings, &fill.dateTime));
        fill.odometer = odometer;
        log.insertFill(fill);
    }
    const OtherLogFile file = readOtherLog(QStringLiteral("date,odometer,litres,cost\n"
                                                          "2024-01-03,320,1,1\n"
                                                          "2024-01-03,310,1,1\n"
                                                          "2024-01-02,200,1,1\n"));
    importOtherLog(convertOtherLog(file, settingsFor(file), log), &log);
    QList<qint32> odometers;
    for (int i = 0; i < log.getFillCount(); ++i)
        odometers.append(log.getFill(i)->odometer);
    QCOMPARE(odometers, (QList<qint32>{100, 200, 300, 310, 320}));
}

void OtherLogsTest::namesWhatDoesNotRead_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<OtherLogSkip>("skip");
    QTest::addColumn<QString>("unread");

    QTest::newRow("date") << "2024-02-30,10:00,1000,40,60," << OtherLogSkip::Date
                          << "2024-02-30 10:00";
    QTest::newRow("odometer") << "2024-01-01,,10x,40,60," << OtherLogSkip::Odometer << "10x";
    QTest::newRow("negative odometer") << "2024-01-01,,-5,40,60," << OtherLogSkip::Odometer << "-5";
    QTest::newRow("volume") << "2024-01-01,,1000,4 0,60," << OtherLogSkip::Volume << "4 0";
    QTest::newRow("total") << "2024-01-01,,1000,40,free,1.5" << OtherLogSkip::Cost << "free";
    QTest::newRow("price") << "2024-01-01,,1000,40,,n/a" << OtherLogSkip::Cost << "n/a";
    QTest::newRow("no cost at all") << "2024-01-01,,1000,40,," << OtherLogSkip::Cost << "";
}

// The preview shows the text that did not read beside the reason.
void OtherLogsTest::namesWhatDoesNotRead() {
    QFETCH(QString, row);
    QFETCH(OtherLogSkip, skip);
    QFETCH(QString, unread);
    const OtherLogFile file =
        readOtherLog(QStringLiteral("date,time,odometer,litres,total,price\n") + row);
    CFuelDatabase log;
    const QList<OtherLogRow> rows = convertOtherLog(file, settingsFor(file), log);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().skip, skip);
    QCOMPARE(rows.first().unreadText, unread);
}

QTEST_GUILESS_MAIN(OtherLogsTest)
#include "tst_otherlogs.moc"
