#include "core/logdocument.h"
#include "filebytes.h"
#include "localisation/language.h"
#include "testtime.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>
#include <cstdio>

namespace {

QString homeFile(const QString& name) {
    return QDir::home().filePath(name);
}

// The costs as the user sees them: each cost (date, odometer, category, amount, interval), the
// categories that have a name of their own, each reminder (title, due date and reading, when done
// and at what reading).
QString described(const VehicleCosts& costs) {
    QStringList parts;
    for (const CostEntry& cost : costs.costs)
        parts << QStringLiteral("%1/%2/c%3/%4/%5m")
                     .arg(cost.date.toString(Qt::ISODate))
                     .arg(cost.odometer)
                     .arg(cost.categoryId)
                     .arg(cost.amount)
                     .arg(cost.intervalMonths);
    parts << QStringLiteral("|");
    for (const CostCategory& category : costs.categories) {
        if (!category.name.isEmpty())
            parts << QStringLiteral("%1:%2").arg(category.id).arg(category.name);
    }
    parts << QStringLiteral("|");
    for (const Reminder& reminder : costs.reminders)
        parts << QStringLiteral("%1@%2/%3:%4/%5")
                     .arg(reminder.title, reminder.dueDate.toString(Qt::ISODate))
                     .arg(reminder.dueOdometer)
                     .arg(reminder.lastDone.toString(Qt::ISODate))
                     .arg(reminder.lastDoneOdometer);
    return parts.join(u' ');
}

VehicleCosts startingCosts() {
    VehicleCosts costs;
    costs.costs = {{QDate(2024, 1, 10), 1500, 0, 100, {}, 0, {}},
                   {QDate(2024, 3, 1), kNoReading, 3, 500, {}, 12, {}}};
    costs.reminders = {
        {5, QStringLiteral("Service"), QDate(2024, 6, 1), 20000, 12, 15000, {}, kNoReading}};
    return costs;
}

enum CostStep {
    AddCost,
    EditCost,
    RemoveCosts,
    AddCategory,
    RenameCategory,
    AddReminder,
    EditReminder,
    RemoveReminders,
    ReminderDone,
};

void runStep(CostStep step, CLogDocument& document) {
    switch (step) {
    case AddCost:
        document.addCost({QDate(2024, 2, 1), kNoReading, 5, 20, QStringLiteral("P+R"), 0, {}});
        break;
    case EditCost: {
        CostEntry cost = document.costs().costs[0];
        cost.date = QDate(2024, 4, 1);
        document.editCost(0, cost);
        break;
    }
    case RemoveCosts:
        document.removeCosts({1, 0, 1, 7});
        break;
    case AddCategory:
        QCOMPARE(document.addCostCategory(QStringLiteral("Loan")), 9);
        break;
    case RenameCategory:
        document.renameCostCategory(3, QStringLiteral("Car insurance"));
        break;
    case AddReminder:
        document.addReminder({5,
                              QStringLiteral("Inspection"),
                              QDate(2025, 1, 1),
                              kNoReading,
                              24,
                              0,
                              {},
                              kNoReading});
        break;
    case EditReminder: {
        Reminder reminder = document.costs().reminders[0];
        reminder.id = 0;
        reminder.title = QStringLiteral("Oil");
        document.editReminder(0, reminder);
        break;
    }
    case RemoveReminders:
        document.removeReminders({0});
        break;
    case ReminderDone:
        document.reminderDone(0, QDate(2024, 5, 20), 18000,
                              CostEntry{QDate(2024, 5, 20), 18000, 0, 250, {}, 0, {}});
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(CostStep)

class CostsDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        language().clear();
        CFuelDatabase database(homeFile(QStringLiteral("log.fil")));
        FillRecord fill;
        fill.odometer = 1000;
        fill.dateTime = fileTimeOf(2024, 1, 5, 12);
        database.insertFill(fill);
        database.setCosts(startingCosts());
        QVERIFY(database.save());
    }

    // Each step on costs: it changes them as the rule says, is announced, reaches the file, and
    // Undo takes it back exactly (Redo brings it again).
    void everyStepUndoesAndRedoes_data() {
        QTest::addColumn<CostStep>("step");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("undoText");
        QTest::addColumn<int>("costSignals");
        QTest::addColumn<int>("reminderSignals");
        const QString reminder = QStringLiteral("Service@2024-06-01/20000:/-1");
        const QString costs = QStringLiteral("2024-01-10/1500/c0/100/0m 2024-03-01/-1/c3/500/12m");
        QTest::newRow("add in date order")
            << AddCost
            << "2024-01-10/1500/c0/100/0m 2024-02-01/-1/c5/20/0m 2024-03-01/-1/c3/500/12m | | " +
                   reminder
            << "Add cost" << 1 << 0;
        QTest::newRow("edit moves it")
            << EditCost << "2024-03-01/-1/c3/500/12m 2024-04-01/1500/c0/100/0m | | " + reminder
            << "Edit cost" << 1 << 0;
        QTest::newRow("remove several at once")
            << RemoveCosts << "| | " + reminder << "Remove costs" << 1 << 0;
        QTest::newRow("add a category")
            << AddCategory << costs + " | 9:Loan | " + reminder << "Add category" << 1 << 0;
        QTest::newRow("rename a starting category")
            << RenameCategory << costs + " | 3:Car insurance | " + reminder << "Rename category"
            << 1 << 0;
        QTest::newRow("add a reminder")
            << AddReminder << costs + " | | " + reminder + " Inspection@2025-01-01/-1:/-1"
            << "Add reminder" << 0 << 1;
        QTest::newRow("edit a reminder") << EditReminder << costs + " | | Oil@2024-06-01/20000:/-1"
                                         << "Edit reminder" << 0 << 1;
        QTest::newRow("remove a reminder") << RemoveReminders << costs + " | |"
                                           << "Remove reminders" << 0 << 1;
        QTest::newRow("done, with its cost")
            << ReminderDone
            << costs + " 2024-05-20/18000/c0/250/0m | | Service@2025-05-20/33000:2024-05-20/18000"
            << "Reminder done" << 1 << 1;
    }
    void everyStepUndoesAndRedoes() {
        QFETCH(CostStep, step);
        QFETCH(QString, after);
        QFETCH(QString, undoText);
        QFETCH(int, costSignals);
        QFETCH(int, reminderSignals);
        CLogDocument document(homeFile(QStringLiteral("log.fil")));
        document.load();
        QSignalSpy costsChanged(&document, &CLogDocument::costsChanged);
        QSignalSpy remindersChanged(&document, &CLogDocument::remindersChanged);
        QSignalSpy shown(&document, &CLogDocument::stepShown);
        const QString before = described(document.costs());

        runStep(step, document);
        QCOMPARE(described(document.costs()), after);
        QCOMPARE(document.undoText(), undoText);
        QCOMPARE(costsChanged.size(), costSignals);
        QCOMPARE(remindersChanged.size(), reminderSignals);
        QCOMPARE(shown.last().at(0).toInt(), -1);
        QVERIFY(document.save());
        CFuelDatabase onDisk(document.filePath());
        onDisk.load();
        QCOMPARE(described(onDisk.costs()), after);
        QCOMPARE(onDisk.getFillCount(), 1);

        document.undoStack()->undo();
        QCOMPARE(described(document.costs()), before);
        QVERIFY(document.costs() == startingCosts());
        QCOMPARE(costsChanged.size(), 2 * costSignals);
        QCOMPARE(remindersChanged.size(), 2 * reminderSignals);
        document.undoStack()->redo();
        QCOMPARE(described(document.costs()), after);
    }

    // A new reminder gets an id no other has, and keeps it through edits: calendars know it by it.
    void reminderIdsAreUniqueAndStay() {
        CLogDocument document(homeFile(QStringLiteral("log.fil")));
        document.load();
        runStep(AddReminder, document);
        runStep(AddReminder, document);
        const auto& reminders = document.costs().reminders;
        QCOMPARE(reminders.size(), std::size_t(3));
        QVERIFY(reminders[1].id != 0 && reminders[1].id != 5);
        QVERIFY(reminders[2].id != 0 && reminders[2].id != 5 && reminders[2].id != reminders[1].id);
        runStep(EditReminder, document);
        QCOMPARE(document.costs().reminders[0].id, quint32(5));
    }

    // Costs another copy of the log added, and costs added here at the same time, both stay; the
    // merge is a step Undo takes back.
    void anotherCopysCostsAreMerged() {
        const QString path = homeFile(QStringLiteral("log.fil"));
        CLogDocument document(path);
        document.load();
        QSignalSpy costsChanged(&document, &CLogDocument::costsChanged);
        CFuelDatabase other(path);
        other.load();
        VehicleCosts theirs = other.costs();
        theirs.costs.push_back({QDate(2024, 5, 1), kNoReading, 6, 12.5, {}, 0, {}});
        other.setCosts(theirs);
        QVERIFY(other.save());
        document.addCost({QDate(2024, 4, 1), kNoReading, 7, 9, {}, 0, {}});
        QVERIFY(document.save());
        const QString merged = QStringLiteral(
            "2024-01-10/1500/c0/100/0m 2024-03-01/-1/c3/500/12m 2024-04-01/-1/c7/9/0m "
            "2024-05-01/-1/c6/12.5/0m | | Service@2024-06-01/20000:/-1");
        QCOMPARE(described(document.costs()), merged);
        QCOMPARE(costsChanged.size(), 2);
        CFuelDatabase onDisk(path);
        onDisk.load();
        QCOMPARE(described(onDisk.costs()), merged);
        document.undoStack()->undo();
        QCOMPARE(document.costs().costs.size(), std::size_t(3));
    }

    // Another log brings its own costs and says so.
    void anotherLogAnnouncesItsCosts() {
        CLogDocument document(homeFile(QStringLiteral("log.fil")));
        document.load();
        QSignalSpy costsChanged(&document, &CLogDocument::costsChanged);
        QSignalSpy remindersChanged(&document, &CLogDocument::remindersChanged);
        QCOMPARE(document.switchTo(homeFile(QStringLiteral("other.fil"))),
                 CLogDocument::Switch::Opened);
        QVERIFY(document.costs().empty());
        QCOMPARE(costsChanged.size(), 1);
        QCOMPARE(remindersChanged.size(), 1);
        QFile::remove(homeFile(QStringLiteral("other.fil")));
    }
};

QTEST_MAIN(CostsDocumentTest)
#include "tst_costsdocument.moc"
