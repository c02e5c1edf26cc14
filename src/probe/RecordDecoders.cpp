#include "probe/RecordDecoders.h"

#include "probe/FieldConversions.h"

#include <initializer_list>

namespace {

using ProbeFields::FillRule;
using Field = std::string CarcassMeasurement::*;

enum class Conversion { Text, Tenths, Percent, IntegerA, IntegerB, IntegerC, Marked, Whole, Tender };

// One field of a layout: where it comes from and how it is written. `mark` is the indicator
// position of a Marked field.
struct FieldLayout {
    Field field;
    Conversion conversion;
    int first;
    int last;
    int mark = 0;
};

using Layout = std::initializer_list<FieldLayout>;
using enum Conversion;
using M = CarcassMeasurement;

std::string Convert(const std::string& message, const FieldLayout& f)
{
    switch (f.conversion) {
    case Text: return ProbeFields::Text(message, f.first, f.last);
    case Tenths: return ProbeFields::Tenths(message, f.first, f.last);
    case Percent: return ProbeFields::Percent(message, f.first, f.last);
    case IntegerA: return ProbeFields::Integer(message, f.first, f.last, FillRule::A);
    case IntegerB: return ProbeFields::Integer(message, f.first, f.last, FillRule::B);
    case IntegerC: return ProbeFields::Integer(message, f.first, f.last, FillRule::C);
    case Marked: return ProbeFields::Marked(message, f.first, f.last, f.mark);
    case Whole: return ProbeFields::Whole(message, f.first, f.last);
    case Tender: return ProbeFields::Tender(message, f.first, f.last);
    }
    return {};
}

void Fill(const std::string& message, CarcassMeasurement& record, Layout layout)
{
    record.ClearTextFields();
    for (const FieldLayout& f : layout)
        record.*(f.field) = Convert(message, f);
}

// The probe's time replaces the station's once the message reaches `threshold` characters,
// and only when all six digits arrived; a cut-off time would corrupt the log's time stamp.
void TakeProbeTime(const std::string& message, CarcassMeasurement& record, std::size_t threshold, int first,
                   const QDate& stationDate)
{
    if (message.size() < threshold)
        return;
    std::string probeTime = ProbeFields::ProbeTime(message, first, stationDate);
    if (!probeTime.empty())
        record.timeDate = std::move(probeTime);
}

// The RZ7 clock always replaces the station's time when it is wholly present.
void TakeProbeDateTime(const std::string& message, CarcassMeasurement& record, int first, const QDate& stationDate)
{
    std::string probeTime = ProbeFields::ProbeDateTime(message, first, stationDate);
    if (!probeTime.empty())
        record.timeDate = std::move(probeTime);
}

} // namespace

void DecodeBasicRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate)
{
    // clang-format off
    Fill(message, record, {
        {&M::carcassType, Text, 2, 3},
        {&M::carcassCount, Text, 4, 9},
        {&M::fat1, Marked, 10, 13, 33},
        {&M::meat, Marked, 14, 17, 34},
        {&M::intrafat, Tenths, 18, 21},
        {&M::thickness1, Tenths, 22, 25},
        {&M::distance1, Tenths, 26, 29},
        {&M::meatPercent, Percent, 30, 32},
        {&M::indicator, Text, 33, 34},
        {&M::carcassClass, Text, 35, 35},
    });
    // clang-format on
    TakeProbeTime(message, record, 42, 36, stationDate);
}

void DecodeColourRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate)
{
    // clang-format off
    Fill(message, record, {
        {&M::carcassType, Text, 2, 3},
        {&M::carcassCount, Text, 4, 9},
        {&M::fat1, Marked, 10, 13, 33},
        {&M::meat, Marked, 14, 17, 34},
        {&M::intrafat, Tenths, 18, 21},
        {&M::thickness1, Tenths, 22, 25},
        {&M::distance1, Tenths, 26, 29},
        {&M::meatPercent, Percent, 30, 32},
        {&M::indicator, Text, 33, 34},
        {&M::carcassClass, Text, 35, 35},
        {&M::colour1, IntegerA, 36, 38},
        {&M::colourNumber, IntegerA, 40, 42},
        {&M::minColour1, IntegerB, 44, 46},
        {&M::colourVariation1, Tenths, 48, 51},
        {&M::pse, Text, 52, 52},
    });
    // clang-format on
    TakeProbeTime(message, record, 53, 53, stationDate);
}

void DecodeTwoSiteRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate)
{
    // clang-format off
    Fill(message, record, {
        {&M::carcassType, Text, 2, 3},
        {&M::carcassCount, Text, 4, 9},
        {&M::fat1, Marked, 10, 13, 45},
        {&M::fat2, Marked, 14, 17, 46},
        {&M::meat, Marked, 18, 21, 47},
        {&M::intrafat, Tenths, 22, 25},
        {&M::thickness1, Tenths, 26, 29},
        {&M::distance1, Tenths, 30, 33},
        {&M::thickness2, Tenths, 34, 37},
        {&M::distance2, Tenths, 38, 41},
        {&M::meatPercent, Percent, 42, 44},
        {&M::indicator, Text, 45, 47},
        {&M::carcassClass, Text, 48, 48},
    });
    // clang-format on
    TakeProbeTime(message, record, 49, 49, stationDate);
}

void DecodeTwoSiteColourRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate)
{
    // clang-format off
    Fill(message, record, {
        {&M::carcassType, Text, 2, 3},
        {&M::carcassCount, Text, 4, 9},
        {&M::fat1, Marked, 10, 13, 45},
        {&M::fat2, Marked, 14, 17, 46},
        {&M::meat, Marked, 18, 21, 47},
        {&M::intrafat, Tenths, 22, 25},
        {&M::thickness1, Tenths, 26, 29},
        {&M::distance1, Tenths, 30, 33},
        {&M::thickness2, Tenths, 34, 37},
        {&M::distance2, Tenths, 38, 41},
        {&M::meatPercent, Percent, 42, 44},
        {&M::indicator, Text, 45, 47},
        {&M::carcassClass, Text, 48, 48},
        {&M::colour1, IntegerC, 49, 51},
        {&M::colour2, IntegerC, 53, 55},
        {&M::colourNumber, IntegerB, 57, 59},
        {&M::minColour2, IntegerB, 61, 63},
        {&M::colourVariation1, Tenths, 65, 68},
        {&M::colourVariation2, Tenths, 69, 72},
        {&M::pse, Text, 73, 75},
    });
    // clang-format on
    TakeProbeTime(message, record, 76, 76, stationDate);
}

void DecodeSingleSiteQualityRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate)
{
    // clang-format off
    Fill(message, record, {
        {&M::carcassType, Text, 2, 3},
        {&M::carcassCount, Text, 4, 9},
        {&M::fat1, Marked, 10, 13, 33},
        {&M::meat, Marked, 14, 17, 34},
        {&M::intrafat, Tenths, 18, 21},
        {&M::thickness1, Tenths, 22, 25},
        {&M::distance1, Tenths, 26, 29},
        {&M::meatPercent, Percent, 30, 32},
        {&M::indicator, Text, 33, 34},
        {&M::carcassClass, Text, 35, 35},
        {&M::rz7Colour1, Whole, 36, 39},
        {&M::rz7ColourGrade, Text, 41, 41},
        {&M::rz7Marble1, Whole, 42, 45},
        {&M::rz7MarbleGrade, Text, 47, 47},
        {&M::rz7PseNumber, Whole, 48, 51},
        {&M::rz7PseIndicator, Text, 52, 52},
        {&M::serialNumber, Text, 65, 68},
        {&M::rz7Tender, Tender, 69, 72},
        {&M::rz7TenderGrade, Text, 73, 73},
    });
    // clang-format on
    TakeProbeDateTime(message, record, 53, stationDate);
}

void DecodeDoubleSiteQualityRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate)
{
    // The second site's meat depth goes to `meat`, which the equation and the log use.
    // clang-format off
    Fill(message, record, {
        {&M::carcassType, Text, 2, 3},
        {&M::carcassCount, Text, 4, 9},
        {&M::fat1, Marked, 10, 13, 45},
        {&M::fat2, Marked, 14, 17, 46},
        {&M::meat1, Marked, 18, 21, 53},
        {&M::meat, Marked, 49, 52, 47},
        {&M::intrafat, Tenths, 22, 25},
        {&M::thickness1, Tenths, 26, 29},
        {&M::distance1, Tenths, 30, 33},
        {&M::thickness2, Tenths, 34, 37},
        {&M::distance2, Tenths, 38, 41},
        {&M::meatPercent, Percent, 42, 44},
        {&M::indicator, Text, 45, 47},
        {&M::carcassClass, Text, 48, 48},
        {&M::meat1Indicator, Text, 53, 53},
        {&M::intrafat1, Tenths, 54, 57},
        {&M::rz7Colour1, Whole, 58, 61},
        {&M::rz7Colour2, Whole, 62, 65},
        {&M::rz7ColourGrade, Text, 66, 66},
        {&M::rz7Marble1, Whole, 67, 70},
        {&M::rz7Marble2, Whole, 71, 74},
        {&M::rz7MarbleGrade, Text, 75, 75},
        {&M::rz7PseNumber, Whole, 76, 79},
        {&M::rz7PseIndicator, Text, 80, 80},
        {&M::serialNumber, Text, 97, 100},
        {&M::rz7Tender, Tender, 101, 104},
        {&M::rz7TenderGrade, Text, 105, 105},
    });
    // clang-format on
    TakeProbeDateTime(message, record, 85, stationDate);
}

void DecodeColourSampleRecord(const std::string& message, CarcassMeasurement& record, const QDate&)
{
    // clang-format off
    Fill(message, record, {
        {&M::rz7Colour1, Whole, 2, 5},
        {&M::rz7ColourGrade, Text, 6, 6},
        {&M::rz7PseNumber, Whole, 7, 10},
        {&M::rz7PseIndicator, Text, 11, 11},
    });
    // clang-format on
}
