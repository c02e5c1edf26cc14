#pragma once
// Lean meat % from the probe's depths and the carcass weight, the class letter, and the texts
// in which percentages and weights are shown and stored. No state.

#include "probe/CarcassMeasurement.h"

#include <string>

// Weights above this use the second row of equation constants; exactly 110 kg uses the first.
inline constexpr double kEquationWeightThreshold = 110.0;

// The lean meat % of fat depth X (fat1) and meat depth Y (meat) at weight W. A fat depth of 0,
// or a fat1 too short to hold one, gives 0 (shown "0.0", class "P") instead of a division by 0.
double LeanMeatFromProbe(const CarcassMeasurement& record, double weight);

// A percentage as shown and stored: rounded half up and cut to one decimal ("56.05" -> "56.1").
// Always one decimal, also when the rounded value is whole ("60.0").
std::string CutToOneDecimal(double leanMeat);

// "S", "E", "U", "R", "O" or "P" by the unrounded percentage (59.97 is "E").
std::string ClassOf(double leanMeat);

// A weight as shown and stored: the integer part right-aligned in three characters, rounded
// half up to two decimals (" 85.40", "  8.46", "123.46"). Always two decimals.
std::string FormatWeight(const std::string& weightText);
