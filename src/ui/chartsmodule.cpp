#include "ui/chartsmodule.h"

#include "core/debuglog.h"
#include "core/paths.h"
#include "localisation/language.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QDir>
#include <QPluginLoader>

namespace {

constexpr auto kModuleName = "tankometer_charts";

IChartsModule* g_linked = nullptr;

} // namespace

void setLinkedChartsModule(IChartsModule* module) {
    g_linked = module;
}

IChartsModule* chartsModule(QWidget* owner) {
    if (g_linked)
        return g_linked;
    // Stays loaded until the process ends: the windows it made use its code.
    static QPluginLoader* loader = nullptr;
    if (loader && loader->isLoaded())
        return qobject_cast<IChartsModule*>(loader->instance());
    QStringList tried;
    QString error;
    for (const QString& folder : moduleFolders()) {
        auto* candidate = new QPluginLoader(QDir(folder).filePath(QLatin1String(kModuleName)));
        // Every symbol resolved now: a module that does not fit fails here, not at a later call.
        candidate->setLoadHints(QLibrary::ResolveAllSymbolsHint);
        tried.append(QDir::toNativeSeparators(folder));
        if (auto* module = qobject_cast<IChartsModule*>(candidate->instance())) {
            loader = candidate;
            return module;
        }
        if (QFileInfo::exists(candidate->fileName()))
            error = candidate->errorString();
        candidate->unload();
        delete candidate;
    }
    const QString detail = error.isEmpty() ? tried.join(QStringLiteral(", ")) : error;
    debugLog().write("the charts module did not load: " + detail.toUtf8());
    showMessageBox(owner, QApplication::applicationName(),
                   translate(Text::statswnd_ModuleMissing).arg(detail), QMessageBox::Warning);
    return nullptr;
}
