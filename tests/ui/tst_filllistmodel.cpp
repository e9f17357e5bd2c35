#include "core/logdocument.h"
#include "core/settings.h"
#include "csv/csvreader.h"
#include "csv/csvwriter.h"
#include "db/fueldatabase.h"
#include "db/regional.h"
#include "ui/main/filllistmodel.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QItemSelectionModel>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>
#include <limits>

namespace {

constexpr quint64 kDay = 864000000000ull; // 100 ns units
constexpr quint64 kFirstDay = 154000ull * kDay;

FillRecord makeFill(int day, qint32 odometer, float fuel, float cost) {
    FillRecord fill;
    fill.odometer = odometer;
    fill.fuel = fuel;
    fill.cost = cost;
    fill.dateTime = FileTime::fromValue(kFirstDay + quint64(day) * kDay + 12 * 36000000000ull);
    return fill;
}

void writeColumnDefinition(quint32 value) {
    writeSetting(SettingsKey::ColDef, value);
}

void writeFillingMethod(quint32 value) {
    writeSetting(SettingsKey::FillingMethod, value);
}

void clearSettings() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tankometer")).clear();
}

QString logPath() {
    return QDir::home().filePath(QStringLiteral("model.fil"));
}

// The fills as the open log reads them from its file.
struct OpenLog {
    explicit OpenLog(const std::vector<FillRecord>& fills,
                     const std::vector<FillFlags>& flags = {}) {
        CFuelDatabase database(logPath());
        for (std::size_t i = 0; i < fills.size(); ++i)
            database.insertFill(fills[i], flagsAt(flags, int(i)));
        QVERIFY(database.save());
        document.load();
    }
    CLogDocument document{logPath()};
};

QString text(const CFillListModel& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
}

} // namespace

Q_DECLARE_METATYPE(RegionalSettings)

class FillListModelTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearSettings();
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char('.'), QStringLiteral("/"), 0});
    }
    void cleanup() {
        clearSettings();
        setRegionalSettingsOverride(std::nullopt);
    }

    void columnsFollowTheFixedOrder_data() {
        QTest::addColumn<quint32>("definition");
        QTest::addColumn<QList<CFillListModel::Column>>("columns");
        using C = CFillListModel;
        QTest::newRow("none") << 0u << QList<C::Column>{};
        QTest::newRow("record number only") << 0x10u << QList<C::Column>{C::RecordNumber};
        QTest::newRow("all") << 127u
                             << QList<C::Column>{C::RecordNumber, C::Date,     C::Fuel,
                                                 C::Cost,         C::Odometer, C::Consumption,
                                                 C::Endurance};
        QTest::newRow("bit order is not column order")
            << (0x40u | 0x10u | 0x01u) << QList<C::Column>{C::RecordNumber, C::Date, C::Endurance};
        QTest::newRow("marks") << (0x80u | 0x01u) << QList<C::Column>{C::Date, C::Marks};
        QTest::newRow("high bits ignored") << (0xffffff00u | 0x02u) << QList<C::Column>{C::Fuel};
    }
    void columnsFollowTheFixedOrder() {
        QFETCH(quint32, definition);
        QFETCH(QList<CFillListModel::Column>, columns);
        QCOMPARE(CFillListModel::columnsFor(definition), columns);

        writeColumnDefinition(definition);
        OpenLog log({});
        CFillListModel model(log.document);
        model.rebuild();
        QCOMPARE(model.columnCount(), columns.size());
    }

    // The endurance column repeats a consumption given as a distance per volume: hidden then,
    // and named for what it is. The marks show once the log has a partial or missed fill. What
    // the user chose in the settings stands above both.
    void columnsFollowTheLog_data() {
        QTest::addColumn<int>("consumption"); // ConsumptionUnit
        QTest::addColumn<bool>("partial");
        QTest::addColumn<int>("definition"); // -1: none stored
        QTest::addColumn<int>("chosen");     // the columns the user chose
        QTest::addColumn<bool>("endurance");
        QTest::addColumn<bool>("marks"); // also after a partial fill is added
        using U = ConsumptionUnit;
        QTest::newRow("l / 100 km") << int(U::LitresPer100Km) << false << -1 << 0 << true << false;
        QTest::newRow("mpg") << int(U::MpgUs) << false << -1 << 0 << false << false;
        QTest::newRow("km / l with a partial fill")
            << int(U::KmPerLitre) << true << -1 << 0 << false << true;
        QTest::newRow("endurance left off before")
            << int(U::LitresPer100Km) << false << 0x3f << 0 << false << false;
        QTest::newRow("the user's endurance shown, marks hidden")
            << int(U::MpgUs) << true << 0x7f << 0xc0 << true << false;
    }
    void columnsFollowTheLog() {
        QFETCH(int, consumption);
        QFETCH(bool, partial);
        QFETCH(int, definition);
        QFETCH(int, chosen);
        QFETCH(bool, endurance);
        QFETCH(bool, marks);
        if (definition >= 0)
            writeColumnDefinition(quint32(definition));
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tankometer"))
            .setValue(QStringLiteral("ColumnsChosen"), chosen);
        OpenLog log({makeFill(0, 1000, 40.0f, 60.0f), makeFill(1, 1500, 30.0f, 45.0f)},
                    {{}, {partial, false}});
        LogUnits units;
        units.consumption = ConsumptionUnit(consumption);
        if (units.consumption == ConsumptionUnit::MpgUs) {
            units.distance = DistanceUnit::Miles;
            units.volume = VolumeUnit::UsGallons;
        }
        log.document.setUnits(units);
        CFillListModel model(log.document);
        QAbstractItemModelTester tester(&model);
        model.rebuild();
        QCOMPARE(model.positionOf(CFillListModel::Endurance) >= 0, endurance);
        QCOMPARE(model.positionOf(CFillListModel::Marks) >= 0, marks);
        const int position = model.positionOf(CFillListModel::Endurance);
        if (endurance) {
            QCOMPARE(model.headerData(position, Qt::Horizontal)
                         .toString()
                         .startsWith(QStringLiteral("Distance per volume")),
                     consumption != int(ConsumptionUnit::LitresPer100Km));
        }

        // A partial fill added, and taken back.
        log.document.addFill(QString(), makeFill(2, 1900, 20.0f, 30.0f), QString(), {true, false});
        QCOMPARE(model.positionOf(CFillListModel::Marks) >= 0, marks || !(chosen & 0x80));
        log.document.undoStack()->undo();
        QCOMPARE(model.positionOf(CFillListModel::Marks) >= 0, marks);
    }

    void headersAreTranslatedAndRightAligned() {
        OpenLog log({});
        CFillListModel model(log.document);
        model.rebuild();
        const QStringList expected{QString(),
                                   QStringLiteral("Date"),
                                   QStringLiteral("Fuel"),
                                   QStringLiteral("Cost"),
                                   QStringLiteral("Odometer"),
                                   QStringLiteral("Consumption"),
                                   QStringLiteral("Endurance")};
        QCOMPARE(model.columnCount(), expected.size());
        for (int column = 0; column < model.columnCount(); ++column) {
            QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), expected.at(column));
            QVERIFY(model.headerData(column, Qt::Horizontal, Qt::TextAlignmentRole)
                        .value<Qt::Alignment>()
                        .testFlag(Qt::AlignRight));
        }
        QCOMPARE(model.rowCount(), 0);
    }

    void cellTexts() {
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char(','), QStringLiteral("."), 1});
        OpenLog log({makeFill(0, 123456, 40.5f, 61.25f), makeFill(10, 123956, 30.0f, 45.0f)});
        CFillListModel model(log.document);
        model.rebuild();
        QCOMPARE(model.rowCount(), 2);
        const int fuel = model.positionOf(CFillListModel::Fuel);
        QCOMPARE(text(model, 0, model.positionOf(CFillListModel::RecordNumber)),
                 QStringLiteral("1."));
        QCOMPARE(text(model, 1, model.positionOf(CFillListModel::RecordNumber)),
                 QStringLiteral("2."));
        QCOMPARE(text(model, 0, fuel), QStringLiteral("40,50"));
        QCOMPARE(text(model, 0, model.positionOf(CFillListModel::Cost)), QStringLiteral("61,25"));
        QCOMPARE(text(model, 0, model.positionOf(CFillListModel::Odometer)),
                 QStringLiteral("123456"));
        QVERIFY(!text(model, 0, model.positionOf(CFillListModel::Date)).isEmpty());
        // The first fill has no previous one: its derived values are not available.
        QCOMPARE(text(model, 0, model.positionOf(CFillListModel::Consumption)), QString());
        QCOMPARE(text(model, 0, model.positionOf(CFillListModel::Endurance)), QString());
        QVERIFY(!text(model, 1, model.positionOf(CFillListModel::Consumption)).isEmpty());
        QVERIFY(!text(model, 1, model.positionOf(CFillListModel::Endurance)).isEmpty());
        for (int column = 0; column < model.columnCount(); ++column) {
            QVERIFY(model.data(model.index(1, column), Qt::TextAlignmentRole)
                        .value<Qt::Alignment>()
                        .testFlag(Qt::AlignRight));
        }
    }

    // A log of one kind names the units in the headers, kWh for charges whatever the volume
    // unit; one that holds both names them in each amount, consumption and endurance cell, each
    // in its own kind's units. What the rows hold is followed as fills are added.
    void eachKindShowsItsUnits_data() {
        QTest::addColumn<int>("energy");
        QTest::addColumn<QString>("kinds");       // f fuel, c charge, one fill each
        QTest::addColumn<QStringList>("headers"); // amount, consumption, endurance
        QTest::addColumn<QStringList>("cells");   // of the second and fourth rows, the same columns
        const int electric = int(VehicleEnergy::Electric);
        const int hybrid = int(VehicleEnergy::PlugInHybrid);
        const QStringList kwhHeaders{"Energy (kWh)", "Consumption (kWh / 100 km)",
                                     "Endurance (km / kWh)"};
        const QStringList kwhCells{"20.00", "20.00", "5.00", "10.00", "10.00", "10.00"};
        QTest::newRow("electric") << electric << "cccc" << kwhHeaders << kwhCells;
        QTest::newRow("hybrid, charges so far") << hybrid << "cccc" << kwhHeaders << kwhCells;
        QTest::newRow("hybrid, both")
            << hybrid << "ffcc" << QStringList{"Amount", "Consumption", "Endurance"}
            << QStringList{"20.00 l",   "20.00 l / 100 km",   "5.00 km / l",
                           "10.00 kWh", "10.00 kWh / 100 km", "10.00 km / kWh"};
    }
    void eachKindShowsItsUnits() {
        QFETCH(int, energy);
        QFETCH(QString, kinds);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, cells);
        writeFillingMethod(1);
        OpenLog log({});
        CFillListModel model(log.document);
        model.rebuild();
        LogUnits units;
        units.volume = kinds.contains(u'f') ? VolumeUnit::Litres : VolumeUnit::UsGallons;
        units.energy = VehicleEnergy(energy);
        QVERIFY(log.document.setUnits(units));
        const float amounts[] = {40, 20, 30, 10};
        for (int i = 0; i < kinds.size(); ++i)
            log.document.addFill(QStringLiteral("Shell"),
                                 makeFill(i, 1000 + 100 * i + (i > 1 ? 100 : 0), amounts[i], 10),
                                 QString(), FillFlags{false, false, kinds.at(i) == u'c'});
        QStringList shownHeaders;
        QStringList shownCells;
        for (const auto column :
             {CFillListModel::Fuel, CFillListModel::Consumption, CFillListModel::Endurance}) {
            const int position = model.positionOf(column);
            shownHeaders.append(model.headerData(position, Qt::Horizontal).toString());
        }
        for (const int row : {1, 3}) {
            for (const auto column :
                 {CFillListModel::Fuel, CFillListModel::Consumption, CFillListModel::Endurance})
                shownCells.append(text(model, row, model.positionOf(column)));
        }
        QCOMPARE(shownHeaders, headers);
        QCOMPARE(shownCells, cells);
    }

    // Amounts no fill can have (a damaged file) show as not available and stay as stored.
    void damagedAmountsShowNotAvailable_data() {
        QTest::addColumn<float>("amount");
        QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("infinity") << std::numeric_limits<float>::infinity();
        QTest::newRow("largest float") << std::numeric_limits<float>::max();
    }
    void damagedAmountsShowNotAvailable() {
        QFETCH(float, amount);
        QByteArray stored;
        {
            // The second fill's consumption is worked out with the first one's fuel.
            writeFillingMethod(2);
            OpenLog log({makeFill(0, 1000, amount, amount), makeFill(10, 1500, 40.0f, 60.0f)});
            QFile file(logPath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            stored = file.readAll();
            CFillListModel model(log.document);
            model.rebuild();
            QCOMPARE(text(model, 0, model.positionOf(CFillListModel::Fuel)), QStringLiteral("N/A"));
            QCOMPARE(text(model, 0, model.positionOf(CFillListModel::Cost)), QStringLiteral("N/A"));
            QCOMPARE(text(model, 1, model.positionOf(CFillListModel::Consumption)), QString());
        }
        QFile file(logPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), stored);
    }

    // Three fills of 40, 30 and 50 litres at 1000, 1500 and 2100 km. A full tank charges each
    // distance with the fuel of the fill that ends it, a tank driven empty with the fuel of
    // the fill that starts it.
    void derivedCellsFollowTheFillingMethod_data() {
        QTest::addColumn<quint32>("method");
        QTest::addColumn<QStringList>("consumption");
        QTest::addColumn<QStringList>("endurance");
        QTest::newRow("full tank")
            << 1u << QStringList{"", "6.00", "8.33"} << QStringList{"", "16.67", "12.00"};
        QTest::newRow("to empty tank")
            << 2u << QStringList{"", "8.00", "5.00"} << QStringList{"", "12.50", "20.00"};
    }
    void derivedCellsFollowTheFillingMethod() {
        QFETCH(quint32, method);
        QFETCH(QStringList, consumption);
        QFETCH(QStringList, endurance);
        OpenLog log({makeFill(0, 1000, 40.0f, 60.0f), makeFill(1, 1500, 30.0f, 45.0f),
                     makeFill(2, 2100, 50.0f, 80.0f)});
        CFillListModel model(log.document);
        model.rebuild();
        writeFillingMethod(method);
        // The method is read when the list is rebuilt, as the Settings dialog does.
        model.rebuild();
        QStringList shownConsumption;
        QStringList shownEndurance;
        for (int row = 0; row < 3; ++row) {
            shownConsumption << text(model, row, model.positionOf(CFillListModel::Consumption));
            shownEndurance << text(model, row, model.positionOf(CFillListModel::Endurance));
        }
        QCOMPARE(shownConsumption, consumption);
        QCOMPARE(shownEndurance, endurance);
    }

    // A partial fill and one after a missed fill: their marks, read out in words, and the
    // figures that partial fills carry to the next full one. A changed flag changes the figures
    // up to that fill.
    void partialAndMissedFills() {
        writeColumnDefinition(0xff);
        writeFillingMethod(1);
        OpenLog log({makeFill(0, 1000, 40.0f, 60.0f), makeFill(1, 1200, 10.0f, 15.0f),
                     makeFill(2, 1400, 12.0f, 18.0f), makeFill(3, 1600, 14.0f, 21.0f),
                     makeFill(4, 2000, 30.0f, 45.0f)},
                    {{}, {true, false}, {true, false}, {}, {false, true}});
        CFillListModel model(log.document);
        QAbstractItemModelTester tester(&model);
        model.rebuild();
        const int marks = model.positionOf(CFillListModel::Marks);
        const int consumption = model.positionOf(CFillListModel::Consumption);
        const auto column = [&model](int position, int role) {
            QStringList texts;
            for (int row = 0; row < model.rowCount(); ++row)
                texts << model.data(model.index(row, position), role).toString();
            return texts;
        };
        QCOMPARE(column(consumption, Qt::DisplayRole), (QStringList{"", "", "", "6.00", ""}));
        QCOMPARE(
            column(marks, Qt::AccessibleTextRole),
            (QStringList{"", "Partial fill", "Partial fill", "", "Missed fill before this one"}));
        const QString partialTip = QStringLiteral(
            "Partial fill: its consumption is shown with the next fill that is not partial");
        QCOMPARE(column(consumption, Qt::ToolTipRole),
                 (QStringList{"", partialTip, partialTip, "",
                              "A fill before this one was not logged: no consumption here"}));
        const QStringList shownMarks = column(marks, Qt::DisplayRole);
        QVERIFY(!shownMarks.at(1).isEmpty() && shownMarks.at(1) != shownMarks.at(4));
        QVERIFY(shownMarks.at(0).isEmpty() && shownMarks.at(3).isEmpty());

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        log.document.editFill(1, QString(), *log.document.database().getFill(1), QString(), {});
        QCOMPARE(changed.last().at(1).toModelIndex().row(), 3);
        QCOMPARE(column(consumption, Qt::DisplayRole), (QStringList{"", "5.00", "", "6.50", ""}));
    }

    // The texts a column's width is made for: the last record number, the longest date of the
    // newest year, the largest and smallest amounts; cells left empty take no room.
    void widestTextsComeFromTheExtremes() {
        std::vector<FillRecord> fills;
        for (int i = 0; i < 150; ++i)
            fills.push_back(makeFill(i, 1000 + 100 * i, 40.0f, 60.0f));
        fills[7].cost = 123456.5f;
        fills[8].fuel = -2.0f;
        fills[9].fuel = std::numeric_limits<float>::infinity();
        fills[10].cost = std::numeric_limits<float>::max();
        OpenLog log(fills);
        CFillListModel model(log.document);
        model.rebuild();
        using C = CFillListModel;
        QCOMPARE(model.widestTexts(C::RecordNumber), QStringList{"150."});
        const QString lastDate = model.cellText(149, C::Date);
        QCOMPARE(model.widestTexts(C::Date),
                 (QStringList{"12/28/" + lastDate.section('/', 2), lastDate}));
        QCOMPARE(model.widestTexts(C::Cost), (QStringList{"60.00", "123456.50", "N/A"}));
        QCOMPARE(model.widestTexts(C::Fuel), (QStringList{"-2.00", "40.00", "N/A"}));
        QCOMPARE(model.widestTexts(C::Odometer), (QStringList{"1000", "15900"}));
        // Fill 8's negative fuel gives a negative consumption, whose cell is empty.
        QVERIFY(!model.widestTexts(C::Consumption).join("").contains('-'));
        OpenLog empty({});
        CFillListModel emptyModel(empty.document);
        emptyModel.rebuild();
        QCOMPARE(emptyModel.widestTexts(C::Cost), QStringList());
        QCOMPARE(emptyModel.widestTexts(C::Date), QStringList());
    }

    void textsFollowTheLocaleAtEveryRead() {
        OpenLog log({makeFill(0, 1000, 40.5f, 50.0f)});
        CFillListModel model(log.document);
        model.rebuild();
        const int fuel = model.positionOf(CFillListModel::Fuel);
        QCOMPARE(text(model, 0, fuel), QStringLiteral("40.50"));
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char(','), QStringLiteral("."), 1});
        QCOMPARE(text(model, 0, fuel), QStringLiteral("40,50"));
    }

    // Every column as a pass over the list makes it in the regional settings of the pass: signs,
    // halves rounded as printf does, no thousands separators, the largest odometers, cells left
    // empty and amounts not available.
    void everyColumnInRegionalSettings_data() {
        QTest::addColumn<RegionalSettings>("regional");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("Czech") << RegionalSettings{u',', QStringLiteral(". "), 1, QChar(0x00a0)}
                               << QList<QStringList>{
                                      {"1.", "22. 8. 2022", "0,12", "-3,01", "2147482000", "", ""},
                                      {"2.", "1. 9. 2022", "2,67", "1234567,50", "2147482500",
                                       "0,53", "186,92"},
                                      {"3.", "1. 10. 2022", "N/A", "45,50", "2147483100", "", ""}};
    }
    void everyColumnInRegionalSettings() {
        QFETCH(RegionalSettings, regional);
        QFETCH(QList<QStringList>, rows);
        writeFillingMethod(1);
        setRegionalSettingsOverride(regional);
        OpenLog log({makeFill(0, 2147482000, 0.125f, -3.005f),
                     makeFill(10, 2147482500, 2.675f, 1234567.5f),
                     makeFill(40, 2147483100, std::numeric_limits<float>::quiet_NaN(), 45.5f)});
        CFillListModel model(log.document);
        model.rebuild();
        for (int row = 0; row < rows.size(); ++row) {
            QStringList texts;
            for (int column = CFillListModel::RecordNumber; column <= CFillListModel::Endurance;
                 ++column)
                texts << model.cellText(row, CFillListModel::Column(column));
            QCOMPARE(texts, rows.at(row));
        }
    }

    // Older fills imported between the fills of the log: the rows come in where they belong,
    // the selection stays with its fill, and an undo takes out exactly those rows.
    void importOfOlderFillsComesInAtItsRows() {
        writeColumnDefinition(0x01 | 0x02 | 0x20); // date first: the tester compares column 0
        OpenLog log({makeFill(10, 2000, 40.0f, 50.0f), makeFill(11, 2500, 40.0f, 50.0f),
                     makeFill(20, 3000, 40.0f, 50.0f), makeFill(21, 3500, 40.0f, 50.0f)});
        CFillListModel model(log.document);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.rebuild();
        QItemSelectionModel selection(&model);
        selection.setCurrentIndex(model.index(2, 0), QItemSelectionModel::Select);
        const QString selectedDate = text(model, 2, 0);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

        CFuelDatabase older(QDir::home().filePath(QStringLiteral("older.fil")));
        for (const int day : {1, 15, 25})
            older.insertFill(makeFill(day, 1000 * day, 30.0f, 40.0f));
        const QString csv = QDir::home().filePath(QStringLiteral("older.csv"));
        QVERIFY(writeCsvFile(csv, older));
        CCsvReader reader;
        QVERIFY(reader.open(csv));
        QCOMPARE(log.document.importCsv(reader, {0, 1, 2, 3, 7, 4, 5, 6}).imported, 3);

        QCOMPARE(model.rowCount(), 7);
        QList<int> rows;
        for (const QList<QVariant>& signal : inserted)
            rows << signal.at(1).toInt() << signal.at(2).toInt();
        QCOMPARE(rows, (QList<int>{0, 0, 3, 3, 6, 6}));
        QCOMPARE(selection.currentIndex().row(), 4);
        QCOMPARE(text(model, 4, 0), selectedDate);

        log.document.undoStack()->undo();
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(selection.currentIndex().row(), 2);
        log.document.undoStack()->redo();
        QCOMPARE(model.rowCount(), 7);
        writeColumnDefinition(0x02);
        model.rebuild();
        QCOMPARE(model.columnCount(), 1);
    }

    void noColumnsStillHaveRows() {
        writeColumnDefinition(0);
        OpenLog log({makeFill(0, 1000, 40.0f, 50.0f)});
        CFillListModel model(log.document);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.rebuild();
        QCOMPARE(model.columnCount(), 0);
        QCOMPARE(model.rowCount(), 1);
        log.document.addFill(QString(), makeFill(1, 1500, 40.0f, 50.0f), QString());
        QCOMPARE(model.rowCount(), 2);
    }
};

QTEST_GUILESS_MAIN(FillListModelTest)
#include "tst_filllistmodel.moc"
