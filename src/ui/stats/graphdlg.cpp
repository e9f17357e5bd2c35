#include "ui/stats/graphdlg.h"

#include "core/settings.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "ui/messagebox.h"
#include "ui/stats/graphctrl.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr QSize kFirstSize(720, 600);

// The language file's entry names km, l, l / 100 km and its currency; other units have their own.
QString kindText(GraphKind kind, const LogUnits& logUnits) {
    const UnitTexts units = unitTexts(logUnits);
    const auto text = [](bool fromLanguage, const TextId& own, const TextId& in,
                         const QString& unit) {
        return fromLanguage ? translate(own) : translate(in).arg(unit);
    };
    switch (kind) {
    case GraphKind::FillCost:
        break;
    case GraphKind::Consumption:
        return text(logUnits.consumption == ConsumptionUnit::LitresPer100Km,
                    Text::graph_Consumption, Text::graph_ConsumptionIn, units.consumption);
    case GraphKind::UnitCost:
        return text(units.languageCurrency && units.metricVolume, Text::graph_UnitCost,
                    Text::graph_UnitCostIn, units.unitCost);
    case GraphKind::Endurance:
        return text(units.metricDistance && units.metricVolume, Text::graph_Endurance,
                    Text::graph_EnduranceIn, units.endurance);
    case GraphKind::ElectricConsumption:
        return translate(Text::graph_ConsumptionIn).arg(units.electricConsumption);
    case GraphKind::EnergyUnitCost:
        return translate(Text::graph_UnitCostIn).arg(units.energyCost);
    }
    return text(units.languageCurrency, Text::graph_FillCost, Text::graph_FillCostIn,
                units.currency);
}

QComboBox* createList(QWidget* parent, const QString& name) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return list;
}

} // namespace

CGraphDlg::CGraphDlg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("graphDialog"));
    setSizeGripEnabled(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    m_topList = createList(this, QStringLiteral("topList"));
    m_topChart = new CGraphCtrl(this);
    m_topChart->setObjectName(QStringLiteral("topChart"));
    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("separator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Plain);
    QPalette grey = separator->palette();
    grey.setColor(QPalette::WindowText, QColor(192, 192, 192));
    separator->setPalette(grey);
    m_bottomList = createList(this, QStringLiteral("bottomList"));
    m_bottomChart = new CGraphCtrl(this);
    m_bottomChart->setObjectName(QStringLiteral("bottomChart"));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_topList, 0, Qt::AlignLeft);
    layout->addWidget(m_topChart, 1);
    layout->addSpacing(4);
    layout->addWidget(separator);
    layout->addSpacing(4);
    layout->addWidget(m_bottomList, 0, Qt::AlignLeft);
    layout->addWidget(m_bottomChart, 1);
    layout->addLayout(buttons);

    setTabOrder(m_topList, m_topChart);
    setTabOrder(m_topChart, m_bottomList);
    setTabOrder(m_bottomList, m_bottomChart);
    setTabOrder(m_bottomChart, m_ok);

    connect(m_ok, &QPushButton::clicked, this, &CGraphDlg::accept);
    // A change of either list redraws both charts.
    for (QComboBox* list : {m_topList, m_bottomList})
        connect(list, &QComboBox::currentIndexChanged, this, &CGraphDlg::showKinds);
}

CGraphDlg::~CGraphDlg() = default;

int CGraphDlg::doModal() {
    initDialog();
    return execDialog(*this);
}

void CGraphDlg::initDialog() {
    setWindowTitle(translate(Text::graph_caption));
    // A plug-in hybrid's two consumptions one above the other; an electric log's in kWh.
    const VehicleEnergy energy = units().energy;
    fillList(m_topList,
             energy == VehicleEnergy::PlugInHybrid ? GraphKind::Consumption : GraphKind::FillCost);
    fillList(m_bottomList, energy == VehicleEnergy::Fuel ? GraphKind::Consumption
                                                         : GraphKind::ElectricConsumption);
    showKinds();
    QSize size = kFirstSize.expandedTo(minimumSizeHint());
    if (const QScreen* currentScreen = screen())
        size = size.boundedTo(currentScreen->availableGeometry().size());
    resize(size);
    m_topList->setFocus();
}

// The entries are sorted by their translated texts; each carries its kind, by which the
// default is found.
void CGraphDlg::fillList(QComboBox* list, GraphKind defaultKind) {
    QList<std::pair<QString, GraphKind>> entries;
    for (const GraphKind kind : graphKinds(units().energy))
        entries.append({kindText(kind, units()), kind});
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return QString::localeAwareCompare(a.first.toLower(), b.first.toLower()) < 0;
    });
    const QSignalBlocker blocker(list);
    list->clear();
    for (const auto& [text, kind] : entries)
        list->addItem(text, int(kind));
    list->setCurrentIndex(list->findData(int(defaultKind)));
}

LogUnits CGraphDlg::units() const {
    return m_database ? m_database->units() : LogUnits{};
}

GraphKind CGraphDlg::selectedKind(const QComboBox* list) {
    bool ok = false;
    const int kind = list->currentData().toInt(&ok);
    if (!ok || kind < int(GraphKind::FillCost) || kind > int(GraphKind::EnergyUnitCost))
        return GraphKind::FillCost;
    return GraphKind(kind);
}

QList<float> CGraphDlg::series(const QComboBox* list) const {
    if (!m_database)
        return {};
    // The filling method is read once for each series built.
    return buildSeries(*m_database, selectedKind(list), m_startIndex, readFillingMethod());
}

void CGraphDlg::showKinds() {
    const std::pair<QComboBox*, CGraphCtrl*> charts[] = {{m_topList, m_topChart},
                                                         {m_bottomList, m_bottomChart}};
    for (const auto& [list, chart] : charts) {
        chart->setSeries(kindText(selectedKind(list), units()),
                         [this, list = list] { return series(list); });
    }
}
