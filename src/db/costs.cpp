#include "db/costs.h"

#include <algorithm>

std::vector<CostCategory> costCategories(const VehicleCosts& costs) {
    if (!costs.categories.empty())
        return costs.categories;
    std::vector<CostCategory> defaults(kDefaultCostCategoryCount);
    for (int id = 0; id < kDefaultCostCategoryCount; ++id)
        defaults[std::size_t(id)].id = id;
    return defaults;
}

const CostCategory* findCostCategory(const VehicleCosts& costs, int id) {
    static const std::vector<CostCategory> defaults = costCategories({});
    const std::vector<CostCategory>& categories =
        costs.categories.empty() ? defaults : costs.categories;
    const auto found =
        std::find_if(categories.begin(), categories.end(),
                     [id](const CostCategory& category) { return category.id == id; });
    return found == categories.end() ? nullptr : &*found;
}

std::size_t costInsertionIndex(const std::vector<CostEntry>& costs, const QDate& date) {
    const auto after =
        std::upper_bound(costs.begin(), costs.end(), date,
                         [](const QDate& day, const CostEntry& cost) { return day < cost.date; });
    return std::size_t(after - costs.begin());
}
