#pragma once
// A print spooler for tests: answers every look at the queue with the queue the test set, records
// every raw job, and can be held up like a slow scheduler. Safe to use from the worker thread.

#include "printing/PrintSpooler.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

class RecordingSpooler : public PrintSpooler {
public:
    struct Job {
        std::string title;
        std::string bytes;
    };

    // The answer of every ReadQueue from now on.
    void SetQueue(const SpoolerQueue& queue);
    // While held, every call waits (until released or abandoned).
    void Hold(bool held);
    void FailSubmits(bool fail);

    std::vector<Job> Jobs() const;
    int Reads() const;
    // True once a call is waiting in Hold.
    bool Waiting() const;

    SpoolerQueue ReadQueue() override;
    bool SubmitRawJob(const std::string& title, const std::string& bytes) override;
    void Abandon() override;

private:
    void WaitWhileHeld(std::unique_lock<std::mutex>& lock);

    mutable std::mutex mutex_;
    std::condition_variable released_;
    SpoolerQueue queue_;
    std::vector<Job> jobs_;
    int reads_ = 0;
    int waiting_ = 0;
    bool held_ = false;
    bool abandoned_ = false;
    bool failSubmits_ = false;
};

// A queue read without failure: the printer's state and reasons and its jobs' states.
SpoolerQueue ReadQueueOf(std::vector<SpoolJobState> jobs, SpoolPrinterState printer = SpoolPrinterState::Idle,
                         std::vector<std::string> printerReasons = {});
