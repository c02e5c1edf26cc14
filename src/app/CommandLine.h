#pragma once
// The station's command line: tallion [--settings FILE] [--port N=PATH]... [--weighing] [--demo]

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

struct CommandLineOptions {
    QString settingsPath;                       // empty: the per-user settings file
    std::vector<std::pair<int, QString>> ports; // --port N=PATH, in order
    bool demo = false;
    bool weighing = false; // start with the stored weighing set-up
    QString error;         // not empty: the line could not be read
    bool helpRequested = false;
    bool versionRequested = false;
};

// `arguments` as QCoreApplication::arguments() gives them (program name first).
CommandLineOptions ParseCommandLine(const QStringList& arguments);

// The usage text printed for --help and after a bad command line.
QString CommandLineUsage();

// "tallion 7.4.1", printed for --version.
QString VersionText();

// The program's arguments as text, read before any application object exists, so that --help,
// --version and a wrong option are answered without a display.
QStringList ArgumentsOf(int argc, char** argv);

// The settings store and the serial ports take file names as text, so a name in `argv` that is
// not UTF-8 would reach them changed and name another file: such an argument is refused. The
// message, or nothing when every argument is UTF-8.
std::optional<QString> NonTextArgument(int argc, char** argv);
