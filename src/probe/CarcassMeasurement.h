#pragma once
// One decoded probe message. Every value is kept as the text that is shown and logged.

#include <string>

struct CarcassMeasurement {
    std::string timeDate; // "hh:mm:ss  dd-mm-yyyy"
    char kind = '\0';     // the message type letter

    // The 38 text fields, in their declared order.
    std::string carcassType;
    std::string carcassCount;
    std::string fat1;
    std::string fat2;
    std::string meat;
    std::string meat1;
    std::string meat1Indicator;
    std::string intrafat;
    std::string intrafat1;
    std::string thickness1;
    std::string distance1;
    std::string thickness2;
    std::string distance2;
    std::string meatPercent;
    std::string indicator;
    std::string carcassClass;
    std::string colour1;
    std::string colour2;
    std::string colourNumber;
    std::string minColour1;
    std::string minColour2;
    std::string colourVariation1;
    std::string colourVariation2;
    std::string pse;
    std::string rz7Colour1;
    std::string rz7Colour2;
    std::string rz7ColourGrade;
    std::string rz7Marble1;
    std::string rz7Marble2;
    std::string rz7MarbleGrade;
    std::string rz7PseNumber;
    std::string rz7PseIndicator;
    std::string rz7Tender;
    std::string rz7TenderGrade;
    std::string weight;
    std::string alertText;
    std::string comment;
    std::string serialNumber;

    // Empties the 38 text fields; timeDate and kind stay as the dispatch set them.
    void ClearTextFields()
    {
        const std::string keepTime = timeDate;
        const char keepKind = kind;
        *this = CarcassMeasurement{};
        timeDate = keepTime;
        kind = keepKind;
    }

    bool operator==(const CarcassMeasurement&) const = default;
};
