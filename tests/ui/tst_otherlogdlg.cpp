#include "core/paths.h"
#include "db/regional.h"
#include "localisation/language.h"
#include "ui/import/otherlogdlg.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "windowtest.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char kFuelly[] =
    "car_name, model, mpg, odometer, miles, gallons, price, city_percentage, fuelup_date, "
    "date_added, tags, notes, missed_fuelup, partial_fuelup, latitude, longitude, brand\n"
    "Wagon,Outback,30.1,21000,301,10,3.459,50,2023-06-20,2023-06-20 10:00:00,,,0,1,,,Shell\n"
    "Roadster,MX-5,35.0,5400,350,10,3.999,0,2023-06-18,2023-06-18 10:00:00,,weekend,0,0,,,BP\n"
    "Wagon,Outback,29.5,20699,295,10,3.299,50,2023-06-10,2023-06-10 10:00:00,,,0,0,,,Costco\n";

const char kLubeLogger[] = "Date,Odometer,FuelConsumed,Cost,FuelEconomy,IsFillToFull,"
                           "MissedFuelUp,Notes,Tags\n"
                           "13.09.2023,52100,\"40,5\",\"72,49\",\"6,8\",True,False,,\n"
                           "01.09.2023,51500,\"38,25\",\"68,85\",0,False,False,Urlaub,\n"
                           "20.08.2023,,10,20,0,True,False,,\n";

// Fuelio's backup with a fill and two costs, one in a category the log does not have.
const char kFuelioCosts[] =
    "\"## Vehicle\"\n"
    "\"Name\",\"DistUnit\",\"FuelUnit\"\n"
    "\"Polo\",\"0\",\"0\"\n"
    "\"## Log\"\n"
    "\"Data\",\"Odo (km)\",\"Fuel (litres)\",\"Full\",\"Price (optional)\"\n"
    "\"2024-02-01 10:00\",\"1000\",\"40\",\"1\",\"60\"\n"
    "\"## CostCategories\"\n"
    "\"CostTypeID\",\"Name\",\"priority\",\"color\"\n"
    "\"1\",\"Service\",\"0\",\"\"\n"
    "\"9\",\"Tuning\",\"0\",\"\"\n"
    "\"## Costs\"\n"
    "\"CostTitle\",\"Date\",\"Odo\",\"CostTypeID\",\"Notes\",\"Cost\",\"isTemplate\","
    "\"isIncome\"\n"
    "\"Oil change\",\"2024-02-10\",\"1100\",\"1\",\"\",\"89.9\",\"0\",\"0\"\n"
    "\"Spoiler\",\"2024-02-11\",\"0\",\"9\",\"\",\"300\",\"0\",\"0\"\n";

// LubeLogger's service or repair records: the file does not say which.
const char kLubeLoggerRecords[] = "Date,Odometer,Description,Notes,Cost,Tags\n"
                                  "3/14/2026,52000,Brake pads,,$189.99,\n"
                                  "4/2/2026,52600,Timing belt,,\"$1,234.56\",\n";

