#pragma once
// Pairs each probe result with the weight of the same carcass, in either sequence, through the
// shared ring of ten; works out lean meat % and class, shows the carcass and finishes it.
//
// Two instances, both in the station core (StationPairings): the current carcass window's runs
// every probe result, its Weight button and its weight box; the main window's runs the scale
// weights and its own weight box. Both share the weighing choices, the probe result
// being handled and the one PendingQueue.

#include "carcass/PairingInterfaces.h"
#include "carcass/PendingQueue.h"
#include "probe/CurrentProbeResult.h"
#include "probe/OperatorNotices.h"
#include "weighing/WeighingState.h"

#include <string>

// Every step that can finish a carcass returns it: the caller has it shown and logged.
//
// Which window runs the pairing. The current carcass window shows quality as a whole number,
// empties quality when a weight is stored, tells the probe the first waiting weight's range
// ("950"/"951"), shows the quality of a completed carcass and runs the timers; the main window
// shows colour1 as sent and empties its weight box after every completion. Both empty their
// box once a typed weight has completed a carcass.
enum class PairingWindow { CurrentCarcass, Main };

struct PairingLinks {
    PairingDisplay& display;
    ProbeCommandSink& commands;
    ScaleWeightReader& scale;
    OperatorNotices& notices;
    PairingTimers* timers = nullptr; // current carcass window only
};

class CarcassPairing {
public:
    CarcassPairing(PairingWindow window, WeighingState& weighing, CurrentProbeResult& result, PendingQueue& queue,
                   const PairingLinks& links);

    // A probe result or cancel has just been decoded into the current probe result.
    [[nodiscard]] FinishedCarcass OnProbeResult();
    // A scale message has come in (or the Weight button was pressed): read it through the
    // parser of the current weight source and store or complete with it.
    [[nodiscard]] FinishedCarcass OnWeightArrived();
    // The weight box accepted a typed weight (its range question already answered): stored
    // with weight before probe, completes the oldest waiting result with probe before weight.
    [[nodiscard]] FinishedCarcass AcceptTypedWeight();

    // Puts a formatted weight into the queue; refused while ten wait.
    void StoreWeight(const std::string& formattedWeight);
    // Takes the oldest waiting weight out of the queue.
    std::string TakeWeight();
    // Completes the oldest waiting probe result with weight W (it stays in the queue until
    // FinishCarcass).
    void CompleteWithWeight(double weight);
    [[nodiscard]] FinishedCarcass FinishCarcass();
    // The pending role from the queue's count.
    void ShowQueue();

    // Expiry of the prompt timer: asks the probe to prompt for a weight.
    void OnPromptTimer();
    // Expiry of the refresh timer: shows the oldest waiting half again.
    void OnRefreshTimer();

    // Set when a probe result was refused: the cancel the probe sends for it is ignored.
    bool ignoreNextCancel = false;

private:
    FinishedCarcass FinishWithoutWeight();      // no weight source
    FinishedCarcass PairWithWaitingWeight();    // weight before probe
    FinishedCarcass GiveBackTakenWeight();      // weight before probe, cancel
    void StoreProbeResult();                    // probe before weight
    void StoreScaleWeight();                    // weight before probe, scale
    FinishedCarcass CompleteOldest(bool typed); // probe before weight, scale or weight box
    std::string QualityText(const CarcassMeasurement& record) const;
    void ShowCounterAndQuality(const CarcassMeasurement& record);
    void Show(CarcassRole role, const std::string& text) { links_.display.Show(role, text); }
    void ShowError(int stringId);

    PairingWindow window_;
    WeighingState& weighing_;
    CurrentProbeResult& result_;
    PendingQueue& queue_;
    PairingLinks links_;
};

// Weights are accepted when 0 < W < 200 (kg).
bool WeightInRange(double weight);
