#pragma once
// The print spooler of the desktop (CUPS): the default destination, its job list and state, and
// raw jobs. Every call opens its own connection and closes it before returning, so nothing stays
// open between two polls; every wait is bounded by the time limit, so a slow or stopped
// scheduler costs the worker thread at most that long and the station nothing.

#include "printing/PrintSpooler.h"

#include <atomic>
#include <chrono>

class CupsSpooler : public PrintSpooler {
public:
    // The server is the one the desktop names (CUPS_SERVER, client.conf, else the local one).
    explicit CupsSpooler(std::chrono::milliseconds timeLimit = std::chrono::milliseconds(2000));

    SpoolerQueue ReadQueue() override;
    bool SubmitRawJob(const std::string& title, const std::string& bytes) override;
    void Abandon() override { abandoned_ = true; }

private:
    std::chrono::milliseconds timeLimit_;
    std::atomic<bool> abandoned_{false};
};
