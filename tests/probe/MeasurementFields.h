#pragma once
// The text fields of a measurement by name, so tests can walk and compare all of them.

#include "probe/CarcassMeasurement.h"

#include <array>
#include <string>
#include <string_view>

struct NamedField {
    std::string_view name;
    std::string CarcassMeasurement::*member;
};

// clang-format off
#define TALLION_FIELD(f) NamedField{#f, &CarcassMeasurement::f}
inline constexpr std::array<NamedField, 38> kMeasurementTextFields = {
    TALLION_FIELD(carcassType), TALLION_FIELD(carcassCount), TALLION_FIELD(fat1), TALLION_FIELD(fat2),
    TALLION_FIELD(meat), TALLION_FIELD(meat1), TALLION_FIELD(meat1Indicator), TALLION_FIELD(intrafat),
    TALLION_FIELD(intrafat1), TALLION_FIELD(thickness1), TALLION_FIELD(distance1), TALLION_FIELD(thickness2),
    TALLION_FIELD(distance2), TALLION_FIELD(meatPercent), TALLION_FIELD(indicator), TALLION_FIELD(carcassClass),
    TALLION_FIELD(colour1), TALLION_FIELD(colour2), TALLION_FIELD(colourNumber), TALLION_FIELD(minColour1),
    TALLION_FIELD(minColour2), TALLION_FIELD(colourVariation1), TALLION_FIELD(colourVariation2), TALLION_FIELD(pse),
    TALLION_FIELD(rz7Colour1), TALLION_FIELD(rz7Colour2), TALLION_FIELD(rz7ColourGrade), TALLION_FIELD(rz7Marble1),
    TALLION_FIELD(rz7Marble2), TALLION_FIELD(rz7MarbleGrade), TALLION_FIELD(rz7PseNumber),
    TALLION_FIELD(rz7PseIndicator), TALLION_FIELD(rz7Tender), TALLION_FIELD(rz7TenderGrade), TALLION_FIELD(weight),
    TALLION_FIELD(alertText), TALLION_FIELD(comment), TALLION_FIELD(serialNumber),
};
// clang-format on
#undef TALLION_FIELD

// A message of `length` bytes of '#', with each text written from its 1-based position.
inline std::string PlaceFields(std::size_t length, std::initializer_list<std::pair<int, std::string_view>> parts)
{
    std::string message(length, '#');
    for (const auto& [position, text] : parts)
        message.replace(position - 1, text.size(), text);
    message.resize(length, '#');
    return message;
}
