#pragma once
// The station's two pairings of probe results with weights, apart from any window, with what
// each shows held in a display model and the current carcass pairing's one-shot timers.
//
// The current carcass pairing takes every probe result, the Weight button and the weight box of
// the current carcass window; the main pairing takes the scale weights and the main window's
// weight box. Both share the weighing choices, the probe result being handled and
// the one pending queue. The timers are started
// by both: the refresh after a scale weight brings up the next waiting carcass as well.
//
// A weight goes to a pairing through here, so that the carcass it finishes is shown and logged
// by ProbeResults.

#include "carcass/CarcassPairing.h"
#include "carcass/PairingDisplayModel.h"

#include <QObject>
#include <QTimer>

class ProbeResults;

struct StationPairingLinks {
    WeighingState& weighing;
    CurrentProbeResult& result;
    PendingQueue& queue;
    ProbeCommandSink& commands;
    ScaleWeightReader& scale;
    OperatorNotices& notices;
};

class StationPairings : public QObject, private PairingTimers {
    Q_OBJECT
public:
    explicit StationPairings(const StationPairingLinks& links, QObject* parent = nullptr);

    CarcassPairing& current() { return current_; }
    PairingDisplayModel& currentDisplay() { return currentDisplay_; }
    CarcassPairing& main() { return main_; }
    PairingDisplayModel& mainDisplay() { return mainDisplay_; }

    // The dispatch's results go to the current carcass pairing: each probe result and cancel,
    // and the error and emptied values it shows with them. What either pairing finishes goes
    // back to `results` to be shown and logged; until this is called it is dropped.
    void TakeResultsFrom(ProbeResults& results);

    // A scale message has come in, or the Weight button of `window` was pressed.
    void OnWeightArrived(PairingWindow window);
    // The weight box of `window` accepted a typed weight.
    void AcceptTypedWeight(PairingWindow window);

private:
    CarcassPairing& pairing(PairingWindow window) { return window == PairingWindow::Main ? main_ : current_; }
    void Finish(const FinishedCarcass& finished);

    // PairingTimers
    void StartPromptTimer() override { prompt_.start(); }
    void StartRefreshTimer() override { refresh_.start(); }
    void StopRefreshTimer() override { refresh_.stop(); }

    // Named as the old window's timers were.
    QTimer prompt_{this};
    QTimer refresh_{this};
    PairingDisplayModel currentDisplay_;
    PairingDisplayModel mainDisplay_;
    CarcassPairing current_;
    CarcassPairing main_;
    ProbeResults* results_ = nullptr;
};
