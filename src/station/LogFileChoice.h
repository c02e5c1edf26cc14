#pragma once
// Making a log file the current one once the operator has named it: the checks, the station's
// state and stored setting, an empty file created for a new name, and the offer to start the
// probe's counter again. The file chooser and the views belong to the windows.

#include "log/LogFileSystem.h"

#include <QObject>
#include <QString>
#include <string>

class OperatorQuestions;
class ProbeLink;
class ResultLog;
class SettingsStore;

// What became of the named file.
enum class LogFileOutcome {
    LookUpFailed, // whether it exists could not be told: nothing changed
    Existing,     // current now; its lines belong in the views
    Created,      // current now, created empty (the header comes with the first record)
    NotCreated,   // could not be created: no log file is current (the setting keeps the name)
};

struct LogFileOpening {
    LogFileOutcome outcome;
    QString error; // the system's text, for LookUpFailed and NotCreated
};

class LogFileChoice : public QObject {
    Q_OBJECT
public:
    // The chosen file becomes the one `log` writes to.
    LogFileChoice(ResultLog& log, SettingsStore& settings, ProbeLink& link,
                  LogFileSystem& fileSystem = PosixLogFileSystem(), QObject* parent = nullptr);

    LogFileOpening Open(const std::string& path);
    // A new log usually starts a new count: while the probe listens, asks whether its carcass
    // counter starts at 001 again and, on Yes, queues the command for it.
    void OfferCounterReset(OperatorQuestions& questions);

signals:
    // The current log file changed (told before a new file is created, so its name shows even
    // when that fails, as the setting keeps it).
    void logFileChanged();

private:
    ResultLog& log_;
    SettingsStore& settings_;
    ProbeLink& link_;
    LogFileSystem& fileSystem_;
};
