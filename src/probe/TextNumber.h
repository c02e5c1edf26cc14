#pragma once
// Numbers as the station reads and writes them in texts: weights from scales and operators,
// percentages and depths from records.

#include <optional>
#include <string>
#include <string_view>

// The number at the start of a text: leading spaces are skipped, then an optional sign, digits
// and at most one "." are read up to the first other character. No number gives 0.
double NumberInText(const std::string& text);
// The same reading on a view, for scanning large logs without building a string per value;
// nullopt when there is no digit at all (the probe's "__._", an empty value).
std::optional<double> NumberAtStart(std::string_view text);
// A lean meat % as stored: nullopt when there is none, that is an empty value, the probe's "__._"
// or 0 (older logs stored "0.0" with class "P" for a carcass the equation could not work out).
std::optional<double> LeanMeatIn(std::string_view meatPercent);

// The shortest plain decimal text of a value: at most 15 significant digits, "." as decimal
// mark, no exponent and no trailing zeros (12.5, 80, 0, 0.00001).
std::string PlainNumberText(double value);
