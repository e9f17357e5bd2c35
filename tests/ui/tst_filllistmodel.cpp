#include "db/fueldatabase.h"
#include "db/regional.h"
#include "ui/main/filllistmodel.h"

#include <QAbstractItemModelTester>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
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
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tankometer"))
        .setValue(QStringLiteral("ColDef"), value);
}

void writeFillingMethod(quint32 value) {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tankometer"))
        .setValue(QStringLiteral("FillingMethod"), value);
}

void clearSettings() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tankometer")).clear();
}

QString text(const CFillListModel& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
}

} // namespace

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
        QTest::newRow("high bits ignored") << (0xffffff80u | 0x02u) << QList<C::Column>{C::Fuel};
    }
    void columnsFollowTheFixedOrder() {
        QFETCH(quint32, definition);
        QFETCH(QList<CFillListModel::Column>, columns);
        QCOMPARE(CFillListModel::columnsFor(definition), columns);

        writeColumnDefinition(definition);
        CFuelDatabase database;
        CFillListModel model(database);
        model.rebuild();
        QCOMPARE(model.columnCount(), columns.size());
    }

    void headersAreTranslatedAndRightAligned() {
        CFuelDatabase database;
        CFillListModel model(database);
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
        CFuelDatabase database;
        database.insertFill(makeFill(0, 123456, 40.5f, 61.25f));
        database.insertFill(makeFill(10, 123956, 30.0f, 45.0f));
        CFillListModel model(database);
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
        CFuelDatabase database;
        database.insertFill(makeFill(0, 1000, 40.0f, 60.0f));
        database.insertFill(makeFill(1, 1500, 30.0f, 45.0f));
        database.insertFill(makeFill(2, 2100, 50.0f, 80.0f));
        CFillListModel model(database);
        model.rebuild();
        writeFillingMethod(method);
        // The method is read once per pass: a rebuild, a refresh or a painting.
        model.refreshAll();
        QStringList shownConsumption;
        QStringList shownEndurance;
        for (int row = 0; row < 3; ++row) {
            shownConsumption << text(model, row, model.positionOf(CFillListModel::Consumption));
            shownEndurance << text(model, row, model.positionOf(CFillListModel::Endurance));
        }
        QCOMPARE(shownConsumption, consumption);
        QCOMPARE(shownEndurance, endurance);
    }

    // The texts a column's width is made for: the last record number, the longest date of the
    // newest year, the largest and smallest amounts; cells left empty take no room.
    void widestTextsComeFromTheExtremes() {
        CFuelDatabase database;
        for (int i = 0; i < 150; ++i)
            database.insertFill(makeFill(i, 1000 + 100 * i, 40.0f, 60.0f));
        database.getFill(7)->cost = 123456.5f;
        database.getFill(8)->fuel = -2.0f;
        database.getFill(9)->fuel = std::numeric_limits<float>::infinity();
        CFillListModel model(database);
        model.rebuild();
        using C = CFillListModel;
        QCOMPARE(model.widestTexts(C::RecordNumber), QStringList{"150."});
        const QString lastDate = model.cellText(149, C::Date);
        QCOMPARE(model.widestTexts(C::Date),
                 (QStringList{"12/28/" + lastDate.section('/', 2), lastDate}));
        QCOMPARE(model.widestTexts(C::Cost), (QStringList{"60.00", "123456.50"}));
        QCOMPARE(model.widestTexts(C::Fuel), (QStringList{"-2.00", "40.00", "-inf"}));
        QCOMPARE(model.widestTexts(C::Odometer), (QStringList{"1000", "15900"}));
        // Fill 8's negative fuel gives a negative consumption, whose cell is empty.
        QVERIFY(!model.widestTexts(C::Consumption).join("").contains('-'));
        CFuelDatabase empty;
        CFillListModel emptyModel(empty);
        emptyModel.rebuild();
        QCOMPARE(emptyModel.widestTexts(C::Cost), QStringList());
        QCOMPARE(emptyModel.widestTexts(C::Date), QStringList());
    }

    void textsFollowTheLocaleAtEveryRead() {
        CFuelDatabase database;
        database.insertFill(makeFill(0, 1000, 40.5f, 50.0f));
        CFillListModel model(database);
        model.rebuild();
        const int fuel = model.positionOf(CFillListModel::Fuel);
        QCOMPARE(text(model, 0, fuel), QStringLiteral("40.50"));
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char(','), QStringLiteral("."), 1});
        QCOMPARE(text(model, 0, fuel), QStringLiteral("40,50"));
    }

    // The database changes before the model hears of it, so the item model tester (which
    // compares texts before and after a change) watches rebuilds and appends only.
    void insertAndRemoveMoveTheFollowingRows() {
        writeColumnDefinition(0x10);
        CFuelDatabase database;
        database.insertFill(makeFill(5, 1000, 40.0f, 50.0f));
        database.insertFill(makeFill(6, 1500, 40.0f, 50.0f));
        CFillListModel model(database);
        model.rebuild();
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        const int first = database.insertFill(makeFill(1, 500, 40.0f, 50.0f));
        QCOMPARE(first, 0);
        model.rowInserted(first);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 0);
        QCOMPARE(changed.at(0).at(1).toModelIndex().row(), 2);
        QCOMPARE(text(model, 2, 0), QStringLiteral("3."));

        database.removeFill(0);
        model.rowRemoved(0);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(text(model, 1, 0), QStringLiteral("2."));

        // A notice that does not match the announced rows takes the rows anew.
        database.insertFill(makeFill(30, 5000, 40.0f, 50.0f));
        model.rowInserted(17);
        QCOMPARE(model.rowCount(), database.getFillCount());
        model.rowRemoved(-1);
        QCOMPARE(model.rowCount(), database.getFillCount());
        QCOMPARE(text(model, 2, 0), QStringLiteral("3."));
    }

    void rebuildAndAppendAreConsistent() {
        CFuelDatabase database;
        database.insertFill(makeFill(5, 1000, 40.0f, 50.0f));
        CFillListModel model(database);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.rebuild();
        database.insertFill(makeFill(20, 3000, 40.0f, 50.0f));
        database.insertFill(makeFill(21, 3500, 40.0f, 50.0f));
        model.rowsAppended();
        QCOMPARE(model.rowCount(), 3);
        model.refreshAll();
        writeColumnDefinition(0x02);
        model.rebuild();
        QCOMPARE(model.columnCount(), 1);
        QCOMPARE(text(model, 2, 0), QStringLiteral("40.00"));
    }

    void noColumnsStillHaveRows() {
        writeColumnDefinition(0);
        CFuelDatabase database;
        database.insertFill(makeFill(0, 1000, 40.0f, 50.0f));
        CFillListModel model(database);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.rebuild();
        QCOMPARE(model.columnCount(), 0);
        QCOMPARE(model.rowCount(), 1);
        model.refreshAll();
    }
};

QTEST_GUILESS_MAIN(FillListModelTest)
#include "tst_filllistmodel.moc"
