// Lean meat % from depths and weight, its text and class, and the weight text.

#include "carcass/LeanMeat.h"

#include <gtest/gtest.h>

TEST(LeanMeatTest, EquationByWeightRowGivesPercentTextAndClass)
{
    const struct {
        const char* what;
        const char* fat1;
        const char* meat;
        double weight;
        double leanMeat;
        const char* shown;
        const char* carcassClass;
        // clang-format off
    } cases[] = {
        {"light carcass", " 12.0 A", " 55.0 B", 95, 60.31662, "60.3", "S"},
        {"heavy carcass", " 12.0 A", " 55.0 B", 111, 59.62245, "59.6", "E"},
        {"110 kg is still light", " 12.0 A", " 55.0 B", 110, 60.31662, "60.3", "S"},
        {"just above 110 kg", " 12.0 A", " 55.0 B", 110.01, 59.62245, "59.6", "E"},
        {"no leading space", "12.0 A", "55.0 B", 95, 60.31662, "60.3", "S"},
        {"indicator digit is not read", " 12.0 9", " 55.0 7", 95, 60.31662, "60.3", "S"},
        {"thick fat", " 30.5 A", " 48.2 B", 95, 47.04390, "47.0", "R"},
    };
    // clang-format on
    for (const auto& c : cases) {
        CarcassMeasurement record;
        record.fat1 = c.fat1;
        record.meat = c.meat;
        const double leanMeat = LeanMeatFromProbe(record, c.weight).value_or(-1);
        EXPECT_NEAR(leanMeat, c.leanMeat, 1e-4) << c.what;
        EXPECT_EQ(CutToOneDecimal(leanMeat), c.shown) << c.what;
        EXPECT_EQ(ClassOf(leanMeat), c.carcassClass) << c.what;
    }
}

TEST(LeanMeatTest, PercentTextRoundsHalfUpAndClassUsesTheUnroundedValue)
{
    const struct {
        double leanMeat;
        const char* shown;
        const char* carcassClass;
        // clang-format off
    } cases[] = {
        {44.999, "45.0", "O"}, {59.97, "60.0", "E"}, {56.04, "56.0", "E"}, {56.05, "56.1", "E"},
        {56.96, "57.0", "E"},  {59.95, "60.0", "E"}, {60.0, "60.0", "S"},  {55.0, "55.0", "E"},
        {54.999, "55.0", "U"}, {50.0, "50.0", "U"},  {45.0, "45.0", "R"},  {40.0, "40.0", "O"},
        {39.99, "40.0", "P"},  {0.0, "0.0", "P"},    {72.349, "72.3", "S"},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(CutToOneDecimal(c.leanMeat), c.shown) << c.leanMeat;
        EXPECT_EQ(ClassOf(c.leanMeat), c.carcassClass) << c.leanMeat;
    }
}

TEST(LeanMeatTest, WeightTextHasThreeIntegerPlacesAndTwoDecimals)
{
    const struct {
        const char* in;
        const char* out;
        // clang-format off
    } cases[] = {
        {"85.4", " 85.40"},   {"8.456", "  8.46"},  {"123.4567", "123.46"}, {"85.295", " 85.30"},
        {"0", "  0.00"},      {"199.9", "199.90"},  {"85.995", " 86.00"},   {"9.995", " 10.00"},
        {"  85.40", " 85.40"}, {"085.40 ", " 85.40"}, {"110", "110.00"},    {"1234.5", "1234.50"},
        {"", "  0.00"},       {"kg", "  0.00"},     {" 85.40", " 85.40"},  {"61.75", " 61.75"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(FormatWeight(c.in), c.out) << '"' << c.in << '"';
}

TEST(LeanMeatTest, ARecordWithoutAPercentGetsNoClass)
{
    const struct {
        const char* what;
        char kind;
        const char* fat1;
        const char* probePercent;
        bool useEquation;
        const char* stored; // meat %/class
        const char* shown;
        // clang-format off
    } cases[] = {
        {"probe's percent", 'J', " 12.0 A", "58.3", false, "58.3/E", "58.3"},
        {"probe sent 0", 'J', " 12.0 A", "__._", false, "__._/", ""},
        {"old 0.0", 'J', " 12.0 A", " 0.0", false, "__._/", ""},
        {"Colour Number sample", 'S', "", "", false, "/", ""},
        {"Colour Number sample, equation", 'S', "", "", true, "/", ""},
        {"fat depth 0, equation", 'J', "   .0 A", "58.3", true, "__._/", ""},
        {"fat field too short, equation", 'J', "A", "58.3", true, "__._/", ""},
        {"equation", 'J', " 12.0 A", "__._", true, "60.3/S", "60.3"},
    };
    // clang-format on
    for (const auto& c : cases) {
        CarcassMeasurement record;
        record.kind = c.kind;
        record.fat1 = c.fat1;
        record.meat = " 55.0 B";
        record.meatPercent = c.probePercent;
        record.carcassClass = "P";
        ClassifyCarcass(record, 95, c.useEquation);
        EXPECT_EQ(record.meatPercent + '/' + record.carcassClass, c.stored) << c.what;
        EXPECT_EQ(ShownLeanMeat(record.meatPercent), c.shown) << c.what;
    }
}
