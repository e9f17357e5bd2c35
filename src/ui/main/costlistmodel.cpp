#include "ui/main/costlistmodel.h"

#include "core/logdocument.h"
#include "db/calendar.h"
#include "db/formats.h"
#include "localisation/language.h"
#include "stats/costs.h"

#include <algorithm>

QList<CostCategoryName> costCategoryNames(const VehicleCosts& costs) {
    QList<CostCategoryName> names;
    for (const CostCategory& category : costCategories(costs))
        names.append({category.id, costCategoryName(category)});
    return names;
}

QString costDateText(const QDate& date) {
    SystemTime day;
    day.year = quint16(date.year());
    day.month = quint16(date.month());
    day.day = quint16(date.day());
    FileTime time;
    return date.isValid() && systemTimeToFileTime(day, &time) ? formatDate(time) : QString();
}

CCostListModel::CCostListModel(const CLogDocument& document, QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_today(QDate::currentDate()) {
    connect(&document, &CLogDocument::costsChanged, this, &CCostListModel::rebuild);
    connect(&document, &CLogDocument::logOpened, this, &CCostListModel::rebuild);
    connect(&document, &CLogDocument::unitsChanged, this, &CCostListModel::rebuild);
    rebuild();
}

void CCostListModel::setToday(const QDate& today) {
    m_today = today;
    rebuild();
}

QString CCostListModel::categoryName(int id) const {
    const auto found =
        std::find_if(m_categories.cbegin(), m_categories.cend(),
                     [id](const CostCategoryName& each) { return each.first == id; });
    return found == m_categories.cend() ? QString() : found->second;
}

void CCostListModel::rebuild() {
    beginResetModel();
    const VehicleCosts& costs = m_document.costs();
    m_categories = costCategoryNames(costs);
    m_rows.clear();
    for (int index = 0; index < int(costs.costs.size()); ++index) {
        const std::vector<QDate> dates = costOccurrences(costs.costs[std::size_t(index)], m_today);
        for (std::size_t each = 0; each < dates.size(); ++each)
            m_rows.append({index, dates[each], each > 0});
    }
    endResetModel();
}

int CCostListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CCostListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CCostListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row& row = m_rows.at(index.row());
    const CostEntry& cost = m_document.costs().costs.at(std::size_t(row.cost));
    const LogUnits units = m_document.database().units();
    switch (role) {
    case CostRole:
        return row.cost;
    case CategoryRole:
        return cost.categoryId;
    case DateRole:
        return row.date;
    case Qt::TextAlignmentRole:
        if (index.column() == Amount || index.column() == Odometer)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case SortRole:
        switch (Column(index.column())) {
        case Date:
            return row.date;
        case Amount:
            return cost.amount;
        case Odometer:
            return cost.odometer;
        case Recurs:
            return cost.intervalMonths;
        default:
            break;
        }
        return data(index, Qt::DisplayRole).toString().toLower();
    case Qt::DisplayRole:
        break;
    default:
        return {};
    }
    switch (Column(index.column())) {
    case Date:
        return costDateText(row.date);
    case Category:
        return categoryName(cost.categoryId);
    case Amount:
        return formatAmount(float(cost.amount));
    case Odometer:
        return cost.odometer == kNoReading || row.repeated
                   ? QString()
                   : QString::number(distanceIn(units, cost.odometer));
    case Recurs: {
        if (cost.intervalMonths <= 0)
            return QString();
        const QString every = cost.intervalMonths == 1
                                  ? translate(Text::costlist_EveryMonth)
                                  : translate(Text::costlist_EveryMonths).arg(cost.intervalMonths);
        return row.repeated ? translate(Text::costlist_Repeated).arg(every) : every;
    }
    case Notes:
        return cost.notes;
    case ColumnCount:
        break;
    }
    return {};
}

QVariant CCostListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const UnitTexts units = unitTexts(m_document.database().units());
    switch (Column(section)) {
    case Date:
        return translate(Text::costlist_ColDate);
    case Category:
        return translate(Text::costlist_ColCategory);
    case Amount:
        return translate(Text::costlist_ColAmount).arg(units.currency);
    case Odometer:
        return translate(Text::costlist_ColOdometer).arg(units.odometer);
    case Recurs:
        return translate(Text::costlist_ColRecurs);
    case Notes:
        return translate(Text::costlist_ColNotes);
    case ColumnCount:
        break;
    }
    return {};
}

void CCostFilterModel::setCategory(int id) {
    m_category = id;
    invalidateFilter();
}

void CCostFilterModel::setDays(const DayRange& days) {
    m_days = days;
    invalidateFilter();
}

bool CCostFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    if (m_category != AllCategories &&
        index.data(CCostListModel::CategoryRole).toInt() != m_category)
        return false;
    const QDate date = index.data(CCostListModel::DateRole).toDate();
    return (!m_days.first.isValid() || date >= m_days.first) &&
           (!m_days.last.isValid() || date <= m_days.last);
}

bool CCostFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant a = left.data(CCostListModel::SortRole);
    const QVariant b = right.data(CCostListModel::SortRole);
    const int order = QVariant::compare(a, b) == QPartialOrdering::Less      ? -1
                      : QVariant::compare(a, b) == QPartialOrdering::Greater ? 1
                                                                             : 0;
    if (order != 0)
        return order < 0;
    // Equal values keep the rows in date order.
    return left.data(CCostListModel::DateRole).toDate() <
           right.data(CCostListModel::DateRole).toDate();
}
