#pragma once
// The print spooler as the station sees it: the default printer's job list and state, and raw
// jobs sent to it. Every call may block (the spooler is another process that can be slow or
// gone), so the station makes them from a worker thread (SpoolerWorker), never from a tick.

#include <string>
#include <vector>

// Job and printer states, numbered as the spooler numbers them.
enum class SpoolJobState {
    Pending = 3,
    Held = 4,
    Processing = 5,
    Stopped = 6,
    Canceled = 7,
    Aborted = 8,
    Completed = 9
};
enum class SpoolPrinterState { Idle = 3, Processing = 4, Stopped = 5 };

struct SpooledJob {
    int id = 0;
    SpoolJobState state = SpoolJobState::Pending;
    // The job's own status message, as the printer's software reported it; often empty.
    std::string statusText;
    // Why the job is in its state (spooler keywords such as "job-incoming").
    std::vector<std::string> reasons;
};

// One look at the default printer.
struct SpoolerQueue {
    enum class Outcome {
        Read,               // everything below was read
        PrinterUnavailable, // no spooler, no default printer, or the printer cannot be asked
        JobListFailed,      // the printer was found but its job list could not be read
    };
    Outcome outcome = Outcome::Read;
    std::string printerName;
    // The spooler's own description of a failure.
    std::string error;
    SpoolPrinterState printerState = SpoolPrinterState::Idle;
    // Printer state reasons ("media-empty-error", "offline-report", ...); "none" is left out.
    std::vector<std::string> printerReasons;
    // Jobs not finished yet, the next to print first. Only the first carries its status text
    // and reasons.
    std::vector<SpooledJob> jobs;
};

class PrintSpooler {
public:
    virtual ~PrintSpooler() = default;
    virtual SpoolerQueue ReadQueue() = 0;
    // Sends `bytes` unchanged as one raw job named `title` to the default printer; false when
    // the spooler did not take it.
    virtual bool SubmitRawJob(const std::string& title, const std::string& bytes) = 0;
    // Asks a call in progress on another thread to give up soon (the station is closing).
    virtual void Abandon() {}
};
