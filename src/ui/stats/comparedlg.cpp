#include "ui/stats/comparedlg.h"

#include "core/settings.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/totals.h"
#include "ui/messagebox.h"
#include "ui/stats/valuerows.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

CCompareDlg::CCompareDlg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("compareDialog"));
    setWindowTitle(translate(Text::menu_StatCompare));

    m_table = new QTableWidget(int(std::size(kTotalsRows)), 0, this);
    m_table->setObjectName(QStringLiteral("compareTable"));
    m_table->setAccessibleName(windowTitle());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList labels;
    for (const TotalsRow row : kTotalsRows)
        labels.append(totalsLabel(row, LogUnits{}));
    m_table->setVerticalHeaderLabels(labels);

    QPushButton* ok = addCloseButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    m_table->setFocus();
}

CCompareDlg::~CCompareDlg() = default;

void CCompareDlg::setVehicles(const CFuelDatabase& open, const QStringList& otherPaths) {
    m_table->setColumnCount(0);
    addColumn(open.filePath(), &open);
    for (const QString& path : otherPaths) {
        CFuelDatabase database(path);
        bool damaged = !QFileInfo(path).isFile();
        // Any message of the load means the file could not be read as a whole.
        database.setMessageSink([&damaged](const QString&) { damaged = true; });
        if (!damaged)
            database.load();
        addColumn(path, damaged ? nullptr : &database);
    }
    m_table->resizeColumnsToContents();
    fitTableToContents();
    if (m_table->columnCount() > 0)
        m_table->setCurrentCell(0, 0);
}

// The dialog opens wide and tall enough for every column and row, as far as the screen allows.
// (The table's own adjustment to its contents keeps room for the scroll bars it had while it was
// small.)
void CCompareDlg::fitTableToContents() {
    const int frame = 2 * m_table->frameWidth();
    const QSize contents(m_table->verticalHeader()->sizeHint().width() +
                             m_table->horizontalHeader()->length() + frame,
                         m_table->horizontalHeader()->sizeHint().height() +
                             m_table->verticalHeader()->length() + frame);
    const QSize available = screen()->availableGeometry().size() * 4 / 5;
    m_table->setMinimumSize(contents.boundedTo(available));
}

// A log that could not be read shows that in every row of its column.
void CCompareDlg::addColumn(const QString& path, const CFuelDatabase* database) {
    const int column = m_table->columnCount();
    m_table->insertColumn(column);
    auto* header = new QTableWidgetItem(QFileInfo(path).completeBaseName());
    header->setToolTip(path);
    m_table->setHorizontalHeaderItem(column, header);
    const FillTotals totals =
        database ? computeTotals(*database, readFillingMethod()) : FillTotals{};
    // Each vehicle in its own units, named in every cell.
    const LogUnits units = database ? database->units() : LogUnits{};
    for (int i = 0; i < int(std::size(kTotalsRows)); ++i) {
        const TotalsRow row = kTotalsRows[i];
        const bool monthly = row == TotalsRow::MonthlyCost || row == TotalsRow::MonthlyDistance;
        QString text = translate(Text::stats_Unreadable);
        if (database && monthly && !coversAMonth(totals))
            text.clear();
        else if (database)
            text = totalsValueText(totals, row, units) + u' ' + totalsUnit(totals, row, units);
        auto* item = new QTableWidgetItem(text.trimmed());
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(i, column, item);
    }
}

int CCompareDlg::doModal() {
    return execDialog(*this);
}
