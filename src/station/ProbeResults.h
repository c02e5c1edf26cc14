#pragma once
// Where each probe message becomes a result: the dispatch decodes it into the current probe
// result held here and says what it means; this applies it under the weighing choices, hands
// results to the current carcass pairing and has what a pairing finishes shown and logged
// through ResultFinishing. Whatever a window would show is told through signals, in the order
// the steps happen. Everything here runs inside the receive tick (or a button's handler), so
// listeners must not wait.

#include "carcass/CarcassPairing.h"
#include "carcass/PendingQueue.h"
#include "probe/ProbeDispatch.h"
#include "station/LogTail.h"
#include "station/ResultFinishing.h"

#include <QDateTime>
#include <QObject>
#include <functional>
#include <string>

class ProbeResults : public QObject {
    Q_OBJECT
public:
    // The weighing choices decide where a probing error belongs.
    ProbeResults(const WeighingState& weighing, ResultFinishing& finishing, QObject* parent = nullptr);

    // The probe result being handled; the pairing takes it when told (probeResultToPair).
    CurrentProbeResult& current() { return current_; }

    // One message from the probe link, type letter first, stamped now; or with the time it was
    // received (a message held through a pause or brought back from the journal).
    void OnProbeMessage(const std::string& message);
    void OnProbeMessageAt(const std::string& message, const QDateTime& received);
    QDateTime Now() const { return clock_(); }
    // While the journal is replayed after a restart: records whose line the log already has are
    // neither shown, printed nor written again. Null: every record goes on.
    void SetAlreadyLogged(LogTail* lines) { alreadyLogged_ = lines; }
    // The station's clock, which stamps every message; a test gives a fixed one.
    void SetClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
    // The current carcass pairing, which takes every probe result and cancel.
    void SetPairing(CarcassPairing& pairing) { pairing_ = &pairing; }

    // A carcass a pairing finished: its line goes to the views (resultLine) and to real-time
    // printing, then the record to the log file. Nothing happens for none.
    void Finish(const FinishedCarcass& finished);

signals:
    // The current carcass window's error label; an empty text clears it.
    void carcassError(const std::string& text);
    // The class, quality, counter and meat % of the current carcass window are emptied.
    void carcassValuesCleared();
    // The current record holds a probe result or a cancel; the current carcass pairing takes it
    // as soon as the listeners have heard of it.
    void probeResultToPair();
    // Status bar panel 1.
    void statusText(const std::string& text);
    // One line for the terminal pane and the grid: black for a measurement, red otherwise.
    void resultLine(const std::string& text, bool isMeasurement);
    // A report of the probe (class summary, service information, clock) for the text window.
    void probeText(const std::string& text);

private:
    // What each meaning of a message does.
    void Apply(const ErrorCleared&) { emit carcassError({}); }
    void Apply(const MeasurementDecoded&) { PairProbeResult(); }
    void Apply(const CarcassCancelled&) { PairProbeResult(); }
    void Apply(const ProbeStatus& status) { emit statusText(status.text); }
    void Apply(const ProbingError& error);
    void Apply(const ProbeReport& report) { emit probeText(report.text); }
    void PairProbeResult();

    void ShowResult(const CarcassMeasurement& record);
    void WriteLogRecord(const CarcassMeasurement& record);

    CurrentProbeResult current_;
    const WeighingState& weighing_;
    ResultFinishing& finishing_;
    CarcassPairing* pairing_ = nullptr;
    LogTail* alreadyLogged_ = nullptr;
    std::function<QDateTime()> clock_ = [] { return QDateTime::currentDateTime(); };
};
