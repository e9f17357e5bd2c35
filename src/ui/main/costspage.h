#pragma once

// The page of the main window beside the fill list: the costs of the open log, sortable, and
// filtered by category and period, with how many rows are shown and what they cost together.

#include <QWidget>
#include <vector>

class CCostFilterModel;
class CCostListModel;
class CLogDocument;
class QComboBox;
class QLabel;
class QTableView;

class CCostsPage : public QWidget {
    Q_OBJECT
public:
    explicit CCostsPage(CLogDocument& document, QWidget* parent = nullptr);
    ~CCostsPage() override;

    CCostListModel* model() const { return m_model; }
    CCostFilterModel* filter() const { return m_filter; }
    QTableView* list() const { return m_list; }
    QComboBox* categoryFilter() const { return m_category; }
    QComboBox* periodFilter() const { return m_period; }

    // The costs of the selected rows (an occurrence stands for its recurring cost), ascending.
    std::vector<int> selectedCosts() const;
    // The cost of the current row while it is selected, else -1.
    int currentCost() const;
    // Selects the first row of the cost shown (none when the filter hides it).
    void selectCost(int cost);

    void translate();
    // The keys of Add cost, for the hint over an empty list.
    void setAddKeys(const QString& keys);

signals:
    // Return or a double click on a row.
    void editRequested();
    void selectionChanged();
    void contextMenuRequested(const QPoint& globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillCategoryChoices();
    void fillPeriodChoices();
    void applyFilter();
    void updateShown();
    void widenColumnsToContents();

    CLogDocument& m_document;
    CCostListModel* m_model = nullptr;
    CCostFilterModel* m_filter = nullptr;
    QTableView* m_list = nullptr;
    QLabel* m_categoryLabel = nullptr;
    QComboBox* m_category = nullptr;
    QLabel* m_periodLabel = nullptr;
    QComboBox* m_period = nullptr;
    QLabel* m_shown = nullptr;
    QLabel* m_emptyHint = nullptr;
    QString m_addKeys;
};
