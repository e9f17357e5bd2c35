#pragma once

// What the window tests share: each case starts with no settings, no database, no language and
// no queued dialog answers, and ends having used every answer it queued.

#include "core/logdocument.h"
#include "core/paths.h"
#include "core/vehicles.h"
#include "db/regional.h"
#include "localisation/language.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"

#include <QFile>
#include <QSettings>
#include <QTest>

inline QSettings programSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tankometer"));
}

// A menu item's text as shown: without its mnemonic mark and the keys after a tab.
inline QString shownText(const QString& text) {
    QString shown;
    for (qsizetype i = 0; i < text.size() && text.at(i) != u'\t'; ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        shown += text.at(i);
    }
    return shown;
}

inline void startWindowCase() {
    DialogSeams::reset();
    programSettings().clear();
    QFile::remove(databaseFilePath());
    language().clear();
}

inline void endWindowCase() {
    QCOMPARE(DialogSeams::pendingAnswers(), 0);
    programSettings().clear();
    language().clear();
}

// The same in fixed regional settings ("." decimals, "/" between date parts, the month first),
// for cases that compare texts with numbers and dates.
inline void startPlainRegionWindowCase() {
    startWindowCase();
    setRegionalSettingsOverride(RegionalSettings{QLatin1Char('.'), QStringLiteral("/"), 0});
}

inline void endPlainRegionWindowCase() {
    endWindowCase();
    setRegionalSettingsOverride(std::nullopt);
}

// A main window over a log document of its own, as the start-up builds them: the log it opens
// is the one the settings name.
struct LogDocumentHolder {
    CLogDocument log{readDatabasePath()};
};

class TestWindow : private LogDocumentHolder, public CMainWnd {
public:
    TestWindow() : CMainWnd(log) {}
};
