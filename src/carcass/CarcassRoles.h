#pragma once
// How a record's values are written into the current carcass window's labels.

#include <string>

// The probe's counter without its leading zeros ("000123" -> "123"); all zeros stay "0" so the
// label never looks empty for a real carcass.
std::string CounterRoleText(const std::string& carcassCount);

// The colour quality as a whole number: leading spaces removed.
std::string QualityRoleText(const std::string& colour1);
