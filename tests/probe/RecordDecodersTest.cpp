#include "probe/RecordDecoders.h"

#include "MeasurementFields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using Decoder = void (*)(const std::string&, CarcassMeasurement&, const QDate&);

const QDate kStationDate(2026, 3, 4);
const std::string kStationTime = "10:11:12  04-03-2026";

// The record as the dispatch leaves it before calling a decoder.
CarcassMeasurement StampedRecord(char kind)
{
    CarcassMeasurement record;
    record.kind = kind;
    record.timeDate = kStationTime;
    return record;
}

// Names every field that differs, so a failing layout says where.
void ExpectSameRecord(const CarcassMeasurement& actual, const CarcassMeasurement& expected, const std::string& what)
{
    EXPECT_EQ(actual.timeDate, expected.timeDate) << what << ": timeDate";
    EXPECT_EQ(actual.kind, expected.kind) << what << ": kind";
    for (const NamedField& f : kMeasurementTextFields)
        EXPECT_EQ(actual.*f.member, expected.*f.member) << what << ": " << f.name;
}

TEST(RecordDecoders, BasicWorkedExample)
{
    CarcassMeasurement record = StampedRecord('E');
    DecodeBasicRecord("E0100012301250530001203000450612ABS140533X", record, kStationDate);

    EXPECT_EQ(record.carcassType, "01");
    EXPECT_EQ(record.carcassCount, "000123");
    EXPECT_EQ(record.fat1, " 12.5 A");
    EXPECT_EQ(record.meat, " 53.0 B");
    EXPECT_EQ(record.intrafat, "  1.2");
    EXPECT_EQ(record.thickness1, " 30.0");
    EXPECT_EQ(record.distance1, " 45.0");
    EXPECT_EQ(record.meatPercent, "61.2");
    EXPECT_EQ(record.indicator, "AB");
    EXPECT_EQ(record.carcassClass, "S");
    EXPECT_EQ(record.timeDate, "14:05:33  04-03-2026");
    EXPECT_EQ(record.kind, 'E');
    for (const NamedField& f : kMeasurementTextFields) {
        if (f.name != "carcassType" && f.name != "carcassCount" && f.name != "fat1" && f.name != "meat"
            && f.name != "intrafat" && f.name != "thickness1" && f.name != "distance1" && f.name != "meatPercent"
            && f.name != "indicator" && f.name != "carcassClass") {
            EXPECT_EQ(record.*f.member, "") << f.name;
        }
    }
}

struct KindCase {
    const char* what;
    Decoder decode;
    std::string message;
    std::function<void(CarcassMeasurement&)> expect;
};

