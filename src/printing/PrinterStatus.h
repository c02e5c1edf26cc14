#pragma once
// What the station makes of one look at the default printer: the status text of panel 4, the
// probe's "printing held up" and "printing clear" commands, and the two failure messages.

#include "printing/PrintSpooler.h"

#include <string>

// Conditions of the first job in the queue. The values are those the station has always shown
// in "Unknown Status of ..." texts.
enum class JobCondition : unsigned {
    Paused = 0x1,
    Error = 0x2,
    Deleting = 0x4,
    Spooling = 0x8,
    Printing = 0x10,
    Offline = 0x20,
    PaperOut = 0x40,
    Printed = 0x80,
    UserIntervention = 0x400,
};

// The conditions of the queue's first job (its state and the printer's), or-ed; 0 for none or
// an empty queue.
unsigned FirstJobConditions(const SpoolerQueue& queue);

// What the probe is told about the printer.
enum class ProbePrinterNotice {
    None,
    PrintingHeldUp, // jobs pile up or the printer does not take them
    PrintingClear,  // the queue is empty again
};
// The probe command of a notice: "P01", "P02", or empty.
std::string ProbeCommandText(ProbePrinterNotice notice);

struct PrinterStatusStep {
    bool showStatus = false; // false: panel 4 keeps what it shows
    std::string statusText;  // as the station writes it, line end included where it has one
    ProbePrinterNotice notice = ProbePrinterNotice::None;
    std::string operatorMessage; // empty: nothing to tell the operator
};

// Panel 4 while the spooler or the default printer cannot be reached.
inline const char* const kPrinterUnreachableText = "Printer unreachable";

// The status poll's memory between ticks: the two "reported" flags and the fault last told.
class PrinterStatusPoll {
public:
    PrinterStatusStep Evaluate(const SpoolerQueue& queue);

    bool printerBacklogReported() const { return backlogReported_; }
    bool printerOfflineReported() const { return offlineReported_; }

private:
    bool backlogReported_ = false;
    bool offlineReported_ = false;
    // A failure is told once when it begins, not on every 100 ms tick while it lasts.
    SpoolerQueue::Outcome lastOutcome_ = SpoolerQueue::Outcome::Read;
};
