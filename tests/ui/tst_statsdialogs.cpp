#include "core/logdocument.h"
#include "core/paths.h"
#include "db/calendar.h"
#include "db/regional.h"
#include "localisation/language.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "windowtest.h"

#include <QAccessible>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <limits>

namespace {

struct Fill {
    qint32 odometer;
    float fuel;
    float cost;
    const char* station = "Shell";
    const char* driver = "Jan";
    const char* notes = "";
    FillFlags flags = {};
};

// Stores the fills one day apart from 1 January 2004, 8:05:09.
void storeFills(CLogDocument& log, const QList<Fill>& fills) {
    for (qsizetype i = 0; i < fills.size(); ++i) {
        const Fill& fill = fills.at(i);
        FillRecord record;
        record.odometer = fill.odometer;
        record.fuel = fill.fuel;
        record.cost = fill.cost;
        const QString notes = QString::fromUtf8(fill.notes);
        std::copy(notes.utf16(), notes.utf16() + notes.size(), record.notes);
        constexpr quint64 kDay = 864000000000ull; // 100 ns units
        FileTime first;
        QVERIFY(systemTimeToFileTime(SystemTime{2004, 1, 0, 1, 8, 5, 9, 0}, &first));
        record.dateTime = FileTime::fromValue(first.value() + quint64(i) * kDay);
        log.addFill(QString::fromUtf8(fill.station), record, QString::fromUtf8(fill.driver),
                    fill.flags);
    }
    QVERIFY(log.save());
}

QList<Fill> numberedFills(int count) {
    QList<Fill> fills;
    for (int i = 0; i < count; ++i)
        fills.append({1000 + 100 * i, 10.0f + float(i), 100.0f});
    return fills;
}

QString textOf(QDialog& dialog, const QString& name) {
    auto* label = dialog.findChild<QLabel*>(name);
    if (!label)
        qFatal("no label %s", qPrintable(name));
    return label->text();
}

QPushButton* button(QDialog& dialog, const QString& name) {
    auto* found = dialog.findChild<QPushButton*>(name);
    if (!found)
        qFatal("no button %s", qPrintable(name));
    return found;
}

// The four step buttons' enabled states, "<<", "<", ">", ">>", as 1 and 0.
QString stepStates(QDialog& dialog) {
    QString states;
    for (const char* name : {"first", "previous", "next", "last"})
        states += button(dialog, QString::fromLatin1(name))->isEnabled() ? u'1' : u'0';
    return states;
}

// Runs `command` with `inDialog` answering its dialog; fails when no dialog ran.
void runDialog(CMainWnd& window, int command, std::function<void(QDialog&)> inDialog) {
    bool ran = false;
    DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
        ran = true;
        inDialog(dialog);
    });
    window.dispatchCommand(command);
    QVERIFY(ran);
}

using ValueMap = QMap<QString, QString>;

// What a screen reader finds on the accessibility bus: each interface's name with the names
// of the interfaces that label it (a caption, a table's row header).
struct Reached {
    QString name;
    QStringList labels;
    bool operator==(const Reached&) const = default;
};

void walk(QAccessibleInterface* node, QList<Reached>* reached, int depth = 0) {
    if (!node || depth > 32)
        return;
    Reached here{node->text(QAccessible::Name), {}};
    for (const auto& [other, relation] : node->relations(QAccessible::Label))
        here.labels.append(other->text(QAccessible::Name));
    if (QAccessibleTableCellInterface* cell = node->tableCellInterface()) {
        for (QAccessibleInterface* header : cell->rowHeaderCells()) {
            here.labels.append(header->text(QAccessible::Name));
            // Qt Widgets makes a new header cell on each call and leaves it to the caller.
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(header));
        }
    }
    reached->append(here);
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), reached, depth + 1);
}

// Every value a sighted user reads in the dialog, with the caption it stands beside: a label's
// buddy with the label's text, a table's cell with its row's header.
QList<Reached> shownValues(QDialog& dialog) {
    QList<Reached> shown;
    for (const QLabel* caption : dialog.findChildren<QLabel*>()) {
        if (const auto* value = qobject_cast<const QLabel*>(caption->buddy());
            value && caption->isVisible() && value->isVisible() && !value->text().isEmpty())
            shown.append({value->text(), {caption->text()}});
    }
    for (const QTableWidget* table : dialog.findChildren<QTableWidget*>()) {
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 0; column < table->columnCount(); ++column) {
                const QTableWidgetItem* header = table->verticalHeaderItem(row);
                shown.append({table->item(row, column)->text(),
                              header && table->verticalHeader()->isVisible()
                                  ? QStringList{header->text()}
                                  : QStringList{}});
            }
        }
    }
    return shown;
}

} // namespace