// One message of every kind, each field at its own value, built position by position.
std::vector<KindCase> KindCases()
{
    // clang-format off
    return {
        {"E", DecodeBasicRecord,
            PlaceFields(42, {{1, "E"}, {2, "01"}, {4, "000123"}, {10, "0125"}, {14, "0530"}, {18, "0012"},
                {22, "0300"}, {26, "0450"}, {30, "612"}, {33, "AB"}, {35, "S"}, {36, "140533"}}),
            [](CarcassMeasurement& r) {
                r.carcassType = "01"; r.carcassCount = "000123"; r.fat1 = " 12.5 A"; r.meat = " 53.0 B";
                r.intrafat = "  1.2"; r.thickness1 = " 30.0"; r.distance1 = " 45.0"; r.meatPercent = "61.2";
                r.indicator = "AB"; r.carcassClass = "S"; r.timeDate = "14:05:33  04-03-2026";
            }},
        {"J", DecodeColourRecord,
            PlaceFields(58, {{1, "J"}, {2, "02"}, {4, "000456"}, {10, "0098"}, {14, "0601"}, {18, "0023"},
                {22, "0310"}, {26, "0475"}, {30, "587"}, {33, "CD"}, {35, "E"}, {36, "007"}, {40, "077"},
                {44, "005"}, {48, "0034"}, {52, "P"}, {53, "091500"}}),
            [](CarcassMeasurement& r) {
                r.carcassType = "02"; r.carcassCount = "000456"; r.fat1 = "  9.8 C"; r.meat = " 60.1 D";
                r.intrafat = "  2.3"; r.thickness1 = " 31.0"; r.distance1 = " 47.5"; r.meatPercent = "58.7";
                r.indicator = "CD"; r.carcassClass = "E"; r.colour1 = "    7"; r.colourNumber = "  77";
                r.minColour1 = "  5"; r.colourVariation1 = "  3.4"; r.pse = "P";
                r.timeDate = "09:15:00  04-03-2026";
            }},
        {"B", DecodeTwoSiteRecord,
            PlaceFields(54, {{1, "B"}, {2, "03"}, {4, "000789"}, {10, "0110"}, {14, "0095"}, {18, "0520"},
                {22, "0015"}, {26, "0290"}, {30, "0440"}, {34, "0280"}, {38, "0430"}, {42, "595"}, {45, "FGH"},
                {48, "U"}, {49, "235959"}}),
            [](CarcassMeasurement& r) {
                r.carcassType = "03"; r.carcassCount = "000789"; r.fat1 = " 11.0 F"; r.fat2 = "  9.5 G";
                r.meat = " 52.0 H"; r.intrafat = "  1.5"; r.thickness1 = " 29.0"; r.distance1 = " 44.0";
                r.thickness2 = " 28.0"; r.distance2 = " 43.0"; r.meatPercent = "59.5"; r.indicator = "FGH";
                r.carcassClass = "U"; r.timeDate = "23:59:59  04-03-2026";
            }},
        {"H", DecodeTwoSiteColourRecord,
            PlaceFields(81, {{1, "H"}, {2, "04"}, {4, "001000"}, {10, "0130"}, {14, "0120"}, {18, "0555"},
                {22, "0018"}, {26, "0305"}, {30, "0460"}, {34, "0295"}, {38, "0455"}, {42, "604"}, {45, "KLM"},
                {48, "R"}, {49, "007"}, {53, "077"}, {57, "777"}, {61, "008"}, {65, "0045"}, {69, "0123"},
                {73, "NPQ"}, {76, "061530"}}),
            [](CarcassMeasurement& r) {
                r.carcassType = "04"; r.carcassCount = "001000"; r.fat1 = " 13.0 K"; r.fat2 = " 12.0 L";
                r.meat = " 55.5 M"; r.intrafat = "  1.8"; r.thickness1 = " 30.5"; r.distance1 = " 46.0";
                r.thickness2 = " 29.5"; r.distance2 = " 45.5"; r.meatPercent = "60.4"; r.indicator = "KLM";
                r.carcassClass = "R"; r.colour1 = "   7"; r.colour2 = "  77"; r.colourNumber = "777";
                r.minColour2 = "  8"; r.colourVariation1 = "  4.5"; r.colourVariation2 = " 12.3"; r.pse = "NPQ";
                r.timeDate = "06:15:30  04-03-2026";
            }},
        {"L", DecodeSingleSiteQualityRecord,
            PlaceFields(73, {{1, "L"}, {2, "05"}, {4, "002000"}, {10, "0140"}, {14, "0570"}, {18, "0021"},
                {22, "0315"}, {26, "0465"}, {30, "000"}, {33, "VW"}, {35, "O"}, {36, "0123"}, {41, "g"},
                {42, "0007"}, {47, "m"}, {48, "0045"}, {52, "p"}, {53, "261208140533"}, {65, "A7Z9"},
                {69, "0125"}, {73, "t"}}),
            [](CarcassMeasurement& r) {
                r.carcassType = "05"; r.carcassCount = "002000"; r.fat1 = " 14.0 V"; r.meat = " 57.0 W";
                r.intrafat = "  2.1"; r.thickness1 = " 31.5"; r.distance1 = " 46.5"; r.meatPercent = "__._";
                r.indicator = "VW"; r.carcassClass = "O"; r.rz7Colour1 = "123"; r.rz7ColourGrade = "g";
                r.rz7Marble1 = "7"; r.rz7MarbleGrade = "m"; r.rz7PseNumber = "45"; r.rz7PseIndicator = "p";
                r.serialNumber = "A7Z9"; r.rz7Tender = "12.5"; r.rz7TenderGrade = "t";
                r.timeDate = "14:05:33  08-12-2026";
            }},
        {"M", DecodeDoubleSiteQualityRecord,
            PlaceFields(105, {{1, "M"}, {2, "06"}, {4, "003000"}, {10, "0150"}, {14, "0160"}, {18, "0580"},
                {22, "0024"}, {26, "0320"}, {30, "0470"}, {34, "0330"}, {38, "0480"}, {42, "571"}, {45, "abd"},
                {48, "P"}, {49, "0590"}, {53, "c"}, {54, "0027"}, {58, "0098"}, {62, "0101"}, {66, "G"},
                {67, "0003"}, {71, "0004"}, {75, "H"}, {76, "0060"}, {80, "I"}, {85, "270101000001"},
                {97, "SN42"}, {101, "0007"}, {105, "T"}}),
            [](CarcassMeasurement& r) {
                r.carcassType = "06"; r.carcassCount = "003000"; r.fat1 = " 15.0 a"; r.fat2 = " 16.0 b";
                r.meat1 = " 58.0 c"; r.meat = " 59.0 d"; r.intrafat = "  2.4"; r.thickness1 = " 32.0";
                r.distance1 = " 47.0"; r.thickness2 = " 33.0"; r.distance2 = " 48.0"; r.meatPercent = "57.1";
                r.indicator = "abd"; r.carcassClass = "P"; r.meat1Indicator = "c"; r.intrafat1 = "  2.7";
                r.rz7Colour1 = "98"; r.rz7Colour2 = "101"; r.rz7ColourGrade = "G"; r.rz7Marble1 = "3";
                r.rz7Marble2 = "4"; r.rz7MarbleGrade = "H"; r.rz7PseNumber = "60"; r.rz7PseIndicator = "I";
                r.serialNumber = "SN42"; r.rz7Tender = "0.7"; r.rz7TenderGrade = "T";
                r.timeDate = "00:00:01  01-01-2027";
            }},
        {"S", DecodeColourSampleRecord, PlaceFields(11, {{1, "S"}, {2, "0056"}, {6, "c"}, {7, "0012"}, {11, "n"}}),
            [](CarcassMeasurement& r) {
                r.rz7Colour1 = "56"; r.rz7ColourGrade = "c"; r.rz7PseNumber = "12"; r.rz7PseIndicator = "n";
            }},
    };
    // clang-format on
}

