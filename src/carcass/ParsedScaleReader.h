#pragma once
// The pairing's view of the scale: the last scale message read through the parser of the weight
// source, with the options the operator set up on the main window.

#include "carcass/PairingInterfaces.h"
#include "weighing/ScaleOptions.h"

#include <string>

class ParsedScaleReader : public ScaleWeightReader {
public:
    // Both are read at each call, so a new message or a changed option counts at once.
    ParsedScaleReader(const std::string& scaleMessage, const ScaleOptions& options)
        : message_(scaleMessage)
        , options_(options)
    {}

    ScaleReading ReadScaleWeight(WeightSource source) override;

private:
    const std::string& message_;
    const ScaleOptions& options_;
};
