#include "ui/main/costspage.h"

#include "core/logdocument.h"
#include "db/formats.h"
#include "localisation/language.h"
#include "stats/periodstats.h"
#include "ui/main/costlistmodel.h"
#include "ui/widgettext.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSet>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace {

// The period choices' data: a calendar year, or one of these.
constexpr int kAllDays = -1;
constexpr int kThisYear = -2;
constexpr int kLast12Months = -3;

} // namespace

CCostsPage::CCostsPage(CLogDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document) {
    setObjectName(QStringLiteral("costsPage"));
    m_model = new CCostListModel(document, this);
    m_filter = new CCostFilterModel(this);
    m_filter->setSourceModel(m_model);
    m_filter->setSortRole(CCostListModel::SortRole);

    m_categoryLabel = new QLabel(this);
    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("costCategoryFilter"));
    m_categoryLabel->setBuddy(m_category);
    m_periodLabel = new QLabel(this);
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("costPeriodFilter"));
    m_periodLabel->setBuddy(m_period);
    m_shown = new QLabel(this);
    m_shown->setObjectName(QStringLiteral("costsShown"));
    m_shown->setTextFormat(Qt::PlainText);
    // The page asks no more room of the window than the fill list does: the filters narrow, and
    // the sum gives way (a screen reader hears it with the list).
    m_shown->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_shown->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QComboBox* box : {m_category, m_period}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(6);
    }

    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("costList"));
    m_list->setModel(m_filter);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(CCostListModel::Date, Qt::AscendingOrder);
    m_list->setWordWrap(false);
    m_list->setShowGrid(false);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);

    m_emptyHint = new QLabel(m_list->viewport());
    m_emptyHint->setObjectName(QStringLiteral("costsEmptyHint"));
    m_emptyHint->setAlignment(Qt::AlignCenter);
    m_emptyHint->setWordWrap(true);
    m_emptyHint->setTextFormat(Qt::PlainText);
    m_emptyHint->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_emptyHint->setForegroundRole(QPalette::PlaceholderText);

    auto* filters = new QHBoxLayout;
    filters->addWidget(m_categoryLabel);
    filters->addWidget(m_category, 1);
    filters->addSpacing(12);
    filters->addWidget(m_periodLabel);
    filters->addWidget(m_period, 1);
    filters->addWidget(m_shown, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The sum ends a little inside the window's edge, as the status line's figures do.
    filters->setContentsMargins(0, 0, layout->spacing(), 0);
    layout->addLayout(filters);
    layout->addWidget(m_list, 1);
    setTabOrder(m_category, m_period);
    setTabOrder(m_period, m_list);

    connect(m_category, &QComboBox::activated, this, &CCostsPage::applyFilter);
    connect(m_period, &QComboBox::activated, this, &CCostsPage::applyFilter);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &CCostsPage::editRequested);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CCostsPage::selectionChanged);
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_filter, signal, this, [this] { updateShown(); });
    connect(m_filter, &QAbstractItemModel::modelReset, this, &CCostsPage::updateShown);
    // A reset drops the selection without saying so: the commands on it follow.
    connect(m_filter, &QAbstractItemModel::modelReset, this, &CCostsPage::selectionChanged);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &CCostsPage::updateShown);
    // A new category, another log or another year of costs: the choices follow, and the chosen
    // one stays where it still exists.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        fillCategoryChoices();
        fillPeriodChoices();
        applyFilter();
        widenColumnsToContents();
    });
    translate();
}

CCostsPage::~CCostsPage() = default;

void CCostsPage::setAddKeys(const QString& keys) {
    m_addKeys = keys;
    updateShown();
}

void CCostsPage::translate() {
    m_categoryLabel->setText(translatedWidgetText(Text::costlist_Category));
    m_category->setAccessibleName(::translate(Text::costlist_Category).remove(u':'));
    m_periodLabel->setText(translatedWidgetText(Text::statswnd_Period));
    m_period->setAccessibleName(::translate(Text::statswnd_Period).remove(u':'));
    m_list->setAccessibleName(::translate(Text::costlist_ListName));
    m_model->rebuild();
}

void CCostsPage::fillCategoryChoices() {
    const int chosen = m_category->count() > 0 ? m_category->currentData().toInt()
                                               : CCostFilterModel::AllCategories;
    m_category->clear();
    m_category->addItem(::translate(Text::costlist_AllCategories), CCostFilterModel::AllCategories);
    for (const auto& [id, name] : m_model->categories())
        m_category->addItem(name, id);
    m_category->setCurrentIndex(qMax(0, m_category->findData(chosen)));
}

