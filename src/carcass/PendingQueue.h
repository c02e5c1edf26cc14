#pragma once
// The ring of ten half-processed carcasses between the weighing and the probing station, shared
// by the main window and the current carcass window, and the steps on it that are not a window's.

#include "probe/CarcassMeasurement.h"
#include "weighing/WeighingState.h"

#include <array>
#include <optional>
#include <string>

struct PendingQueue {
    static constexpr int kSlots = 10;

    // Only one of the two is in use, chosen by the sequence; indices and count are shared.
    std::array<std::string, kSlots> weights;          // formatted weights (weight before probe)
    std::array<CarcassMeasurement, kSlots> carcasses; // probe results (probe before weight)
    int writeIndex = 0;
    int readIndex = 0;
    int count = 0;

    // The slot of the last weight a probe result took still holds that weight, and no cancel
    // has given it back yet: only then can a cancel of that carcass return it.
    bool takenWeightReturnable = false;

    static int After(int slot) { return (slot + 1) % kSlots; }
    static int Before(int slot) { return (slot + kSlots - 1) % kSlots; }

    bool Full() const { return count >= kSlots; }
    bool Empty() const { return count <= 0; }

    // Forgets every waiting half; the slots keep their texts.
    void ResetPendingQueue()
    {
        count = writeIndex = readIndex = 0;
        takenWeightReturnable = false;
    }
};

// The pending role: the count in decimal, empty for none.
std::string PendingText(int count);

// True while a weight source is chosen and halves wait: the log-file chooser and the class
// summary refuse their work then, since those carcasses are not in the log yet.
bool CarcassesHalfProcessed(const WeighingState& weighing, const PendingQueue& queue);

// A carcass a pairing step finished, for the station to show and log; nothing when the step
// finished none.
using FinishedCarcass = std::optional<CarcassMeasurement>;

// The finishing step both windows share: the current record without a weight source or with
// weight before probe; otherwise the oldest waiting probe result, which leaves the queue. Returns
// the record to show and log, nothing when no probe result waits.
[[nodiscard]] FinishedCarcass FinishCarcass(const WeighingState& weighing, const CarcassMeasurement& current,
                                            PendingQueue& queue);

// What the window does after a sequence change: store the value, set the error box's tooltip.
struct SequenceChange {
    static constexpr const char* kSettingKey = "WgtPrbOrder";
    std::string settingValue; // "1" weight before probe, "0" probe before weight
    std::string errorToolTip; // who reads the error box in this sequence
};

// The Sequence menu: switches to `weightBeforeProbe` and drops every waiting half (unlogged).
// Nothing happens, and nullopt comes back, when that sequence is already the current one.
std::optional<SequenceChange> ChangeSequence(WeighingState& weighing, PendingQueue& queue, bool weightBeforeProbe);
