#pragma once

// The windows that draw with Qt Charts or print with Qt Print Support (the statistics window
// and its report) live in a module of their own, loaded when first asked for, so that starting
// the program does not load those libraries.

#include <QtPlugin>

class CLogDocument;
class QWidget;

class IChartsModule {
public:
    virtual ~IChartsModule() = default;
    // A new statistics window over the open log, owned by owner.
    virtual QWidget* createStatisticsWindow(CLogDocument& document, QWidget* owner) = 0;
};

#define TANKOMETER_CHARTS_MODULE_IID "io.github.tankometer.ChartsModule/1"
Q_DECLARE_INTERFACE(IChartsModule, TANKOMETER_CHARTS_MODULE_IID)

// The module, loaded at the first call from the module folders (see moduleFolders()). When it
// is missing or does not load, the user is told over owner and the result is null; the next
// call tries again.
IChartsModule* chartsModule(QWidget* owner);

// A program that has the module's code linked in (a test) hands it over here; null goes back to
// loading the file.
void setLinkedChartsModule(IChartsModule* module);
