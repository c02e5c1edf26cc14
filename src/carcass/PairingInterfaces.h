#pragma once
// What the pairing needs around it: where it shows things (a display model in the core, which
// the windows follow), the probe's command ring, the scale and its timers.

#include "weighing/WeightSource.h"

#include <string>

// The values each window shows for the carcass being paired.
enum class CarcassRole {
    Counter,     // the probe's counter without leading zeros
    Quality,     // colour1 (a whole number in the current carcass window)
    Class,       // the class letter
    MeatPercent, // the meat %
    Weight,      // the weight that belongs to the shown carcass
    WeightInput, // the weight just read from the scale or being typed
    Error,       // the last error or status text of the pairing
    Pending,     // the number of waiting halves, empty for none
};

class PairingDisplay {
public:
    virtual ~PairingDisplay() = default;
    // Writes a role (empty text empties it). The weight input keeps its caret at the end.
    virtual void Show(CarcassRole role, const std::string& text) = 0;
    // What the weight input box holds now, as typed or as last shown.
    virtual std::string WeightInputText() const = 0;
    // Status bar panel 1 of the main window.
    virtual void SetStatusPanel1(const std::string& text) = 0;
    // Manual input: the weight box takes keys again and gets the focus.
    virtual void EnableWeightInput() = 0;
};

// The link's command ring (QueueProbeCommand).
class ProbeCommandSink {
public:
    virtual ~ProbeCommandSink() = default;
    virtual void QueueProbeCommand(const std::string& text) = 0;
};

// The last scale message read through the parser of the current model.
struct ScaleReading {
    std::string weightText; // empty: the parser refused the message
    std::string errorText;  // the parser's own error for the error role (may be empty)
    bool Refused() const { return weightText.empty(); }
};

class ScaleWeightReader {
public:
    virtual ~ScaleWeightReader() = default;
    // Only asked for the scale models (Mettler-Toledo, Wedderburn, Generic, EV2000, TU9000).
    virtual ScaleReading ReadScaleWeight(WeightSource source) = 0;
};

// The current carcass pairing's one-shot timers; their expiry calls OnPromptTimer and
// OnRefreshTimer of that pairing. The main pairing starts them too.
class PairingTimers {
public:
    static constexpr int kPromptMs = 1000;
    static constexpr int kRefreshMs = 2000;

    virtual ~PairingTimers() = default;
    virtual void StartPromptTimer() = 0;
    virtual void StartRefreshTimer() = 0;
    virtual void StopRefreshTimer() = 0;
};
