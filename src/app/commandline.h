#pragma once

// tankometer [options] [log]: what the command line asks for.

#include <QString>
#include <QStringList>

struct CommandLine {
    enum class Request {
        Run,
        Help,
        Version,
        // Not a command line of this program; text says why.
        Wrong,
        // Options that may be the window system's own (-platform, -style, ...): read the command
        // line again once QApplication has taken out what it understands.
        ReadAfterQt,
    };
    Request request = Request::Run;
    // The log to open, absolute; empty: the one opened last.
    QString logPath;
    // What Help, Version and Wrong print.
    QString text;
};

// arguments: the program's name first, as QCoreApplication::arguments() gives them;
// qtOptionsTakenOut: QApplication has already taken out the options it understands.
CommandLine readCommandLine(const QStringList& arguments, bool qtOptionsTakenOut);

// Prints what a Help, Version or Wrong request says (errors on stderr) and returns the exit code.
int answerCommandLine(const CommandLine& commandLine);
