// Reading weights out of scale messages, for each protocol and its options.

#include "weighing/WeightParsers.h"

#include <gtest/gtest.h>

using namespace std::string_literals;
using Outcome = WeightParseResult::Outcome;

namespace {

const char* const kStx = "Weight scale Protocol <STX> error";
const char* const kSiSo = "Weight scale Protocol <SI>, <SO> error";
const char* const kChecksum = "Weight reading Checksum error";
const char* const kStable = "Weight scale Protocol Stable-code error";
const char* const kHeaderCode = "Weight scale Protocol Header-code error";

// What a parser should give: a weight, or the error text that the window shows.
struct Expected {
    Outcome outcome;
    std::string text;
};

Expected Weight(const std::string& text)
{
    return {Outcome::Weight, text};
}
Expected Refused(const std::string& text)
{
    return {Outcome::Refused, text};
}
Expected Silent()
{
    return {Outcome::NoMessage, ""};
}

void ExpectResult(const WeightParseResult& got, const Expected& want, const std::string& name)
{
    EXPECT_EQ(got.outcome, want.outcome) << name;
    const std::string& text = want.outcome == Outcome::Weight ? got.weight : got.errorText;
    EXPECT_EQ(text, want.text) << name;
    // A result carries one text only: the window must not show stale texts beside it.
    EXPECT_EQ(got.weight.empty() + got.errorText.empty(), want.text.empty() ? 2 : 1) << name;
}

} // namespace

TEST(WeightParsers, MettlerToledoChecksFramingAndChecksum)
{
    // clang-format off
    const struct {
        const char* name;
        ToledoOptions options;  // STXon, SISOon, ChecksumOn
        std::string message;
        Expected expected;
    } cases[] = {
        // STX SO weight SI CR: 363, and 95H brings it to 512.
        {"all options, checksum 95H", {true, true, true}, "\x02\x0e  85.40\x0f\r\x95"s, Weight("  85.40")},
        {"all options, checksum 96H", {true, true, true}, "\x02\x0e  85.40\x0f\r\x96"s, Refused(kChecksum)},
        {"STX and checksum, B2H", {true, false, true}, "\x02  85.40\r\xb2"s, Weight("  85.40")},
        {"no options", {}, "  85.40\r"s, Weight("  85.40")},
        {"STX expected, none sent", {true, false, false}, "  85.40\r"s, Refused(kStx)},
        {"STX sent, none expected", {}, "  85.40\r\x02"s, Refused(kStx)},
        {"SO without SI", {false, true, false}, "\x0e  85.40\r"s, Refused(kSiSo)},
        {"SI without SO", {false, true, false}, "  85.40\x0f\r"s, Refused(kSiSo)},
        {"SO and SI framing the weight", {false, true, false}, "\x0e 101.20\x0f\r"s, Weight(" 101.20")},
        {"STX is checked before SI/SO", {true, true, false}, "  85.40\r"s, Refused(kStx)},
        {"SI/SO is checked before the checksum", {true, true, true}, "\x02  85.40\r\xb2"s, Refused(kSiSo)},
        {"decimal comma", {}, "085,40 \r"s, Weight("085.40 ")},
        {"only the first comma turns", {}, "0,85,4 \r"s, Weight("0.85,4 ")},
        {"decimal comma after STX and SO", {true, true, false}, "\x02\x0e" "085,40 \x0f\r"s, Weight("085.40 ")},
        {"checksum without a byte after CR", {false, false, true}, "  85.40\r"s, Refused(kChecksum)},
        {"checksum without CR", {false, false, true}, "  85.40"s, Refused(kChecksum)},
        {"too short for the weight", {}, "85.4\r"s, Refused(kStx)},
        {"empty message", {}, ""s, Refused(kStx)},
    };
    // clang-format on
    for (const auto& c : cases)
        ExpectResult(ParseToledoWeight(c.message, c.options), c.expected, c.name);
}

TEST(WeightParsers, WedderburnChecksStableSignHeaderCodeAndCr)
{
    // clang-format off
    const struct {
        const char* name;
        WedderburnOptions options;  // StableCode, Hcode
        std::string message;
        Expected expected;
    } cases[] = {
        {"stable sign and header code", {true, true}, "\0" " 00085.40\r"s, Weight("0085.40")},
        {"both: header code not examined", {true, true}, "\0" "x40085.40\r"s, Weight("0085.40")},
        {"both: unstable", {true, true}, "\x01 00085.40\r"s, Refused(kStable)},
        {"both: CR one late", {true, true}, "\0" " 00085.400\r"s, Refused(kStable)},
        {"stable sign only", {true, false}, "\0" " 0085.40\r"s, Weight("0085.40")},
        {"stable only: net code instead of 00H", {true, false}, "0 0085.40\r"s, Refused(kStable)},
        {"header code only", {false, true}, "00085.40\r"s, Weight("0085.40")},
        {"header code only: tare", {false, true}, "40085.40\r"s, Refused(kHeaderCode)},
        {"header code only: stable sign instead", {false, true}, "\0" "0085.40\r"s, Refused(kHeaderCode)},
        {"neither", {}, "0085.40\r"s, Weight("0085.40")},
        {"neither: CR one position late", {}, "0085.400\r"s, Refused(kHeaderCode)},
        {"neither: decimal comma", {}, "085,40 \r"s, Weight("085.40 ")},
        {"header code: decimal comma", {false, true}, "0085,40 \r"s, Weight("085.40 ")},
        {"neither: too short", {}, "85.4\r"s, Refused(kHeaderCode)},
        {"both: too short", {true, true}, "\0"s, Refused(kStable)},
    };
    // clang-format on
    for (const auto& c : cases)
        ExpectResult(ParseWedderburnWeight(c.message, c.options), c.expected, c.name);
}

