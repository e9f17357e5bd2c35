#include "ui/charts/chartsplugin.h"

#include "ui/charts/statisticswnd.h"

QWidget* CChartsPlugin::createStatisticsWindow(CLogDocument& document, QWidget* owner) {
    return new CStatisticsWnd(document, owner);
}
