#pragma once

// Qt's own texts (standard buttons, file dialogs, the context menus of text fields) in the
// interface language: the translations that Qt ships for a locale, installed for the process.

#include <QString>

// Installs Qt's translations for the locale ("de", "cs"); an empty locale, or one that Qt has no
// translations for, leaves Qt's English texts. Replaces what an earlier call installed. True when
// translations were found and installed.
bool installQtTranslations(const QString& localeName);

// The folder the translations are read from; tests may point it elsewhere (empty: Qt's own).
void setQtTranslationsFolderOverride(const QString& folder);
