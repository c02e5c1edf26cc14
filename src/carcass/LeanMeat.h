#pragma once
// Lean meat % from the probe's depths and the carcass weight, the class letter, and the texts
// in which percentages and weights are shown and stored. No state.

#include "probe/CarcassMeasurement.h"

#include <optional>
#include <string>

// Weights above this use the second row of equation constants; exactly 110 kg uses the first.
inline constexpr double kEquationWeightThreshold = 110.0;

// The lean meat % of fat depth X (fat1) and meat depth Y (meat) at weight W. A fat depth of 0,
// or a fat1 too short to hold one, gives none instead of a division by 0.
std::optional<double> LeanMeatFromProbe(const CarcassMeasurement& record, double weight);

// What a record's Meat % reads when it has none: the probe's own mark.
inline constexpr const char* kNoLeanMeat = "__._";

// Sets a finished record's percentage and class: from the equation at `weight` when chosen,
// else from the probe's percentage. A record without a percentage (a Colour Number sample,
// "__._", a fat depth of 0 under the equation) gets no class: "P" would pay the farmer for the
// leanest class on a carcass nobody classified. Its percentage reads "__._" (or stays empty in a
// record that has no such field).
void ClassifyCarcass(CarcassMeasurement& record, double weight, bool useEquation);

// A record's percentage as the windows show it: empty when it has none.
std::string ShownLeanMeat(const std::string& meatPercent);

// A percentage as shown and stored: rounded half up and cut to one decimal ("56.05" -> "56.1").
// Always one decimal, also when the rounded value is whole ("60.0").
std::string CutToOneDecimal(double leanMeat);

// "S", "E", "U", "R", "O" or "P" by the unrounded percentage (59.97 is "E").
std::string ClassOf(double leanMeat);

// A weight as shown and stored: the integer part right-aligned in three characters, rounded
// half up to two decimals (" 85.40", "  8.46", "123.46"). Always two decimals.
std::string FormatWeight(const std::string& weightText);
