#include "core/logdocument.h"
#include "db/calendar.h"
#include "db/regional.h"
#include "ui/fill/costdlg.h"
#include "ui/main/costlistmodel.h"
#include "ui/main/costspage.h"
#include "ui/main/remindersdlg.h"
#include "ui/stats/totalsdlg.h"
#include "windowtest.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUndoStack>

namespace {

const QDate kToday(2026, 6, 30);

// "2026-03-01 Tyres 450.00", or with a recurrence "2025-01-15 Insurance 300.00 every 12".
struct CostLine {
    QDate date;
    QString category;
    QString amount;
    int interval = 0;
};

CostLine parseLine(const QString& text) {
    const QStringList parts = text.split(u' ');
    CostLine line{QDate::fromString(parts.at(0), Qt::ISODate), parts.at(1), parts.at(2)};
    if (parts.size() == 5)
        line.interval = parts.at(4).toInt();
    return line;
}

// Answers the next cost dialog with the line's values.
void answerCostDialog(const QString& text) {
    const CostLine line = parseLine(text);
    DialogSeams::setNextDialogHandler([line](QDialog& dialog) {
        auto* costs = qobject_cast<CCostDlg*>(&dialog);
        QVERIFY(costs);
        dialog.findChild<QDateEdit*>(QStringLiteral("date"))->setDate(line.date);
        QComboBox* category = costs->categoryBox();
        const int found = category->findText(line.category);
        if (found >= 0) {
            category->setCurrentIndex(found);
        } else {
            category->setCurrentIndex(category->count() - 1);
            dialog.findChild<QLineEdit*>(QStringLiteral("newCategory"))->setText(line.category);
        }
        dialog.findChild<QLineEdit*>(QStringLiteral("amount"))->setText(line.amount);
        dialog.findChild<QCheckBox*>(QStringLiteral("recurring"))->setChecked(line.interval > 0);
        if (line.interval > 0)
            dialog.findChild<QSpinBox*>(QStringLiteral("interval"))->setValue(line.interval);
        dialog.accept();
    });
}

// The rows as the view shows them: "date category amount", a repeated occurrence marked "+".
QStringList shownRows(const CCostsPage& page) {
    QStringList rows;
    const QAbstractItemModel* model = page.list()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const auto text = [&](int column) { return model->index(row, column).data().toString(); };
        QString line =
            model->index(row, 0).data(CCostListModel::DateRole).toDate().toString(Qt::ISODate) +
            u' ' + text(CCostListModel::Category) + u' ' + text(CCostListModel::Amount);
        if (text(CCostListModel::Recurs).contains(QStringLiteral("repeated")))
            line += QStringLiteral(" +");
        rows.append(line);
    }
    return rows;
}

// Selects the rows of the view whose "date category amount" begins as given.
void selectRows(CCostsPage& page, const QStringList& starts) {
    QTableView* list = page.list();
    list->clearSelection();
    const QStringList rows = shownRows(page);
    for (int row = 0; row < rows.size(); ++row) {
        for (const QString& start : starts) {
            if (rows.at(row).startsWith(start)) {
                list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                                        QItemSelectionModel::Select |
                                                            QItemSelectionModel::Rows);
            }
        }
    }
}

FillRecord fillOn(const QDate& date, qint32 odometer, float cost) {
    FillRecord fill;
    fill.odometer = odometer;
    fill.fuel = 40;
    fill.cost = cost;
    const SystemTime noon{
        quint16(date.year()), quint16(date.month()), 0, quint16(date.day()), 12, 0, 0, 0};
    systemTimeToFileTime(noon, &fill.dateTime);
    return fill;
}

// Fills every 10 days up to 10 days before today, 300 km apart: the last at 3700.
void addFills(CLogDocument& log, const QDate& today = QDate::currentDate()) {
    for (int i = 0; i < 10; ++i)
        log.addFill(QStringLiteral("Station"),
                    fillOn(today.addDays(10 * i - 100), 1000 + 300 * i, 60), QString());
}

QStringList tableRows(const QTableWidget& table) {
    QStringList rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < 2; ++column)
            cells.append(table.item(row, column)->text());
        rows.append(cells.join(u' '));
    }
    return rows;
}

} // namespace

class CostsViewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DialogSeams::enable(); }

    void init() { startPlainRegionWindowCase(); }

    void cleanup() { endPlainRegionWindowCase(); }

    // Each step of a script goes through the window's commands; the rows follow each one.
    // "add LINE", "edit START LINE", "remove START[,START]" (answered Yes), "undo", "redo".
    void followsTheSteps_data() {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("added in date order")
            << QStringList{"add 2026-03-01 Tyres 450.00", "add 2026-01-10 Service 120.50"}
            << QStringList{"2026-01-10 Service 120.50", "2026-03-01 Tyres 450.00"};
        QTest::newRow("recurring shows its occurrences up to today")
            << QStringList{"add 2025-12-31 Parking 30 every 2"}
            << QStringList{"2025-12-31 Parking 30.00", "2026-02-28 Parking 30.00 +",
                           "2026-04-30 Parking 30.00 +", "2026-06-30 Parking 30.00 +"};
        QTest::newRow("edit moves the row")
            << QStringList{"add 2026-03-01 Tyres 450.00", "add 2026-04-01 Tolls 9.00",
                           "edit 2026-03-01 2026-05-01 Tyres 400"}
            << QStringList{"2026-04-01 Tolls 9.00", "2026-05-01 Tyres 400.00"};
        QTest::newRow("new category from the dialog") << QStringList{"add 2026-02-02 Vignette 40"}
                                                      << QStringList{"2026-02-02 Vignette 40.00"};
        QTest::newRow("undo and redo")
            << QStringList{"add 2026-03-01 Tyres 450.00", "add 2026-04-01 Tolls 9.00", "undo",
                           "undo", "redo"}
            << QStringList{"2026-03-01 Tyres 450.00"};
        QTest::newRow("remove several at once, undone in one step")
            << QStringList{"add 2026-03-01 Tyres 450.00", "add 2026-04-01 Tolls 9.00",
                           "add 2026-05-01 Repair 80.00", "remove 2026-03-01,2026-05-01", "undo"}
            << QStringList{"2026-03-01 Tyres 450.00", "2026-04-01 Tolls 9.00",
                           "2026-05-01 Repair 80.00"};
        QTest::newRow("remove an occurrence takes the recurring cost")
            << QStringList{"add 2026-01-15 Insurance 100 every 3", "add 2026-02-01 Tolls 5",
                           "remove 2026-04-15"}
            << QStringList{"2026-02-01 Tolls 5.00"};
    }

    void followsTheSteps() {
        QFETCH(QStringList, script);
        QFETCH(QStringList, rows);
        TestWindow window;
        window.open();
        CCostsPage& page = *window.costsPage();
        page.model()->setToday(kToday);
        for (const QString& step : script) {
            const QString command = step.section(u' ', 0, 0);
            const QString rest = step.section(u' ', 1);
            if (command == QLatin1String("add")) {
                answerCostDialog(rest);
                window.dispatchCommand(CMainWnd::CmdAddCost);
                QVERIFY(window.costsShown());
            } else if (command == QLatin1String("edit")) {
                selectRows(page, {rest.section(u' ', 0, 0)});
                answerCostDialog(rest.section(u' ', 1));
                window.dispatchCommand(CMainWnd::CmdEditCost);
            } else if (command == QLatin1String("remove")) {
                selectRows(page, rest.split(u','));
                DialogSeams::setNextAnswer(QMessageBox::Yes);
                window.dispatchCommand(CMainWnd::CmdRemoveCosts);
            } else {
                window.dispatchCommand(command == QLatin1String("undo") ? CMainWnd::CmdUndo
                                                                        : CMainWnd::CmdRedo);
            }
        }
        QCOMPARE(shownRows(page), rows);
    }

    // Removing several rows asks once, with No as the default, and is one step of the log.
    void removalIsOneQuestionAndOneStep() {
        TestWindow window;
        window.open();
        for (const char* line :
             {"2026-03-01 Tyres 1", "2026-04-01 Tolls 2", "2026-05-01 Parking 3"}) {
            answerCostDialog(QString::fromLatin1(line));
            window.dispatchCommand(CMainWnd::CmdAddCost);
        }
        CCostsPage& page = *window.costsPage();
        const int steps = window.document().undoStack()->index();
        selectRows(page, {"2026-03-01", "2026-05-01"});
        QVERIFY(window.commandAction(CMainWnd::CmdRemoveCosts)->isEnabled());
        // Escape (the default) keeps them.
        window.dispatchCommand(CMainWnd::CmdRemoveCosts);
        const MessageBoxRecord asked = DialogSeams::askedMessages().last();
        QCOMPARE(asked.defaultButton, QMessageBox::No);
        QCOMPARE(asked.text, QStringLiteral("Remove these 2 costs?"));
        QCOMPARE(page.model()->rowCount(), 3);
        DialogSeams::setNextAnswer(QMessageBox::Yes);
        window.dispatchCommand(CMainWnd::CmdRemoveCosts);
        QCOMPARE(shownRows(page), QStringList{"2026-04-01 Tolls 2.00"});
        QCOMPARE(window.document().undoStack()->index(), steps + 1);
        // The fill commands wait while the costs are shown.
        QVERIFY(!window.commandAction(CMainWnd::CmdRemoveFill)->isEnabled());
    }

    // The toolbar's add, edit and remove act on the page shown.
    void toolBarFollowsThePage() {
        TestWindow window;
        window.open();
        const auto* bar = window.findChild<QToolBar*>(QStringLiteral("toolBar"));
        const auto tools = [&] {
            QList<int> ids;
            for (const int id :
                 {CMainWnd::CmdAddFill, CMainWnd::CmdEditFill, CMainWnd::CmdRemoveFill,
                  CMainWnd::CmdAddCost, CMainWnd::CmdEditCost, CMainWnd::CmdRemoveCosts})
                if (bar->actions().contains(window.commandAction(id)))
                    ids.append(id);
            return ids;
        };
        const QList<int> fillTools{CMainWnd::CmdAddFill, CMainWnd::CmdEditFill,
                                   CMainWnd::CmdRemoveFill};
        QCOMPARE(tools(), fillTools);
        window.setCostsShown(true);
        QCOMPARE(tools(), (QList<int>{CMainWnd::CmdAddCost, CMainWnd::CmdEditCost,
                                      CMainWnd::CmdRemoveCosts}));
        QCOMPARE(bar->actions().indexOf(window.commandAction(CMainWnd::CmdAddCost)), 0);
        // The buttons' short texts are the fills' ones; screen readers hear the whole command.
        QCOMPARE(
            bar->widgetForAction(window.commandAction(CMainWnd::CmdRemoveCosts))->accessibleName(),
            QStringLiteral("Remove costs"));
        window.setCostsShown(false);
        QCOMPARE(tools(), fillTools);
    }

    // The filter lets through the rows of a category and a period; the sum follows.
    void filtersByCategoryAndPeriod_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("period");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("everything")
            << "All categories"
            << "All"
            << QStringList{"2024-07-01 Tyres 500.00", "2025-05-01 Insurance 300.00",
                           "2026-02-01 Tolls 5.00", "2026-05-01 Insurance 300.00 +"};
        QTest::newRow("one category")
            << "Insurance"
            << "All" << QStringList{"2025-05-01 Insurance 300.00", "2026-05-01 Insurance 300.00 +"};
        QTest::newRow("one year") << "All categories"
                                  << "2025" << QStringList{"2025-05-01 Insurance 300.00"};
        QTest::newRow("both") << "Insurance"
                              << "2026" << QStringList{"2026-05-01 Insurance 300.00 +"};
        QTest::newRow("nothing") << "Tolls"
                                 << "2024" << QStringList{};
    }

    void filtersByCategoryAndPeriod() {
        QFETCH(QString, category);
        QFETCH(QString, period);
        QFETCH(QStringList, rows);
        TestWindow window;
        window.open();
        CCostsPage& page = *window.costsPage();
        page.model()->setToday(kToday);
        for (const char* line :
             {"2024-07-01 Tyres 500", "2025-05-01 Insurance 300 every 12", "2026-02-01 Tolls 5"}) {
            answerCostDialog(QString::fromLatin1(line));
            window.dispatchCommand(CMainWnd::CmdAddCost);
        }
        for (QComboBox* box : {page.categoryFilter(), page.periodFilter()}) {
            const int found = box->findText(box == page.periodFilter() ? period : category);
            QVERIFY(found >= 0);
            box->setCurrentIndex(found);
            emit box->activated(found);
        }
        QCOMPARE(shownRows(page), rows);
    }

    // The status line names the reminders overdue or due soon, at start and after a new fill;
    // no question is asked.
    void statusLineFollowsTheFills_data() {
        QTest::addColumn<int>("dueInDays");     // 0: not by date
        QTest::addColumn<qint32>("dueReading"); // kNoReading: not by reading
        QTest::addColumn<qint32>("newReading"); // of a fill added today
        QTest::addColumn<bool>("shownBefore");
        QTest::addColumn<bool>("shownAfter");

        QTest::newRow("by date, soon") << 10 << kNoReading << 4000 << true << true;
        QTest::newRow("by date, later") << 60 << kNoReading << 4000 << false << false;
        QTest::newRow("by date, overdue") << -3 << kNoReading << 4000 << true << true;
        QTest::newRow("by reading, reached soon by the new fill")
            << 0 << 7200 << 6500 << false << true;
        QTest::newRow("by reading, passed") << 0 << 3500 << 4000 << true << true;
        QTest::newRow("whichever first: the date") << 20 << 20000 << 4000 << true << true;
    }

    void statusLineFollowsTheFills() {
        QFETCH(int, dueInDays);
        QFETCH(qint32, dueReading);
        QFETCH(qint32, newReading);
        QFETCH(bool, shownBefore);
        QFETCH(bool, shownAfter);
        {
            CLogDocument log(databaseFilePath());
            log.load();
            addFills(log);
            Reminder reminder;
            reminder.title = QStringLiteral("Inspection");
            if (dueInDays != 0)
                reminder.dueDate = QDate::currentDate().addDays(dueInDays);
            reminder.dueOdometer = dueReading;
            log.addReminder(reminder);
            QVERIFY(log.save());
        }
        TestWindow window;
        window.open();
        auto* line = window.findChild<QLabel*>(QStringLiteral("reminderLine"));
        QVERIFY(line);
        QCOMPARE(line->text().contains(QStringLiteral("Inspection")), shownBefore);
        QCOMPARE(line->isVisibleTo(&window), shownBefore);
        if (dueInDays == 10) {
            QCOMPARE(line->text(), QStringLiteral("Due: Inspection (in 10 days)"));
            // A narrow window cuts the reminder, never the log's figures beside it.
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            auto* summary = window.findChild<QLabel*>(QStringLiteral("summary"));
            QTRY_VERIFY(summary->text().contains(QStringLiteral("Average")));
            const int narrow = summary->sizeHint().width() + 100;
            window.resize(narrow, 400);
            QTRY_COMPARE(window.width(), narrow);
            QVERIFY(summary->width() >= summary->sizeHint().width());
        }
        window.document().addFill(QStringLiteral("Station"),
                                  fillOn(QDate::currentDate(), newReading, 50), QString());
        QCOMPARE(line->text().contains(QStringLiteral("Inspection")), shownAfter);
        QVERIFY(DialogSeams::askedMessages().isEmpty());
    }

    // Done records the day and reading (and the cost when asked for) in one step; a repeating
    // reminder falls due again from there.
    void doneSetsTheNextDuePoint_data() {
        QTest::addColumn<int>("repeatMonths");
        QTest::addColumn<qint32>("repeatDistance");
        QTest::addColumn<QString>("amount"); // empty: not recorded as a cost
        QTest::addColumn<QDate>("nextDate");
        QTest::addColumn<qint32>("nextReading");

        QTest::newRow("by months and distance, with a cost")
            << 12 << 15000 << "180.50" << QDate(2027, 3, 10) << 19000;
        QTest::newRow("by months only") << 6 << 0 << "" << QDate(2026, 9, 10) << kNoReading;
        QTest::newRow("once") << 0 << 0 << "" << QDate() << kNoReading;
    }

    void doneSetsTheNextDuePoint() {
        QFETCH(int, repeatMonths);
        QFETCH(qint32, repeatDistance);
        QFETCH(QString, amount);
        QFETCH(QDate, nextDate);
        QFETCH(qint32, nextReading);
        TestWindow window;
        window.open();
        CLogDocument& log = window.document();
        Reminder service;
        service.title = QStringLiteral("Service");
        service.dueDate = QDate(2026, 3, 1);
        service.dueOdometer = 4000;
        service.repeatMonths = repeatMonths;
        service.repeatDistance = repeatDistance;
        log.addReminder(service);
        const Reminder added = log.costs().reminders.at(0); // with the id the log gave it
        const int steps = log.undoStack()->index();

        CRemindersDlg reminders(&window, log);
        reminders.selectReminder(0);
        DialogSeams::setNextDialogHandler([&amount](QDialog& dialog) {
            dialog.findChild<QDateEdit*>(QStringLiteral("date"))->setDate(QDate(2026, 3, 10));
            dialog.findChild<QLineEdit*>(QStringLiteral("odometer"))
                ->setText(QStringLiteral("4000"));
            dialog.findChild<QCheckBox*>(QStringLiteral("asCost"))->setChecked(!amount.isEmpty());
            dialog.findChild<QLineEdit*>(QStringLiteral("amount"))->setText(amount);
            dialog.accept();
        });
        reminders.findChild<QPushButton*>(QStringLiteral("reminderDone"))->click();

        const Reminder done = log.costs().reminders.at(0);
        QCOMPARE(done.lastDone, QDate(2026, 3, 10));
        QCOMPARE(done.dueDate, nextDate);
        QCOMPARE(done.dueOdometer, nextReading);
        QCOMPARE(int(log.costs().costs.size()), amount.isEmpty() ? 0 : 1);
        if (!amount.isEmpty()) {
            QCOMPARE(log.costs().costs.at(0).amount, 180.5);
            QCOMPARE(log.costs().costs.at(0).notes, QStringLiteral("Service"));
        }
        QCOMPARE(log.undoStack()->index(), steps + 1);
        log.undoStack()->undo();
        QCOMPARE(log.costs().reminders.at(0), added);
        QVERIFY(log.costs().costs.empty());
    }

    // The reminders' list opens wide enough for every text, however long.
    void remindersShowWhole() {
        TestWindow window;
        window.open();
        Reminder long_;
        long_.title = QStringLiteral("Brakes and lights");
        long_.dueDate = QDate::currentDate().addDays(-400);
        long_.dueOdometer = 123456;
        window.document().addReminder(long_);
        CRemindersDlg reminders(&window, window.document());
        reminders.show();
        QVERIFY(QTest::qWaitForWindowExposed(&reminders));
        const auto* list = reminders.findChild<QTableWidget*>();
        QVERIFY(!list->horizontalScrollBar()->isVisible());
        for (int column = 0; column < list->columnCount(); ++column)
            QVERIFY(list->columnWidth(column) >=
                    static_cast<const QAbstractItemView*>(list)->sizeHintForColumn(column));
    }

    // Totals show what the vehicle cost since its first entry: fuel, each category with costs,
    // everything; a log without other costs shows none of it.
    void totalsShowTheCosts_data() {
        QTest::addColumn<QStringList>("costs");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("no costs") << QStringList{} << QStringList{};
        QTest::newRow("categories in the log's order, a recurring one counted up to today")
            << QStringList{"2026-04-01 Tolls 9.50", "2025-05-01 Insurance 300 every 12",
                           "2026-01-10 Service 120.50"}
            << QStringList{"Fuel 600.00", "Service 120.50", "Insurance 600.00", "Tolls 9.50",
                           "Everything 1330.00"};
    }

    void totalsShowTheCosts() {
        QFETCH(QStringList, costs);
        QFETCH(QStringList, rows);
        TestWindow window;
        window.open();
        addFills(window.document(), kToday);
        for (const QString& line : costs) {
            answerCostDialog(line);
            window.dispatchCommand(CMainWnd::CmdAddCost);
        }
        CTotalsDlg totals(&window);
        totals.setDatabase(&window.database());
        totals.setToday(kToday);
        totals.showTotals();
        QCOMPARE(totals.costTable()->isVisibleTo(&totals), !rows.isEmpty());
        if (rows.isEmpty())
            return;
        QCOMPARE(tableRows(*totals.costTable()), rows);
        // Every row and column in sight, without scrolling.
        totals.show();
        QVERIFY(QTest::qWaitForWindowExposed(&totals));
        const QTableWidget& table = *totals.costTable();
        QVERIFY(!table.horizontalScrollBar()->isVisible());
        QVERIFY(!table.verticalScrollBar()->isVisible());
    }

    // The calendar reaches its file, or the user hears that it did not.
    void exportReportsWhatHappened_data() {
        QTest::addColumn<bool>("writable");
        QTest::newRow("written") << true;
        QTest::newRow("the folder is a file") << false;
    }

    void exportReportsWhatHappened() {
        QFETCH(bool, writable);
        QTemporaryDir folder;
        QFile plain(folder.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString path =
            folder.filePath(writable ? QStringLiteral("car.ics") : QStringLiteral("plain/car.ics"));
        TestWindow window;
        window.open();
        Reminder inspection;
        inspection.title = QStringLiteral("Inspection");
        inspection.dueDate = QDate::currentDate().addDays(40);
        window.document().addReminder(inspection);
        DialogSeams::setNextFileName(path);
        window.dispatchCommand(CMainWnd::CmdExportReminders);
        const MessageBoxRecord told = DialogSeams::askedMessages().last();
        QCOMPARE(told.icon, writable ? QMessageBox::Information : QMessageBox::Warning);
        QVERIFY(told.text.contains(QDir::toNativeSeparators(path)));
        QFile written(path);
        QCOMPARE(written.open(QIODevice::ReadOnly), writable);
        if (writable)
            QVERIFY(written.readAll().startsWith("BEGIN:VCALENDAR\r\n"));
    }
};

QTEST_MAIN(CostsViewTest)
#include "tst_costsview.moc"
