#include "stats/costs.h"

#include "db/fueldatabase.h"
#include "localisation/language.h"

#include <algorithm>

namespace {

// Beyond this many months from its date a recurring cost has no occurrence a calendar holds.
constexpr qint64 kMostMonths = 12 * 10000;

const TextId& defaultCategoryText(int id) {
    static const TextId* const texts[kDefaultCostCategoryCount] = {
        &Text::costcategory_Service,   &Text::costcategory_Repair, &Text::costcategory_Tyres,
        &Text::costcategory_Insurance, &Text::costcategory_Tax,    &Text::costcategory_Parking,
        &Text::costcategory_Tolls,     &Text::costcategory_Care,   &Text::costcategory_Other};
    return *texts[id];
}

bool inDays(const QDate& date, const DayRange& days) {
    return (!days.first.isValid() || date >= days.first) &&
           (!days.last.isValid() || date <= days.last);
}

} // namespace

std::vector<QDate> costOccurrences(const CostEntry& cost, const QDate& until) {
    std::vector<QDate> dates;
    if (!cost.date.isValid())
        return dates;
    QDate last = until;
    if (cost.intervalMonths > 0 && cost.endDate.isValid() &&
        (!last.isValid() || cost.endDate < last))
        last = cost.endDate;
    if (last.isValid() && cost.date > last)
        return dates;
    dates.push_back(cost.date);
    if (cost.intervalMonths <= 0 || !last.isValid())
        return dates;
    // Each occurrence counted from the first, so that a month end stays a month end.
    for (qint64 months = cost.intervalMonths; months <= kMostMonths;
         months += cost.intervalMonths) {
        const QDate date = cost.date.addMonths(int(months));
        if (!date.isValid() || date > last)
            break;
        dates.push_back(date);
    }
    return dates;
}

std::vector<CostOccurrence> costOccurrencesIn(const VehicleCosts& costs, const DayRange& days,
                                              const QDate& today) {
    QDate until = today;
    if (days.last.isValid() && (!until.isValid() || days.last < until))
        until = days.last;
    std::vector<CostOccurrence> occurrences;
    for (std::size_t i = 0; i < costs.costs.size(); ++i) {
        for (const QDate& date : costOccurrences(costs.costs[i], until)) {
            if (inDays(date, days))
                occurrences.push_back({date, int(i)});
        }
    }
    std::stable_sort(
        occurrences.begin(), occurrences.end(),
        [](const CostOccurrence& a, const CostOccurrence& b) { return a.date < b.date; });
    return occurrences;
}

QString costCategoryName(const CostCategory& category) {
    if (!category.name.isEmpty() || category.id < 0 || category.id >= kDefaultCostCategoryCount)
        return category.name;
    return translate(defaultCategoryText(category.id));
}

QString costCategoryName(const VehicleCosts& costs, int id) {
    if (const CostCategory* category = findCostCategory(costs, id))
        return costCategoryName(*category);
    return translate(Text::costcategory_Other);
}

double CostFigures::categoryAmount(int id) const {
    const auto found = std::find_if(categories.begin(), categories.end(),
                                    [id](const CategoryCosts& c) { return c.categoryId == id; });
    return found == categories.end() ? 0 : found->amount;
}

CostFigures costFigures(const CFuelDatabase& database, const DayRange& days, const QDate& today) {
    CostFigures figures;
    figures.days = days;
    if (days.isEmpty())
        return figures;
    const BucketSums fills = sumsOfDays(database, FillingMethod::FullTank, days);
    figures.fuel = fills.cost;
    figures.distance = fills.distance;
    const VehicleCosts& costs = database.costs();
    for (const CostCategory& category : costCategories(costs))
        figures.categories.push_back({category.id, 0, 0});
    for (const CostOccurrence& occurrence : costOccurrencesIn(costs, days, today)) {
        const CostEntry& cost = costs.costs[std::size_t(occurrence.index)];
        auto category = std::find_if(
            figures.categories.begin(), figures.categories.end(),
            [&cost](const CategoryCosts& c) { return c.categoryId == cost.categoryId; });
        if (category == figures.categories.end())
            category = figures.categories.insert(figures.categories.end(), {cost.categoryId, 0, 0});
        category->amount += cost.amount;
        ++category->count;
        figures.costs += cost.amount;
    }
    figures.total = figures.fuel + figures.costs;
    // Months of the Gregorian calendar's average length.
    constexpr double kDaysPerMonth = 365.2425 / 12;
    figures.months = double(days.first.daysTo(days.last) + 1) / kDaysPerMonth;
    figures.perMonth = figures.total / figures.months;
    if (figures.distance > 0)
        figures.per100 = figures.total * 100 / double(figures.distance);
    return figures;
}

CostFigures ownershipFigures(const CFuelDatabase& database, const QDate& today) {
    QDate first;
    if (database.getFillCount() > 0)
        first = fillDate(*database.getFill(0));
    for (const CostEntry& cost : database.costs().costs) {
        if (cost.date.isValid() && (!first.isValid() || cost.date < first))
            first = cost.date;
    }
    DayRange days{first, today};
    // Entries after today (typed ahead) belong to the life of the vehicle too.
    if (database.getFillCount() > 0)
        days.last = std::max(days.last, fillDate(*database.getFill(database.getFillCount() - 1)));
    return costFigures(database, days, std::max(today, days.last));
}