// What the previous carcass left in the record; every decoder must empty all of it.
CarcassMeasurement StaleRecord(char kind)
{
    CarcassMeasurement record = StampedRecord(kind);
    for (const NamedField& f : kMeasurementTextFields)
        record.*f.member = "stale";
    record.weight = "101.5";
    record.alertText = "Cancel      000122";
    return record;
}

TEST(RecordDecoders, EveryKindFillsItsLayout)
{
    for (const KindCase& c : KindCases()) {
        CarcassMeasurement record = StaleRecord(c.message[0]);
        c.decode(c.message, record, kStationDate);

        CarcassMeasurement expected = StampedRecord(c.message[0]);
        c.expect(expected);
        ExpectSameRecord(record, expected, c.what);
    }
}

// Every prefix of a full message, from nothing upwards: no crash, and each field either empty
// or the start of what the full message gives (a number is never cut into a wrong value).
TEST(RecordDecoders, ShortMessagesGiveEmptyOrPartialFields)
{
    for (const KindCase& c : KindCases()) {
        CarcassMeasurement full = StampedRecord(c.message[0]);
        c.decode(c.message, full, kStationDate);

        for (std::size_t length = 0; length <= c.message.size(); ++length) {
            const std::string what = std::string(c.what) + " of " + std::to_string(length);
            CarcassMeasurement record = StaleRecord(c.message[0]);
            c.decode(c.message.substr(0, length), record, kStationDate);

            EXPECT_TRUE(record.timeDate == kStationTime || record.timeDate == full.timeDate) << what;
            for (const NamedField& f : kMeasurementTextFields) {
                const std::string& value = record.*f.member;
                EXPECT_TRUE(value.empty() || (full.*f.member).starts_with(value))
                    << what << ": " << f.name << " \"" << value << '"';
            }
            if (length <= 1) {
                for (const NamedField& f : kMeasurementTextFields)
                    EXPECT_EQ(record.*f.member, "") << what << ": " << f.name;
            }
        }
    }
}

// A message of the right length that carries no numbers leaves every numeric field empty.
TEST(RecordDecoders, GarbledMessagesGiveEmptyNumbers)
{
    const std::string numericFields[] = {
        "fat1",       "fat2",         "meat",       "meat1",      "intrafat",         "intrafat1",
        "thickness1", "distance1",    "thickness2", "distance2",  "meatPercent",      "colour1",
        "colour2",    "colourNumber", "minColour1", "minColour2", "colourVariation1", "colourVariation2",
        "rz7Colour1", "rz7Colour2",   "rz7Marble1", "rz7Marble2", "rz7PseNumber",     "rz7Tender"};
    for (const KindCase& c : KindCases()) {
        for (const char filler : {' ', 'X', '\xff', '\0', '-'}) {
            const std::string message = c.message.substr(0, 1) + std::string(c.message.size() - 1, filler);
            CarcassMeasurement record = StaleRecord(c.message[0]);
            c.decode(message, record, kStationDate);
            for (const NamedField& f : kMeasurementTextFields) {
                if (std::find(std::begin(numericFields), std::end(numericFields), f.name) != std::end(numericFields)) {
                    EXPECT_EQ(record.*f.member, "") << c.what << " filled with " << int(filler) << ": " << f.name;
                }
            }
            EXPECT_EQ(record.weight, "") << c.what;
            EXPECT_EQ(record.alertText, "") << c.what;
        }
    }
}