QString writeFile(const QTemporaryDir& dir, const char* text) {
    const QString path = dir.filePath(QStringLiteral("export.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(text);
    return path;
}

template <typename T> T* child(QWidget& parent, const char* name) {
    return parent.findChild<T*>(QString::fromLatin1(name));
}

void pick(QDialog& dialog, const char* box, const QString& text) {
    QComboBox* combo = child<QComboBox>(dialog, box);
    QVERIFY(combo);
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
}

QStringList previewColumn(QDialog& dialog, int column) {
    QStringList texts;
    const QTableWidget* preview = child<QTableWidget>(dialog, "preview");
    for (int row = 0; row < preview->rowCount(); ++row)
        texts.append(preview->item(row, column)->text());
    return texts;
}

QStringList listOdometers(const CMainWnd& window) {
    QStringList texts;
    for (int row = 0; row < window.listModel()->rowCount(); ++row)
        texts.append(window.listModel()->cellText(row, CFillListModel::Odometer));
    return texts;
}

enum class Answer { Import, PerVehicle, Cancel };

const char* buttonName(Answer answer) {
    switch (answer) {
    case Answer::Import:
        return "import";
    case Answer::PerVehicle:
        return "importPerVehicle";
    case Answer::Cancel:
        break;
    }
    return "cancel";
}

} // namespace

class OtherLogDlgTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DialogSeams::enable(); }

    void init() {
        startWindowCase();
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char('.'), QStringLiteral("/"), 1});
    }

    void cleanup() {
        endWindowCase();
        setRegionalSettingsOverride(std::nullopt);
    }

    void importsThroughTheDialogs_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("vehicle"); // empty: as recognised
        QTest::addColumn<QString>("decimal"); // empty: as recognised
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QStringList>("odometers");
        QTest::addColumn<QString>("message"); // empty: none

        QTest::newRow("Fuelly, first vehicle")
            << QByteArray(kFuelly) << QString() << QString() << Answer::Import
            << QStringList{"33312", "33796"}
            << "Fills added: 2\nAlready in the log: 0\nRows skipped: 0\nPartial fills: 1\n"
               "After missed fills: 0";
        QTest::newRow("Fuelly, second vehicle")
            << QByteArray(kFuelly) << QStringLiteral("Roadster") << QString() << Answer::Import
            << QStringList{"8690"}
            << "Fills added: 1\nAlready in the log: 0\nRows skipped: 0\nPartial fills: 0\n"
               "After missed fills: 0";
        QTest::newRow("LubeLogger")
            << QByteArray(kLubeLogger) << QString() << QString() << Answer::Import
            << QStringList{"51500", "52100"}
            << "Fills added: 2\nAlready in the log: 0\nRows skipped: 1\n"
               "    odometer does not read: 1\nPartial fills: 1\nAfter missed fills: 0";
        QTest::newRow("LubeLogger, decimal point chosen")
            << QByteArray(kLubeLogger) << QString() << QStringLiteral(".") << Answer::Import
            << QStringList{}
            << "Fills added: 0\nAlready in the log: 0\nRows skipped: 3\n"
               "    odometer does not read: 1\n    volume does not read: 2\nPartial fills: 0\n"
               "After missed fills: 0";
        // The open log keeps its fills; each vehicle gets a log of its own in the folder.
        QTest::newRow("Fuelly, one log per vehicle")
            << QByteArray(kFuelly) << QString() << QString() << Answer::PerVehicle << QStringList{}
            << "Wagon.fil\nFills added: 2\nAlready in the log: 0\nRows skipped: 0\n"
               "Partial fills: 1\nAfter missed fills: 0\n\n"
               "Roadster.fil\nFills added: 1\nAlready in the log: 0\nRows skipped: 0\n"
               "Partial fills: 0\nAfter missed fills: 0";
        QTest::newRow("cancel") << QByteArray(kFuelly) << QString() << QString() << Answer::Cancel
                                << QStringList{} << QString();
    }

    // File > Import from another fuel log: the file dialog, the import dialog with the user's
    // choices, the fills in the list and the summary.
    void importsThroughTheDialogs() {
        QFETCH(QByteArray, text);
        QFETCH(QString, vehicle);
        QFETCH(QString, decimal);
        QFETCH(Answer, answer);
        QFETCH(QStringList, odometers);
        QFETCH(QString, message);

        QTemporaryDir dir;
        const QString path = writeFile(dir, text.constData());
        TestWindow window;
        window.open();
        DialogSeams::setNextFileName(path);
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            if (!vehicle.isEmpty())
                pick(dialog, "vehicle", vehicle);
            if (!decimal.isEmpty())
                pick(dialog, "decimal", decimal);
            QPushButton* button = child<QPushButton>(dialog, buttonName(answer));
            QVERIFY(button && button->isEnabled() && !button->isHidden());
            button->click();
        });
        if (answer == Answer::PerVehicle)
            DialogSeams::setNextFileName(dir.path());
        if (!message.isEmpty())
            DialogSeams::setNextAnswer(QMessageBox::Ok);
        window.dispatchCommand(CMainWnd::CmdImportOtherLog);

        QCOMPARE(DialogSeams::askedFileDialogs().size(), answer == Answer::PerVehicle ? 2 : 1);
        QCOMPARE(DialogSeams::ranDialogs(), QList<QString>{QStringLiteral("otherLogDialog")});
        QCOMPARE(listOdometers(window), odometers);
        QCOMPARE(window.hasUnsavedChanges(), !odometers.isEmpty());
        QCOMPARE(DialogSeams::askedMessages().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(DialogSeams::askedMessages().constFirst().text, message);
        QVERIFY(window.commandAction(CMainWnd::CmdImportOtherLog));
    }

    // A second import of the same file adds nothing and says so.
    void secondImportFindsEveryFillInTheLog() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, kLubeLogger);
        TestWindow window;
        window.open();
        for (int round = 0; round < 2; ++round) {
            DialogSeams::setNextFileName(path);
            DialogSeams::setNextDialogHandler([](QDialog& dialog) { dialog.accept(); });
            DialogSeams::setNextAnswer(QMessageBox::Ok);
            window.dispatchCommand(CMainWnd::CmdImportOtherLog);
        }
        QCOMPARE(listOdometers(window), (QStringList{"51500", "52100"}));
        QCOMPARE(DialogSeams::askedMessages().constLast().text,
                 QStringLiteral("Fills added: 0\nAlready in the log: 2\nRows skipped: 1\n"
                                "    odometer does not read: 1\nPartial fills: 0\n"
                                "After missed fills: 0"));
    }

    void nothingHappensWithoutAFile_data() {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("file dialog cancelled") << true;
        QTest::newRow("file that does not open") << false;
    }

    void nothingHappensWithoutAFile() {
        QFETCH(bool, cancelled);
        TestWindow window;
        window.open();
        DialogSeams::setNextFileName(cancelled ? QString() : QStringLiteral("/nonexistent/x.csv"));
        if (!cancelled)
            DialogSeams::setNextAnswer(QMessageBox::Ok);
        window.dispatchCommand(CMainWnd::CmdImportOtherLog);
        QVERIFY(DialogSeams::ranDialogs().isEmpty());
        QCOMPARE(window.listModel()->rowCount(), 0);
        QCOMPARE(DialogSeams::askedMessages().size(), cancelled ? 0 : 1);
        if (!cancelled)
            QCOMPARE(DialogSeams::askedMessages().constFirst().text,
                     translate(Text::Import_errorload));
        QVERIFY(window.commandAction(CMainWnd::CmdImportOtherLog));
    }

    // The preview follows every choice at once: format, units, columns and date order.
    void previewFollowsTheChoices() {
        QTemporaryDir dir;
        const OtherLogFile file = readOtherLog(QString::fromLatin1(kFuelly));
        CFuelDatabase log;
        COtherLogDlg dialog(nullptr, log, file);
        QCOMPARE(child<QComboBox>(dialog, "format")->currentText(), QStringLiteral("Fuelly"));
        QCOMPARE(child<QComboBox>(dialog, "distanceUnit")->currentText(), QStringLiteral("miles"));
        QCOMPARE(child<QComboBox>(dialog, "volumeUnit")->currentText(),
                 QStringLiteral("US gallons"));
        QVERIFY(child<QComboBox>(dialog, "vehicle")->isEnabled());
        QVERIFY(child<QLabel>(dialog, "dateOrderHint")->isHidden());
        QCOMPARE(previewColumn(dialog, 2), (QStringList{"33796", "33312"}));
        QCOMPARE(previewColumn(dialog, 3), (QStringList{"37.85", "37.85"}));

        pick(dialog, "distanceUnit", QStringLiteral("kilometres"));
        pick(dialog, "volumeUnit", QStringLiteral("litres"));
        QCOMPARE(previewColumn(dialog, 2), (QStringList{"21000", "20699"}));
        QCOMPARE(previewColumn(dialog, 3), (QStringList{"10.00", "10.00"}));

        pick(dialog, "columnOdometer", QStringLiteral("(1.) car_name"));
        QCOMPARE(previewColumn(dialog, 8),
                 (QStringList{"odometer does not read: Wagon", "odometer does not read: Wagon"}));
        QCOMPARE(dialog.rows().size(), 2);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("previewSummary"))->text(),
                 QStringLiteral("Fills to import: 0   Already in the log: 0   Rows skipped: 2"));

        // Another format reads the file anew: Other CSV knows no vehicle column.
        pick(dialog, "format", QStringLiteral("Other CSV"));
        QVERIFY(!child<QComboBox>(dialog, "vehicle")->isEnabled());
        QCOMPARE(previewColumn(dialog, 2), (QStringList{"21000", "5400", "20699"}));
        // Fuelly's price is per unit; without a total, the cost is price times volume.
        QCOMPARE(previewColumn(dialog, 4), (QStringList{"34.59", "39.99", "32.99"}));
        QCOMPARE(previewColumn(dialog, 0), (QStringList{"20/6/2023", "18/6/2023", "10/6/2023"}));
    }

    // The costs come with the fills as one step: one undo takes back both, and the category they
    // brought along.
    void importsCostsWithTheFills() {
        QTemporaryDir dir;
        const QString path = writeFile(dir, kFuelioCosts);
        TestWindow window;
        window.open();
        DialogSeams::setNextFileName(path);
        DialogSeams::setNextDialogHandler([](QDialog& dialog) { dialog.accept(); });
        DialogSeams::setNextAnswer(QMessageBox::Ok);
        window.dispatchCommand(CMainWnd::CmdImportOtherLog);

        QCOMPARE(listOdometers(window), QStringList{"1000"});
        const VehicleCosts& costs = window.document().costs();
        QCOMPARE(costs.costs.size(), std::size_t(2));
        QCOMPARE(costs.costs.back().categoryId, costs.categories.back().id);
        QCOMPARE(costs.categories.back().name, QStringLiteral("Tuning"));
        QCOMPARE(DialogSeams::askedMessages().constFirst().text,
                 QStringLiteral("Fills added: 1\nAlready in the log: 0\nRows skipped: 0\n"
                                "Partial fills: 0\nAfter missed fills: 0\nCosts added: 2\n"
                                "Costs already in the log: 0\nCost rows skipped: 0"));

        window.dispatchCommand(CMainWnd::CmdUndo);
        QCOMPARE(listOdometers(window), QStringList());
        QVERIFY(window.document().costs().costs.empty());
        QVERIFY(window.document().costs().categories.empty());
    }

    // Records that do not name their category go into the one chosen; other files ask nothing.
    void recordsGoIntoTheChosenCategory() {
        CFuelDatabase log;
        COtherLogDlg records(nullptr, log, readOtherLog(QString::fromLatin1(kLubeLoggerRecords)));
        QComboBox* category = child<QComboBox>(records, "costCategory");
        QVERIFY(!category->isHidden());
        QCOMPARE(category->currentText(), translate(Text::costcategory_Service));
        pick(records, "costCategory", translate(Text::costcategory_Repair));
        QCOMPARE(records.costRows().size(), 2);
        for (const OtherCostRow& row : records.costRows())
            QCOMPARE(row.cost.categoryId, int(DefaultCostCategory::Repair));
        QCOMPARE(child<QLabel>(records, "previewSummary")->text(),
                 QStringLiteral("Fills to import: 0   Already in the log: 0   Rows skipped: 0   "
                                "Costs to import: 2   Costs already in the log: 0   "
                                "Cost rows skipped: 0"));

        COtherLogDlg fills(nullptr, log, readOtherLog(QString::fromLatin1(kFuelly)));
        QVERIFY(child<QComboBox>(fills, "costCategory")->isHidden());
    }

    void dateOrderOfAmbiguousDatesIsShownAsGuessed() {
        const OtherLogFile file =
            readOtherLog(QStringLiteral("date;odometer;litres;cost\n05/04/2023;1;2;3\n"));
        CFuelDatabase log;
        COtherLogDlg dialog(nullptr, log, file);
        QCOMPARE(child<QComboBox>(dialog, "dateOrder")->currentText(),
                 QStringLiteral("day.month.year"));
        QVERIFY(!child<QLabel>(dialog, "dateOrderHint")->isHidden());
        QVERIFY(child<QPushButton>(dialog, "importPerVehicle")->isHidden());
        QCOMPARE(previewColumn(dialog, 0), QStringList{"5/4/2023"});
        pick(dialog, "dateOrder", QStringLiteral("month/day/year"));
        QCOMPARE(previewColumn(dialog, 0), QStringList{"4/5/2023"});
    }
};

QTEST_MAIN(OtherLogDlgTest)
#include "tst_otherlogdlg.moc"
