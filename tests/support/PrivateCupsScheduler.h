#pragma once
// A CUPS scheduler of the test's own: its configuration, spool, logs and backends in a temporary
// folder, listening on a free loopback port. Its one printer backend, "tallionsink", appends each
// job to a file and can report a printer fault (paper out, offline) and fail the job. The
// scheduler is stopped when this object goes, and dies with the test process if that crashes.

#include "support/ServerProcess.h"

#include <string>

class PrivateCupsScheduler {
public:
    PrivateCupsScheduler() = default;
    ~PrivateCupsScheduler();
    PrivateCupsScheduler(const PrivateCupsScheduler&) = delete;
    PrivateCupsScheduler& operator=(const PrivateCupsScheduler&) = delete;

    // Starts the scheduler and waits until it answers. False, with the reason, when it cannot
    // run here (not installed, no permission, ...).
    bool Start(std::string* why);
    // Stops it (and whatever job it runs); waits for it to end.
    void Stop();
    // A scheduler that hangs: it takes connections but answers nothing until resumed.
    void Freeze(bool frozen);

    // "127.0.0.1:PORT", for CUPS_SERVER.
    std::string Server() const;
    int Port() const { return port_; }

    // A raw queue whose device is the test backend; made the default destination.
    bool AddRawQueueAsDefault(const std::string& name, std::string* why);
    // Cancels every job.
    bool CancelAll();

    // What the backend does with the next jobs: "" prints, "media" reports paper out and fails,
    // "offline" reports the printer offline and fails.
    void SetBackendMode(const std::string& mode);
    // While held, the backend keeps the job it has (processing) and the rest wait.
    void HoldBackend(bool held);
    // Everything the backend has printed so far.
    std::string Printed() const;
    // The tail of the scheduler's error log, for failure messages.
    std::string LogTail() const;

private:
    bool Run(const QStringList& arguments, std::string* why);
    QString Path(const char* name) const { return process_.Path(name); }

    ServerProcess process_;
    int port_ = 0;
};