struct TimeCase {
    const char* what;
    Decoder decode;
    std::string message;
    std::string expectedTime;
};

// The probe's clock replaces the station's from the threshold on, and only when it is all there.
TEST(RecordDecoders, ProbeTimeThresholds)
{
    const std::string basic = "E0100012301250530001203000450612ABS140533X";
    const std::string colour = PlaceFields(58, {{1, "J"}, {53, "091500"}});
    const std::string twoSite = PlaceFields(54, {{1, "B"}, {49, "235959"}});
    const std::string twoSiteColour = PlaceFields(81, {{1, "H"}, {76, "061530"}});
    const std::string single = PlaceFields(73, {{1, "L"}, {53, "261208140533"}});
    const std::string twoSiteQuality = PlaceFields(105, {{1, "M"}, {85, "270101000001"}});
    // clang-format off
    const TimeCase cases[] = {
        {"E of 41", DecodeBasicRecord, basic.substr(0, 41), kStationTime},
        {"E of 42", DecodeBasicRecord, basic, "14:05:33  04-03-2026"},
        {"E of 50", DecodeBasicRecord, basic + "ZZZZZZZZ", "14:05:33  04-03-2026"},
        {"J of 52", DecodeColourRecord, colour.substr(0, 52), kStationTime},
        {"J of 57, time cut short", DecodeColourRecord, colour.substr(0, 57), kStationTime},
        {"J of 58", DecodeColourRecord, colour, "09:15:00  04-03-2026"},
        {"B of 48", DecodeTwoSiteRecord, twoSite.substr(0, 48), kStationTime},
        {"B of 49, time cut short", DecodeTwoSiteRecord, twoSite.substr(0, 49), kStationTime},
        {"B of 54", DecodeTwoSiteRecord, twoSite, "23:59:59  04-03-2026"},
        {"H of 75", DecodeTwoSiteColourRecord, twoSiteColour.substr(0, 75), kStationTime},
        {"H of 81", DecodeTwoSiteColourRecord, twoSiteColour, "06:15:30  04-03-2026"},
        {"L of 63, clock cut short", DecodeSingleSiteQualityRecord, single.substr(0, 63), kStationTime},
        {"L of 64", DecodeSingleSiteQualityRecord, single.substr(0, 64), "14:05:33  08-12-2026"},
        {"M of 95, clock cut short", DecodeDoubleSiteQualityRecord, twoSiteQuality.substr(0, 95), kStationTime},
        {"M of 96", DecodeDoubleSiteQualityRecord, twoSiteQuality.substr(0, 96), "00:00:01  01-01-2027"},
        {"S", DecodeColourSampleRecord, PlaceFields(30, {{1, "S"}, {2, "140533261208140533"}}), kStationTime},
    };
    // clang-format on
    for (const TimeCase& c : cases) {
        CarcassMeasurement record = StampedRecord(c.message[0]);
        c.decode(c.message, record, kStationDate);
        EXPECT_EQ(record.timeDate, c.expectedTime) << c.what;
    }
}

TEST(RecordDecoders, QualityRecordEdges)
{
    // Exactly 68 characters: the serial number arrived, tenderness and its grade did not.
    const std::string single = PlaceFields(68, {{1, "L"}, {53, "261208140533"}, {65, "A7Z9"}});
    CarcassMeasurement record = StaleRecord('L');
    DecodeSingleSiteQualityRecord(single, record, kStationDate);
    EXPECT_EQ(record.serialNumber, "A7Z9");
    EXPECT_EQ(record.rz7Tender, "");
    EXPECT_EQ(record.rz7TenderGrade, "");

    // The century comes from the station's clock.
    DecodeSingleSiteQualityRecord(single, record, QDate(1999, 12, 31));
    EXPECT_EQ(record.timeDate, "14:05:33  08-12-1926");
}

} // namespace
