// Numbers read from and written into the station's texts.

#include "probe/TextNumber.h"

#include <gtest/gtest.h>

TEST(TextNumberTest, NumberAtTheStartOfAText)
{
    const struct {
        const char* text;
        double number;
        // clang-format off
    } cases[] = {
        {"85.4", 85.4},     {"  85.40", 85.4},  {"-12.5kg", -12.5}, {"+7", 7},
        {"12.5.3", 12.5},   {"1 2", 1},         {"", 0},            {"   ", 0},
        {"abc", 0},         {"-", 0},           {".5", 0.5},        {" 085.40 ", 85.4},
        {"__._", 0},        {"199.9", 199.9},   {"\t5", 0},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(NumberInText(c.text), c.number) << '"' << c.text << '"';
}

TEST(TextNumberTest, ShortestPlainDecimalText)
{
    const struct {
        double value;
        const char* text;
        // clang-format off
    } cases[] = {
        {12.5, "12.5"},         {80, "80"},           {0, "0"},           {-0.0, "0"},
        {61.75, "61.75"},       {85.405, "85.405"},   {0.00001, "0.00001"}, {60.367, "60.367"},
        {123.4617, "123.4617"}, {85.3, "85.3"},        {-3.25, "-3.25"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(PlainNumberText(c.value), c.text) << c.value;
}
