#pragma once
// Sample records for the log tests. Every field holds the name of its log column ("c5" for
// column 5), so a value that lands in the wrong column shows at once.

#include "probe/CarcassMeasurement.h"

#include <string>

namespace logtest {

// The header line of every new log file, as an operator's spreadsheet sees it.
inline const std::string kHeader =
    "Error\tTime & Date\tHeader\tType\tCarcass Count\tFat 1\tFat 2\tMeat (2)\tIntrafat (2)\t"
    "Thickness 1\tDistance 1\tThickness 2\tDistance 2\tMeat %\tIndicator\tClass\t"
    "RZ4 Colour 1\tRZ4 Colour 2\tRZ4 Colour Number\tRZ4 Min Colour 1\tRZ4 Min Colour 2\t"
    "RZ4 Colour Variation 1\tRZ4 Colour Variation 2\tRZ4 PSE\tMeat 1\tMeat 1 Indicator\t"
    "Intrafat 1\tRZ7 Colour 1\tRZ7 Colour 2\tRZ7 Colour Grade\tRZ7 Marble 1\tRZ7 Marble 2\t"
    "RZ7 Marble Grade\tRZ7 PSE Number\tRZ7 PSE Ind\tRZ7 Serial Number\tWeight\tRZ7 Tender\t"
    "RZ7 Tender grade\tComment\t\r\n";

inline CarcassMeasurement ColumnNamedRecord(char kind)
{
    CarcassMeasurement r;
    r.kind = kind;
    r.timeDate = "c1";
    r.carcassType = "c3";
    r.carcassCount = "c4";
    r.fat1 = "c5";
    r.fat2 = "c6";
    r.meat = "c7";
    r.intrafat = "c8";
    r.thickness1 = "c9";
    r.distance1 = "c10";
    r.thickness2 = "c11";
    r.distance2 = "c12";
    r.meatPercent = "c13";
    r.indicator = "c14";
    r.carcassClass = "c15";
    r.colour1 = "c16";
    r.colour2 = "c17";
    r.colourNumber = "c18";
    r.minColour1 = "c19";
    r.minColour2 = "c20";
    r.colourVariation1 = "c21";
    r.colourVariation2 = "c22";
    r.pse = "c23";
    r.meat1 = "c24";
    r.meat1Indicator = "c25";
    r.intrafat1 = "c26";
    r.rz7Colour1 = "c27";
    r.rz7Colour2 = "c28";
    r.rz7ColourGrade = "c29";
    r.rz7Marble1 = "c30";
    r.rz7Marble2 = "c31";
    r.rz7MarbleGrade = "c32";
    r.rz7PseNumber = "c33";
    r.rz7PseIndicator = "c34";
    r.serialNumber = "c35";
    r.weight = "c36";
    r.rz7Tender = "c37";
    r.rz7TenderGrade = "c38";
    r.comment = "cm";
    return r;
}

// A plain finished result as the probe sends it.
inline CarcassMeasurement Result(const std::string& counter)
{
    CarcassMeasurement r;
    r.kind = 'E';
    r.timeDate = "08:15:02  14-03-2024";
    r.carcassType = "1";
    r.carcassCount = counter;
    r.fat1 = " 14.2";
    r.meat = " 55.0";
    r.meatPercent = " 58.3";
    r.carcassClass = "E";
    return r;
}

inline CarcassMeasurement Cancel(const std::string& counter)
{
    CarcassMeasurement r = Result("000001");
    r.kind = 'C';
    r.alertText = "Cancel      " + counter;
    return r;
}

} // namespace logtest
