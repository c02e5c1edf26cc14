#include "weighing/ManualWeightEntry.h"

#include "probe/TextNumber.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

#include <algorithm>

namespace {

// Weights typed with Enter: refused outside this range, confirmed outside the usual one.
constexpr double kLowestRefused = 0;
constexpr double kHighestRefused = 200;
constexpr double kUsualLowest = 70;
constexpr double kUsualHighest = 155;

} // namespace

WeightKeyResult ManualWeightEntry::KeyPress(const std::string& boxText, int key)
{
    WeightKeyResult result;
    result.boxText = boxText;
    result.passKeyOn = key != kEnter;

    // A comma typed at the previous key is the decimal mark. Every comma turns into ".", so a
    // comma that is not the last character cannot cut the weight short.
    if (result.boxText.find(',') != std::string::npos) {
        std::replace(result.boxText.begin(), result.boxText.end(), ',', '.');
        result.boxChanged = true;
    }
    // No weight is negative: a minus sign starts the entry afresh.
    if (result.boxText.find('-') != std::string::npos) {
        result.boxText.clear();
        result.boxChanged = true;
    }

    if (weightConfirmPending_) {
        // The second Enter confirms; any other key cancels the confirmation and is typed as usual.
        weightConfirmPending_ = false;
        if (key == kEnter)
            result.acceptedWeight = result.boxText;
        return result;
    }

    if (key != kEnter) {
        result.errorText = std::string();
        return result;
    }
    if (result.boxText.empty())
        return result;
    const double weight = NumberInText(result.boxText);
    if (weight > kLowestRefused && weight < kHighestRefused) {
        if (weight >= kUsualLowest && weight <= kUsualHighest) {
            result.acceptedWeight = result.boxText;
        } else {
            result.errorText = ResourceString(StringId::ValidWeightQuestion); // "Valid weight?"
            weightConfirmPending_ = true;
        }
    } else {
        result.boxText.clear();
        result.boxChanged = true;
        result.errorText = ResourceString(StringId::InvalidWeight); // "Invalid weight"
    }
    return result;
}

std::string WeightLimitsHelpText()
{
    return ResourceString(StringId::WeightOutOfLimits) + "\r\n" + ResourceString(StringId::WeightOutsideRange);
}
