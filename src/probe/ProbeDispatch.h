#pragma once
// Sorting each probe message by its type letter: decode measurements into the current record and
// hand them to the pairing, show status and probing errors, and build the probe's report texts.

#include "probe/CarcassMeasurement.h"
#include "probe/CurrentProbeResult.h"
#include "weighing/WeighingState.h"

#include <QDateTime>
#include <string>

// What the dispatch asks for: the station core (ProbeResults) writes the log and tells the
// windows the rest.
class DispatchTarget {
public:
    virtual ~DispatchTarget() = default;
    // The error label of the current carcass window (empty text clears it).
    virtual void SetCarcassError(const std::string& text) = 0;
    // Empties the class, quality, counter and meat % labels of the current carcass window.
    virtual void ClearCarcassValues() = 0;
    // Hands the current record to the current carcass window's pairing.
    virtual void PairProbeResult() = 0;
    virtual void SetStatusPanel1(const std::string& text) = 0;
    virtual void AppendToResultView(const std::string& text, bool isMeasurement) = 0;
    virtual void WriteLogRecord(const CarcassMeasurement& record) = 0;
    // Shows a report of the probe in the text window.
    virtual void ShowProbeText(const std::string& text) = 0;
};

// "hh:mm:ss  dd-mm-yyyy", the station's own time stamp.
std::string StationTimeDate(const QDateTime& now);

// The texts of the probe's class summary ("D"), service information ("N") and clock ("U").
std::string ClassSummaryDumpText(const std::string& message, const QDateTime& now);
std::string ServiceInformationText(const std::string& message, const QDateTime& now);
std::string ProbeClockText(const std::string& message, const QDateTime& now);

// One message from the link, type letter first, decoded into `result`; the weighing choices
// decide where a probing error belongs. `now` is the station's clock.
void DispatchProbeMessage(const std::string& message, CurrentProbeResult& result, const WeighingState& weighing,
                          DispatchTarget& target, const QDateTime& now);
