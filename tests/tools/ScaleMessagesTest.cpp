// Weight messages of the simulated scale, byte for byte.

#include "tools/sim/ScaleMessages.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(ScaleMessages, EachProtocolAndOption)
{
    ScaleMessageFormat toledo;
    ScaleMessageFormat wedderburn;
    wedderburn.protocol = ScaleProtocol::Wedderburn;
    ScaleMessageFormat generic;
    generic.protocol = ScaleProtocol::Generic;

    auto with = [](ScaleMessageFormat f, auto change) {
        change(f);
        return f;
    };
    const struct {
        const char* name;
        ScaleMessageFormat format;
        double kg;
        std::string message;
    } cases[] = {
        {"Toledo plain", toledo, 85.4, "  85.40\r"},
        {"Toledo all options", with(toledo, [](auto& f) { f.stx = f.siso = f.checksum = true; }), 85.4,
         "\x02\x0e  85.40\x0f\r\x95"s},
        {"Toledo STX and checksum", with(toledo, [](auto& f) { f.stx = f.checksum = true; }), 85.4,
         "\x02  85.40\r\xb2"s},
        {"Toledo SI/SO, comma", with(toledo, [](auto& f) { f.siso = f.decimalComma = true; }), 101.2,
         "\x0e 101,20\x0f\r"s},
        {"Wedderburn plain", wedderburn, 85.4, "0085.40\r"},
        {"Wedderburn stable sign", with(wedderburn, [](auto& f) { f.stableCode = true; }), 85.4,
         "\0"
         " 0085.40\r"s},
        {"Wedderburn header code", with(wedderburn, [](auto& f) { f.headerCode = true; }), 85.4, "00085.40\r"},
        {"Wedderburn both, comma",
         with(wedderburn, [](auto& f) { f.stableCode = f.headerCode = f.decimalComma = true; }), 92.1,
         "\0"
         " 00092,10\r"s},
        {"Generic", generic, 123.5, "$ 123.5 kg\r\n"},
        {"Generic at 4, header W",
         with(generic,
              [](auto& f) {
                  f.header = "W";
                  f.startPosition = 4;
              }),
         85.4, "W   85.4 kg\r\n"},
        {"TU9000 at 20",
         with(generic,
              [](auto& f) {
                  f.protocol = ScaleProtocol::TU9000;
                  f.startPosition = 20;
              }),
         85.4, "$ N0007             85.4 kg\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleMessage(c.kg, c.format, 7), c.message) << c.name;
}

TEST(ScaleMessages, GeneratedWeightsArePlausibleAndRepeatable)
{
    CarcassWeights first(5);
    CarcassWeights second(5);
    double lowest = 1000;
    double highest = 0;
    for (int i = 0; i < 2000; ++i) {
        const double kg = first.Next();
        EXPECT_EQ(kg, second.Next());
        EXPECT_NEAR(kg * 10, std::round(kg * 10), 1e-9) << kg;
        lowest = std::min(lowest, kg);
        highest = std::max(highest, kg);
    }
    EXPECT_GE(lowest, 70.0);
    EXPECT_LE(highest, 130.0);
    EXPECT_LT(lowest, 75.0);
    EXPECT_GT(highest, 125.0);
}
