#include "core/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace {

QString g_folderOverride;

std::unique_ptr<QTranslator>& installedTranslator() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

void setQtTranslationsFolderOverride(const QString& folder) {
    g_folderOverride = folder;
}

bool installQtTranslations(const QString& localeName) {
    std::unique_ptr<QTranslator>& installed = installedTranslator();
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    if (localeName.isEmpty())
        return false;
    const QString folder = g_folderOverride.isEmpty()
                               ? QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                               : g_folderOverride;
    auto translator = std::make_unique<QTranslator>();
    // qtbase_de.qm holds the texts of Qt Core, Gui and Widgets.
    if (!translator->load(QLocale(localeName), QStringLiteral("qtbase"), QStringLiteral("_"),
                          folder))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}