void CCostsPage::fillPeriodChoices() {
    const int chosen = m_period->count() > 0 ? m_period->currentData().toInt() : kAllDays;
    m_period->clear();
    m_period->addItem(::translate(Text::statswnd_PeriodAll), kAllDays);
    m_period->addItem(::translate(Text::statswnd_PeriodThisYear), kThisYear);
    m_period->addItem(::translate(Text::statswnd_PeriodLast12), kLast12Months);
    std::set<int, std::greater<>> years;
    for (int row = 0; row < m_model->rowCount(); ++row)
        years.insert(m_model->index(row, 0).data(CCostListModel::DateRole).toDate().year());
    for (const int year : years)
        m_period->addItem(QString::number(year), year);
    m_period->setCurrentIndex(qMax(0, m_period->findData(chosen)));
}

void CCostsPage::applyFilter() {
    m_filter->setCategory(m_category->currentData().toInt());
    const int period = m_period->currentData().toInt();
    StatsPeriod chosen;
    switch (period) {
    case kAllDays:
        m_filter->setDays({});
        return;
    case kThisYear:
        chosen.choice = PeriodChoice::ThisYear;
        break;
    case kLast12Months:
        chosen.choice = PeriodChoice::Last12Months;
        break;
    default:
        chosen.choice = PeriodChoice::Year;
        chosen.year = period;
        break;
    }
    m_filter->setDays(periodDays(chosen, m_document.database(), QDate::currentDate()));
}

// Every text whole, the notes last taking the rest; a column the user widened stays so.
void CCostsPage::widenColumnsToContents() {
    for (int column = 0; column + 1 < m_model->columnCount(); ++column) {
        const int before = m_list->columnWidth(column);
        m_list->resizeColumnToContents(column);
        m_list->setColumnWidth(column, std::max(before, m_list->columnWidth(column)));
    }
}

void CCostsPage::updateShown() {
    double sum = 0;
    const int rows = m_filter->rowCount();
    for (int row = 0; row < rows; ++row) {
        const int cost = m_filter->index(row, 0).data(CCostListModel::CostRole).toInt();
        sum += m_document.costs().costs.at(std::size_t(cost)).amount;
    }
    m_shown->setText(
        ::translate(Text::costlist_Shown)
            .arg(rows)
            .arg(formatAmount(float(sum)), unitTexts(m_document.database().units()).currency));
    const bool empty = m_model->rowCount() == 0;
    m_emptyHint->setText(::translate(Text::costlist_Empty).arg(m_addKeys));
    m_emptyHint->setVisible(empty);
    m_list->setAccessibleDescription(empty ? m_emptyHint->text() : m_shown->text());
    const int margin = m_list->fontMetrics().height();
    m_emptyHint->setGeometry(m_list->viewport()->rect().adjusted(margin, margin, -margin, -margin));
}

std::vector<int> CCostsPage::selectedCosts() const {
    std::set<int> costs;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        costs.insert(index.data(CCostListModel::CostRole).toInt());
    return {costs.begin(), costs.end()};
}

int CCostsPage::currentCost() const {
    const QModelIndex current = m_list->selectionModel()->currentIndex();
    if (!current.isValid() || !m_list->selectionModel()->isRowSelected(current.row(), {}))
        return -1;
    return current.data(CCostListModel::CostRole).toInt();
}

void CCostsPage::selectCost(int cost) {
    for (int row = 0; row < m_filter->rowCount(); ++row) {
        const QModelIndex index = m_filter->index(row, 0);
        if (index.data(CCostListModel::CostRole).toInt() == cost) {
            m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
            m_list->scrollTo(index);
            return;
        }
    }
    m_list->clearSelection();
}

bool CCostsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && currentCost() >= 0) {
            emit editRequested();
            return true;
        }
    }
    if ((watched == m_list || watched == m_list->viewport()) &&
        event->type() == QEvent::ContextMenu) {
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        QPoint position = menuEvent->globalPos();
        if (menuEvent->reason() != QContextMenuEvent::Mouse) {
            const QModelIndex current = m_list->currentIndex();
            const QPoint local =
                current.isValid() ? m_list->visualRect(current).bottomLeft() : QPoint(0, 0);
            position = m_list->viewport()->mapToGlobal(local);
        }
        emit contextMenuRequested(position);
        return true;
    }
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        updateShown();
    return QWidget::eventFilter(watched, event);
}
