#include "probe/FieldConversions.h"

#include <gtest/gtest.h>

namespace {

using namespace ProbeFields;

struct NumberCase {
    const char* message;
    int first;
    int last;
    std::optional<long long> expected;
};

TEST(FieldConversions, ReadNumberAcceptsOnlyAWholeNumberWithSpacesAndSign)
{
    // clang-format off
    const NumberCase cases[] = {
        {"X0125", 2, 5, 125},
        {"X 12 ", 2, 5, 12},
        {"X-012", 2, 5, -12},
        {"X+5  ", 2, 5, 5},
        {"X  -7", 2, 5, -7},
        {"X0000", 2, 5, 0},
        {"X    ", 2, 5, std::nullopt},  // only spaces
        {"XABCD", 2, 5, std::nullopt},  // letters
        {"X12A4", 2, 5, std::nullopt},  // a digit run broken by a letter is not a number
        {"X1 2 ", 2, 5, std::nullopt},
        {"X--12", 2, 5, std::nullopt},
        {"X+-12", 2, 5, std::nullopt},
        {"X- 12", 2, 5, std::nullopt},
        {"X-   ", 2, 5, std::nullopt},
        {"X12\t4", 2, 5, std::nullopt},
        {"X012", 2, 5, std::nullopt},   // cut short: a truncated number would be a wrong one
        {"X", 2, 5, std::nullopt},
        {"", 1, 4, std::nullopt},
        {"X0125", 0, 3, std::nullopt},  // positions start at 1
        {"X0125", 4, 3, std::nullopt},
        {"X99999999999999999999", 2, 21, std::nullopt},  // out of range, no overflow
    };
    // clang-format on
    for (const NumberCase& c : cases)
        EXPECT_EQ(ReadNumber(c.message, c.first, c.last), c.expected) << '"' << c.message << '"';
}

struct ConversionCase {
    const char* what;
    std::string (*convert)(const std::string&);
    std::string message;
    std::string expected;
};

TEST(FieldConversions, ConvertsRangesToTheShownTexts)
{
    const auto text = [](const std::string& m) { return Text(m, 2, 4); };
    const auto tenths = [](const std::string& m) { return Tenths(m, 2, 5); };
    const auto percent = [](const std::string& m) { return Percent(m, 2, 4); };
    const auto ruleA = [](const std::string& m) { return Integer(m, 2, 5, FillRule::A); };
    const auto ruleB = [](const std::string& m) { return Integer(m, 2, 5, FillRule::B); };
    const auto ruleC = [](const std::string& m) { return Integer(m, 2, 5, FillRule::C); };
    const auto marked = [](const std::string& m) { return Marked(m, 2, 5, 6); };
    const auto whole = [](const std::string& m) { return Whole(m, 2, 5); };
    const auto tender = [](const std::string& m) { return Tender(m, 2, 5); };

    // clang-format off
    const ConversionCase cases[] = {
        {"text whole", text, "XAB C", "AB "},
        {"text partly present", text, "XA", "A"},
        {"text beyond end", text, "X", ""},
        {"text keeps any byte", text, std::string("X\0\xff", 3), std::string("\0\xff", 2)},

        {"tenths", tenths, "X0123", " 12.3"},
        {"tenths one digit", tenths, "X0005", "   .5"},
        {"tenths zero", tenths, "X0000", "   .0"},
        {"tenths four digits", tenths, "X1234", "123.4"},
        {"tenths negative", tenths, "X-012", " -1.2"},
        {"tenths with spaces", tenths, "X  5 ", "   .5"},
        {"tenths only spaces", tenths, "X    ", ""},
        {"tenths letters", tenths, "XABCD", ""},
        {"tenths cut short", tenths, "X012", ""},

        {"percent", percent, "X612", "61.2"},
        {"percent zero", percent, "X000", "__._"},
        {"percent zero with spaces", percent, "X  0", "__._"},
        {"percent one digit", percent, "X005", "  .5"},
        {"percent letters", percent, "Xabc", ""},
        {"percent cut short", percent, "X61", ""},

        {"rule A one digit", ruleA, "X0007", "    7"},
        {"rule A two digits", ruleA, "X0077", "  77"},
        {"rule A three digits", ruleA, "X0777", "777"},
        {"rule A four digits", ruleA, "X7777", "7777"},
        {"rule B one digit", ruleB, "X0007", "  7"},
        {"rule B two digits", ruleB, "X0077", " 77"},
        {"rule B three digits", ruleB, "X0777", "777"},
        {"rule C one digit", ruleC, "X0007", "   7"},
        {"rule C two digits", ruleC, "X0077", "  77"},
        {"rule C three digits", ruleC, "X0777", " 777"},
        {"rule C four digits", ruleC, "X7777", "7777"},
        {"integer zero", ruleA, "X0000", "    0"},
        {"integer no number", ruleB, "X -  ", ""},

        {"marked", marked, "X0125A", " 12.5 A"},
        {"marked one digit", marked, "X0005B", "   .5 B"},
        {"marked without its indicator", marked, "X0125", " 12.5 "},
        {"marked without a number", marked, "X    A", ""},

        {"whole", whole, "X0123", "123"},
        {"whole one digit", whole, "X0007", "7"},
        {"whole zero", whole, "X0000", "0"},
        {"whole letters", whole, "X12x4", ""},

        {"tender one digit", tender, "X0007", "0.7"},
        {"tender", tender, "X0125", "12.5"},
        {"tender zero", tender, "X0000", "0.0"},
        {"tender four digits", tender, "X1000", "100.0"},
        {"tender negative", tender, "X-007", "-0.7"},
        {"tender beyond end", tender, "X", ""},
        {"tender only spaces", tender, "X    ", ""},
    };
    // clang-format on
    for (const ConversionCase& c : cases)
        EXPECT_EQ(c.convert(c.message), c.expected) << c.what;
}

struct TimeCase {
    const char* what;
    std::string result;
    std::string expected;
};

TEST(FieldConversions, ProbeClockTakesTheStationsDateOrCentury)
{
    const QDate station(2026, 3, 4);
    // clang-format off
    const TimeCase cases[] = {
        {"time", ProbeTime("XX140533", 3, station), "14:05:33  04-03-2026"},
        {"time at the end of the message", ProbeTime("X235959", 2, station), "23:59:59  04-03-2026"},
        {"time cut short", ProbeTime("XX14053", 3, station), ""},
        {"time beyond end", ProbeTime("XX", 3, station), ""},
        {"date and time", ProbeDateTime("X261208140533", 2, station), "14:05:33  08-12-2026"},
        {"century of the station", ProbeDateTime("X991231235958", 2, QDate(1999, 1, 1)), "23:59:58  31-12-1999"},
        {"century of a later station", ProbeDateTime("X000101000000", 2, QDate(2100, 6, 1)), "00:00:00  01-01-2100"},
        {"date and time cut short", ProbeDateTime("X26120814053", 2, station), ""},
        {"date and time of an empty message", ProbeDateTime("", 53, station), ""},
    };
    // clang-format on
    for (const TimeCase& c : cases)
        EXPECT_EQ(c.result, c.expected) << c.what;
}

} // namespace
