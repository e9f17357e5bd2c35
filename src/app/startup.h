#pragma once

// The program's life: debug flag and start banner, one instance per user, the language, the
// main window, and the exit line.

#include <QString>
#include <functional>

class CMainWnd;

struct StartupOptions {
    // The single-instance socket; empty: the user's own.
    QString instanceName;
    // A log given on the command line; empty: the one opened last.
    QString logPath;
    // Called from the event loop once the main window is open (tests drive the window here).
    std::function<void(CMainWnd&)> whenRunning;
    // Prints "painted" and the process's CPU milliseconds on standard output once the main
    // window has painted its list, and ends the run as Exit does: how a benchmark sees the time
    // from exec to the first painted window (the environment variable
    // TANKOMETER_REPORT_FIRST_PAINT; not a user's option).
    bool reportFirstPaint = false;
};

// Runs Tankometer in the running QApplication and returns the process exit code: 0, or a failure
// when another Tankometer runs but could not be handed the request, or when a signal ended the
// run and the fills could be written neither to the log nor to its recovery file. A recovery
// file newer than the log is offered once the window shows.
int runTankometer(const StartupOptions& options = {});
