#pragma once
// Sorting each probe message by its type letter: decode measurements into the current record,
// and say what the message means for the station, which decides what to show, pair and log.

#include "probe/CarcassMeasurement.h"
#include "probe/CurrentProbeResult.h"

#include <QDateTime>
#include <string>
#include <variant>
#include <vector>

// A new measurement replaces whatever error the current carcass window shows.
struct ErrorCleared {};
// The current record holds a new probe result, for the pairing to take.
struct MeasurementDecoded {};
// The current record holds the probe's cancel: the previous values with kind, time and alert.
struct CarcassCancelled {};
// A status text of the probe for status bar panel 1.
struct ProbeStatus {
    std::string text;
};
// The probe failed to measure: its text is not yet in the record, where it belongs depends on
// the weighing.
struct ProbingError {
    std::string text;
};
// A report of the probe (class summary, service information, clock) for the text window.
struct ProbeReport {
    std::string text;
};

using ProbeEvent =
    std::variant<ErrorCleared, MeasurementDecoded, CarcassCancelled, ProbeStatus, ProbingError, ProbeReport>;

// "hh:mm:ss  dd-mm-yyyy", the station's own time stamp.
std::string StationTimeDate(const QDateTime& now);

// The texts of the probe's class summary ("D"), service information ("N") and clock ("U").
std::string ClassSummaryDumpText(const std::string& message, const QDateTime& now);
std::string ServiceInformationText(const std::string& message, const QDateTime& now);
std::string ProbeClockText(const std::string& message, const QDateTime& now);

// One message from the link, type letter first, decoded into `result` and stamped with `now`,
// the station's clock. Returns what it means, in the order the station is to apply it; nothing
// for an empty message or an unknown letter.
std::vector<ProbeEvent> DispatchProbeMessage(const std::string& message, CurrentProbeResult& result,
                                             const QDateTime& now);
