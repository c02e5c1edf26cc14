// What an operator's input turns into for the probe.

#include "probe/ProbeCommands.h"

#include <gtest/gtest.h>

TEST(ProbeCommandsTest, TimeAndDateAsTwelveDigits)
{
    EXPECT_EQ(TimeAndDateCommand(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 33))), "T261208140533");
    EXPECT_EQ(TimeAndDateCommand(QDateTime(QDate(2001, 1, 2), QTime(3, 4, 5))), "T010102030405");
}

TEST(ProbeCommandsTest, CounterOnlyForSixDigitsAboveZero)
{
    EXPECT_EQ(CounterSetCommand("000001").value_or("<none>"), "3000001");
    EXPECT_EQ(CounterSetCommand("123456").value_or("<none>"), "3123456");
    for (const char* refused : {"12", "000000", "0000001", "", "12345a", " 12345", "-00001"})
        EXPECT_FALSE(CounterSetCommand(refused).has_value()) << '"' << refused << '"';
}

TEST(ProbeCommandsTest, ColourCalibrationBoundsAndTexts)
{
    const struct {
        const char* colour130;
        const char* colour61;
        const char* sent; // both commands, or "" for nothing
        // clang-format off
    } cases[] = {
        {"254", "119", "C254 c119"}, {"-5", "0", "C-5 c0"},     {"0120", "060", "C0120 c060"},
        {" 99 ", "7", "C99 c7"},     {"255", "60", ""},         {"120", "120", ""},
        {"abc", "60", ""},           {"120", "", ""},           {"12.5", "60", ""},
        {"40000", "60", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto commands = ColourCalibrationCommands(c.colour130, c.colour61);
        EXPECT_EQ(commands ? commands->colour130 + " " + commands->colour61 : "", c.sent)
            << c.colour130 << " / " << c.colour61;
    }
}
