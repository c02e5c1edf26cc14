#pragma once
// The operator's weighing choices as they stand: where weights come from, which comes first,
// whether the weight enters the equation, and whether the probe was asked for a weight.

#include "weighing/WeightSource.h"

#include <string>

struct WeighingState {
    WeightSource weightSource = WeightSource::NoWeight;
    bool weightBeforeProbe = true;
    bool useWeightInEquation = false;
    bool weightPromptShown = false;
    // Every weight leaves the weighing with this mark (a typed or sent "," becomes it).
    std::string decimalMark = ".";
};
