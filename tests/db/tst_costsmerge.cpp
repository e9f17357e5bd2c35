#include "db/logmerge.h"

#include <QTest>
#include <functional>

namespace {

// Costs as "amount@category", categories with a name of their own as "id:name", reminders as
// "title#id@due".
QString described(const VehicleCosts& costs) {
    QStringList parts;
    for (const CostEntry& cost : costs.costs)
        parts << QStringLiteral("%1@%2").arg(cost.amount).arg(cost.categoryId);
    for (const CostCategory& category : costs.categories) {
        if (!category.name.isEmpty())
            parts << QStringLiteral("%1:%2").arg(category.id).arg(category.name);
    }
    for (const Reminder& reminder : costs.reminders)
        parts << QStringLiteral("%1#%2@%3")
                     .arg(reminder.title)
                     .arg(reminder.id)
                     .arg(reminder.dueDate.toString(Qt::ISODate));
    return parts.join(u' ');
}

VehicleCosts baseCosts() {
    VehicleCosts costs;
    costs.costs = {{QDate(2024, 1, 1), kNoReading, 0, 10, {}, 0, {}},
                   {QDate(2024, 2, 1), kNoReading, 3, 20, {}, 0, {}}};
    costs.reminders = {
        {4, QStringLiteral("Service"), QDate(2024, 6, 1), kNoReading, 12, 0, {}, kNoReading}};
    return costs;
}

using Change = std::function<void(VehicleCosts&)>;

Change addCost(int month, double amount, int category = 0) {
    return [=](VehicleCosts& c) {
        c.costs.push_back({QDate(2024, month, 15), kNoReading, category, amount, {}, 0, {}});
    };
}
Change setAmount(int index, double amount) {
    return [=](VehicleCosts& c) { c.costs[std::size_t(index)].amount = amount; };
}
Change removeCost(int index) {
    return [=](VehicleCosts& c) { c.costs.erase(c.costs.begin() + index); };
}
Change nameCategory(int id, const QString& name) {
    return [=](VehicleCosts& c) {
        c.categories = costCategories(c);
        const auto found = std::find_if(c.categories.begin(), c.categories.end(),
                                        [id](const CostCategory& x) { return x.id == id; });
        if (found == c.categories.end())
            c.categories.push_back({id, name});
        else
            found->name = name;
    };
}
Change dueOn(int month) {
    return [=](VehicleCosts& c) { c.reminders[0].dueDate = QDate(2025, month, 1); };
}
Change both(Change a, Change b) {
    return [=](VehicleCosts& c) {
        a(c);
        b(c);
    };
}
const Change kNothing = [](VehicleCosts&) {};

} // namespace

Q_DECLARE_METATYPE(Change)

class CostsMergeTest : public QObject {
    Q_OBJECT
private slots:
    // A change on one side is taken, changes on both sides are both kept, and nothing either
    // side added is lost.
    void mergesLikeFills_data() {
        QTest::addColumn<Change>("ours");
        QTest::addColumn<Change>("theirs");
        QTest::addColumn<QString>("merged"); // empty: ours stays as it is

        QTest::newRow("ours only") << addCost(1, 5) << kNothing << QString();
        QTest::newRow("added on both, in date order")
            << addCost(3, 30) << addCost(1, 5) << "10@0 5@0 20@3 30@0 Service#4@2024-06-01";
        QTest::newRow("removed there") << kNothing << removeCost(0) << "20@3 Service#4@2024-06-01";
        QTest::newRow("removed on both") << removeCost(0) << removeCost(0) << QString();
        QTest::newRow("each edited another")
            << setAmount(0, 11) << setAmount(1, 22) << "11@0 22@3 Service#4@2024-06-01";
        QTest::newRow("both edited one differently")
            << setAmount(0, 11) << setAmount(0, 12) << "11@0 12@0 20@3 Service#4@2024-06-01";
        QTest::newRow("category renamed there")
            << kNothing << nameCategory(3, QStringLiteral("Car insurance"))
            << "10@0 20@3 3:Car insurance Service#4@2024-06-01";
        QTest::newRow("category renamed on both")
            << nameCategory(3, QStringLiteral("Ours")) << nameCategory(3, QStringLiteral("Theirs"))
            << QString();
        QTest::newRow("one new id, two categories")
            << both(nameCategory(9, QStringLiteral("Loan")), addCost(3, 30, 9))
            << both(nameCategory(9, QStringLiteral("Fines")), addCost(4, 40, 9))
            << "10@0 20@3 30@9 40@10 9:Loan 10:Fines Service#4@2024-06-01";
        QTest::newRow("reminder done there")
            << kNothing << dueOn(6) << "10@0 20@3 Service#4@2025-06-01";
        QTest::newRow("reminder done on both differently")
            << dueOn(5) << dueOn(6) << "10@0 20@3 Service#4@2025-05-01 Service#5@2025-06-01";
    }
    void mergesLikeFills() {
        QFETCH(Change, ours);
        QFETCH(Change, theirs);
        QFETCH(QString, merged);
        const VehicleCosts base = baseCosts();
        VehicleCosts ourCosts = base;
        ours(ourCosts);
        VehicleCosts theirCosts = base;
        theirs(theirCosts);
        const std::optional<VehicleCosts> result = mergeCosts(base, ourCosts, theirCosts);
        QCOMPARE(result ? described(*result) : QString(), merged);

        // Through the tables, and applied to the open log.
        DatabaseTables baseTables;
        baseTables.costs = base;
        CFuelDatabase db;
        db.setCosts(ourCosts);
        DatabaseTables theirTables;
        theirTables.costs = theirCosts;
        const LogMerge merge = mergeThreeWay(baseTables, db.tables(), theirTables);
        QCOMPARE(merge.isEmpty(), merged.isEmpty());
        applyLogMerge(db, merge);
        QCOMPARE(described(db.costs()), merged.isEmpty() ? described(ourCosts) : merged);
    }
};

QTEST_GUILESS_MAIN(CostsMergeTest)
#include "tst_costsmerge.moc"
