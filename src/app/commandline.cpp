#include "app/commandline.h"

#include "db/version.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The options QGuiApplication and QApplication take out of the command line. A name in this
// list sends the command line through QApplication before it is read again: a name too many only
// means that a wrong command line holding it needs a display to be told so; a missing one makes
// that option read as unknown.
bool mayBeQtOption(const QString& name) {
    static const QStringList names{
        QStringLiteral("display"),       QStringLiteral("geometry"),
        QStringLiteral("platform"),      QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"),
        QStringLiteral("qmljsdebugger"), QStringLiteral("qwindowgeometry"),
        QStringLiteral("qwindowicon"),   QStringLiteral("qwindowtitle"),
        QStringLiteral("reverse"),       QStringLiteral("session"),
        QStringLiteral("style"),         QStringLiteral("stylesheet"),
        QStringLiteral("widgetcount"),
    };
    return names.contains(name);
}

CommandLine wrong(const QString& why) {
    return {
        CommandLine::Request::Wrong,
        {},
        QStringLiteral("tankometer: %1\nTry 'tankometer --help' for more information.\n").arg(why)};
}

} // namespace

CommandLine readCommandLine(const QStringList& arguments, bool qtOptionsTakenOut) {
    QCommandLineParser parser;
    // Qt's own options come with one dash (-platform), which must not read as -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("Tankometer, a personal fuel log."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays the version and exits."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("log"),
        QStringLiteral("The log file to open (created when missing); without one, the log "
                       "opened last."),
        QStringLiteral("[log]"));

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!qtOptionsTakenOut && std::any_of(unknown.begin(), unknown.end(), mayBeQtOption))
            return {CommandLine::Request::ReadAfterQt, {}, {}};
        return wrong(parser.errorText());
    }
    if (parser.isSet(help))
        return {CommandLine::Request::Help, {}, parser.helpText()};
    if (parser.isSet(version))
        return {CommandLine::Request::Version, {}, programVersionLine().trimmed() + u'\n'};
    const QStringList logs = parser.positionalArguments();
    if (logs.size() > 1)
        return wrong(QStringLiteral("one log at most, not %1: %2")
                         .arg(logs.size())
                         .arg(logs.join(QStringLiteral(", "))));
    CommandLine run;
    if (!logs.isEmpty() && !logs.constFirst().isEmpty())
        run.logPath = QFileInfo(logs.constFirst()).absoluteFilePath();
    return run;
}

int answerCommandLine(const CommandLine& commandLine) {
    const bool failed = commandLine.request == CommandLine::Request::Wrong;
    std::fputs(commandLine.text.toLocal8Bit().constData(), failed ? stderr : stdout);
    return failed ? EXIT_FAILURE : EXIT_SUCCESS;
}
