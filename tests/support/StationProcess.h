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
    // Everything the program has written on standard error so far (kept, so that a test can wait
    // for a message and still read the whole text afterwards).
    const std::string& Told();
    // True once standard error holds `text`, waiting up to `ms`.
    bool WaitTold(const std::string& text, int ms);
    // How many scale messages the program has taken, each on its own, into its journal of
    // received messages.
    int ScaleMessagesKept() const;
    // True while the program has a descriptor open on the device `path`.
    bool HoldsOpen(const QString& path) const;
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
    std::string told_;
};