TEST(WeightParsers, HeaderScalesReadTheNumberAtTheStartPosition)
{
    // clang-format off
    const struct {
        const char* name;
        WeightSource model;
        HeaderScaleOptions options;  // header, start position, factor
        std::string message;
        Expected expected;
    } cases[] = {
        {"generic", WeightSource::Generic, {"$", "2", "1"}, "$ 123.5 kg\r", Weight("123.5")},
        {"factor 0.5", WeightSource::Generic, {"$", "2", "0.5"}, "$ 123.5 kg\r", Weight("61.75")},
        {"factor with spaces", WeightSource::Generic, {"$", "2", " 2 "}, "$ 40.25\r", Weight("80.5")},
        {"LF ends a message too", WeightSource::Generic, {"$", "2", "1"}, "$ 85.40 kg\n", Weight("85.4")},
        {"end of message anywhere", WeightSource::Generic, {"$", "2", "1"}, "\r$ 85.4 kg", Weight("85.4")},
        {"no end of message", WeightSource::Generic, {"$", "2", "1"}, "$ 123.5 kg", Silent()},
        {"no header", WeightSource::Generic, {"$", "2", "1"}, "# 123.5 kg\r", Silent()},
        {"header after other fields", WeightSource::Generic, {"$", "2", "1"}, "ID7 $ 90.2 kg\r\n", Weight("90.2")},
        {"lower-case header, capital sent", WeightSource::Generic, {"w", "2", "1"}, "W 85.4\r", Weight("85.4")},
        {"capital header, lower case sent", WeightSource::Generic, {"W", "2", "1"}, "w 85.4\r", Weight("85.4")},
        {"empty header: the first character", WeightSource::Generic, {"", "2", "1"}, "x 85.4\r", Weight("85.4")},
        {"spaces before the weight", WeightSource::Generic, {"$", "2", "1"}, "$     85.4 kg\r", Weight("85.4")},
        {"weight right at the start", WeightSource::EV2000, {"$", "1", "1"}, "$85.4kg\r", Weight("85.4")},
        {"decimal comma", WeightSource::Generic, {"$", "2", "1"}, "$ 85,4 kg\r", Weight("85.4")},
        {"no number gives 0", WeightSource::Generic, {"$", "2", "1"}, "$ kg\r", Weight("0")},
        {"TU9000 at 20", WeightSource::TU9000, {"$", "20", "1"}, "$ N0001             85.4 kg\r\n", Weight("85.4")},
        {"start position not a number", WeightSource::Generic, {"$", "abc", "1"}, "$ 85.4\r",
            Refused("WeightGeneric error: weight start position \"abc\" is not a whole number of 1 or more")},
        {"start position 0", WeightSource::EV2000, {"$", "0", "1"}, "$ 85.4\r",
            Refused("Weight EV2000 error: weight start position \"0\" is not a whole number of 1 or more")},
        {"start position negative", WeightSource::TU9000, {"$", "-2", "1"}, "$ 85.4\r",
            Refused("Weight TU9000 error: weight start position \"-2\" is not a whole number of 1 or more")},
        {"start position with a fraction", WeightSource::Generic, {"$", "2.5", "1"}, "$ 85.4\r",
            Refused("WeightGeneric error: weight start position \"2.5\" is not a whole number of 1 or more")},
        {"message ends before the start", WeightSource::TU9000, {"$", "20", "1"}, "$ 85.4 kg\r",
            Refused("Weight TU9000 error: the message ends before weight start position 20")},
        {"factor not a number", WeightSource::EV2000, {"$", "2", "x"}, "$ 85.4\r",
            Refused("Weight EV2000 error: factor \"x\" is not a number")},
        {"factor with a comma", WeightSource::Generic, {"$", "2", "0,5"}, "$ 85.4\r",
            Refused("WeightGeneric error: factor \"0,5\" is not a number")},
        {"no header: options not looked at", WeightSource::Generic, {"$", "abc", "x"}, "85.4\r", Silent()},
    };
    // clang-format on
    for (const auto& c : cases)
        ExpectResult(ParseHeaderWeight(c.model, c.message, c.options), c.expected, c.name);
}

TEST(WeightParsers, EachSourceUsesItsOwnParserAndOptions)
{
    ScaleOptions options;
    options.toledo.STXon = true;
    options.wedderburn.Hcode = true;
    options.generic.factor = "2";
    // TU9000 keeps its own start position of 20.
    const std::string tu9000 = "$ N0001             85.4 kg\r\n";
    // clang-format off
    const struct {
        WeightSource source;
        std::string message;
        Expected expected;
    } cases[] = {
        {WeightSource::MettlerToledo, "\x02  85.40\r", Weight("  85.40")},
        {WeightSource::Wedderburn, "00085.40\r", Weight("0085.40")},
        {WeightSource::Generic, "$ 42.7\r", Weight("85.4")},
        {WeightSource::EV2000, "$ 42.7\r", Weight("42.7")},
        {WeightSource::TU9000, tu9000, Weight("85.4")},
        {WeightSource::NoWeight, "$ 42.7\r", Silent()},
        {WeightSource::ManualInput, "$ 42.7\r", Silent()},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string name = "source " + std::to_string(static_cast<int>(c.source));
        ExpectResult(ParseScaleWeight(c.source, c.message, options), c.expected, name);
        EXPECT_EQ(HasScaleParser(c.source), c.expected.outcome != Outcome::NoMessage) << name;
    }
}
