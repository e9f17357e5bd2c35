#include "db/fueldatabase.h"
#include "db/regional.h"
#include "ui/main/filllistmodel.h"

#include <QAbstractItemModelTester>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

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
