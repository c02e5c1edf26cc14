// Typing weights into a weight box: the decimal comma, the minus sign, Enter and the
// confirmation of unusual weights.

#include "weighing/ManualWeightEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A weight box as the window keeps it: the caret at the end, keys typed one by one.
struct WeightBox {
    ManualWeightEntry entry;
    std::string text;
    std::string error = "(untouched)";
    std::vector<std::string> accepted;

    void Type(const std::string& keys)
    {
        for (char key : keys) {
            const WeightKeyResult r = entry.KeyPress(text, static_cast<unsigned char>(key));
            if (r.boxChanged)
                text = r.boxText;
            EXPECT_EQ(text, r.boxText) << "an unchanged box must come back as it was";
            if (r.errorText)
                error = *r.errorText;
            if (r.acceptedWeight)
                accepted.push_back(*r.acceptedWeight);
            if (r.passKeyOn) {
                if (key == '\b') {
                    if (!text.empty())
                        text.pop_back();
                } else {
                    text += key;
                }
            }
        }
    }
};

} // namespace

TEST(ManualWeightEntry, KeysTypedIntoAWeightBox)
{
    // "\r" is Enter, "\b" Backspace.
    const struct {
        const char* name;
        const char* before; // the box's text before the keys
        const char* keys;
        const char* box;
        const char* error;
        std::vector<std::string> accepted;
        bool pending;
    } cases[] = {
        {"comma becomes the decimal mark", "", "85,4\r", "85.4", "", {"85.4"}, false},
        {"usual weight at once", "", "92.1\r", "92.1", "", {"92.1"}, false},
        {"70 is usual", "", "70\r", "70", "", {"70"}, false},
        {"155 is usual", "", "155\r", "155", "", {"155"}, false},
        {"light weight asks", "", "65\r", "65", "Valid weight?", {}, true},
        {"second Enter accepts", "", "65\r\r", "65", "Valid weight?", {"65"}, false},
        {"another key cancels the question", "", "65\r0", "650", "Valid weight?", {}, false},
        {"cancelled, then Enter judges anew", "", "65\r0\r", "", "Invalid weight", {}, false},
        {"69.9 asks", "", "69.9\r", "69.9", "Valid weight?", {}, true},
        {"155.1 asks", "", "155.1\r", "155.1", "Valid weight?", {}, true},
        {"199.9 asks", "", "199.9\r", "199.9", "Valid weight?", {}, true},
        {"200 is refused", "", "200\r", "", "Invalid weight", {}, false},
        {"250 is refused", "", "250\r", "", "Invalid weight", {}, false},
        {"0 is refused", "", "0\r", "", "Invalid weight", {}, false},
        {"no number is refused", "", "kg\r", "", "Invalid weight", {}, false},
        {"minus empties the box at the next key", "", "-85", "85", "", {}, false},
        {"minus then Enter: empty box, nothing happens", "", "-\r", "", "", {}, false},
        {"Enter on an empty box", "", "\r", "", "(untouched)", {}, false},
        {"a key clears the error", "", "250\r8", "8", "", {}, false},
        {"Backspace clears the error", "", "250\r\b", "", "", {}, false},
        {"a comma inside the text is not cut short", "85,4", "\r", "85.4", "(untouched)", {"85.4"}, false},
        {"Backspace after a comma", "", "85,\b", "85", "", {}, false},
    };
    for (const auto& c : cases) {
        WeightBox box;
        box.text = c.before;
        box.Type(c.keys);
        EXPECT_EQ(box.text, c.box) << c.name;
        EXPECT_EQ(box.error, c.error) << c.name;
        EXPECT_EQ(box.accepted, c.accepted) << c.name;
        EXPECT_EQ(box.entry.weightConfirmPending(), c.pending) << c.name;
    }
}

TEST(ManualWeightEntry, HelpTextNamesBothRanges)
{
    EXPECT_EQ(WeightLimitsHelpText(), "Less than 1Kg and more than 199Kg are not accepted.\r\n"
                                      "If outside range (70..155Kg) then enter valid weight, or confirm with <Enter>.");
}
