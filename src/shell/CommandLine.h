#pragma once
// The station's command line: tallion [--settings FILE] [--port N=PATH]... [--demo]

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

struct CommandLineOptions {
    QString settingsPath;                         // empty: the per-user settings file
    std::vector<std::pair<int, QString>> ports;   // --port N=PATH, in order
    bool demo = false;
    QString error;                                // not empty: the line could not be read
    bool helpRequested = false;
};

// `arguments` as QCoreApplication::arguments() gives them (program name first).
CommandLineOptions ParseCommandLine(const QStringList& arguments);

// The usage text printed for --help and after a bad command line.
QString CommandLineUsage();
