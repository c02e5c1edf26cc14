#pragma once
// Typing a weight into a weight box (txtWeight of the main window, LEDWeight of the current
// carcass window): each window owns one of these for its box and does what a key press returns.

#include <optional>
#include <string>

// What the window does with one key typed into its weight box.
struct WeightKeyResult {
    // The box's text before the key takes effect; when `boxChanged`, the window sets it and puts
    // the caret at its end.
    std::string boxText;
    bool boxChanged = false;
    // The box still handles the key as usual (inserts the character, Backspace deletes);
    // false for Enter.
    bool passKeyOn = true;
    // Set: the error display shows this text (the empty text clears it). Unset: left as it is.
    std::optional<std::string> errorText;
    // Set: this weight text is accepted (stored, or completes the oldest probe result).
    std::optional<std::string> acceptedWeight;
};

class ManualWeightEntry {
public:
    static constexpr int kEnter = 13;
    static constexpr int kBackspace = 8;

    // `key` is the character code of the key (Latin-1), 13 for Enter, 8 for Backspace.
    // `boxText` is the box's text before the key.
    WeightKeyResult KeyPress(const std::string& boxText, int key);

    // An out-of-range weight waits for a second Enter.
    bool weightConfirmPending() const { return weightConfirmPending_; }
    void Reset() { weightConfirmPending_ = false; }

private:
    bool weightConfirmPending_ = false;
};

// The Help button's text: the accepted range and how to confirm a weight outside it.
std::string WeightLimitsHelpText();
