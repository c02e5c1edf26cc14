#pragma once
// The station program as an operator starts it, for end-to-end tests:
//   QT_QPA_PLATFORM=offscreen build/tallion --settings FILE --port 1=PATH ...
// with its own temporary folder for settings, logs and recovery files.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <string>

// What a program run that ended left behind.
struct ProgramRun {
    int exitCode = -1; // -1: still running when the time was up (then killed); -2: crashed
    std::string out;
    std::string err;
};

class StationProcess {
public:
    StationProcess();
    ~StationProcess();

    static QString ProgramPath();

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString SettingsPath() const { return Path(QStringLiteral("station.ini")); }
    // Stores a setting in the station's settings file before it starts.
    void Setting(const std::string& key, const std::string& value);

    // Starts the program with --settings and `arguments`; recovery files go below Path("data").
    bool Start(const QStringList& arguments);
    // Starts the program with `arguments` alone, as a newcomer types them.
    bool StartProgram(const QStringList& arguments);
    // SIGTERM, as a system shut-down sends it; true when the program ended within `ms`.
    bool Terminate(int ms = 5000);

    QProcess& process() { return process_; }
    // Processor time (user and system) the program has used so far, in seconds.
    double CpuSeconds() const;
    // The recovery files the program has written so far.
    QStringList RecoveryFiles() const;

    static std::string ReadFile(const QString& path);

    // Runs the program to its end with no display at all (unless `platform` names one) in
    // `folder`, waiting up to `ms`.
    static ProgramRun Run(const QStringList& arguments, const QString& folder = QString(),
                          const QString& platform = QString(), int ms = 30000);

private:
    QTemporaryDir dir_;
    QProcess process_;
};
