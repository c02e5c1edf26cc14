#pragma once
// The ring of six probe commands waiting for the probe's command polls.

#include <array>
#include <string>

struct CommandQueue {
    static constexpr int kSlots = 6;

    // The ring's slots ("slots" is taken by Qt's keywords).
    std::array<std::string, kSlots> slotTexts;
    int writeIndex = 0;
    int readIndex = 0;
    int count = 0;

    // Queues one command (without framing); a full ring drops it silently.
    void QueueProbeCommand(const std::string& text)
    {
        if (count >= kSlots)
            return;
        slotTexts[writeIndex] = text;
        writeIndex = (writeIndex + 1) % kSlots;
        ++count;
    }

    // Forgets everything and loads the start-up commands: "0", quality data on, RZ4 mode.
    void ResetCommandQueue()
    {
        slotTexts[0] = "0";
        slotTexts[1] = "A1";
        slotTexts[2] = "I1";
        count = 3;
        writeIndex = 3;
        readIndex = 0;
    }

    // Takes the oldest command; only called when count > 0.
    std::string TakeNext()
    {
        std::string text = slotTexts[readIndex];
        readIndex = (readIndex + 1) % kSlots;
        --count;
        return text;
    }

    void Clear() { writeIndex = readIndex = count = 0; }
};
