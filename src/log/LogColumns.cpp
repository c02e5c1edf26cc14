#include "log/LogColumns.h"

#include "resources/StringIds.h"
#include "resources/StringTable.h"

std::vector<std::string> LogColumnTitles()
{
    const std::string rz4 = "RZ4 ";
    return {
        ResourceString(StringId::Error),
        ResourceString(StringId::TimeAndDate),
        ResourceString(StringId::Header),
        ResourceString(StringId::Type),
        ResourceString(StringId::CarcassCount),
        ResourceString(StringId::Fat) + " 1",
        ResourceString(StringId::Fat) + " 2",
        ResourceString(StringId::Meat) + " (2)",
        ResourceString(StringId::Intrafat) + " (2)",
        ResourceString(StringId::Thickness) + " 1",
        ResourceString(StringId::Distance) + " 1",
        ResourceString(StringId::Thickness) + " 2",
        ResourceString(StringId::Distance) + " 2",
        ResourceString(StringId::Meat) + " %",
        ResourceString(StringId::Indicator),
        ResourceString(StringId::Class),
        rz4 + ResourceString(StringId::Colour) + " 1",
        rz4 + ResourceString(StringId::Colour) + " 2",
        rz4 + ResourceString(StringId::ColourNumber),
        rz4 + ResourceString(StringId::MinColour) + " 1",
        rz4 + ResourceString(StringId::MinColour) + " 2",
        rz4 + ResourceString(StringId::ColourVariation) + " 1",
        rz4 + ResourceString(StringId::ColourVariation) + " 2",
        rz4 + ResourceString(StringId::Pse),
        ResourceString(StringId::Meat) + " 1",
        ResourceString(StringId::Meat) + " 1 Indicator",
        ResourceString(StringId::Intrafat) + " 1",
        "RZ7 Colour 1",
        "RZ7 Colour 2",
        "RZ7 Colour Grade",
        "RZ7 Marble 1",
        "RZ7 Marble 2",
        "RZ7 Marble Grade",
        "RZ7 PSE Number",
        "RZ7 PSE Ind",
        "RZ7 Serial Number",
        ResourceString(StringId::Weight),
        "RZ7 Tender",
        "RZ7 Tender grade",
        "Comment",
    };
}
