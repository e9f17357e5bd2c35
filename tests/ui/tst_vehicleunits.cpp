#include "core/logdocument.h"
#include "core/paths.h"
#include "core/settings.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "db/regional.h"
#include "filebytes.h"
#include "localisation/language.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "windowtest.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(LogUnits)

namespace {

constexpr quint64 kDay = 864000000000ull;
constexpr quint64 k2004 = 127173888000000000ull;

const LogUnits kUsUnits{DistanceUnit::Miles,
                        VolumeUnit::UsGallons,
                        ConsumptionUnit::MpgUs,
                        QStringLiteral("$"),
                        DistanceUnit::Kilometres,
                        VehicleEnergy::Fuel,
                        ElectricConsumptionUnit::KwhPer100Mi};

template <typename T> T* control(QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QString text(QDialog& dialog, const char* name) {
    return control<QLabel>(dialog, name)->text();
}

void choose(QDialog& dialog, const char* name, int code) {
    QComboBox* combo = control<QComboBox>(dialog, name);
    combo->setCurrentIndex(combo->findData(code));
}

// Answers the next settings dialog with these units; what the page showed goes to *shown.
void answerSettings(const LogUnits& units, LogUnits* shown = nullptr) {
    DialogSeams::setNextDialogHandler([units, shown](QDialog& dialog) {
        if (shown) {
            shown->distance =
                DistanceUnit(control<QComboBox>(dialog, "distanceUnit")->currentData().toInt());
            shown->volume =
                VolumeUnit(control<QComboBox>(dialog, "volumeUnit")->currentData().toInt());
            shown->consumption = ConsumptionUnit(
                control<QComboBox>(dialog, "consumptionUnit")->currentData().toInt());
            shown->currency = control<QLineEdit>(dialog, "currency")->text();
        }
        choose(dialog, "distanceUnit", int(units.distance));
        choose(dialog, "volumeUnit", int(units.volume));
        choose(dialog, "consumptionUnit", int(units.consumption));
        control<QLineEdit>(dialog, "currency")->setText(units.currency);
        QTest::mouseClick(control<QPushButton>(dialog, "done"), Qt::LeftButton);
    });
}

// Answers the next fill dialog with these texts and OK.
void answerFill(const QString& odometer, const QString& fuel, const QString& cost,
                const QString& date) {
    DialogSeams::setNextDialogHandler([=](QDialog& dialog) {
        control<QLineEdit>(dialog, "odometer")->setText(odometer);
        control<QLineEdit>(dialog, "fuel")->setText(fuel);
        control<QLineEdit>(dialog, "cost")->setText(cost);
        control<QLineEdit>(dialog, "date")->setText(date);
        QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
    });
}

float readAmountOrZero(const QString& text) {
    float amount = 0;
    return readAmount(text, &amount) ? amount : 0;
}

std::optional<LogUnits> unitsIn(const QString& path) {
    CFuelDatabase database(path);
    database.setMessageSink([](const QString&) {});
    database.load();
    return database.chosenUnits();
}

} // namespace

class VehicleUnitsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        DialogSeams::enable();
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char(','), ".", 1});
    }
    void init() {
        startWindowCase();
        // Full tank: the fill's own fuel belongs to the distance before it.
        QVERIFY(CRegistry::writeNumber(SettingsKey::FillingMethod, 1) == RegistryOk);
        m_window = std::make_unique<TestWindow>();
        m_window->open();
    }
    void cleanup() {
        m_window.reset();
        QLocale::setDefault(QLocale::c());
        endWindowCase();
    }

    // The user's way: units chosen in the settings, a fill typed in them, then back to metric.
    void aFillTypedInMilesAndGallons() {
        // A log written before units existed.
        CLogDocument& log = m_window->document();
        const QString path = QFileInfo(log.filePath()).absolutePath() + QStringLiteral("/old.fil");
        {
            CFuelDatabase old(path);
            FillRecord first;
            first.dateTime = FileTime::fromValue(k2004);
            first.stationId = old.findOrAddStation(QStringLiteral("Shell"));
            old.insertFill(first);
            QVERIFY(old.save());
        }
        QCOMPARE(log.switchTo(path), CLogDocument::Switch::Opened);
        const QByteArray untouched = readAll(path);
        QCOMPARE(untouched.mid(28, 256), QByteArray(256, '\0'));

        // Settings left as they are store nothing: the log keeps having no units chosen.
        LogUnits shown;
        answerSettings(LogUnits{}, &shown);
        m_window->dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(shown, LogUnits{});
        QCOMPARE(readAll(log.filePath()), untouched);
        CFillListModel* model = m_window->listModel();
        const auto header = [model](CFillListModel::Column column) {
            return model->headerData(model->positionOf(column), Qt::Horizontal).toString();
        };
        QCOMPARE(header(CFillListModel::Consumption), QStringLiteral("Consumption"));

        answerSettings(kUsUnits);
        m_window->dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(unitsIn(log.filePath()), std::optional(kUsUnits));

        QStringList labels;
        DialogSeams::setNextDialogHandler([&labels](QDialog& dialog) {
            for (const char* name : {"odometer", "fuel", "cost"}) {
                QLineEdit* field = control<QLineEdit>(dialog, name);
                for (const QLabel* label : dialog.findChildren<QLabel*>())
                    if (label->buddy() == field)
                        labels.append(label->text());
            }
            control<QLineEdit>(dialog, "odometer")->setText(QStringLiteral("300"));
            control<QLineEdit>(dialog, "fuel")->setText(QStringLiteral("10"));
            control<QLineEdit>(dialog, "cost")->setText(QStringLiteral("30"));
            control<QLineEdit>(dialog, "date")->setText(QStringLiteral("2.1.2004"));
            QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        QVERIFY(log.save());
        const CFuelDatabase& database = log.database();
        QCOMPARE(database.getFillCount(), 2);
        QCOMPARE(database.getFill(1)->odometer, 483);
        QCOMPARE(formatAmountWithPoint(database.getFill(1)->fuel), QStringLiteral("37.85"));

        const auto cell = [model](CFillListModel::Column column) {
            return model->cellText(1, column);
        };
        QCOMPARE(cell(CFillListModel::Odometer), QStringLiteral("300"));
        QCOMPARE(cell(CFillListModel::Fuel), QStringLiteral("10,00"));
        QCOMPARE(cell(CFillListModel::Consumption), QStringLiteral("30,01"));
        QCOMPARE(header(CFillListModel::Consumption), QStringLiteral("Consumption (mpg (US))"));
        QCOMPARE(header(CFillListModel::Fuel), QStringLiteral("Fuel (gal (US))"));

        const QByteArray stored = readAll(log.filePath()).mid(284);
        answerSettings(LogUnits{});
        m_window->dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(readAll(log.filePath()).mid(284), stored);
        QCOMPARE(cell(CFillListModel::Odometer), QStringLiteral("483"));
        QCOMPARE(cell(CFillListModel::Consumption), QStringLiteral("7,84"));
        QCOMPARE(header(CFillListModel::Consumption), QStringLiteral("Consumption (l / 100 km)"));
        QCOMPARE(labels, (QStringList{"Odometer (mi):", "Fuel (gal (US)):", "Cost ($):"}));
    }

    // Every window and the CSV files show and take the log's units.
    void everyPlaceFollowsTheUnits() {
        CLogDocument& log = m_window->document();
        FillRecord fill;
        fill.dateTime = FileTime::fromValue(k2004);
        log.addFill(QStringLiteral("Shell"), fill, QString());
        fill.odometer = 483;
        fill.fuel = 37.854118f;
        fill.cost = 50.0f;
        fill.dateTime = FileTime::fromValue(k2004 + 30 * kDay);
        log.addFill(QStringLiteral("Shell"), fill, QString());
        QVERIFY(log.setUnits(kUsUnits));

        QStringList info;
        DialogSeams::setNextDialogHandler([&info](QDialog& dialog) {
            for (const char* name : {"odometer", "odometerUnit", "fuel", "fuelUnit", "unitCost",
                                     "unitCostUnit", "consumption", "consumptionUnit", "distance",
                                     "costOfDist", "costOfDistUnit", "endurance", "enduranceUnit"})
                info.append(text(dialog, name));
        });
        m_window->selectRow(1);
        m_window->dispatchCommand(CMainWnd::CmdFillInformation);
        QCOMPARE(info,
                 (QStringList{"300", "mi", "10,00", "gal (US)", "5,00", "$ / gal (US)", "30,01",
                              "mpg (US)", "300", "16,66", "$ / 100 mi", "30,01", "mi / gal (US)"}));

        QStringList totals;
        DialogSeams::setNextDialogHandler([&totals](QDialog& dialog) {
            for (const char* name :
                 {"distance", "distanceUnit", "fuel", "fuelUnit", "consumption", "consumptionUnit",
                  "monthlyDistance", "monthlyDistanceUnit", "monthlyCostUnit"})
                totals.append(text(dialog, name));
        });
        m_window->dispatchCommand(CMainWnd::CmdTotals);
        QCOMPARE(totals, (QStringList{"300", "mi", "10,00", "gal (US)", "30,01", "mpg (US)", "290",
                                      "mi / month", "$ / month"}));

        // Another vehicle in kilometres, compared: each column in its own units.
        const QString van = QFileInfo(log.filePath()).absolutePath() + QStringLiteral("/van.fil");
        {
            CFuelDatabase other(van);
            other.insertFill(fill);
            fill.odometer = 983;
            fill.dateTime = FileTime::fromValue(k2004 + 40 * kDay);
            other.insertFill(fill);
            QVERIFY(other.save());
        }
        QVERIFY(writeRecentVehicles({van}));
        QStringList distances;
        DialogSeams::setNextDialogHandler([&distances](QDialog& dialog) {
            QTableWidget* table = control<QTableWidget>(dialog, "compareTable");
            distances.append(table->verticalHeaderItem(0)->text());
            for (int column = 0; column < table->columnCount(); ++column)
                distances.append(table->item(0, column)->text());
        });
        m_window->dispatchCommand(CMainWnd::CmdCompareVehicles);
        // The other vehicle's 500 km in the open one's miles.
        QCOMPARE(distances, (QStringList{"Distance, mi", "300", "311"}));

        // CSV: written and read in the log's units, the header as always.
        QTemporaryDir folder;
        const QString csv = folder.filePath(QStringLiteral("out.csv"));
        DialogSeams::setNextFileName(csv);
        m_window->dispatchCommand(CMainWnd::CmdExportCsv);
        const QList<QByteArray> lines = readAll(csv).split('\n');
        QCOMPARE(lines.at(0), QByteArray("station;odometer;fuel;cost;date;time;driver;notes"));
        QVERIFY2(lines.at(2).startsWith("Shell;300;10.00;50.00;"), lines.at(2).constData());

        // A reading that whole miles cannot give (485 km shows as 301 mi, which would be
        // 484 km) keeps its kilometres when the fill is edited without touching it.
        FillRecord edited = *log.database().getFill(1);
        edited.odometer = 485;
        log.editFill(1, QStringLiteral("Shell"), edited, QString());
        DialogSeams::setNextDialogHandler([](QDialog& dialog) {
            QCOMPARE(control<QLineEdit>(dialog, "odometer")->text(), QStringLiteral("301"));
            QCOMPARE(control<QLineEdit>(dialog, "fuel")->text(), QStringLiteral("10,00"));
            QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
        });
        m_window->selectRow(1);
        m_window->dispatchCommand(CMainWnd::CmdEditFill);
        QCOMPARE(log.database().getFill(1)->odometer, 485);
        QCOMPARE(log.database().getFill(1)->fuel, 37.854118f);
    }

    // A new vehicle starts in the units of the user's country, and can be given others. Its
    // readings are stored in its distance unit, so that what is typed in it, and every figure
    // derived from it, is exact; other units chosen later change what is shown, not the readings.
    void aNewVehicleTakesTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<LogUnits>("units");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("fuel");
        QTest::addColumn<QStringList>("figures"); // consumption, cost per distance, status line
        QTest::addColumn<LogUnits>("later");
        QTest::addColumn<QStringList>("figuresLater"); // odometer, consumption
        LogUnits miles = kUsUnits;
        miles.stored = DistanceUnit::Miles;
        miles.electricConsumption = ElectricConsumptionUnit::MiPerKwh;
        const LogUnits metric{DistanceUnit::Kilometres, VolumeUnit::Litres,
                              ConsumptionUnit::LitresPer100Km, QStringLiteral("€")};
        QTest::newRow("en_US") << "en_US" << miles << QStringList{"1000", "1300"} << "10"
                               << QStringList{"30,00", "10,50", "Average 30,00 mpg (US)"} << metric
                               << QStringList{"2092", "7,84"};
        QTest::newRow("de_DE") << "de_DE" << metric << QStringList{"1000", "1483"} << "37,85"
                               << QStringList{"7,84", "6,52", "Average 7,84 l / 100 km"} << kUsUnits
                               << QStringList{"921", "30,02"};
    }
    void aNewVehicleTakesTheLocale() {
        QFETCH(QString, locale);
        QFETCH(LogUnits, units);
        QFETCH(QStringList, typed);
        QFETCH(QString, fuel);
        QFETCH(QStringList, figures);
        QFETCH(LogUnits, later);
        QFETCH(QStringList, figuresLater);
        QLocale::setDefault(QLocale(locale));
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("new.fil"));
        bool mileLitres = true;
        DialogSeams::setNextFileName(path);
        DialogSeams::setNextDialogHandler([&mileLitres](QDialog& dialog) {
            QCOMPARE(dialog.objectName(), QStringLiteral("newVehicleDialog"));
            // Miles per litre is for miles with litres only.
            auto* model = qobject_cast<QStandardItemModel*>(
                control<QComboBox>(dialog, "consumptionUnit")->model());
            mileLitres = model->item(int(ConsumptionUnit::MilesPerLitre))->isEnabled();
            control<QDialogButtonBox>(dialog, "buttons")->button(QDialogButtonBox::Ok)->click();
        });
        m_window->dispatchCommand(CMainWnd::CmdNewVehicle);
        QCOMPARE(m_window->vehiclePath(), path);
        QCOMPARE(unitsIn(path), std::optional(units));
        QVERIFY(!mileLitres);

        CLogDocument& log = m_window->document();
        for (int i = 0; i < 2; ++i) {
            answerFill(typed.at(i), fuel, QStringLiteral("31,50"),
                       QStringLiteral("%1.1.2004").arg(i + 2));
            m_window->dispatchCommand(CMainWnd::CmdAddFill);
        }
        QVERIFY(log.save());
        QCOMPARE(log.database().getFill(1)->odometer, typed.at(1).toInt());
        QStringList shown;
        DialogSeams::setNextDialogHandler([&shown](QDialog& dialog) {
            shown << text(dialog, "consumption") << text(dialog, "costOfDist");
        });
        m_window->selectRow(1);
        m_window->dispatchCommand(CMainWnd::CmdFillInformation);
        // The new vehicle's average is made once the window is idle.
        const QLabel* summary = m_window->findChild<QLabel*>(QStringLiteral("summary"));
        QTRY_VERIFY(summary->text().contains(QStringLiteral("Average")));
        shown << summary->text().section(QStringLiteral("  \u00b7  "), -1);
        QCOMPARE(shown, figures);

        const QByteArray stored = readAll(path).mid(284);
        answerSettings(later);
        m_window->dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(readAll(path).mid(284), stored);
        QCOMPARE(unitsIn(path)->stored, units.stored);
        CFillListModel* model = m_window->listModel();
        QCOMPARE((QStringList{model->cellText(1, CFillListModel::Odometer),
                              model->cellText(1, CFillListModel::Consumption)}),
                 figuresLater);

        // Cancelled, no vehicle is made.
        const QString other = folder.filePath(QStringLiteral("other.fil"));
        DialogSeams::setNextFileName(other);
        m_window->dispatchCommand(CMainWnd::CmdNewVehicle);
        QVERIFY(!QFile::exists(other));
        QCOMPARE(m_window->vehiclePath(), path);
    }

    // What the vehicle runs on is chosen with its units, in a new vehicle's dialog and in the
    // settings. A log that holds charges does not become a fuel log; one that holds fuel becomes
    // electric, its fills charges, only when the user agrees (No first). The dialog stays open
    // on what it refuses, and the log as it was.
    void theEnergyIsChosenWithTheUnits_data() {
        QTest::addColumn<QString>("fills"); // f fuel, c charge
        QTest::addColumn<int>("from");      // -1: a new vehicle
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("homePrice");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("energy"); // afterwards
        QTest::addColumn<QString>("charges");
        QTest::addColumn<QString>("message"); // the key of the one asked, or empty
        const int fuel = int(VehicleEnergy::Fuel);
        const int electric = int(VehicleEnergy::Electric);
        const int hybrid = int(VehicleEnergy::PlugInHybrid);
        QTest::newRow("new electric vehicle")
            << "" << -1 << electric << "0,305" << false << electric << ""
            << "";
        QTest::newRow("new vehicle, home price unreadable")
            << "" << -1 << hybrid << "0,3x" << false << -1 << ""
            << "invalidhomeprice";
        QTest::newRow("fuel to electric, No")
            << "ff" << fuel << electric << "" << false << fuel << "00"
            << "fuelbecomescharges";
        QTest::newRow("fuel to electric, Yes")
            << "ff" << fuel << electric << "" << true << electric << "11"
            << "fuelbecomescharges";
        QTest::newRow("fuel to hybrid")
            << "ff" << fuel << hybrid << "0,30" << false << hybrid << "00"
            << "";
        QTest::newRow("hybrid with charges to fuel: refused")
            << "fc" << hybrid << fuel << "" << false << hybrid << "01"
            << "chargesinfuellog";
        QTest::newRow("hybrid with charges only to electric")
            << "cc" << hybrid << electric << "" << false << electric << "11"
            << "";
        QTest::newRow("electric without fills to fuel")
            << "" << electric << fuel << "" << false << fuel << ""
            << "";
    }
    void theEnergyIsChosenWithTheUnits() {
        QFETCH(QString, fills);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, homePrice);
        QFETCH(bool, yes);
        QFETCH(int, energy);
        QFETCH(QString, charges);
        QFETCH(QString, message);
        CLogDocument& log = m_window->document();
        QTemporaryDir folder;
        if (from >= 0) {
            LogUnits units;
            units.energy = VehicleEnergy(from);
            QVERIFY(log.setUnits(units));
            for (int i = 0; i < fills.size(); ++i) {
                FillRecord fill;
                fill.odometer = 1000 + 100 * i;
                fill.fuel = 40;
                fill.dateTime = FileTime::fromValue(k2004 + quint64(i) * kDay);
                log.addFill(QStringLiteral("Shell"), fill, QString(),
                            FillFlags{false, false, fills.at(i) == u'c'});
            }
        } else {
            DialogSeams::setNextFileName(folder.filePath(QStringLiteral("new.fil")));
        }
        if (yes)
            DialogSeams::setNextAnswer(QMessageBox::Yes);
        bool electricityEnabled = false;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            choose(dialog, "energy", to);
            electricityEnabled = control<QWidget>(dialog, "homePrice")->isEnabled() &&
                                 control<QWidget>(dialog, "electricConsumptionUnit")->isEnabled();
            control<QLineEdit>(dialog, "homePrice")->setText(homePrice);
            if (from < 0)
                control<QDialogButtonBox>(dialog, "buttons")->button(QDialogButtonBox::Ok)->click();
            else
                QTest::mouseClick(control<QPushButton>(dialog, "done"), Qt::LeftButton);
        });
        m_window->dispatchCommand(from < 0 ? CMainWnd::CmdNewVehicle : CMainWnd::CmdSettings);
        QCOMPARE(electricityEnabled, to != int(VehicleEnergy::Fuel));
        QStringList asked;
        for (const MessageBoxRecord& record : DialogSeams::askedMessages())
            asked.append(record.text);
        QStringList expected;
        for (const TextId& id : allTexts()) {
            if (QStringView(id.section) == u"Settings" && QStringView(id.key) == message)
                expected.append(translate(id).replace(
                    QStringLiteral("%1"), QString::number(fills.count(from == 0 ? u'f' : u'c'))));
        }
        QCOMPARE(asked, expected);
        if (energy < 0) {
            QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("new.fil"))));
            return;
        }
        const LogUnits units = log.database().units();
        QCOMPARE(int(units.energy), energy);
        if (!homePrice.isEmpty())
            QCOMPARE(units.homePricePerKwh, readAmountOrZero(homePrice));
        QString kinds;
        for (int row = 0; row < log.database().getFillCount(); ++row)
            kinds += log.database().getFillFlags(row).charge ? u'1' : u'0';
        QCOMPARE(kinds, charges);
    }

private:
    std::unique_ptr<TestWindow> m_window;
};

QTEST_MAIN(VehicleUnitsTest)
#include "tst_vehicleunits.moc"