Q_DECLARE_METATYPE(QList<Fill>)

class StatsDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DialogSeams::enable(); }

    void init() {
        startWindowCase();
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char(','), QStringLiteral("."), 1});
        m_window = std::make_unique<TestWindow>();
        m_window->open();
    }

    void cleanup() {
        m_window.reset();
        endWindowCase();
        setRegionalSettingsOverride(std::nullopt);
    }

    // Each step is a button name or a key; the positions are the one at opening and after each
    // step. The enabled states must follow the position at every step.
    void stepping_data() {
        QTest::addColumn<int>("fillCount");
        QTest::addColumn<int>("startRow");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<bool>("escape");
        QTest::newRow("forward from the first")
            << 3 << 0 << QStringList{"next", "next"} << QList<int>{1, 2, 3} << false;
        QTest::newRow("back from the last, closed with Escape")
            << 3 << 2 << QStringList{"previous", "previous"} << QList<int>{3, 2, 1} << true;
        QTest::newRow("to both ends")
            << 3 << 1 << QStringList{"last", "first", "next"} << QList<int>{2, 3, 1, 2} << false;
        QTest::newRow("keys, and nothing beyond the ends")
            << 3 << 0 << QStringList{"PgUp", "Home",     "PgDown", "Alt+Right", "Alt+Right",
                                     "End",  "Alt+Left", "PgUp",   "PgUp"}
            << QList<int>{1, 1, 1, 2, 3, 3, 3, 2, 1, 1} << false;
        QTest::newRow("one fill") << 1 << 0 << QStringList{"End", "Home"} << QList<int>{1, 1, 1}
                                  << false;
        QTest::newRow("a long history")
            << 60 << 10 << QStringList{"last"} << QList<int>{11, 60} << false;
    }

    void stepping() {
        QFETCH(int, fillCount);
        QFETCH(int, startRow);
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, positions);
        QFETCH(bool, escape);
        storeFills(m_window->document(), numberedFills(fillCount));
        m_window->buildList();
        m_window->selectRow(startRow);

        const QHash<QString, QKeyCombination> keys = {{"PgUp", Qt::Key_PageUp},
                                                      {"PgDown", Qt::Key_PageDown},
                                                      {"Home", Qt::Key_Home},
                                                      {"End", Qt::Key_End},
                                                      {"Alt+Left", Qt::ALT | Qt::Key_Left},
                                                      {"Alt+Right", Qt::ALT | Qt::Key_Right}};
        QStringList shown;
        QStringList expected;
        runDialog(*m_window, CMainWnd::CmdFillInformation, [&](QDialog& dialog) {
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            for (qsizetype i = 0; i <= steps.size(); ++i) {
                if (i > 0) {
                    const QString& step = steps.at(i - 1);
                    if (keys.contains(step))
                        QTest::keySequence(&dialog, QKeySequence(keys.value(step)));
                    else
                        QTest::mouseClick(button(dialog, step), Qt::LeftButton);
                }
                const int position = positions.at(i);
                shown.append(textOf(dialog, "position") + u' ' + stepStates(dialog) + u' ' +
                             textOf(dialog, "odometer"));
                const QString back = position > 1 ? "11" : "00";
                const QString forward = position < fillCount ? "11" : "00";
                expected.append(QStringLiteral("%1 / %2 ").arg(position).arg(fillCount) + back +
                                forward + u' ' + QString::number(1000 + 100 * (position - 1)));
            }
            if (escape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(shown, expected);

        // The main window selects the fill shown last, and shows its row.
        const int last = positions.last() - 1;
        QCOMPARE(m_window->currentRow(), last);
        QTableView* list = m_window->fillList();
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(list->selectionModel()->selectedRows().first().row(), last);
        const QRect row = list->visualRect(m_window->listModel()->index(last, 0));
        QVERIFY(list->viewport()->rect().contains(row.center()));
        QVERIFY(!m_window->hasUnsavedChanges());
    }

    void fillInformationNeedsACurrentRow() {
        storeFills(m_window->document(), numberedFills(2));
        m_window->buildList();
        QCOMPARE(m_window->currentRow(), -1);
        m_window->dispatchCommand(CMainWnd::CmdFillInformation);
        QVERIFY(DialogSeams::ranDialogs().isEmpty());
        // The context menu's item runs the same command.
        m_window->selectRow(0);
        runDialog(*m_window, CMainWnd::CmdFillInformation, [](QDialog&) {});
        m_window->contextAction(CMainWnd::CmdFillInformation)->trigger();
        QCOMPARE(DialogSeams::ranDialogs(), QList<QString>({"fillInfoDialog", "fillInfoDialog"}));
    }

    // The fields of the fill at `row` against the one before it, under `method`.
    void values_data() {
        QTest::addColumn<QList<Fill>>("fills");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("method");
        QTest::addColumn<ValueMap>("expected");
        const QList<Fill> example = {{1000, 40.0f, 1000.0f, "Shell", "", "first"},
                                     {1500, 35.0f, 900.0f, "Aral", "Eva", "<b>full</b> & more"}};
        const ValueMap entered = {
            {"station", "Aral"},  {"driver", "Eva"},   {"notes", "<b>full</b> & more"},
            {"date", "2.1.2004"}, {"time", "8:05:09"}, {"odometer", "1500"},
            {"fuel", "35,00"},    {"cost", "900,00"},  {"unitCost", "25,71"}};
        const auto with = [](ValueMap values, const ValueMap& more) {
            values.insert(more);
            return values;
        };
        QTest::newRow("to empty tank") << example << 1 << 2
                                       << with(entered, {{"consumption", "8,00"},
                                                         {"distance", "500"},
                                                         {"costOfDist", "200,00"},
                                                         {"endurance", "12,50"}});
        QTest::newRow("full tank") << example << 1 << 1
                                   << with(entered, {{"consumption", "7,00"},
                                                     {"distance", "500"},
                                                     {"costOfDist", "180,00"},
                                                     {"endurance", "14,29"}});
        QTest::newRow("first fill, no driver")
            << example << 0 << 2
            << ValueMap{{"station", "Shell"},  {"driver", ""},         {"notes", "first"},
                        {"date", "1.1.2004"},  {"odometer", "1000"},   {"fuel", "40,00"},
                        {"unitCost", "25,00"}, {"consumption", "N/A"}, {"distance", "N/A"},
                        {"costOfDist", "N/A"}, {"endurance", "N/A"}};
        // A partial fill has no figures; the full fill after it covers both distances.
        const QList<Fill> partial = {{1000, 40.0f, 1000.0f},
                                     {1300, 15.0f, 375.0f, "Shell", "Jan", "", {true, false}},
                                     {1600, 21.0f, 525.0f}};
        QTest::newRow("a partial fill") << partial << 1 << 1
                                        << ValueMap{{"consumption", "N/A"},
                                                    {"distance", "300"},
                                                    {"costOfDist", "N/A"},
                                                    {"endurance", "N/A"},
                                                    {"marks", "Partial fill"}};
        QTest::newRow("the full fill after a partial one") << partial << 2 << 1
                                                           << ValueMap{{"consumption", "6,00"},
                                                                       {"distance", "300"},
                                                                       {"costOfDist", "150,00"},
                                                                       {"endurance", "16,67"},
                                                                       {"marks", ""}};
        QTest::newRow("zero distance and zero fuel")
            << QList<Fill>{{1000, 40.0f, 1000.0f}, {1000, 0.0f, 0.0f}} << 1 << 1
            << ValueMap{{"fuel", "0,00"},  {"unitCost", "N/A"},   {"consumption", "N/A"},
                        {"distance", "0"}, {"costOfDist", "N/A"}, {"endurance", "N/A"}};
        QTest::newRow("a damaged file's amounts")
            << QList<Fill>{{1000, 40.0f, 1000.0f},
                           {1500, std::numeric_limits<float>::quiet_NaN(), 3.4e38f}}
            << 1 << 1
            << ValueMap{{"fuel", "N/A"},     {"cost", "N/A"},       {"unitCost", "N/A"},
                        {"distance", "500"}, {"costOfDist", "N/A"}, {"consumption", "N/A"}};
    }

    void values() {
        QFETCH(QList<Fill>, fills);
        QFETCH(int, row);
        QFETCH(int, method);
        QFETCH(ValueMap, expected);
        programSettings().setValue(QStringLiteral("FillingMethod"), method);
        storeFills(m_window->document(), fills);
        m_window->buildList();
        m_window->selectRow(row);
        ValueMap shown;
        runDialog(*m_window, CMainWnd::CmdFillInformation, [&](QDialog& dialog) {
            for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
                auto* label = dialog.findChild<QLabel*>(it.key());
                QVERIFY(label);
                QCOMPARE(label->textFormat(), Qt::PlainText);
                shown.insert(it.key(), label->text());
            }
        });
        QCOMPARE(shown, expected);
    }

    void fillInformationLayout() {
        storeFills(m_window->document(), numberedFills(3));
        m_window->buildList();
        m_window->selectRow(1);
        runDialog(*m_window, CMainWnd::CmdFillInformation, [&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Tankometer"));
            QCOMPARE(textOf(dialog, "odometerLabel"), QStringLiteral("Odometer:"));
            QCOMPARE(textOf(dialog, "odometerUnit"), QStringLiteral("km"));
            QCOMPARE(textOf(dialog, "unitCostUnit"), QStringLiteral("Kč / l"));
            QCOMPARE(dialog.findChild<QLabel*>("odometer")->alignment() & Qt::AlignRight,
                     Qt::AlignRight);
            QCOMPARE(button(dialog, "next")->accessibleName(), QStringLiteral("Next fill"));
            // OK has the focus; Tab runs through the step buttons and back to OK.
            QCOMPARE(dialog.focusWidget(), button(dialog, "ok"));
            QStringList order;
            for (int i = 0; i < 5; ++i) {
                QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
                order.append(dialog.focusWidget()->objectName());
            }
            QCOMPARE(order, QStringList({"first", "previous", "next", "last", "ok"}));
        });
    }

    // The nine figures under the stored filling method, with labels and units in the loaded
    // language; the fills lie one day apart.
    void totalsFromTheCommand() {
        language().load(QStringLiteral("lang\\german.lng"), QStringLiteral(TANKOMETER_SOURCE_DIR));
        programSettings().setValue(QStringLiteral("FillingMethod"), 1);
        storeFills(m_window->document(), {{1000, 40.0f, 1000.0f}, {1500, 35.0f, 900.0f}});
        m_window->buildList();
        QStringList shown;
        runDialog(*m_window, CMainWnd::CmdTotals, [&](QDialog& dialog) {
            for (const char* name : {"distance", "fuel", "cost", "period", "consumption",
                                     "costOfDist", "monthlyCost", "monthlyDistance", "endurance"})
                shown.append(textOf(dialog, QString::fromLatin1(name)));
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Gesamtstatistik"));
            QCOMPARE(textOf(dialog, "periodLabel"), QStringLiteral("Zeitraum:"));
            QCOMPARE(textOf(dialog, "monthlyCostUnit"), QStringLiteral("€ / Monat"));
            QCOMPARE(dialog.focusWidget(), button(dialog, "ok"));
            QVERIFY(dialog.findChild<QLabel*>("leftOut")->isHidden());
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        });
        QCOMPARE(shown, QStringList({"500", "35,00", "900,00", "2", "7,00", "180,00", "13500",
                                     "7500", "14,29"}));
        // The menus come back in the loaded language.
        QCOMPARE(shownText(m_window->commandAction(CMainWnd::CmdTotals)->text()),
                 translate(Text::menu_StatTotals) + u'\u2026');
    }

    // A screen reader reaches every value shown, each labelled by its caption, in German too.
    void everyValueIsOnTheAccessibilityBus_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("minimumValues");
        QTest::newRow("totals") << int(CMainWnd::CmdTotals) << 9;
        QTest::newRow("fill information") << int(CMainWnd::CmdFillInformation) << 12;
        QTest::newRow("compare vehicles") << int(CMainWnd::CmdCompareVehicles) << 9;
        QTest::newRow("about") << int(CMainWnd::CmdAbout) << 1;
    }
    void everyValueIsOnTheAccessibilityBus() {
        QFETCH(int, command);
        QFETCH(int, minimumValues);
        language().load(QStringLiteral("lang\\german.lng"), QStringLiteral(TANKOMETER_SOURCE_DIR));
        storeFills(m_window->document(), {{1000, 40.0f, 1000.0f}, {1500, 35.0f, 900.0f}});
        m_window->buildList();
        m_window->selectRow(1);
        runDialog(*m_window, command, [&](QDialog& dialog) {
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QList<Reached> reached;
            walk(QAccessible::queryAccessibleInterface(&dialog), &reached);
            const QList<Reached> shown = shownValues(dialog);
            QVERIFY(shown.size() >= minimumValues);
            for (const Reached& value : shown) {
                QVERIFY2(reached.contains(value),
                         qPrintable(value.labels.join(u' ') + u' ' + value.name));
            }
        });
    }

    // A name or note wider than its room is shortened with a mark, whole in its tip and on the
    // accessibility bus.
    void longTextsAreShortenedVisibly() {
        const QString notes(kNotesUnits - 1, u'W');
        storeFills(m_window->document(), {{1000, 40.0f, 1000.0f, "Shell", "Jan", "W W"}});
        m_window->buildList();
        m_window->selectRow(0);
        runDialog(*m_window, CMainWnd::CmdFillInformation, [&](QDialog& dialog) {
            auto* label = dialog.findChild<QLabel*>(QStringLiteral("notes"));
            label->grab();
            QCOMPARE(label->toolTip(), QString()); // a short note shows whole
            label->setText(notes);
            dialog.resize(dialog.minimumSizeHint());
            QVERIFY(label->width() < label->fontMetrics().horizontalAdvance(notes));
            label->grab();
            QCOMPARE(label->toolTip(), notes);
            QCOMPARE(label->text(), notes);
            QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), notes);
        });
    }

    // A fill after a missed one: the averages leave out its fuel and say so under the figures;
    // the sums keep it.
    void totalsSayWhatTheAveragesLeaveOut() {
        programSettings().setValue(QStringLiteral("FillingMethod"), 1);
        storeFills(m_window->document(), {{1000, 40.0f, 1000.0f},
                                          {1500, 35.0f, 900.0f, "Shell", "Jan", "", {false, true}},
                                          {1900, 28.0f, 700.0f}});
        m_window->buildList();
        runDialog(*m_window, CMainWnd::CmdTotals, [&](QDialog& dialog) {
            QCOMPARE(textOf(dialog, "fuel"), QStringLiteral("63,00"));
            QCOMPARE(textOf(dialog, "consumption"), QStringLiteral("7,00"));
            QCOMPARE(textOf(dialog, "costOfDist"), QStringLiteral("175,00"));
            QCOMPARE(textOf(dialog, "leftOut"),
                     QStringLiteral("Left out of the averages: 1 fills, after a fill that was not "
                                    "logged."));
            QVERIFY(!dialog.findChild<QLabel*>("leftOut")->isHidden());
        });
    }

    // A log with charges shows each energy in its own units: the totals of a plug-in hybrid
    // (the figures worked by hand in tst_energies), of an electric car with its battery, and a
    // charge's fill information. Hidden rows belong to the other kind of log.
    void chargesInTheirOwnUnits_data() {
        QTest::addColumn<int>("energy");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("row");
        QTest::addColumn<ValueMap>("expected");
        QTest::addColumn<QStringList>("hidden");
        const auto hybrid = int(VehicleEnergy::PlugInHybrid);
        const auto electric = int(VehicleEnergy::Electric);
        QTest::newRow("hybrid totals") << hybrid << int(CMainWnd::CmdTotals) << 0
                                       << ValueMap{{"fuel", "44,00"},
                                                   {"electricity", "32,00"},
                                                   {"electricityUnit", "kWh"},
                                                   {"cost", "104,00"},
                                                   {"consumptionLabel", "Consumption (fuel):"},
                                                   {"consumption", "4,40"},
                                                   {"electricConsumption", "4,00"},
                                                   {"electricConsumptionUnit", "kWh / 100 km"},
                                                   {"fuelCostOfDist", "8,80"},
                                                   {"electricCostOfDist", "2,00"},
                                                   {"costOfDist", "10,80"},
                                                   {"electricShare", "Cannot be split"}}
                                       << QStringList{"batteryCapacity"};
        QTest::newRow("electric totals")
            << electric << int(CMainWnd::CmdTotals) << 0
            << ValueMap{{"fuelLabel", "Electricity:"},
                        {"fuel", "86,00"},
                        {"fuelUnit", "kWh"},
                        {"consumption", "17,20"},
                        {"consumptionUnit", "kWh / 100 km"},
                        {"costOfDist", "8,60"},
                        {"batteryCapacity", "47,78"}}
            << QStringList{"electricity", "endurance", "electricShare", "fuelCostOfDist"};
        QTest::newRow("a charge's information") << hybrid << int(CMainWnd::CmdFillInformation) << 2
                                                << ValueMap{{"fuelLabel", "Electricity:"},
                                                            {"fuel", "12,00"},
                                                            {"fuelUnit", "kWh"},
                                                            {"unitCost", "0,50"},
                                                            {"consumption", "6,00"},
                                                            {"consumptionUnit", "kWh / 100 km"},
                                                            {"capacity", "50,00"},
                                                            {"unitCostLabel", "Price per kWh:"},
                                                            {"marks", "Battery 20 % to 44 %"}}
                                                << QStringList{"endurance"};
        QTest::newRow("fuel's information in the same log")
            << hybrid << int(CMainWnd::CmdFillInformation) << 3
            << ValueMap{{"fuelLabel", "Fuel:"}, {"consumption", "4,00"}, {"endurance", "25,00"}}
            << QStringList{"capacity"};
    }
    void chargesInTheirOwnUnits() {
        QFETCH(int, energy);
        QFETCH(int, command);
        QFETCH(int, row);
        QFETCH(ValueMap, expected);
        QFETCH(QStringList, hidden);
        programSettings().setValue(QStringLiteral("FillingMethod"), 1);
        LogUnits units = m_window->document().database().units();
        units.energy = VehicleEnergy(energy);
        QVERIFY(m_window->document().setUnits(units));
        const FillFlags charge{false, false, true};
        const FillFlags partial{true, false, true};
        // kWh cost 0.5 each, fuel 2 a litre; the charges at 1300 and 1900 measured the battery.
        FillFlags measured = charge;
        measured.chargeBefore = 20;
        measured.chargeAfter = 44;
        QList<Fill> fills = {{1000, 40.0f, 80.0f},
                             {1100, 11.0f, 5.5f, "Home", "Jan", "", charge},
                             {1300, 12.0f, 6.0f, "Home", "Jan", "", measured},
                             {1600, 24.0f, 48.0f},
                             {1700, 5.0f, 2.5f, "Home", "Jan", "", partial},
                             {1900, 15.0f, 7.5f, "Home", "Jan", "", measured},
                             {2000, 20.0f, 40.0f}};
        if (VehicleEnergy(energy) == VehicleEnergy::Electric) {
            // 36 kWh for 60 %, 10 for 40 % and 40 for 80 %: 86 kWh for 180 %, 47.78 kWh.
            FillFlags sixty = charge;
            sixty.chargeBefore = 20;
            sixty.chargeAfter = 80;
            FillFlags forty = partial;
            forty.chargeBefore = 40;
            forty.chargeAfter = 80;
            FillFlags eighty = charge;
            eighty.chargeBefore = 10;
            eighty.chargeAfter = 90;
            fills = {{1000, 40.0f, 20.0f, "Home", "Jan", "", charge},
                     {1200, 36.0f, 18.0f, "Home", "Jan", "", sixty},
                     {1300, 10.0f, 5.0f, "Home", "Jan", "", forty},
                     {1500, 40.0f, 20.0f, "Home", "Jan", "", eighty}};
        }
        storeFills(m_window->document(), fills);
        m_window->buildList();
        m_window->selectRow(row);
        ValueMap shown;
        runDialog(*m_window, command, [&](QDialog& dialog) {
            for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
                auto* label = dialog.findChild<QLabel*>(it.key());
                QVERIFY2(label && !label->isHidden(), qPrintable(it.key()));
                shown.insert(it.key(), label->text());
            }
            for (const QString& name : hidden) {
                auto* label = dialog.findChild<QLabel*>(name);
                QVERIFY2(label && label->isHidden(), qPrintable(name));
            }
        });
        QCOMPARE(shown, expected);
    }

private:
    std::unique_ptr<CMainWnd> m_window;
};

QTEST_MAIN(StatsDialogsTest)
#include "tst_statsdialogs.moc"
