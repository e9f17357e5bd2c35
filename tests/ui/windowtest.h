#pragma once

// What the window tests share: each case starts with no settings, no database, no language and
// no queued dialog answers, and ends having used every answer it queued.

#include "core/logdocument.h"
#include "core/paths.h"
#include "core/vehicles.h"
#include "localisation/language.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"

#include <QFile>
#include <QSettings>
#include <QTest>

inline QSettings programSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tankometer"));
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

// A main window over a log document of its own, as the start-up builds them: the log it opens
// is the one the settings name.
struct LogDocumentHolder {
    CLogDocument log{readDatabasePath()};
};

class TestWindow : private LogDocumentHolder, public CMainWnd {
public:
    TestWindow() : CMainWnd(log) {}
};
