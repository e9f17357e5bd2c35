#pragma once

// The costs of the open log beside its fills: one row per cost, and one per occurrence of a
// recurring cost up to today (marked as such). The rows are made again whenever the costs
// change: a log holds few of them.

#include "db/costs.h"
#include "stats/periodstats.h"
#include "ui/fill/costdlg.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>
#include <QSortFilterProxyModel>

class CLogDocument;

// The log's categories under their names in the current language, in the log's order.
QList<CostCategoryName> costCategoryNames(const VehicleCosts& costs);
// The day as the fill list shows dates, in the user's regional form.
QString costDateText(const QDate& date);

class CCostListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Date, Category, Amount, Odometer, Recurs, Notes, ColumnCount };
    // The value a column sorts by (a date, a number, a text).
    static constexpr int SortRole = Qt::UserRole;
    // The index of the row's cost in the log's costs.
    static constexpr int CostRole = Qt::UserRole + 1;
    static constexpr int CategoryRole = Qt::UserRole + 2;
    static constexpr int DateRole = Qt::UserRole + 3;

    explicit CCostListModel(const CLogDocument& document, QObject* parent = nullptr);

    // The day up to which recurring costs show their occurrences (today by default).
    void setToday(const QDate& today);
    // The categories under their names in the current language, in the log's order.
    const QList<CostCategoryName>& categories() const { return m_categories; }
    QString categoryName(int id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Builds the rows anew from the log (and the texts in the current language).
    void rebuild();

private:
    struct Row {
        int cost = 0;
        QDate date;
        bool repeated = false; // an occurrence after the first of a recurring cost
    };

    const CLogDocument& m_document;
    QDate m_today;
    QList<Row> m_rows;
    QList<CostCategoryName> m_categories;
};

// The rows of a category (all when none is chosen) within a period (all days when empty), sorted
// by the model's sort values.
class CCostFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    static constexpr int AllCategories = -1;
    void setCategory(int id);
    int category() const { return m_category; }
    // Null dates: no bound on that side.
    void setDays(const DayRange& days);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    int m_category = AllCategories;
    DayRange m_days;
};
