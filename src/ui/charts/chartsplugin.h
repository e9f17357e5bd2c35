#pragma once

// The entry point of the charts module (see ui/chartsmodule.h).

#include "ui/chartsmodule.h"

#include <QObject>

class CChartsPlugin : public QObject, public IChartsModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TANKOMETER_CHARTS_MODULE_IID)
    Q_INTERFACES(IChartsModule)
public:
    using QObject::QObject;
    QWidget* createStatisticsWindow(CLogDocument& document, QWidget* owner) override;
};
