// What an operator's input turns into for the probe.

#include "probe/ProbeCommands.h"

#include <gtest/gtest.h>

TEST(ProbeCommandsTest, TimeAndDateAsTwelveDigits)
{
    EXPECT_EQ(TimeAndDateCommand(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 33))), "T261208140533");
    EXPECT_EQ(TimeAndDateCommand(QDateTime(QDate(2001, 1, 2), QTime(3, 4, 5))), "T010102030405");
    EXPECT_EQ(TimeAndDateCommand(QDateTime(QDate(2030, 7, 31), QTime(23, 59, 0))), "T300731235900");
}

TEST(ProbeCommandsTest, CounterIsSentOnlyForSixDigitsAboveZero)
{
    const struct {
        const char* typed;
        const char* command;  // nullptr: nothing is sent
    } cases[] = {
        {"000001", "3000001"}, {"123456", "3123456"}, {"000000", nullptr}, {"12", nullptr},
        {"0000001", nullptr},  {"", nullptr},         {"12345a", nullptr}, {" 12345", nullptr},
        {"-00001", nullptr},   {"1.2345", nullptr},
    };
    for (const auto& c : cases) {
        const auto command = CounterSetCommand(c.typed);
        if (c.command)
            EXPECT_EQ(command.value_or("<none>"), c.command) << '"' << c.typed << '"';
        else
            EXPECT_FALSE(command.has_value()) << '"' << c.typed << '"';
    }
}

TEST(ProbeCommandsTest, ColourCalibrationBoundsAndTexts)
{
    const struct {
        const char* colour130;
        const char* colour61;
        const char* first;  // nullptr: nothing is sent
        const char* second;
    } cases[] = {
        {"254", "119", "C254", "c119"},
        {"120", "60", "C120", "c60"},
        {"255", "60", nullptr, nullptr},
        {"120", "120", nullptr, nullptr},
        {"-5", "0", "C-5", "c0"},           // only the upper bounds are checked
        {"0120", "060", "C0120", "c060"},   // as typed
        {" 99 ", "7", "C99", "c7"},
        {"abc", "60", nullptr, nullptr},
        {"120", "", nullptr, nullptr},
        {"12.5", "60", nullptr, nullptr},
        {"40000", "60", nullptr, nullptr},  // beyond 16 bits
        {"-40000", "60", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto commands = ColourCalibrationCommands(c.colour130, c.colour61);
        if (!c.first) {
            EXPECT_FALSE(commands.has_value()) << c.colour130 << " / " << c.colour61;
            continue;
        }
        ASSERT_TRUE(commands.has_value()) << c.colour130 << " / " << c.colour61;
        EXPECT_EQ(commands->colour130, c.first);
        EXPECT_EQ(commands->colour61, c.second);
    }
}
